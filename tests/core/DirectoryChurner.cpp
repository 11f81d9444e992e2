#include "DirectoryChurner.h"

#include <stdexcept>

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

DirectoryChurner::DirectoryChurner(const std::string& parent)
    : fd_(open(parent.c_str(), O_RDONLY | O_DIRECTORY)) {
    if (fd_ < 0)
        throw std::runtime_error("churner: cannot open " + parent);
    thread_ = std::thread([this] { Run(); });
}

DirectoryChurner::~DirectoryChurner() {
    stop_ = true;
    thread_.join();
    close(fd_);
}

// Failures are part of the game here: whatever a step cannot do, the next round does again.
void DirectoryChurner::MakeFile(const std::string& name, long size) {
    const int f = openat(fd_, name.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (f >= 0) {
        (void)!ftruncate(f, size);
        close(f);
    }
}

void DirectoryChurner::MakeVictim() {
    mkdirat(fd_, "v", 0755);
    for (int i = 0; i < kFiles; ++i)
        MakeFile("v/f" + std::to_string(i), 1);
    std::string dir = "v";
    for (int level = 0; level < kChain; ++level) {
        dir += "/c";
        mkdirat(fd_, dir.c_str(), 0755);
        MakeFile(dir + "/g", 1);
    }
}

void DirectoryChurner::RemoveVictim(const std::string& name) {
    for (int level = kChain; level >= 1; --level) {
        std::string dir = name;
        for (int i = 0; i < level; ++i)
            dir += "/c";
        unlinkat(fd_, (dir + "/g").c_str(), 0);
        unlinkat(fd_, dir.c_str(), AT_REMOVEDIR);
    }
    for (int i = 0; i < kFiles; ++i)
        unlinkat(fd_, (name + "/f" + std::to_string(i)).c_str(), 0);
    unlinkat(fd_, name.c_str(), AT_REMOVEDIR);
}

// Atomically: no moment exists at which either name is missing.
bool DirectoryChurner::Exchange() {
    return renameat2(fd_, "v", fd_, "w", RENAME_EXCHANGE) == 0;
}

void DirectoryChurner::Run() {
    while (!stop_) {
        MakeVictim();
        MakeFile("w", 10);
        const bool swapped = Exchange(); // now "v" is the file and "w" the directory
        const bool back = swapped && Exchange();
        RemoveVictim(swapped && !back ? "w" : "v");
        unlinkat(fd_, "w", 0);
        MakeFile("v", 10); // the directory replaced by a file
        unlinkat(fd_, "v", 0);
        ++rounds_;
    }
}
