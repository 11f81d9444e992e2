#include "ScanWorker.h"

#include "ScanSteps.h"

#include <cstring>

void ScanWorker::Run() {
    OpenedDir dir;
    while (handOver_.Take(dir)) {
        try {
            Walk(std::move(dir));
        } catch (...) {
            ReleaseFrames();
            handOver_.Fail(std::current_exception());
        }
        dir = OpenedDir();
    }
}

bool ScanWorker::Enter(std::unique_ptr<DirReader> reader, std::string_view name, TDirEntry* parent,
                       TDirList& list, OpenedDir& dir) {
    if (!reader)
        return false;
    DirItem first;
    if (reader->Next(first) != DirStep::Item)
        return false;
    list.push_back(NewEntry(name, parent, list));
    dir.Entry = list.back().get();
    dir.Reader = std::move(reader);
    dir.First = first;
    return true;
}

void ScanWorker::Walk(OpenedDir dir) {
    if (dir.FilesOnly) {
        CountSplitOff(dir, false);
        return;
    }
    Push(std::move(dir));
    while ((depth_ > 0 || !kept_.empty()) && !handOver_.Failed()) {
        if (!kept_.empty()) {
            OpenedDir next = std::move(kept_.back());
            kept_.pop_back();
            Push(std::move(next));
            continue;
        }
        if (handOver_.SomeoneWaits())
            GiveShallowest(kKeepWhileWalking);
        Frame& top = frames_[depth_ - 1];
        if (HasUnopened(top)) {
            OpenedDir next;
            if (EnterNextSubdir(top, next))
                Push(std::move(next)); // `top` is not used after this: the push may move it
        } else {
            PopFinished(top);
        }
    }
    ReleaseFrames();
}

// Reads the directory to its end on a new frame at the top of the stack.
void ScanWorker::Push(OpenedDir dir) {
    if (depth_ == frames_.size())
        frames_.emplace_back();
    Frame& frame = frames_[depth_++];
    frame.Reader = std::move(dir.Reader);
    frame.Entry = dir.Entry;
    frame.SubdirNames.clear();
    frame.Next = 0;
    TDirEntry& entry = *dir.Entry;
    DirItem item = dir.First;
    std::size_t subdirs = 0;
    do {
        if (handOver_.SomeoneWaits())
            OfferWhileReading(frame);
        if (IsDotOrDotDot(item.Name))
            continue;
        if (item.Kind == DirItemKind::Directory) {
            SubDirsOf(entry);
            frame.SubdirNames.append(item.Name);
            frame.SubdirNames.push_back('\0');
            ++subdirs;
        } else {
            CountFile(entry, item);
        }
    } while (frame.Reader->Next(item) == DirStep::Item);
    if (subdirs > 0)
        entry.SubDirs->reserve(subdirs); // one allocation for the list, not one per doubling
}

bool ScanWorker::HasUnopened(const Frame& frame) {
    return frame.Next < frame.SubdirNames.size();
}

// contract: HasUnopened(frame). The entry goes into the frame's list, which only this worker
// appends to.
bool ScanWorker::EnterNextSubdir(Frame& frame, OpenedDir& dir) {
    const char* name = frame.SubdirNames.c_str() + frame.Next;
    const std::size_t length = std::strlen(name);
    frame.Next += length + 1;
    std::unique_ptr<DirReader> reader = frame.Reader->OpenSubdir({name, length});
    if (!HasUnopened(frame))
        frame.Reader.reset(); // the last subdirectory is open: the parent is no longer needed
    return Enter(std::move(reader), {name, length}, frame.Entry, *frame.Entry->SubDirs, dir);
}

// The subdirectory nearest the start that this worker has yet to open heads the largest piece of
// work it can spare, so a waiting worker gets that, and comes back rarely. The `keep` frames at
// the top stay with this worker: while it walks, that is two, because the subdirectories of the
// top frames are what is left here, often leaves, and handing those out one by one costs the two
// workers more than reading them here; while it reads a big directory, only that one. Nothing is
// pushed here (a directory may be half read): what cannot travel is kept and walked next.
// Frames below shallowest_ have nothing left to open, and never will (only the top frame is ever
// being read): the search only moves up, and starts again lower when frames are popped below it.
bool ScanWorker::GiveShallowest(std::size_t keep) {
    // The top frame may still be being read, and gain subdirectories: the search stops there.
    while (shallowest_ + 1 < depth_ && !HasUnopened(frames_[shallowest_]))
        ++shallowest_;
    if (shallowest_ + keep >= depth_)
        return false;
    OpenedDir dir;
    if (EnterNextSubdir(frames_[shallowest_], dir) && !handOver_.Give(dir))
        kept_.push_back(std::move(dir));
    return true;
}

// While this worker reads a directory (the top frame) another one waits: it gets a subdirectory
// from below if there is one, or else the files of this directory that have been read and not yet
// looked at, so that a directory of many files is not one thread's work alone.
void ScanWorker::OfferWhileReading(Frame& frame) {
    if (GiveShallowest(kKeepWhileReading))
        return;
    OpenedDir share;
    share.Reader = frame.Reader->SplitOffFiles();
    if (!share.Reader)
        return;
    share.Entry = frame.Entry;
    share.FilesOnly = true;
    if (!handOver_.Give(share))
        CountSplitOff(share, true);
}

// An item that has become a directory since it was listed is left out, as one that is gone.
void ScanWorker::CountSplitOff(OpenedDir& share, bool ownEntry) {
    TDirEntry counted;
    DirItem item;
    while (share.Reader->Next(item) == DirStep::Item) {
        if (item.Kind == DirItemKind::File)
            CountFile(counted, item);
    }
    share.Reader.reset();
    if (ownEntry) {
        share.Entry->Files = SaturatingAdd(share.Entry->Files, counted.Files);
        share.Entry->Bytes = SaturatingAdd(share.Entry->Bytes, counted.Bytes);
    } else {
        handOver_.RecordSplitOffCount(*share.Entry, counted.Files, counted.Bytes);
    }
}

// Every subdirectory of the frame's directory has been entered, by this worker alone: its list is
// final and is sorted here, while its entries are still in the cache, and in parallel with the
// other workers. The receivers of handed-over entries write to those entries meanwhile, never to
// their names or to the list.
void ScanWorker::PopFinished(Frame& frame) {
    frame.Reader.reset();
    if (frame.Entry->SubDirs)
        FinishList(*frame.Entry->SubDirs);
    --depth_;
    if (shallowest_ > depth_)
        shallowest_ = depth_;
}

void ScanWorker::ReleaseFrames() {
    for (std::size_t i = 0; i < depth_; ++i)
        frames_[i].Reader.reset();
    depth_ = 0;
    shallowest_ = 0;
    kept_.clear();
}
