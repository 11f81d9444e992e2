// The mount table decides whether a scan may skip the per-directory check for kernel file
// systems; a wrong "no" would let a scan of "/" descend into /proc and /sys.
#include "MountTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Lines as the kernel writes them: optional fields between the options and the "-", octal
// escapes in paths, and one broken line that must be left out.
constexpr const char* kMountInfo =
    "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
    "23 22 0:21 / /proc rw,nosuid shared:12 - proc proc rw\n"
    "24 22 0:22 / /sys rw,nosuid shared:2 master:1 - sysfs sysfs rw\n"
    "25 24 0:23 / /sys/fs/cgroup rw - cgroup2 cgroup2 rw\n"
    "26 22 0:24 / /home/ann/My\\040Disk rw - ext4 /dev/sdb1 rw\n"
    "27 22 0:25 / /srv/data/proc\\040view rw - proc proc rw\n"
    "28 22 0:26 / /tmp rw shared:5 - tmpfs tmpfs rw\n"
    "garbage without fields\n"
    "29 22 0:27 / /mnt/nodash rw shared:6 tmpfs tmpfs rw\n";

TEST(MountTable, ParsesMountPointsAndTypes) {
    const MountTable table(kMountInfo);
    ASSERT_TRUE(table.Known());
    std::vector<std::string> points;
    for (const auto& mount : table.Mounts())
        points.push_back(mount.Point + " " + mount.Type);
    EXPECT_EQ(points, (std::vector<std::string>{"/ ext4", "/proc proc", "/sys sysfs",
                                                "/sys/fs/cgroup cgroup2", "/home/ann/My Disk ext4",
                                                "/srv/data/proc view proc", "/tmp tmpfs"}));
}

TEST(MountTable, FindsKernelFileSystemsStrictlyBelowADirectory) {
    const MountTable table(kMountInfo);
    struct Case {
        const char* Dir;
        bool Below;
    };
    const Case cases[] = {
        {"/", true},               // /proc and /sys
        {"/sys", true},            // cgroup2 below
        {"/sys/fs/cgroup", false}, // the start itself is one, nothing below it
        {"/proc", false},          // likewise
        {"/pro", false},           // a prefix of a name is not a parent
        {"/srv", true},            // an escaped name below
        {"/srv/data/proc", false}, // "proc view" is not below "proc"
        {"/home/ann", false},      // only a disk below
        {"/tmp/x", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(table.KernelFileSystemBelow(c.Dir), c.Below) << c.Dir;
}

TEST(MountTable, ThisProcessSeesProcBelowTheRoot) {
    const MountTable own = MountTable::ReadOwn();
    ASSERT_TRUE(own.Known());
    EXPECT_TRUE(own.KernelFileSystemBelow("/"));
}

} // namespace
