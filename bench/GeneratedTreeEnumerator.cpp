#include "GeneratedTreeEnumerator.h"

#include "SplitMix64.h"
#include "SyntheticNames.h"

#include <algorithm>
#include <string>

namespace {

constexpr std::uint64_t kSeed = 0x7a61726e5eed0005;
constexpr int kMaxFilesPerDir = 20;

// One generated directory: its files first, then its subdirectories, each of which takes an
// equal share (the first ones one more) of the directories below this one.
class GeneratedDirReader final : public DirReader {
public:
    GeneratedDirReader(std::int64_t directories, std::uint64_t seed)
        : prng_(seed), files_(int(prng_.Below(kMaxFilesPerDir + 1))) {
        const std::int64_t below = directories - 1;
        subdirs_ = int(std::min<std::int64_t>(below, GeneratedTreeEnumerator::FanOut));
        share_ = subdirs_ > 0 ? below / subdirs_ : 0;
        extra_ = subdirs_ > 0 ? int(below % subdirs_) : 0;
    }

    DirStep Next(DirItem& item) override {
        if (nextFile_ < files_) {
            name_ = SyntheticNames::FileName(prng_, nextFile_++);
            item.Name = name_;
            item.Kind = DirItemKind::File;
            item.Size = SyntheticNames::FileSize(prng_);
            return DirStep::Item;
        }
        if (nextSubdir_ < subdirs_) {
            lastSubdir_ = nextSubdir_++;
            name_ = SyntheticNames::NumberedName(prng_, lastSubdir_);
            item.Name = name_;
            item.Kind = DirItemKind::Directory;
            item.Size = 0;
            return DirStep::Item;
        }
        return DirStep::End;
    }

    // The serial scan opens each subdirectory right after it was delivered: that is the one.
    std::unique_ptr<DirReader> OpenSubdir(std::string_view name) override {
        if (lastSubdir_ < 0 || name != name_)
            return nullptr;
        const std::int64_t directories = share_ + (lastSubdir_ < extra_ ? 1 : 0);
        return std::make_unique<GeneratedDirReader>(directories, prng_.Next());
    }

private:
    SplitMix64 prng_;
    int files_;
    int subdirs_ = 0;
    std::int64_t share_ = 0;
    int extra_ = 0;
    int nextFile_ = 0;
    int nextSubdir_ = 0;
    int lastSubdir_ = -1;
    std::string name_; // the item delivered last
};

} // namespace

GeneratedTreeEnumerator::GeneratedTreeEnumerator(std::int64_t directories)
    : directories_(std::max<std::int64_t>(directories, 1)) {}

std::unique_ptr<DirReader> GeneratedTreeEnumerator::OpenStart(const std::string& /*path*/) {
    return std::make_unique<GeneratedDirReader>(directories_, kSeed);
}
