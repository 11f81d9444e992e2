#include "ParallelScan.h"

#include "ScanHandOver.h"
#include "ScanWorker.h"

#include <algorithm>
#include <thread>
#include <vector>

namespace {

void ScanOnCallingThread(OpenedDir& root, DirThreading& threading) {
    ScanHandOver handOver(1, threading);
    handOver.Give(root); // one worker: nothing travels, so it cannot be refused
    ScanWorker(handOver).Run();
    handOver.RethrowFailure();
}

} // namespace

void ParallelScan(std::unique_ptr<DirReader> start, TDirList& top, const std::string& name,
                  unsigned threads, DirThreading& threading) {
    OpenedDir root;
    if (!ScanWorker::Enter(std::move(start), name, nullptr, top, root))
        return;
    if (threads <= 1) {
        ScanOnCallingThread(root, threading);
        return;
    }
    ScanHandOver handOver(threads, threading);
    if (!handOver.Give(root)) { // its reader cannot leave this thread
        ScanOnCallingThread(root, threading);
        return;
    }
    {
        std::vector<std::jthread> workers;
        workers.reserve(threads);
        for (unsigned i = 0; i < threads; ++i) {
            workers.emplace_back([&handOver, &threading] {
                threading.WorkerStarted();
                ScanWorker(handOver).Run();
            });
        }
    } // joins
    handOver.AddSplitOffCounts();
    handOver.RethrowFailure();
}
