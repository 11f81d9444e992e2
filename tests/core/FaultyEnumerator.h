#pragma once

#include "DirEnumerator.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// An in-memory directory tree that the scan enumerates like the real one, delivering items in
// the order they were added (after "." and ".."), and that fails on request at a chosen point.
// It counts the readers it opened and released, so a test sees that every one is released. The
// counts and the release order may be updated from several threads (a parallel scan releases a
// reader on whichever worker drops it last).
class FaultyEnumerator final : public DirEnumerator {
public:
    // Open: the directory cannot be opened. FirstItem: it opens but delivers nothing.
    // AfterItems: it fails after FailAfter items. Release: it reads normally, but releasing it
    // fails (as a close() that reports an I/O error), which the scan has no way to notice.
    enum class Fault { None, Open, FirstItem, AfterItems, Release };

    struct Node {
        struct Item {
            std::string Name;
            bool IsDir = false;
            std::int64_t Size = 0;
            std::unique_ptr<Node> Child;
        };
        std::vector<Item> Items;
        Fault FaultKind = Fault::None;
        std::size_t FailAfter = 0; // with Fault::AfterItems: items delivered before the failure

        Node& Dir(const std::string& name);
        Node& File(const std::string& name, std::int64_t size);
        Node& Fail(Fault fault, std::size_t after = 0);
    };

    Node Start;                        // the starting directory
    std::string StartPath = "/start/"; // the only path OpenStart accepts
    std::atomic<int> Opened = 0;
    std::atomic<int> Released = 0;
    std::atomic<int> ReleaseFailures = 0; // releases of readers of a Fault::Release directory

    std::unique_ptr<DirReader> OpenStart(const std::string& path) override;
    std::unique_ptr<DirReader> Open(const Node& node, std::string path);

    // "/"-joined paths, in the order the readers were released.
    std::vector<std::string> ReleaseOrder() const;
    void RecordRelease(const Node& node, std::string path);

private:
    mutable std::mutex releaseMutex_;
    std::vector<std::string> releaseOrder_;
};
