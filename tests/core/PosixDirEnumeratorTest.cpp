// Scans of real fixture trees through the POSIX enumeration.
#include "PosixDirEnumerator.h"
#include "DirTree.h"
#include "FixtureTree.h"
#include "TreeText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

std::string ScanText(const std::string& path, unsigned threads = 0) {
    DirTree tree;
    tree.BuildTree(path, threads);
    std::string text = TreeText(*tree.DirList);
    tree.ReleaseTree();
    return text;
}

TEST(PosixScan, CountsFilesAndScansSubdirectories) {
    FixtureTree fx;
    fx.File("a.txt", 3000);
    fx.File(".hidden", 5); // hidden items count like all others
    fx.Dir(".config/x");
    fx.File(".config/x/f", 1);
    fx.Dir("docs");
    fx.File("docs/readme", 1536);
    fx.Dir("empty");
    const std::string below = "  .config 0 0\n"
                              "    x 1 1\n"
                              "  docs 1 1536\n"
                              "  empty 0 0\n";
    for (unsigned threads : {1u, 2u}) {
        EXPECT_EQ(ScanText(fx.Path(), threads), fx.Path() + " 2 3005\n" + below);
        EXPECT_EQ(ScanText(fx.Path() + "/", threads),
                  fx.Path() + "/ 2 3005\n" + below); // the name as typed
    }
}

TEST(PosixScan, NeverFollowsLinksAndOpensNothingButDirectories) {
    FixtureTree fx;
    fx.Dir("real");
    fx.File("real/f", 10);
    fx.Link("to-real", "real"); // a link to a directory is a file of its own size
    fx.Link("loop", "loop");    // a link loop is just a file
    fx.Link("dangling", "nowhere/at/all");
    fx.Fifo("fifo"); // opening it would block the scan
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = fx.Path() + "/sock";
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    socketPath.copy(address.sun_path, socketPath.size());
    const int s = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

    const std::int64_t linkBytes = 4 + 4 + 14; // lstat sizes: the link texts' lengths
    EXPECT_EQ(ScanText(fx.Path()),
              fx.Path() + " 5 " + std::to_string(linkBytes) + "\n  real 1 10\n");
    close(s);
}

TEST(PosixScan, AddsTheFullSizeOfFilesBeyond4GiB) {
    FixtureTree fx;
    const std::int64_t huge = (std::int64_t{5} << 30) + 7; // sparse: costs no disk
    fx.File("huge", huge);
    fx.File("small", 1);
    EXPECT_EQ(ScanText(fx.Path()), fx.Path() + " 2 " + std::to_string(huge + 1) + "\n");
}

TEST(PosixScan, KeepsNamesAsTheirBytes) {
    FixtureTree fx;
    const std::string names[] = {
        "with space", "new\nline", "bad\xff\xfeutf8", "per%cent\\back", std::string(255, 'n'),
    };
    for (const auto& name : names)
        fx.Dir(name);
    DirTree tree;
    tree.BuildTree(fx.Path());
    ASSERT_NE(tree.Root(), nullptr);
    std::vector<std::string> found;
    for (const auto& e : *tree.Root()->SubDirs)
        found.push_back(e->Name);
    std::vector<std::string> expected(std::begin(names), std::end(names));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(found, expected);
    tree.ReleaseTree();
}

TEST(PosixScan, ParallelAndSerialScansGiveIdenticalTrees) {
    FixtureTree fx;
    // a deterministic tree of 400 directories of uneven fan-out and depth, files of many sizes
    int made = 0;
    std::vector<std::string> dirs = {"."};
    for (std::size_t i = 0; made < 400; ++i) {
        const std::string parent = dirs[i % dirs.size()];
        const std::string dir =
            parent + "/d" + std::to_string(made % 7) + "_" + std::to_string(made);
        fx.Dir(dir);
        dirs.push_back(dir);
        for (int f = 0; f < made % 5; ++f)
            fx.File(dir + "/f" + std::to_string(f), made * 37 + f);
        ++made;
    }
    const std::string serial = ScanText(fx.Path(), 1);
    EXPECT_EQ(std::count(serial.begin(), serial.end(), '\n'), 401);
    for (unsigned threads : {2u, 3u, 8u})
        EXPECT_EQ(ScanText(fx.Path(), threads), serial) << threads << " threads";
}

