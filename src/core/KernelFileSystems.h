#pragma once

#include <string_view>

// Kernel virtual file systems: their files report sizes that are not on any disk (/proc/kcore
// alone claims 128 TiB), so a listing does not descend into them below its start. The same set,
// named two ways:

// by the magic number that statfs reports in f_type,
bool IsKernelFileSystemMagic(unsigned long magic);

// and by the type name that the mount table gives.
bool IsKernelFileSystemType(std::string_view type);
