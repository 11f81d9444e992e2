#include "KernelFileSystems.h"

#include <algorithm>
#include <array>

#include <linux/magic.h>

namespace {

struct KernelFileSystem {
    unsigned long Magic;
    std::string_view Type;
};

constexpr std::array<KernelFileSystem, 17> kKernelFileSystems{{
    {PROC_SUPER_MAGIC, "proc"},
    {SYSFS_MAGIC, "sysfs"},
    {DEBUGFS_MAGIC, "debugfs"},
    {TRACEFS_MAGIC, "tracefs"},
    {CGROUP_SUPER_MAGIC, "cgroup"},
    {CGROUP2_SUPER_MAGIC, "cgroup2"},
    {SECURITYFS_MAGIC, "securityfs"},
    {DEVPTS_SUPER_MAGIC, "devpts"},
    {BPF_FS_MAGIC, "bpf"},
    {PSTOREFS_MAGIC, "pstore"},
    {EFIVARFS_MAGIC, "efivarfs"},
    {SELINUX_MAGIC, "selinuxfs"},
    {SMACK_MAGIC, "smackfs"},
    {BINFMTFS_MAGIC, "binfmt_misc"},
    {NSFS_MAGIC, "nsfs"},
    {0x62656570, "configfs"},
    {0x65735543, "fusectl"},
}};

} // namespace

bool IsKernelFileSystemMagic(unsigned long magic) {
    return std::any_of(kKernelFileSystems.begin(), kKernelFileSystems.end(),
                       [magic](const KernelFileSystem& fs) { return fs.Magic == magic; });
}

bool IsKernelFileSystemType(std::string_view type) {
    return std::any_of(kKernelFileSystems.begin(), kKernelFileSystems.end(),
                       [type](const KernelFileSystem& fs) { return fs.Type == type; });
}
