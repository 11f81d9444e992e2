// The hand-over between the workers of a parallel scan, with a threading that moves readers and
// refuses some of them: every refusal must leave the directory with its giver, so that the tree
// is the same as the serial scan's, and every accepted reader must be received exactly once.
#include "ParallelScan.h"
#include "DirTree.h"
#include "FaultyEnumerator.h"
#include "TreeText.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>

namespace {

// Refuses every `refuseEvery`-th Send (0: none, 1: all) and counts what travels.
class CountingThreading final : public DirThreading {
public:
    explicit CountingThreading(int refuseEvery) : refuseEvery_(refuseEvery) {}

    std::atomic<int> Workers = 0;
    std::atomic<int> Sent = 0;
    std::atomic<int> Received = 0;

    void WorkerStarted() override { ++Workers; }
    bool Send(DirReader&) override {
        const int call = ++calls_;
        if (refuseEvery_ != 0 && call % refuseEvery_ == 0)
            return false;
        ++Sent;
        return true;
    }
    void Receive(DirReader&) override { ++Received; }

private:
    const int refuseEvery_;
    std::atomic<int> calls_ = 0;
};

// 4 levels of 7 subdirectories (2,801 directories), files at every level: enough that idle
// workers ask for work all through the scan.
void Fill(FaultyEnumerator::Node& node, int levels) {
    for (int i = 0; i < 7; ++i)
        node.File("f" + std::to_string(i), i * 10 + levels);
    if (levels == 0)
        return;
    for (int i = 6; i >= 0; --i) // delivered out of name order
        Fill(node.Dir("d" + std::to_string(i)), levels - 1);
}

std::string SerialText() {
    FaultyEnumerator fake;
    Fill(fake.Start, 4);
    DirTree tree;
    tree.BuildTree("/start", fake);
    return TreeText(*tree.DirList);
}

TEST(ParallelScan, RefusedHandOversStayWithTheGiver) {
    const std::string expected = SerialText();
    for (int refuseEvery : {0, 1, 2, 3}) {
        SCOPED_TRACE("refusing every " + std::to_string(refuseEvery) + "th send");
        FaultyEnumerator fake;
        Fill(fake.Start, 4);
        CountingThreading threading(refuseEvery);
        TDirList list;
        ParallelScan(fake.OpenStart("/start/"), list, "/start", 3, threading);
        EXPECT_EQ(TreeText(list), expected); // sorted by the workers themselves
        EXPECT_EQ(threading.Received.load(), threading.Sent.load());
        EXPECT_EQ(threading.Workers.load(), refuseEvery == 1 ? 0 : 3);
        EXPECT_EQ(fake.Opened.load(), fake.Released.load());
    }
}

TEST(ParallelScan, OneThreadMovesNothing) {
    FaultyEnumerator fake;
    Fill(fake.Start, 2);
    CountingThreading threading(0);
    TDirList list;
    ParallelScan(fake.OpenStart("/start/"), list, "/start", 1, threading);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(threading.Workers.load() + threading.Sent.load() + threading.Received.load(), 0);
}

} // namespace
