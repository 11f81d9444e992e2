#include "SyntheticTree.h"

#include "SplitMix64.h"
#include "SyntheticNames.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string_view>
#include <sys/stat.h>
#include <sys/statvfs.h>
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
constexpr const char* kFlatPrefix = "flat-";
constexpr const char* kMillionName = "million";
constexpr std::uint64_t kNestedSeed = 0x7a61726e5eed0001;
constexpr std::uint64_t kWideSeed = 0x7a61726e5eed0002;
constexpr std::uint64_t kFlatSeed = 0x7a61726e5eed0003;
constexpr std::uint64_t kMillionSeed = 0x7a61726e5eed0004;
// Bump when names, sizes or layout change, so an old tree on disk is rebuilt, not reused.
constexpr int kGeneratorVersion = 3;

// An empty directory on ext4 takes one inode and one 4 KiB block; files here are sparse.
constexpr std::int64_t kBytesPerDirectory = 4096;
// Room left for everyone else on the file system.
constexpr double kHeadroom = 1.25;

constexpr std::int64_t kGiB = SyntheticNames::kGiB;
using SyntheticNames::FileName;
using SyntheticNames::FileSize;
using SyntheticNames::NumberedName;

// Sinks of the tree plan: one only counts, the other writes to disk. Both see the same calls.
class TotalsCounter {
public:
    void EnterDir(const std::string&) { ++totals_.Directories; }
    void LeaveDir() {}
    void AddEmptyDir(const std::string&) { ++totals_.Directories; }
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

