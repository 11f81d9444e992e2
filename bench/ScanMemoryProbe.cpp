#include "ScanMemoryProbe.h"

#include "BenchOptions.h"
#include "DirTree.h"
#include "TDirEntry.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <malloc.h>
#include <sstream>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// VmHWM of this process in bytes, or -1 when /proc cannot tell.
std::int64_t PeakRss() {
    std::ifstream status("/proc/self/status");
    std::string line;
    constexpr std::string_view key = "VmHWM:";
    while (std::getline(status, line)) {
        if (line.starts_with(key))
            return std::stoll(line.substr(key.size())) * 1024; // the kernel reports kB
    }
    return -1;
}

// Writing 5 to clear_refs sets the peak back to the present resident size (Linux 4.0 and later).
bool ResetPeakRss() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.close();
    return bool(clear);
}

std::int64_t HeapInUse() {
    const struct mallinfo2 info = ::mallinfo2();
    return std::int64_t(info.uordblks + info.hblkhd); // arena chunks in use plus mmapped blocks
}

ScanMemory Failed(std::string error) {
    ScanMemory memory;
    memory.Error = std::move(error);
    return memory;
}

std::string ReadAll(int fd) {
    std::string text;
    char chunk[256];
    ssize_t got;
    while ((got = ::read(fd, chunk, sizeof chunk)) > 0 || (got < 0 && errno == EINTR)) {
        if (got > 0)
            text.append(chunk, std::size_t(got));
    }
    return text;
}

int WaitFor(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    return status;
}

std::int64_t NameBytes(const TDirEntry& root) {
    std::int64_t bytes = 0;
    for (const TDirEntry* e = &root; e != nullptr; e = NextEntry(*e, false))
        bytes += static_cast<std::int64_t>(e->Name.size());
    return bytes;
}

} // namespace

ScanMemory ScanMemoryProbe::Measure(const std::string& path, unsigned threads) {
    int fds[2];
    if (::pipe(fds) != 0)
        return Failed(std::string("pipe: ") + std::strerror(errno));
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return Failed(std::string("fork: ") + std::strerror(errno));
    }
    if (pid == 0) {
        ::dup2(fds[1], STDOUT_FILENO);
        ::close(fds[0]);
        ::close(fds[1]);
        const std::string threadText = std::to_string(threads);
        const char* args[] = {"tarn_bench_scan",   kMemoryProbeOption, path.c_str(),
                              kProbeThreadsOption, threadText.c_str(), nullptr};
        ::execv("/proc/self/exe", const_cast<char* const*>(args)); // execv does not write them
        ::_exit(127);
    }
    ::close(fds[1]);
    const std::string report = ReadAll(fds[0]);
    ::close(fds[0]);
    const int status = WaitFor(pid);
    if (status < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return Failed("the measuring process failed");

    ScanMemory memory;
    std::istringstream fields(report);
    fields >> memory.Directories >> memory.PeakRssGrowth >> memory.HeapGrowth >> memory.NameBytes >>
        memory.PeakWasReset;
    if (!fields)
        return Failed("the measuring process sent no report");
    memory.Ok = true;
    return memory;
}

int ScanMemoryProbe::RunProbe(const std::string& path, unsigned threads) {
    const bool peakWasReset = ResetPeakRss();
    const std::int64_t peakBefore = PeakRss();
    const std::int64_t heapBefore = HeapInUse();
    DirTree tree;
    tree.BuildTree(path, threads);
    const std::int64_t peakGrowth = PeakRss() - peakBefore;
    const std::int64_t heapGrowth = HeapInUse() - heapBefore;
    const TDirEntry* root = tree.Root();
    if (peakBefore < 0 || root == nullptr)
        return 1;
    std::printf("%lld %lld %lld %lld %d\n", static_cast<long long>(TotalSubdirCount(*root) + 1),
                static_cast<long long>(peakGrowth), static_cast<long long>(heapGrowth),
                static_cast<long long>(NameBytes(*root)), peakWasReset ? 1 : 0);
    tree.ReleaseTree();
    return 0;
}
