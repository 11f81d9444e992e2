#pragma once

#include "DirThreading.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// The narrow layer between the scan and the file system.
//
// Call order: DirEnumerator::OpenStart once per scan; then, on each open DirReader, Next until
// it answers End or Failed; OpenSubdir for a Directory item just delivered, while its parent
// stays open (depth first). Destroying a DirReader releases its directory; a reader lives no
// longer than the enumerator that opened it.

enum class DirItemKind : std::uint8_t { Directory, File };

struct DirItem {
    std::string_view Name; // valid until the next call on the same reader
    DirItemKind Kind = DirItemKind::File;
    std::int64_t Size = 0; // bytes, for files (and every other non-directory item)
};

enum class DirStep : std::uint8_t { Item, End, Failed };

class DirReader {
public:
    virtual ~DirReader() = default;
    DirReader(const DirReader&) = delete;
    DirReader& operator=(const DirReader&) = delete;

    // contract: fills item and answers Item, or answers End when no item follows, or Failed when
    // the directory cannot be read further. "." and ".." may be delivered like other items.
    virtual DirStep Next(DirItem& item) = 0;

    // contract: opens the subdirectory `name` of this directory; nullptr when it cannot be
    // enumerated (gone, not a directory any more, denied, out of descriptors, or a kernel
    // virtual file system mounted below the start).
    virtual std::unique_ptr<DirReader> OpenSubdir(std::string_view name) = 0;

    // For sharing a big directory between threads. contract: takes the items that this reader has
    // already read from the directory but not yet delivered and that it knows are not
    // directories; the new reader delivers exactly those (its kinds and sizes looked at on
    // whichever thread reads it), then End, and this reader skips them. nullptr when there are
    // none or they cannot be split off; this reader is then unchanged. By default: nullptr.
    virtual std::unique_ptr<DirReader> SplitOffFiles() { return nullptr; }

protected:
    DirReader() = default;
};

class DirEnumerator {
public:
    virtual ~DirEnumerator() = default;

    // contract: opens the starting directory, a path already normalised (empty: the current
    // directory); nullptr when it cannot be enumerated.
    virtual std::unique_ptr<DirReader> OpenStart(const std::string& path) = 0;

    // How its readers move between the threads of a parallel scan.
    virtual DirThreading& Threading() { return DirThreading::Shared(); }
};
