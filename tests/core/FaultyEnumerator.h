#pragma once

#include "DirEnumerator.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

// An in-memory directory tree that the scan enumerates like the real one, delivering items in
// the order they were added (after "." and ".."), and that fails on request at a chosen point.
// It counts the readers it opened and released, so a test sees that every one is released.
class FaultyEnumerator final : public DirEnumerator {
public:
    enum class Fault { None, Open, FirstItem, AfterItems };

    struct Node {
        struct Item {
            std::string Name;
            bool IsDir = false;
            std::int64_t Size = 0;
            std::unique_ptr<Node> Child;
        };
        std::vector<Item> Items;
        Fault FaultKind = Fault::None;
        std::size_t FailAfter = 0; // with Fault::AfterItems: items delivered before the failure

        Node& Dir(const std::string& name);
        Node& File(const std::string& name, std::int64_t size);
        Node& Fail(Fault fault, std::size_t after = 0);
    };

    Node Start;                  // the starting directory
    std::string StartPath = "/start/";  // the only path OpenStart accepts
    int Opened = 0;
    int Released = 0;
    std::vector<std::string> ReleaseOrder; // "/"-joined paths, in the order readers were released

    std::unique_ptr<DirReader> OpenStart(const std::string& path) override;
    std::unique_ptr<DirReader> Open(const Node& node, std::string path);
};
