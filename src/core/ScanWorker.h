#pragma once

#include "ScanHandOver.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// One thread's share of a scan. It walks the directories it takes depth first on an explicit
// stack: each directory is read to its end, its files counted and its subdirectories' names kept,
// and then the subdirectories are opened one by one. When another worker waits, the worker hands
// it the unopened subdirectory nearest the start. Nothing recurses, and a directory's descriptor
// is closed as soon as its last subdirectory is open, so neither the thread's stack nor the
// descriptor limit bounds the depth of a tree. Each list is sorted by name once it is complete.
//
// A worker writes only to entries it creates and to the entry of a directory it takes; it
// appends to the lists of those entries alone. Entries of handed-over directories are created and
// appended by the giver, so no two workers ever append to the same list and no list needs a lock.
class ScanWorker {
public:
    explicit ScanWorker(ScanHandOver& handOver) : handOver_(handOver) {}

    // Takes directories until the scan is over; a failure (exhausted memory) stops the whole scan
    // through the hand-over, with what was appended still reachable.
    void Run();

    // contract: reads `reader`'s first item; when there is one, appends the directory's entry to
    // `list` and answers true with `dir` ready to walk. A directory that cannot be opened (null)
    // or delivers no first item gets no entry.
    static bool Enter(std::unique_ptr<DirReader> reader, std::string_view name, TDirEntry* parent,
                      TDirList& list, OpenedDir& dir);

private:
    // A directory read to its end: its subdirectories' names, each ended by a 0, and the offset of
    // the next one to open.
    struct Frame {
        std::unique_ptr<DirReader> Reader;
        TDirEntry* Entry = nullptr;
        std::string SubdirNames;
        std::size_t Next = 0;
    };

    void Walk(OpenedDir dir);
    void Push(OpenedDir dir);
    static bool HasUnopened(const Frame& frame);
    bool EnterNextSubdir(Frame& frame, OpenedDir& dir);
    bool GiveShallowest(std::size_t keep);
    void OfferWhileReading(Frame& frame);
    void CountSplitOff(OpenedDir& share, bool ownEntry);
    void PopFinished(Frame& frame);
    void ReleaseFrames();

    static constexpr std::size_t kKeepWhileWalking = 2;
    static constexpr std::size_t kKeepWhileReading = 1;

    ScanHandOver& handOver_;
    std::vector<Frame> frames_; // reused from directory to directory: [0, depth_) are live
    std::size_t depth_ = 0;
    std::size_t shallowest_ = 0;  // no frame below it has a subdirectory left to open
    std::vector<OpenedDir> kept_; // entered, but the hand-over refused them: walked next
};
