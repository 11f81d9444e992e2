#pragma once

#include <atomic>
#include <string>
#include <thread>

// Changes one part of a tree in a loop on its own thread, from construction to destruction: a
// directory "v" holding files and a short chain of subdirectories is made, swapped with the file
// "w" (so that each name is in turn a directory and a file) and swapped back, emptied and
// removed, and replaced by a file that is removed again. Every file below "v" holds one byte once
// it is sized; "w" and the file "v" hold 10.
class DirectoryChurner {
public:
    static constexpr int kFiles = 5; // directly in "v"
    static constexpr int kChain = 4; // levels below "v", each with one file

    explicit DirectoryChurner(const std::string& parent);
    ~DirectoryChurner();
    DirectoryChurner(const DirectoryChurner&) = delete;
    DirectoryChurner& operator=(const DirectoryChurner&) = delete;

    int Rounds() const { return rounds_; }

private:
    void Run();
    void MakeFile(const std::string& name, long size);
    void MakeVictim();
    void RemoveVictim(const std::string& name);
    bool Exchange();

    int fd_;
    std::atomic<bool> stop_ = false;
    std::atomic<int> rounds_ = 0;
    std::thread thread_; // last: starts once the rest is ready
};
