// The channel carries a parallel scan's open directories from one worker's descriptor table to
// another's: what arrives must be the same open directory, read on from where the sender stopped.
#include "DescriptorChannel.h"
#include "FixtureTree.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <thread>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

namespace {

// Reads up to `records` more names (all when 0) from an open directory, "." and ".." left out.
std::vector<std::string> ReadNames(int fd, std::size_t records = 0) {
    std::vector<std::string> names;
    alignas(dirent64) char buffer[512]; // small, so that a directory takes several reads
    for (;;) {
        const ssize_t n = getdents64(fd, buffer, sizeof buffer);
        if (n <= 0)
            return names;
        for (ssize_t pos = 0; pos < n;) {
            const auto* d = reinterpret_cast<const dirent64*>(buffer + pos);
            pos += d->d_reclen;
            const std::string name = d->d_name;
            if (name != "." && name != "..")
                names.push_back(name);
        }
        if (records != 0 && names.size() >= records)
            return names;
    }
}

TEST(DescriptorChannel, MovesAnOpenDirectoryToAThreadWithItsOwnTable) {
    FixtureTree fx;
    fx.ManyDirs("", "d", 200);
    const int fd = open(fx.Path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    std::vector<std::string> names = ReadNames(fd, 20);
    ASSERT_LT(names.size(), 200u);

    DescriptorChannel channel;
    ASSERT_TRUE(channel.Send(fd));
    close(fd);
    std::vector<std::string> rest;
    std::thread receiver([&] {
        ASSERT_EQ(unshare(CLONE_FILES), 0);
        const int arrived = channel.Receive();
        ASSERT_GE(arrived, 0);
        rest = ReadNames(arrived);
        close(arrived);
    });
    receiver.join();

    names.insert(names.end(), rest.begin(), rest.end());
    EXPECT_EQ(names.size(), 200u); // nothing read twice, nothing lost
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), 200u);
}

TEST(DescriptorChannel, RefusesWhenFullAndReceivesNothingWhenEmpty) {
    DescriptorChannel channel;
    EXPECT_EQ(channel.Receive(), -1);
    EXPECT_FALSE(channel.Send(-1));

    const int fd = open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    int sent = 0;
    while (sent < 1000000 && channel.Send(fd))
        ++sent;
    EXPECT_GT(sent, 0);
    EXPECT_LT(sent, 1000000); // the socket's buffer is bounded: a full channel refuses at once
    EXPECT_GE(fcntl(fd, F_GETFD), 0); // a refused descriptor stays the sender's
    for (int i = 0; i < sent; ++i) {
        const int arrived = channel.Receive();
        ASSERT_GE(arrived, 0);
        close(arrived);
    }
    EXPECT_EQ(channel.Receive(), -1);
    close(fd);
}

} // namespace
