// The sort compares integer prefixes first: names that share or end within their first eight
// bytes, and bytes above 0x7f, must still come out in the order of CompareEntryNames.
#include "SortByName.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

TEST(SortByName, OrdersLikeCompareEntryNames) {
    const std::vector<std::string> names = {"abcdefgh\xff",
                                            "abcdefghi",
                                            "abcdefgh",
                                            "abcdefgh\x01",
                                            "abcdefgg\xff",
                                            "abc",
                                            "ab",
                                            "\xff",
                                            "\x80z",
                                            "B",
                                            "a",
                                            "abcdefgha",
                                            "Z\x7f",
                                            "Z\x80",
                                            "zzzzzzzzzzzzzzzz2",
                                            "zzzzzzzzzzzzzzzz10"};
    TDirList list;
    for (const std::string& name : names) {
        list.push_back(std::make_unique<TDirEntry>());
        list.back()->Name = name;
    }
    SortByName(list);

    std::vector<std::string> sorted;
    for (const auto& entry : list)
        sorted.push_back(entry->Name);
    for (std::size_t i = 1; i < list.size(); ++i)
        EXPECT_LT(CompareEntryNames(*list[i - 1], *list[i]), 0)
            << sorted[i - 1] << " / " << sorted[i];
    std::vector<std::string> expected = names;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(sorted, expected);
}

} // namespace
