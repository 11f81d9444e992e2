#include "DirTree.h"
#include "FaultyEnumerator.h"
#include "TreeText.h"

#include <gtest/gtest.h>

namespace {

using Fault = FaultyEnumerator::Fault;

TEST(NormaliseStartPath, AppendsOneSeparatorWhereNeeded) {
    const std::pair<const char*, const char*> cases[] = {
        {"", ""},             // the current directory
        {"/", "/"},
        {"/home/", "/home/"},
        {"/home", "/home/"},
        {"rel/dir", "rel/dir/"},
        {"C:", "C:/"},        // drive letters mean nothing here
    };
    for (const auto& [path, expected] : cases)
        EXPECT_EQ(NormaliseStartPath(path), expected) << path;
}

TEST(BuildTree, SortsEverySiblingListByName) {
    FaultyEnumerator fake;
    for (const char* name : {"alpha", "Zeta", "_x", "10"})
        fake.Start.Dir(name);
    auto& nine = fake.Start.Dir("9");
    nine.Dir("b");
    nine.Dir("B");
    DirTree tree;
    tree.BuildTree("/start", fake);
    EXPECT_EQ(TreeText(*tree.DirList), "/start 0 0\n"
                                       "  10 0 0\n"
                                       "  9 0 0\n"
                                       "    B 0 0\n"
                                       "    b 0 0\n"
                                       "  Zeta 0 0\n"
                                       "  _x 0 0\n"
                                       "  alpha 0 0\n");
    tree.ReleaseTree();
}

// Each fault on a fixture tree, and what the tree holds afterwards: exactly what was counted
// before the failure, with every invariant intact and every reader released.
struct FaultCase {
    const char* Why;
    Fault Where;          // applied to directory "sub"
    std::size_t After;    // items delivered before the failure, "." and ".." included
    const char* Expected;
};

class ScanFaultTest : public testing::TestWithParam<FaultCase> {};

TEST_P(ScanFaultTest, KeepsWhatWasCountedBeforeTheFailure) {
    const FaultCase& c = GetParam();
    FaultyEnumerator fake;
    fake.Start.File("top", 7);
    auto& sub = fake.Start.Dir("sub");
    sub.File("f1", 1).File("f2", 2);
    sub.Dir("inner").File("deep", 100);
    sub.File("f3", 4);
    sub.Fail(c.Where, c.After);
    fake.Start.Dir("z").File("zf", 1000);

    DirTree tree;
    tree.BuildTree("/start", fake);
    EXPECT_EQ(TreeText(*tree.DirList), c.Expected) << c.Why;
    EXPECT_EQ(fake.Opened, fake.Released);
    tree.ReleaseTree();
    EXPECT_EQ(tree.DirList, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Table, ScanFaultTest, testing::Values(
    FaultCase{"no fault", Fault::None, 0,
              "/start 1 7\n  sub 3 7\n    inner 1 100\n  z 1 1000\n"},
    FaultCase{"sub cannot be opened: no entry, its files counted nowhere", Fault::Open, 0,
              "/start 1 7\n  z 1 1000\n"},
    FaultCase{"sub delivers no first item: no entry either", Fault::FirstItem, 0,
              "/start 1 7\n  z 1 1000\n"},
    FaultCase{"only . and .. before the failure: an empty entry", Fault::AfterItems, 2,
              "/start 1 7\n  sub 0 0\n  z 1 1000\n"},
    FaultCase{"fails after two files", Fault::AfterItems, 4,
              "/start 1 7\n  sub 2 3\n  z 1 1000\n"},
    FaultCase{"fails after the subdirectory: it is complete", Fault::AfterItems, 5,
              "/start 1 7\n  sub 2 3\n    inner 1 100\n  z 1 1000\n"}));

TEST(BuildTree, AParentWhoseOnlySubdirectoryIsUnreadableKeepsAnEmptyList) {
    FaultyEnumerator fake;
    fake.Start.Dir("a").Dir("locked").Fail(Fault::Open);
    DirTree tree;
    tree.BuildTree("/start", fake);
    EXPECT_EQ(TreeText(*tree.DirList), "/start 0 0\n  a 0 0 []\n");
    const TDirEntry& a = *(*tree.Root()->SubDirs)[0];
    EXPECT_EQ(NextEntry(a, false), nullptr); // a leaf for the walk
    EXPECT_EQ(TotalSubdirCount(a), 0);
    EXPECT_EQ(TotalSubdirCount(*tree.Root()), 1);
    tree.ReleaseTree();
}

TEST(BuildTree, AnUnreadableStartGivesAnEmptyList) {
    for (Fault fault : {Fault::Open, Fault::FirstItem}) {
        FaultyEnumerator fake;
        fake.Start.File("f", 1).Fail(fault);
        DirTree tree;
        tree.BuildTree("/start", fake);
        ASSERT_NE(tree.DirList, nullptr);
        EXPECT_TRUE(tree.DirList->empty());
        EXPECT_EQ(tree.Root(), nullptr);
        EXPECT_EQ(fake.Opened, fake.Released);
        tree.ReleaseTree();
        EXPECT_EQ(tree.DirList, nullptr);
    }
}

TEST(BuildTree, TheRootNameIsThePathAsPassed) {
    FaultyEnumerator fake;
    fake.StartPath = "/start/";
    DirTree tree;
    tree.BuildTree("/start", fake); // normalised for opening only
    ASSERT_NE(tree.Root(), nullptr);
    EXPECT_EQ(tree.Root()->Name, "/start");
    tree.ReleaseTree();
}

TEST(BuildTree, SumsHugeSizesWithoutWrapping) {
    FaultyEnumerator fake;
    fake.Start.File("a", INT64_MAX).File("b", INT64_MAX);
    fake.Start.Dir("d").File("c", INT64_MAX);
    DirTree tree;
    tree.BuildTree("/start", fake);
    EXPECT_EQ(tree.Root()->Bytes, INT64_MAX);
    EXPECT_EQ(TotalSize(*tree.Root()), INT64_MAX);
    tree.ReleaseTree();
}

TEST(ReleaseTree, FreesEachEntryAfterItsSubtreeAndToleratesNoTree) {
    DirTree tree;
    tree.ReleaseTree(); // without a tree: nothing
    EXPECT_EQ(tree.DirList, nullptr);
    FaultyEnumerator fake;
    fake.Start.Dir("a").Dir("b");
    tree.BuildTree("/start", fake);
    // readers are released depth first as each directory is finished
    EXPECT_EQ(fake.ReleaseOrder(), (std::vector<std::string>{"/a/b", "/a", ""}));
    tree.ReleaseTree();
    EXPECT_EQ(tree.DirList, nullptr);
    tree.ReleaseTree(); // twice is harmless
}

} // namespace
