#pragma once

#include "DirEnumerator.h"

// The real file system, read through descriptors: every subdirectory is opened relative to its
// parent's open descriptor and every item is looked at relative to its directory, so no path
// string is built and no path-length limit applies. Links are never followed; only directories
// are ever opened.
class PosixDirEnumerator final : public DirEnumerator {
public:
    // Raises the soft descriptor limit to the hard limit: the scan holds one descriptor per level.
    PosixDirEnumerator();

    std::unique_ptr<DirReader> OpenStart(const std::string& path) override;
};
