#include "ParallelScan.h"

#include "DirEnumerator.h"
#include "ScanSteps.h"

#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// One directory to scan: found by its parent's task, opened by whichever worker takes it.
struct DirTask {
    std::shared_ptr<DirReader> ParentReader; // keeps the parent's descriptor until opened
    std::unique_ptr<DirReader> Reader;       // the start only: already open
    std::string Name;
    TDirEntry* Parent = nullptr;
    TDirList* List = nullptr;
};

class TaskPool {
public:
    explicit TaskPool(DirTask start) { tasks_.push_back(std::move(start)); }

    void Work() {
        DirTask task;
        while (Take(task)) {
            std::vector<DirTask> found;
            try {
                Scan(task, found);
            } catch (...) {
                Fail(std::current_exception());
            }
            task = DirTask();
            Finish(found);
        }
    }

    void RethrowFailure() const {
        if (failure_)
            std::rethrow_exception(failure_);
    }

private:
    // Last in, first out: the scan goes depth first and keeps few directories pending.
    bool Take(DirTask& task) {
        std::unique_lock lock(mutex_);
        wake_.wait(lock, [this] { return !tasks_.empty() || running_ == 0 || failure_; });
        if (tasks_.empty() || failure_)
            return false;
        task = std::move(tasks_.back());
        tasks_.pop_back();
        ++running_;
        return true;
    }

    void Finish(std::vector<DirTask>& found) {
        {
            std::lock_guard lock(mutex_);
            for (auto& t : found)
                tasks_.push_back(std::move(t));
            --running_;
        }
        wake_.notify_all();
    }

    void Fail(std::exception_ptr error) {
        std::lock_guard lock(mutex_);
        if (!failure_)
            failure_ = error;
    }

    void Append(TDirList& list, std::unique_ptr<TDirEntry> entry) {
        std::lock_guard lock(appendMutex_);
        list.push_back(std::move(entry));
    }

    // The work of ScanDir and ProcessFound for one directory; subdirectories go to `found`.
    void Scan(DirTask& task, std::vector<DirTask>& found) {
        std::unique_ptr<DirReader> opened =
            task.Reader ? std::move(task.Reader) : task.ParentReader->OpenSubdir(task.Name);
        task.ParentReader.reset();
        if (!opened)
            return;
        DirItem item;
        if (opened->Next(item) != DirStep::Item)
            return;
        std::shared_ptr<DirReader> reader = std::move(opened);
        auto owned = NewEntry(task.Name, task.Parent, *task.List);
        TDirEntry& entry = *owned;
        Append(*task.List, std::move(owned));
        // Only this task writes the entry; the others read it after the join.
        do {
            if (IsDotOrDotDot(item.Name))
                continue;
            if (item.Kind == DirItemKind::Directory)
                found.push_back(
                    {reader, nullptr, std::string(item.Name), &entry, &SubDirsOf(entry)});
            else
                CountFile(entry, item);
        } while (reader->Next(item) == DirStep::Item);
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<DirTask> tasks_;
    unsigned running_ = 0;
    std::exception_ptr failure_;
    std::mutex appendMutex_; // guards every SubDirs list while workers append to it
};

} // namespace

void ParallelScan(std::unique_ptr<DirReader> start, TDirList& top, const std::string& name,
                  unsigned threads) {
    if (!start)
        return;
    TaskPool pool({nullptr, std::move(start), name, nullptr, &top});
    if (threads <= 1) {
        pool.Work(); // single-threaded: the calling thread is the only worker
    } else {
        std::vector<std::jthread> workers;
        workers.reserve(threads);
        for (unsigned i = 0; i < threads; ++i)
            workers.emplace_back([&pool] { pool.Work(); });
        workers.clear(); // joins
    }
    pool.RethrowFailure();
}
