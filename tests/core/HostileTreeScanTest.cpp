// Scans of hostile trees on the real file system, serial and parallel: each gives a complete,
// consistent listing, and a tree changed under a running scan breaks nothing.
#include "DirTree.h"
#include "DirectoryChurner.h"
#include "HostileTrees.h"
#include "TreeText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>

// Found by argument-dependent lookup: HostileTree lives in the global namespace.
void PrintTo(const HostileTree& tree, std::ostream* out) {
    *out << tree.Name;
}

namespace {

class HostileTreeScan : public testing::TestWithParam<HostileTree> {};

std::int64_t WalkLength(const TDirEntry& root) {
    std::int64_t n = 0;
    for (const TDirEntry* e = &root; e != nullptr; e = NextEntry(*e, false))
        ++n;
    return n;
}

TEST_P(HostileTreeScan, SerialAndParallelScansListEverythingThatExists) {
    FixtureTree fx = FixtureTree::InMemory();
    const TreeCounts expected = GetParam().Make(fx);
    std::string serialText;
    for (unsigned threads : {1u, 2u}) {
        SCOPED_TRACE(std::to_string(threads) + " threads");
        DirTree tree;
        tree.BuildTree(fx.Path(), threads);
        ASSERT_NE(tree.Root(), nullptr);
        EXPECT_EQ(BrokenInvariants(*tree.DirList), std::vector<std::string>{});
        EXPECT_EQ(CountTree(*tree.DirList), expected);
        const TDirEntry& root = *tree.Root();
        EXPECT_EQ(TotalFileCount(root), expected.Files);
        EXPECT_EQ(TotalSize(root), expected.Bytes);
        EXPECT_EQ(TotalSubdirCount(root), expected.Dirs - 1);
        EXPECT_EQ(WalkLength(root), expected.Dirs);
        if (!GetParam().DirNames.empty()) {
            std::vector<std::string> names = GetParam().DirNames;
            std::sort(names.begin(), names.end());
            std::vector<std::string> found;
            for (const auto& e : *root.SubDirs)
                found.push_back(e->Name);
            EXPECT_EQ(found, names); // byte for byte, in byte order
        }
        const std::string text = TreeText(*tree.DirList);
        if (threads == 1)
            serialText = text;
        else
            EXPECT_TRUE(text == serialText) << "the parallel scan's tree differs";
        tree.ReleaseTree();
    }
}

INSTANTIATE_TEST_SUITE_P(Trees, HostileTreeScan, testing::ValuesIn(HostileTrees()),
                         [](const testing::TestParamInfo<HostileTree>& info) {
                             return std::string(info.param.Name);
                         });

// Far deeper than a real tree, but any user can make one: the scan, the sort, the totals, the
// walk and the release must need neither stack nor descriptors in proportion to the depth.
class DeepChainScan : public testing::TestWithParam<unsigned> {};

// What a scan of the tree at `path` counted and walked, in one line.
std::string ScanSummary(const std::string& path, unsigned threads) {
    DirTree tree;
    tree.BuildTree(path, threads);
    if (tree.Root() == nullptr)
        return "no root";
    const TDirEntry& root = *tree.Root();
    std::ostringstream summary;
    summary << CountTree(*tree.DirList) << "; totals " << TotalSubdirCount(root) << " subdirs, "
            << TotalFileCount(root) << " files, " << TotalSize(root) << " bytes; walk "
            << WalkLength(root);
    tree.ReleaseTree();
    return summary.str();
}

TEST_P(DeepChainScan, ListsAChainOf100000LevelsCompletely) {
    constexpr int kLevels = 100'000;
    FixtureTree fx = FixtureTree::InMemory();
    fx.Chain(".", kLevels);
    const std::string expected = "100001 dirs, 0 files, 0 bytes, depth 100001; totals 100000 "
                                 "subdirs, 0 files, 0 bytes; walk 100001";
    // In a forked child, so that a crash fails this test alone and the fixture is still removed.
    EXPECT_EXIT(
        {
            const std::string found = ScanSummary(fx.Path(), GetParam());
            std::fprintf(stderr, "found: %s\n", found.c_str());
            std::exit(found == expected ? 0 : 1);
        },
        testing::ExitedWithCode(0), "")
        << "expected: " << expected;
}

INSTANTIATE_TEST_SUITE_P(Threads, DeepChainScan, testing::Values(1u, 2u),
                         [](const testing::TestParamInfo<unsigned>& info) {
                             return std::string(info.param == 1 ? "Serial" : "Parallel");
                         });

// What any scan must find, whatever moment of the churn it meets: the stable part exactly, and
// of the churned names no more than ever existed at once.
void ExpectAPossibleListing(const DirTree& tree, int stableDirs, int stableFiles) {
    ASSERT_NE(tree.Root(), nullptr);
    EXPECT_EQ(BrokenInvariants(*tree.DirList), std::vector<std::string>{});
    const TDirEntry& root = *tree.Root();
    EXPECT_GE(root.Files, 1); // "keep", and "v" or "w" when they are files
    EXPECT_LE(root.Files, 3);
    EXPECT_GE(root.Bytes, 7); // "v" and "w" may be met between their creation and sizing
    EXPECT_LE(root.Bytes, 7 + 10 + 10);
    ASSERT_TRUE(root.SubDirs);
    int stable = 0;
    for (const auto& e : *root.SubDirs) {
        if (e->Name[0] == 's') {
            ++stable;
            EXPECT_EQ(e->Files, stableFiles) << e->Name;
            EXPECT_EQ(e->Bytes, 100 * stableFiles) << e->Name;
            continue;
        }
        // The churned directory, under either name (a scan may meet it under both when it moves
        // between the two reads).
        EXPECT_TRUE(e->Name == "v" || e->Name == "w") << e->Name;
        EXPECT_LE(e->Files, DirectoryChurner::kFiles);
        EXPECT_LE(TotalFileCount(*e), DirectoryChurner::kFiles + DirectoryChurner::kChain);
        EXPECT_LE(TotalSize(*e), TotalFileCount(*e)); // one byte each, once sized
        EXPECT_LE(TotalSubdirCount(*e), DirectoryChurner::kChain);
    }
    EXPECT_EQ(stable, stableDirs);
}

TEST(HostileTreeRace, DirectoriesRemovedOrReplacedByFilesDuringScansBreakNothing) {
    constexpr int kStableDirs = 8;
    constexpr int kStableFiles = 40;
    constexpr int kScans = 150; // per kind of scan
    FixtureTree fx;
    fx.File("keep", 7);
    for (int i = 0; i < kStableDirs; ++i) {
        const std::string dir = "s" + std::to_string(i);
        fx.Dir(dir);
        fx.ManyFiles(dir, "f", kStableFiles, [](int) { return 100; });
    }
    DirectoryChurner churner(fx.Path());
    for (unsigned threads : {1u, 2u}) {
        SCOPED_TRACE(std::to_string(threads) + " threads");
        for (int scan = 0; scan < kScans && !HasFailure(); ++scan) {
            DirTree tree;
            tree.BuildTree(fx.Path(), threads);
            ExpectAPossibleListing(tree, kStableDirs, kStableFiles);
            tree.ReleaseTree();
        }
    }
    EXPECT_GT(churner.Rounds(), 0);
}

} // namespace
