#include "FaultyEnumerator.h"

namespace {

class FaultyReader final : public DirReader {
public:
    FaultyReader(FaultyEnumerator& owner, const FaultyEnumerator::Node& node, std::string path)
        : owner_(owner), node_(node), path_(std::move(path)) {}
    ~FaultyReader() override { owner_.RecordRelease(node_, std::move(path_)); }

    DirStep Next(DirItem& item) override {
        using Fault = FaultyEnumerator::Fault;
        if (node_.FaultKind == Fault::FirstItem ||
            (node_.FaultKind == Fault::AfterItems && delivered_ >= node_.FailAfter))
            return DirStep::Failed;
        const std::size_t index = delivered_++;
        if (index < 2) {
            item.Name = index == 0 ? "." : "..";
            item.Kind = DirItemKind::Directory;
            item.Size = 0;
            return DirStep::Item;
        }
        if (index - 2 >= node_.Items.size())
            return DirStep::End;
        const auto& found = node_.Items[index - 2];
        item.Name = found.Name;
        item.Kind = found.IsDir ? DirItemKind::Directory : DirItemKind::File;
        item.Size = found.Size;
        return DirStep::Item;
    }

    std::unique_ptr<DirReader> OpenSubdir(std::string_view name) override {
        for (const auto& item : node_.Items) {
            if (item.IsDir && item.Name == name)
                return owner_.Open(*item.Child, path_ + "/" + item.Name);
        }
        return nullptr;
    }

private:
    FaultyEnumerator& owner_;
    const FaultyEnumerator::Node& node_;
    std::string path_;
    std::size_t delivered_ = 0;
};

} // namespace

FaultyEnumerator::Node& FaultyEnumerator::Node::Dir(const std::string& name) {
    Items.push_back({name, true, 0, std::make_unique<Node>()});
    return *Items.back().Child;
}

FaultyEnumerator::Node& FaultyEnumerator::Node::File(const std::string& name, std::int64_t size) {
    Items.push_back({name, false, size, nullptr});
    return *this;
}

FaultyEnumerator::Node& FaultyEnumerator::Node::Fail(Fault fault, std::size_t after) {
    FaultKind = fault;
    FailAfter = after;
    return *this;
}

std::unique_ptr<DirReader> FaultyEnumerator::OpenStart(const std::string& path) {
    if (path != StartPath)
        return nullptr;
    return Open(Start, "");
}

std::vector<std::string> FaultyEnumerator::ReleaseOrder() const {
    std::lock_guard lock(releaseMutex_);
    return releaseOrder_;
}

void FaultyEnumerator::RecordRelease(const Node& node, std::string path) {
    if (node.FaultKind == Fault::Release)
        ++ReleaseFailures;
    std::lock_guard lock(releaseMutex_);
    releaseOrder_.push_back(std::move(path));
    ++Released;
}

std::unique_ptr<DirReader> FaultyEnumerator::Open(const Node& node, std::string path) {
    if (node.FaultKind == Fault::Open)
        return nullptr;
    ++Opened;
    return std::make_unique<FaultyReader>(*this, node, std::move(path));
}
