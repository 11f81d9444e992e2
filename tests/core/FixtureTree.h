#pragma once

#include <cstdint>
#include <string>

// A directory tree made for one test in a fresh temporary folder, removed with the fixture.
// Paths are relative to the fixture's root; they are created relative to open descriptors, so a
// chain deeper than PATH_MAX can be made too.
class FixtureTree {
public:
    FixtureTree();
    ~FixtureTree();
    FixtureTree(const FixtureTree&) = delete;
    FixtureTree& operator=(const FixtureTree&) = delete;

    const std::string& Path() const { return root_; }
    void Dir(const std::string& relative);
    void File(const std::string& relative, std::int64_t size); // sparse: costs no disk
    void Link(const std::string& relative, const std::string& target);
    void Fifo(const std::string& relative);
    // `levels` nested directories named "d" below `relative`; returns nothing, throws on failure.
    void Chain(const std::string& relative, int levels);

private:
    std::string root_;
};
