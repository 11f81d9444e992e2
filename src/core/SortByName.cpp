#include "SortByName.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr std::size_t kScratchKept = 4096; // keys of the lists that most directories have

struct KeyedEntry {
    std::uint64_t Key;
    TDirEntry* Entry;
};

// Big-endian, padded with 0 bytes: integer order is the unsigned byte order of the names, and a
// name that ends early sorts first, as a name holds no 0 byte.
std::uint64_t PrefixKey(const std::string& name) {
    unsigned char bytes[8] = {};
    std::memcpy(bytes, name.data(), std::min<std::size_t>(name.size(), 8));
    std::uint64_t key = 0;
    for (unsigned char byte : bytes)
        key = key << 8 | byte;
    return key;
}

bool KeyedLess(const KeyedEntry& a, const KeyedEntry& b) {
    if (a.Key != b.Key)
        return a.Key < b.Key;
    return a.Entry->Name < b.Entry->Name; // std::string compares its bytes as unsigned char
}

} // namespace

void SortByName(TDirList& list) {
    if (list.size() < 2)
        return;
    thread_local std::vector<KeyedEntry> keyed; // keeps its capacity from list to list
    keyed.clear();
    keyed.reserve(list.size()); // the only step that may throw: before any entry is let go
    for (const auto& entry : list)
        keyed.push_back({PrefixKey(entry->Name), entry.get()});
    std::sort(keyed.begin(), keyed.end(), KeyedLess);
    for (auto& entry : list)
        (void)entry.release();
    for (std::size_t i = 0; i < list.size(); ++i)
        list[i].reset(keyed[i].Entry);
    if (keyed.capacity() > kScratchKept) {
        keyed.clear();
        keyed.shrink_to_fit(); // a huge directory's keys are not kept for the rest of the run
    }
}
