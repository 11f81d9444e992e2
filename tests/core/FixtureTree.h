#pragma once

#include <cstdint>
#include <functional>
#include <string>

// A directory tree made for one test in a fresh temporary folder, removed with the fixture.
// Paths are relative to the fixture's root; they are created relative to open descriptors, so a
// chain deeper than PATH_MAX can be made too.
class FixtureTree {
public:
    FixtureTree();
    // The same on a memory file system (/dev/shm) where there is one: for the trees of tens of
    // thousands of directories, whose removal on a disk mounted with online discard takes
    // seconds per ten thousand. The scan reads both through the same calls.
    static FixtureTree InMemory();
    ~FixtureTree();
    FixtureTree(const FixtureTree&) = delete;
    FixtureTree& operator=(const FixtureTree&) = delete;

    const std::string& Path() const { return root_; }
    void Dir(const std::string& relative);
    void File(const std::string& relative, std::int64_t size); // sparse: costs no disk
    void Link(const std::string& relative, const std::string& target);
    void Fifo(const std::string& relative);
    // A bound UNIX socket's file; the socket itself is closed again at once.
    void Socket(const std::string& relative);
    // `count` files named prefix0, prefix1, ... in the directory `relative`, file i of
    // sizeOf(i) bytes; and `count` empty subdirectories named the same way. Made through one
    // descriptor of the directory, so that hundreds of thousands take seconds.
    void ManyFiles(const std::string& relative, const std::string& prefix, int count,
                   const std::function<std::int64_t(int)>& sizeOf);
    void ManyDirs(const std::string& relative, const std::string& prefix, int count);
    // `levels` nested directories named "d" below `relative`; returns nothing, throws on failure.
    void Chain(const std::string& relative, int levels);

private:
    explicit FixtureTree(const std::string& parent);

    std::string root_;
};
