#pragma once

#include "DescriptorChannel.h"
#include "DirEnumerator.h"

// The real file system, read through descriptors: every subdirectory is opened relative to its
// parent's open descriptor and every item is looked at relative to its directory, so no path
// string is built and no path-length limit applies. Links are never followed; only directories
// are ever opened.
//
// In a parallel scan each worker thread keeps a descriptor table of its own, so that opening and
// closing descriptors takes no lock that the workers share; a directory handed from one worker to
// another travels through a DescriptorChannel, still open and at the same position.
class PosixDirEnumerator final : public DirEnumerator, private DirThreading {
public:
    // Raises the soft descriptor limit to the hard limit: the scan holds one descriptor per level.
    PosixDirEnumerator();

    std::unique_ptr<DirReader> OpenStart(const std::string& path) override;
    DirThreading& Threading() override { return *this; }

private:
    void WorkerStarted() override;
    bool Send(DirReader& reader) override;
    void Receive(DirReader& reader) override;

    DescriptorChannel channel_;
};
