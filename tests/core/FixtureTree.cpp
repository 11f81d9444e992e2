#include "FixtureTree.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

void Check(bool ok, const std::string& what) {
    if (!ok)
        throw std::runtime_error("fixture: cannot " + what);
}

class DirDescriptor {
public:
    explicit DirDescriptor(const std::string& path)
        : fd_(open(path.c_str(), O_RDONLY | O_DIRECTORY)) {
        Check(fd_ >= 0, "open " + path);
    }
    ~DirDescriptor() { close(fd_); }
    DirDescriptor(const DirDescriptor&) = delete;
    DirDescriptor& operator=(const DirDescriptor&) = delete;
    int Fd() const { return fd_; }

private:
    int fd_;
};

std::vector<std::string> NamesIn(int dirFd) {
    std::vector<std::string> names;
    if (int fd = dup(dirFd); fd >= 0) {
        if (DIR* d = fdopendir(fd)) {
            while (const dirent* e = readdir(d)) {
                const std::string name = e->d_name;
                if (name != "." && name != "..")
                    names.push_back(name);
            }
            closedir(d);
        } else {
            close(fd);
        }
    }
    return names;
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Removes everything below a directory, however deep: it enters one non-empty subdirectory at a
// time and climbs back through "..", so it holds two descriptors at most and its stack does not
// grow with the depth. A directory that cannot be emptied is remembered and passed over.
void RemoveBelow(int topFd) {
    struct stat top {};
    if (fstat(topFd, &top) != 0)
        return;
    std::vector<struct stat> stuck;
    const auto isStuck = [&stuck](const struct stat& st) {
        return std::any_of(stuck.begin(), stuck.end(),
                           [&st](const struct stat& s) { return SameFile(s, st); });
    };
    int fd = dup(topFd);
    while (fd >= 0) {
        std::string enter;
        bool leftSomething = false;
        for (const auto& name : NamesIn(fd)) {
            if (unlinkat(fd, name.c_str(), 0) == 0 || unlinkat(fd, name.c_str(), AT_REMOVEDIR) == 0)
                continue;
            struct stat st {};
            const bool dir = fstatat(fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
                             S_ISDIR(st.st_mode) && !isStuck(st);
            if (dir && enter.empty())
                enter = name;
            else
                leftSomething = true;
        }
        if (!enter.empty()) {
            const int sub = openat(fd, enter.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
            if (sub >= 0) {
                close(fd);
                fd = sub;
                continue;
            }
            leftSomething = true;
        }
        struct stat here {};
        fstat(fd, &here);
        if (leftSomething)
            stuck.push_back(here);
        if (SameFile(here, top)) {
            close(fd);
            return;
        }
        const int parent = openat(fd, "..", O_RDONLY | O_DIRECTORY);
        close(fd);
        fd = parent;
    }
}

} // namespace

FixtureTree::FixtureTree() : FixtureTree(std::filesystem::temp_directory_path().string()) {}

FixtureTree::FixtureTree(const std::string& parent) {
    std::string pattern = parent + "/tarn-test-XXXXXX";
    Check(mkdtemp(pattern.data()) != nullptr, "make a temporary folder");
    root_ = pattern;
}

FixtureTree FixtureTree::InMemory() {
    const char* memory = "/dev/shm";
    if (access(memory, W_OK | X_OK) == 0)
        return FixtureTree(memory);
    return FixtureTree();
}

FixtureTree::~FixtureTree() {
    const int fd = open(root_.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        RemoveBelow(fd);
        close(fd);
    }
    rmdir(root_.c_str());
}

void FixtureTree::Dir(const std::string& relative) {
    std::filesystem::create_directories(root_ + "/" + relative);
}

void FixtureTree::File(const std::string& relative, std::int64_t size) {
    const std::string path = root_ + "/" + relative;
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    Check(fd >= 0, "create " + relative);
    const bool sized = ftruncate(fd, size) == 0;
    close(fd);
    Check(sized, "size " + relative);
}

void FixtureTree::Link(const std::string& relative, const std::string& target) {
    Check(symlink(target.c_str(), (root_ + "/" + relative).c_str()) == 0, "link " + relative);
}

void FixtureTree::Fifo(const std::string& relative) {
    Check(mkfifo((root_ + "/" + relative).c_str(), 0644) == 0, "make fifo " + relative);
}

void FixtureTree::Socket(const std::string& relative) {
    const std::string path = root_ + "/" + relative;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    Check(path.size() < sizeof address.sun_path, "bind a socket at a path this long");
    path.copy(address.sun_path, path.size());
    const int s = socket(AF_UNIX, SOCK_STREAM, 0);
    Check(s >= 0, "make a socket");
    const bool bound = bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(s);
    Check(bound, "bind socket " + relative);
}

void FixtureTree::ManyFiles(const std::string& relative, const std::string& prefix, int count,
                            const std::function<std::int64_t(int)>& sizeOf) {
    const DirDescriptor dir(root_ + "/" + relative);
    for (int i = 0; i < count; ++i) {
        const std::string name = prefix + std::to_string(i);
        const int fd = openat(dir.Fd(), name.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        Check(fd >= 0, "create " + name);
        const std::int64_t size = sizeOf(i);
        const bool sized = size == 0 || ftruncate(fd, size) == 0;
        close(fd);
        Check(sized, "size " + name);
    }
}

void FixtureTree::ManyDirs(const std::string& relative, const std::string& prefix, int count) {
    const DirDescriptor dir(root_ + "/" + relative);
    for (int i = 0; i < count; ++i) {
        const std::string name = prefix + std::to_string(i);
        Check(mkdirat(dir.Fd(), name.c_str(), 0755) == 0, "make " + name);
    }
}

void FixtureTree::Chain(const std::string& relative, int levels) {
    int fd = open((root_ + "/" + relative).c_str(), O_RDONLY | O_DIRECTORY);
    Check(fd >= 0, "open " + relative);
    for (int i = 0; i < levels; ++i) {
        Check(mkdirat(fd, "d", 0755) == 0, "make chain level");
        const int next = openat(fd, "d", O_RDONLY | O_DIRECTORY);
        close(fd);
        fd = next;
        Check(fd >= 0, "open chain level");
    }
    close(fd);
}