TEST(PosixScan, StartsThatCannotBeEnumeratedGiveAnEmptyList) {
    FixtureTree fx;
    fx.File("file", 1);
    for (const std::string& start :
         {fx.Path() + "/missing", fx.Path() + "/file", fx.Path() + "/file/"}) {
        DirTree tree;
        tree.BuildTree(start);
        ASSERT_NE(tree.DirList, nullptr) << start;
        EXPECT_TRUE(tree.DirList->empty()) << start;
        tree.ReleaseTree();
    }
}

TEST(PosixScan, AnEmptyStartIsTheCurrentDirectoryWithRelativeNames) {
    FixtureTree fx;
    fx.Dir("sub");
    fx.File("sub/f", 2);
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir(fx.Path().c_str()), 0);
    const std::string text = ScanText("");
    ASSERT_EQ(chdir(previous), 0);
    EXPECT_EQ(text, " 0 0\n  sub 1 2\n");
}

TEST(PosixScan, ScansTotalsWalksAndReleasesAChainOf3000Levels) {
    FixtureTree fx;
    fx.Dir("top");
    fx.Chain("top", 3000);
    for (unsigned threads : {1u, 2u}) {
        DirTree tree;
        tree.BuildTree(fx.Path() + "/top", threads);
        ASSERT_NE(tree.Root(), nullptr);
        EXPECT_EQ(TotalSubdirCount(*tree.Root()), 3000);
        int walked = 0;
        const TDirEntry* last = nullptr;
        for (const TDirEntry* e = tree.Root(); e != nullptr; e = NextEntry(*e, false)) {
            last = e;
            ++walked;
        }
        EXPECT_EQ(walked, 3001);
        EXPECT_EQ(EntryDepth(*last), 3001);
        tree.ReleaseTree();
    }
}

TEST(PosixScan, SplitsOffTheFilesReadAndNotYetDelivered) {
    // A parallel scan shares a big directory this way: the split-off reader must deliver exactly
    // the files it took, with their sizes, and the original everything else, directories included.
    FixtureTree fx;
    fx.ManyFiles("", "f", 300, [](int i) { return i; });
    fx.ManyDirs("", "d", 50);
    PosixDirEnumerator enumerator;
    auto reader = enumerator.OpenStart(fx.Path() + "/");
    ASSERT_NE(reader, nullptr);
    std::map<std::string, std::int64_t> files;
    std::set<std::string> dirs;
    const auto take = [&](const DirItem& item) {
        const std::string name(item.Name);
        if (name == "." || name == "..")
            return;
        if (item.Kind == DirItemKind::Directory)
            EXPECT_TRUE(dirs.insert(name).second) << name;
        else
            EXPECT_TRUE(files.emplace(name, item.Size).second) << name;
    };
    DirItem item;
    for (int i = 0; i < 10; ++i) {
        ASSERT_EQ(reader->Next(item), DirStep::Item);
        take(item);
    }
    auto share = reader->SplitOffFiles();
    ASSERT_NE(share, nullptr);
    std::size_t shared = 0;
    while (share->Next(item) == DirStep::Item) {
        EXPECT_EQ(item.Kind, DirItemKind::File);
        take(item);
        ++shared;
    }
    EXPECT_GT(shared, 0u);
    while (reader->Next(item) == DirStep::Item)
        take(item);
    EXPECT_EQ(dirs.size(), 50u);
    ASSERT_EQ(files.size(), 300u);
    for (const auto& [name, size] : files)
        EXPECT_EQ("f" + std::to_string(size), name);
    EXPECT_NE(reader->OpenSubdir("d7"), nullptr); // the original still opens subdirectories
}

TEST(PosixScan, DoesNotDescendIntoKernelFileSystemsBelowTheStart) {
    // /proc is its own mount below "/": scanned as a start, left out below one.
    DirTree proc;
    proc.BuildTree("/proc/self");
    ASSERT_NE(proc.Root(), nullptr);
    EXPECT_GT(proc.Root()->Files, 0);
    proc.ReleaseTree();

    PosixDirEnumerator enumerator;
    auto root = enumerator.OpenStart("/");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->OpenSubdir("proc"), nullptr);
    EXPECT_EQ(root->OpenSubdir("sys"), nullptr);
    EXPECT_NE(root->OpenSubdir("etc"), nullptr); // same device: opened
}

} // namespace
