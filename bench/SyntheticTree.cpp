#include "SyntheticTree.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

constexpr const char* kCompleteMarker = ".tarn-bench-complete";
constexpr const char* kBuildingMarker = ".tarn-bench-building";
constexpr const char* kNestedName = "nested";
constexpr const char* kWideName = "wide";
constexpr const char* kWideDirsName = "many-dirs";
constexpr const char* kWideFilesName = "many-files";
constexpr std::uint64_t kNestedSeed = 0x7a61726e5eed0001;
constexpr std::uint64_t kWideSeed = 0x7a61726e5eed0002;
// Bump when names, sizes or layout change, so an old tree on disk is rebuilt, not reused.
constexpr int kGeneratorVersion = 2;

constexpr std::int64_t kGiB = std::int64_t(1) << 30;

// SplitMix64: tiny, and unlike the standard distributions its output is the same on every
// standard library, which keeps the trees identical wherever the benchmark is built.
class SplitMix64 {
public:
    explicit SplitMix64(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9e3779b97f4a7c15);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9;
        z = (z ^ (z >> 27)) * 0x94d049bb133111eb;
        return z ^ (z >> 31);
    }
    std::uint64_t Below(std::uint64_t bound) { return Next() % bound; }

private:
    std::uint64_t state_;
};

// Stems of mixed case, punctuation, spaces and UTF-8 bytes, so the name sort has real work.
constexpr std::array<std::string_view, 12> kStems = {"src",
                                                     "Docs",
                                                     "build",
                                                     "_cache",
                                                     "assets",
                                                     "Photos 2023",
                                                     "node",
                                                     "data.old",
                                                     "~backup",
                                                     "\xc3\x9c"
                                                     "bersicht",
                                                     "Thumbs",
                                                     "a-really-long-directory-name"};
constexpr std::array<std::string_view, 6> kExtensions = {"txt", "jpg", "o", "tar.gz", "cpp", "dat"};

std::string NumberedName(SplitMix64& prng, int index) {
    // The index keeps sibling names distinct whatever stem is drawn.
    return std::string(kStems[prng.Below(kStems.size())]) + '-' + std::to_string(index);
}

std::string FileName(SplitMix64& prng, int index) {
    std::string name = NumberedName(prng, index);
    name += '.';
    name += kExtensions[prng.Below(kExtensions.size())];
    return name;
}

// Mostly small files spread over every power of two up to 16 MiB; one in 500 above 4 GiB.
std::int64_t FileSize(SplitMix64& prng) {
    if (prng.Below(500) == 0)
        return 4 * kGiB + 1 + std::int64_t(prng.Below(60 * kGiB));
    const int bits = int(prng.Below(25));
    return std::int64_t(prng.Below(std::uint64_t(1) << bits));
}

// Sinks of the tree plan: one only counts, the other writes to disk. Both see the same calls.
class TotalsCounter {
public:
    void EnterDir(const std::string&) { ++totals_.Directories; }
    void LeaveDir() {}
    void AddFile(const std::string&, std::int64_t size) {
        ++totals_.Files;
        totals_.Bytes += size;
    }
    const ScanTotals& Totals() const { return totals_; }

private:
    ScanTotals totals_;
};

// Keeps one descriptor per open level and makes each item relative to its directory, so no
// path is ever built. The first failure is kept and everything after it is skipped.
class DiskWriter {
public:
    explicit DiskWriter(int topFd) { fds_.push_back(topFd); }
    DiskWriter(const DiskWriter&) = delete;
    DiskWriter& operator=(const DiskWriter&) = delete;
    ~DiskWriter() {
        for (std::size_t i = 1; i < fds_.size(); ++i)
            ::close(fds_[i]);
    }

    void EnterDir(const std::string& name) {
        int fd = -1;
        if (error_.empty()) {
            if (::mkdirat(fds_.back(), name.c_str(), 0755) != 0)
                Fail("mkdir", name);
            else if ((fd = ::openat(fds_.back(), name.c_str(),
                                    O_RDONLY | O_DIRECTORY | O_CLOEXEC)) < 0)
                Fail("open", name);
        }
        fds_.push_back(fd); // pushed even after a failure, so LeaveDir stays balanced
    }

    void LeaveDir() {
        if (fds_.back() >= 0)
            ::close(fds_.back());
        fds_.pop_back();
    }

    void AddFile(const std::string& name, std::int64_t size) {
        if (!error_.empty())
            return;
        const int fd =
            ::openat(fds_.back(), name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0)
            return Fail("create", name);
        if (::ftruncate(fd, size) != 0)
            Fail("ftruncate", name);
        ::close(fd);
    }

    const std::string& Error() const { return error_; }

private:
    void Fail(const char* what, const std::string& name) {
        error_ = std::string(what) + " " + name + ": " + std::strerror(errno);
    }

    std::vector<int> fds_; // fds_[0] is the top folder, owned by the caller
    std::string error_;
};

template <class Sink>
void PlanNestedDir(Sink& sink, SplitMix64& prng, const TreeShape& shape, int level) {
    const int files = int(prng.Below(std::uint64_t(shape.MaxFilesPerDir) + 1));
    for (int i = 0; i < files; ++i) {
        const std::string name = FileName(prng, i);
        sink.AddFile(name, FileSize(prng));
    }
    if (level == shape.Depth)
        return;
    for (int d = 0; d < shape.FanOut; ++d) {
        sink.EnterDir(NumberedName(prng, d));
        PlanNestedDir(sink, prng, shape, level + 1);
        sink.LeaveDir();
    }
}

