#include "FixtureTree.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void Check(bool ok, const std::string& what) {
    if (!ok)
        throw std::runtime_error("fixture: cannot " + what);
}

// Removes a tree of any depth: descends through descriptors, never through long paths.
void RemoveBelow(int dirFd) {
    std::vector<std::string> names;
    if (int fd = dup(dirFd); fd >= 0) {
        if (DIR* d = fdopendir(fd)) {
            while (const dirent* e = readdir(d)) {
                const std::string name = e->d_name;
                if (name != "." && name != "..")
                    names.push_back(name);
            }
            closedir(d);
        }
    }
    for (const auto& name : names) {
        if (unlinkat(dirFd, name.c_str(), 0) == 0)
            continue;
        const int sub = openat(dirFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
        if (sub >= 0) {
            RemoveBelow(sub);
            close(sub);
        }
        unlinkat(dirFd, name.c_str(), AT_REMOVEDIR);
    }
}

} // namespace

FixtureTree::FixtureTree() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tarn-test-XXXXXX").string();
    Check(mkdtemp(pattern.data()) != nullptr, "make a temporary folder");
    root_ = pattern;
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
