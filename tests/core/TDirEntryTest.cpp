#include "DirTree.h"
#include "FaultyEnumerator.h"
#include "TDirEntry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

TDirEntry Named(const std::string& name) {
    TDirEntry e;
    e.Name = name;
    return e;
}

struct NameOrderCase {
    const char* Before;
    const char* After;
};

class CompareEntryNamesTest : public testing::TestWithParam<NameOrderCase> {};

TEST_P(CompareEntryNamesTest, OrdersByUnsignedBytes) {
    const TDirEntry a = Named(GetParam().Before);
    const TDirEntry b = Named(GetParam().After);
    EXPECT_LT(CompareEntryNames(a, b), 0);
    EXPECT_GT(CompareEntryNames(b, a), 0);
    EXPECT_EQ(CompareEntryNames(a, a), 0);
}

INSTANTIATE_TEST_SUITE_P(Table, CompareEntryNamesTest, testing::Values(
    NameOrderCase{"!x", "-x"},         // punctuation in byte order
    NameOrderCase{"-x", "10"},         // punctuation before digits
    NameOrderCase{"10", "9"},          // digits compare as characters, not numbers
    NameOrderCase{"9", "Zeta"},        // digits before upper case
    NameOrderCase{"Zeta", "_x"},       // upper case before "_"
    NameOrderCase{"_x", "alpha"},      // "_" before lower case: Zeta before alpha
    NameOrderCase{"alpha", "~"},       // "~" after lower case
    NameOrderCase{"~", "\xc3\xa9"},    // bytes from 0x80 up last, unsigned
    NameOrderCase{"abc", "abc.txt"},   // a prefix first: its terminating 0 is smallest
    NameOrderCase{"a\nb", "a b"} ));  // control bytes too: a newline (10) before a space (32)

TEST(CompareEntryNames, GivesTheDifferenceOfTheFirstDifferingBytes) {
    EXPECT_EQ(CompareEntryNames(Named("ab"), Named("ad")), 'b' - 'd');
    EXPECT_EQ(CompareEntryNames(Named("abc"), Named("ab")), 'c');
}

// root: two children, "a" with three children and "b" with none (5 entries below the root).
class SmallTree : public testing::Test {
protected:
    void SetUp() override {
        FaultyEnumerator fake;
        fake.Start.File("r1", 10).File("r2", 20);
        auto& a = fake.Start.Dir("a");
        a.File("f", 1);
        a.Dir("a3").File("x", 100).File("y", 200);
        a.Dir("a1");
        a.Dir("a2").File("z", 1000);
        fake.Start.Dir("b");
        tree.BuildTree("/start", fake);
        root = tree.Root();
        ASSERT_NE(root, nullptr);
    }
    void TearDown() override { tree.ReleaseTree(); }

    TDirEntry& Child(const TDirEntry& e, std::size_t i) { return *(*e.SubDirs)[i]; }

    DirTree tree;
    TDirEntry* root = nullptr;
};

TEST_F(SmallTree, TotalsCoverTheWholeSubtree) {
    EXPECT_EQ(TotalSubdirCount(*root), 5);
    EXPECT_EQ(TotalFileCount(*root), 6);
    EXPECT_EQ(TotalSize(*root), 1331);
    const TDirEntry& a = Child(*root, 0);
    EXPECT_EQ(TotalSubdirCount(a), 3);
    EXPECT_EQ(TotalFileCount(a), 4);
    EXPECT_EQ(TotalSize(a), 1301);
    EXPECT_EQ(TotalSubdirCount(Child(*root, 1)), 0); // a leaf
}

TEST_F(SmallTree, DepthCountsFromTheRootAsOne) {
    EXPECT_EQ(EntryDepth(*root), 1);
    EXPECT_EQ(EntryDepth(Child(*root, 0)), 2);
    EXPECT_EQ(EntryDepth(Child(Child(*root, 0), 2)), 3);
}

TEST_F(SmallTree, NextEntryWalksInPreOrder) {
    std::vector<std::string> names;
    for (const TDirEntry* e = root; e != nullptr; e = NextEntry(*e, false))
        names.push_back(e->Name);
    EXPECT_EQ(names, (std::vector<std::string>{"/start", "a", "a1", "a2", "a3", "b"}));
}

TEST_F(SmallTree, AWalkFromTheFirstChildEndsAfterTheLastDescendant) {
    std::vector<std::string> names;
    for (const TDirEntry* e = &Child(*root, 0); e != nullptr; e = NextEntry(*e, false))
        names.push_back(e->Name);
    EXPECT_EQ(names, (std::vector<std::string>{"a", "a1", "a2", "a3", "b"}));
}

TEST_F(SmallTree, SkippingChildrenGoesToTheNextSiblingOrUp) {
    EXPECT_EQ(NextEntry(Child(*root, 0), true)->Name, "b");
    EXPECT_EQ(NextEntry(Child(Child(*root, 0), 2), true)->Name, "b"); // a3 is last below a
    EXPECT_EQ(NextEntry(*root, true), nullptr);
}

TEST(NextEntry, AWalkOverManySiblingsVisitsEachOnce) {
    FaultyEnumerator fake;
    // delivered in reverse order, so the sort really reorders them
    for (int i = 3000; i-- > 0;)
        fake.Start.Dir("d" + std::to_string(i));
    DirTree tree;
    tree.BuildTree("/start", fake);
    std::size_t visited = 0;
    std::string previous;
    for (const TDirEntry* e = NextEntry(*tree.Root(), false); e != nullptr; e = NextEntry(*e, false)) {
        EXPECT_GT(e->Name, previous);
        previous = e->Name;
        ++visited;
    }
    EXPECT_EQ(visited, 3000u);
    tree.ReleaseTree();
}

} // namespace