template <class Sink> void PlanNested(Sink& sink, const TreeShape& shape) {
    SplitMix64 prng(kNestedSeed);
    sink.EnterDir(kNestedName);
    // In every shape, so that even the quick trees hold a hidden file whose size needs 64 bits.
    sink.AddFile(".hidden-image.bin", 12 * kGiB + 7);
    PlanNestedDir(sink, prng, shape, 0);
    sink.LeaveDir();
}

template <class Sink> void PlanWide(Sink& sink, const TreeShape& shape) {
    SplitMix64 prng(kWideSeed);
    sink.EnterDir(kWideName);
    sink.EnterDir(kWideDirsName);
    for (int i = 0; i < shape.WideSubdirs; ++i) {
        sink.EnterDir(NumberedName(prng, i));
        sink.LeaveDir();
    }
    sink.LeaveDir();
    sink.EnterDir(kWideFilesName);
    for (int i = 0; i < shape.WideFiles; ++i) {
        const std::string name = FileName(prng, i);
        sink.AddFile(name, FileSize(prng));
    }
    sink.LeaveDir();
    sink.LeaveDir();
}

std::optional<std::string> ReadSmallFile(const std::filesystem::path& path) {
    std::ifstream in(path);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteSmallFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::trunc);
    out << text;
    out.close();
    return bool(out);
}

} // namespace

TreeShape TreeShape::Full() {
    // 7 + 49 + 343 + 2401 + 16807 directories below the start: 19,608 with it, and on average
    // 10 files in each: about 196,000 files, some 400 of them above 4 GiB.
    return TreeShape{
        .FanOut = 7, .Depth = 5, .MaxFilesPerDir = 20, .WideSubdirs = 50'000, .WideFiles = 200'000};
}

TreeShape TreeShape::Quick() {
    return TreeShape{
        .FanOut = 3, .Depth = 2, .MaxFilesPerDir = 4, .WideSubdirs = 50, .WideFiles = 200};
}

std::string TreeShape::Signature() const {
    std::ostringstream text;
    text << "tarn_bench_scan trees v" << kGeneratorVersion << " fan-out " << FanOut << " depth "
         << Depth << " files-per-dir 0.." << MaxFilesPerDir << " wide-dirs " << WideSubdirs
         << " wide-files " << WideFiles << '\n';
    return text.str();
}

SyntheticTree::SyntheticTree(std::filesystem::path root, TreeShape shape)
    : root_(std::move(root)), shape_(shape) {}

std::string SyntheticTree::NestedPath() const {
    return (root_ / kNestedName).string();
}

std::string SyntheticTree::WidePath() const {
    return (root_ / kWideName).string();
}

ScanTotals SyntheticTree::ExpectedNested() const {
    TotalsCounter counter;
    PlanNested(counter, shape_);
    return counter.Totals();
}

ScanTotals SyntheticTree::ExpectedWide() const {
    TotalsCounter counter;
    PlanWide(counter, shape_);
    return counter.Totals();
}

PrepareResult SyntheticTree::Prepare() const {
    if (ReadSmallFile(root_ / kCompleteMarker) == shape_.Signature())
        return PrepareResult{.Ok = true, .Reused = true, .Error = {}};
    if (auto error = ClearForBuild())
        return PrepareResult{.Ok = false, .Reused = false, .Error = *error};
    if (auto error = Build())
        return PrepareResult{.Ok = false, .Reused = false, .Error = *error};
    return PrepareResult{.Ok = true, .Reused = false, .Error = {}};
}

std::optional<std::string> SyntheticTree::ClearForBuild() const {
    namespace fs = std::filesystem;
    std::error_code error;
    if (!fs::exists(root_, error))
        return std::nullopt;
    if (!fs::is_directory(root_, error))
        return root_.string() + " exists and is not a folder";
    // Clearing a folder the benchmark did not make could destroy someone's files: only an empty
    // folder or one with our marker (complete or half built) is cleared.
    const bool ours =
        fs::exists(root_ / kCompleteMarker, error) || fs::exists(root_ / kBuildingMarker, error);
    if (!ours && !fs::is_empty(root_, error))
        return "refusing to clear " + root_.string() +
               ": it is not empty and holds no benchmark marker";
    fs::remove_all(root_, error);
    if (error)
        return "cannot clear " + root_.string() + ": " + error.message();
    return std::nullopt;
}

std::optional<std::string> SyntheticTree::Build() const {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::create_directories(root_, error);
    if (error)
        return "cannot create " + root_.string() + ": " + error.message();
    if (!WriteSmallFile(root_ / kBuildingMarker, shape_.Signature()))
        return "cannot write a marker into " + root_.string();

    const int topFd = ::open(root_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (topFd < 0)
        return "cannot open " + root_.string() + ": " + std::strerror(errno);
    std::string buildError;
    {
        DiskWriter writer(topFd);
        PlanNested(writer, shape_);
        PlanWide(writer, shape_);
        buildError = writer.Error();
    }
    ::close(topFd);
    if (!buildError.empty())
        return "cannot build the trees in " + root_.string() + ": " + buildError;

    // Until the complete marker is down, the building marker keeps the folder recognisable as
    // ours, so a half-built tree (a crash, an interrupted run) is cleared and built again.
    if (!WriteSmallFile(root_ / kCompleteMarker, shape_.Signature()))
        return "cannot write a marker into " + root_.string();
    fs::remove(root_ / kBuildingMarker, error);
    return std::nullopt;
}

std::optional<std::string> SyntheticTree::Remove() const {
    std::error_code error;
    std::filesystem::remove_all(root_, error);
    if (error)
        return "cannot remove " + root_.string() + ": " + error.message();
    return std::nullopt;
}
