#pragma once

class DirReader;

// How the readers of one scan live with the worker threads of a parallel scan. By default a
// reader may be used from any thread and none of this does anything. An enumerator whose readers
// hold something of one thread (a descriptor in that thread's own descriptor table) moves it
// from thread to thread here.
class DirThreading {
public:
    virtual ~DirThreading() = default;

    // The default: readers shared by every thread.
    static DirThreading& Shared();

    // Called first on each worker thread of its own; never on the caller's thread.
    virtual void WorkerStarted() {}

    // The parallel scan calls these with its hand-over lock held: Send on the giving thread
    // before a reader is queued, Receive on the taking thread, in the order of the Sends.
    // contract: Send answers false when the reader cannot be moved; it then stays with the giving
    // thread, fully usable. A reader that Receive cannot restore fails its later calls.
    virtual bool Send(DirReader& reader);
    virtual void Receive(DirReader& reader);

protected:
    DirThreading() = default;
};
