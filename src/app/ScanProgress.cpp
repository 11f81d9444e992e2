#include "ScanProgress.h"

#include "SaturatingAdd.h"

#include <algorithm>
#include <string_view>

namespace {

// Reading the clock for every item would cost more than counting it.
constexpr std::uint32_t kItemsPerClockCheck = 256;

} // namespace

// Delivers the inner reader's items unchanged and counts each one on its way through.
class ScanProgress::CountingReader final : public DirReader {
public:
    CountingReader(std::unique_ptr<DirReader> inner, ScanProgress& owner)
        : Inner_(std::move(inner)), Owner_(owner) {}

    DirStep Next(DirItem& item) override {
        const DirStep step = Inner_->Next(item);
        if (step == DirStep::Item)
            Owner_.CountItem(item);
        return step;
    }

    std::unique_ptr<DirReader> OpenSubdir(std::string_view name) override {
        return Owner_.Wrap(Inner_->OpenSubdir(name));
    }

private:
    std::unique_ptr<DirReader> Inner_;
    ScanProgress& Owner_; // outlives the readers it opens
};

ScanProgress::ScanProgress(DirEnumerator& inner, Callback callback, Clock::duration interval)
    : Inner_(inner), Callback_(std::move(callback)), Interval_(interval),
      NextReport_(Clock::now() + interval) {}

std::unique_ptr<DirReader> ScanProgress::OpenStart(const std::string& path) {
    return Wrap(Inner_.OpenStart(path));
}

std::unique_ptr<DirReader> ScanProgress::Wrap(std::unique_ptr<DirReader> reader) {
    if (!reader)
        return nullptr;
    Counts_.Dirs = SaturatingAdd(Counts_.Dirs, 1);
    return std::make_unique<CountingReader>(std::move(reader), *this);
}

void ScanProgress::CountItem(const DirItem& item) {
    if (item.Name == "." || item.Name == "..")
        return;
    if (item.Kind != DirItemKind::Directory) {
        Counts_.Files = SaturatingAdd(Counts_.Files, 1);
        Counts_.Bytes = SaturatingAdd(Counts_.Bytes, std::max<std::int64_t>(item.Size, 0));
    }
    MaybeReport();
}

void ScanProgress::MaybeReport() {
    if (++SinceClockCheck_ < kItemsPerClockCheck)
        return;
    SinceClockCheck_ = 0;
    const Clock::time_point now = Clock::now();
    if (now < NextReport_)
        return;
    NextReport_ = now + Interval_;
    Reported_ = true;
    Callback_(Counts_);
}