    // A leaf: made, never opened, which halves the system calls of the big trees' builds.
    void AddEmptyDir(const std::string& name) {
        if (error_.empty() && ::mkdirat(fds_.back(), name.c_str(), 0755) != 0)
            Fail("mkdir", name);
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

std::string FlatName(int subdirs) {
    return kFlatPrefix + std::to_string(subdirs);
}

template <class Sink> void PlanFlat(Sink& sink, int subdirs) {
    SplitMix64 prng(kFlatSeed);
    sink.EnterDir(FlatName(subdirs));
    for (int i = 0; i < subdirs; ++i)
        sink.AddEmptyDir(NumberedName(prng, i));
    sink.LeaveDir();
}

template <class Sink>
void PlanMillionDir(Sink& sink, SplitMix64& prng, const TreeShape& shape, int level) {
    for (int d = 0; d < shape.MillionFanOut; ++d) {
        const std::string name = NumberedName(prng, d);
        if (level + 1 == shape.MillionDepth) {
            sink.AddEmptyDir(name);
            continue;
        }
        sink.EnterDir(name);
        PlanMillionDir(sink, prng, shape, level + 1);
        sink.LeaveDir();
    }
}

template <class Sink> void PlanMillion(Sink& sink, const TreeShape& shape) {
    SplitMix64 prng(kMillionSeed);
    sink.EnterDir(kMillionName);
    if (shape.MillionDepth > 0)
        PlanMillionDir(sink, prng, shape, 0);
    sink.LeaveDir();
}

template <class Sink> void PlanAll(Sink& sink, const TreeShape& shape) {
    PlanNested(sink, shape);
    PlanWide(sink, shape);
    for (const int subdirs : shape.FlatSubdirs)
        PlanFlat(sink, subdirs);
    PlanMillion(sink, shape);
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
    return TreeShape{.FanOut = 7,
                     .Depth = 5,
                     .MaxFilesPerDir = 20,
                     .WideSubdirs = 50'000,
                     .WideFiles = 200'000,
                     .FlatSubdirs = {50'000, 100'000, 200'000},
                     .MillionFanOut = 100,
                     .MillionDepth = 3};
}

TreeShape TreeShape::Quick() {
    return TreeShape{.FanOut = 3,
                     .Depth = 2,
                     .MaxFilesPerDir = 4,
                     .WideSubdirs = 50,
                     .WideFiles = 200,
                     .FlatSubdirs = {50, 100, 200},
                     .MillionFanOut = 4,
                     .MillionDepth = 3};
}

std::int64_t TreeShape::MillionDirectories() const {
    std::int64_t level = 1;
    std::int64_t total = 1;
    for (int i = 0; i < MillionDepth; ++i) {
        level *= MillionFanOut;
        total += level;
    }
    return total;
}

std::int64_t TreeShape::InodesNeeded() const {
    TotalsCounter counter;
    PlanNested(counter, *this);
    PlanWide(counter, *this);
    std::int64_t inodes = counter.Totals().Files + counter.Totals().Directories;
    for (const int subdirs : FlatSubdirs)
        inodes += subdirs + 1;
    return inodes + MillionDirectories();
}

std::int64_t TreeShape::BytesNeeded() const {
    // Every directory costs a block; the files are sparse and cost none.
    return InodesNeeded() * kBytesPerDirectory;
}

std::optional<std::string> TreeShape::ScaleDownToFit(std::int64_t freeInodes,
                                                     std::int64_t freeBytes) {
    const auto fits = [&] {
        return double(InodesNeeded()) * kHeadroom <= double(freeInodes) &&
               double(BytesNeeded()) * kHeadroom <= double(freeBytes);
    };
    if (fits())
        return std::nullopt;
    const std::int64_t wanted = MillionDirectories();
    while (MillionFanOut > 1 && !fits())
        --MillionFanOut;
    return "the file system has room for " + std::to_string(freeInodes) + " inodes and " +
           std::to_string(freeBytes / (1024 * 1024)) + " MiB: the tree of empty directories " +
           "is scaled down from " + std::to_string(wanted) + " to " +
           std::to_string(MillionDirectories()) + " directories";
}

std::string TreeShape::Signature() const {
    std::ostringstream text;
    text << "tarn_bench_scan trees v" << kGeneratorVersion << " fan-out " << FanOut << " depth "
         << Depth << " files-per-dir 0.." << MaxFilesPerDir << " wide-dirs " << WideSubdirs
         << " wide-files " << WideFiles << " flat";
    for (const int subdirs : FlatSubdirs)
        text << ' ' << subdirs;
    text << " million fan-out " << MillionFanOut << " depth " << MillionDepth << '\n';
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

std::string SyntheticTree::FlatPath(int subdirs) const {
    return (root_ / FlatName(subdirs)).string();
}

std::string SyntheticTree::MillionPath() const {
    return (root_ / kMillionName).string();
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

ScanTotals SyntheticTree::ExpectedFlat(int subdirs) const {
    TotalsCounter counter;
    PlanFlat(counter, subdirs);
    return counter.Totals();
}

ScanTotals SyntheticTree::ExpectedMillion() const {
    TotalsCounter counter;
    PlanMillion(counter, shape_);
    return counter.Totals();
}

PrepareResult SyntheticTree::Prepare() {
    PrepareResult result;
    if (ReadSmallFile(root_ / kCompleteMarker) == shape_.Signature()) {
        result.Ok = result.Reused = true;
        return result;
    }
    if (auto error = ClearForBuild()) {
        result.Error = *error;
        return result;
    }
    // Measured once the old trees are gone: their room is the new trees' room.
    if (auto note = ScaleToFreeSpace())
        result.Note = *note;
    if (auto error = Build()) {
        result.Error = *error;
        return result;
    }
    result.Ok = true;
    return result;
}

std::optional<std::string> SyntheticTree::ScaleToFreeSpace() {
    // The folder itself may not exist yet: ask the nearest existing folder above it.
    std::filesystem::path probe = root_;
    struct statvfs fs {};
    while (::statvfs(probe.c_str(), &fs) != 0) {
        if (!probe.has_parent_path() || probe.parent_path() == probe)
            return std::nullopt; // cannot tell: build as asked
        probe = probe.parent_path();
    }
    const auto freeInodes = static_cast<std::int64_t>(fs.f_favail);
    const auto freeBytes = static_cast<std::int64_t>(fs.f_bavail) * std::int64_t(fs.f_frsize);
    return shape_.ScaleDownToFit(freeInodes, freeBytes);
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
        PlanAll(writer, shape_);
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
