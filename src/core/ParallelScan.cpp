#include "ParallelScan.h"

#include "ScanHandOver.h"
#include "ScanWorker.h"

#include <algorithm>
#include <thread>
#include <vector>

void ParallelScan(std::unique_ptr<DirReader> start, TDirList& top, const std::string& name,
                  unsigned threads) {
    OpenedDir root;
    if (!ScanWorker::Enter(std::move(start), name, nullptr, top, root))
        return;
    threads = std::max(threads, 1u);
    ScanHandOver handOver(threads);
    handOver.Give(std::move(root));
    if (threads == 1) {
        ScanWorker(handOver).Run(); // single-threaded: the calling thread is the only worker
    } else {
        std::vector<std::jthread> workers;
        workers.reserve(threads);
        for (unsigned i = 0; i < threads; ++i)
            workers.emplace_back([&handOver] { ScanWorker(handOver).Run(); });
        workers.clear(); // joins
    }
    handOver.RethrowFailure();
}
