#include "SizeStr.h"

#include <gtest/gtest.h>

namespace {

struct SizeCase {
    std::int64_t Count;
    std::uint8_t Decimals;
    const char* Separator;
    const char* Text;
};

class SizeStrTest : public testing::TestWithParam<SizeCase> {};

TEST_P(SizeStrTest, RendersTheCountInTheLargestUnitBelow1024) {
    const SizeCase& c = GetParam();
    EXPECT_EQ(SizeStr(c.Count, c.Decimals, c.Separator), c.Text);
}

constexpr std::int64_t kTiB = std::int64_t{1} << 40;

INSTANTIATE_TEST_SUITE_P(Table, SizeStrTest, testing::Values(
    SizeCase{0, 2, ".", "0b"},
    SizeCase{1000, 2, ".", "1000b"},          // no grouping
    SizeCase{1024, 2, ".", "1024b"},          // only strictly more than 1024 is divided
    SizeCase{1025, 2, ".", "1kb"},            // 1.00 loses its zeros and the separator
    SizeCase{1025, 3, ".", "1.001kb"},
    SizeCase{1152, 2, ".", "1.13kb"},         // exactly 1.125: the half goes up
    SizeCase{1536, 2, ".", "1.5kb"},          // trailing zero dropped
    SizeCase{2560, 0, ".", "3kb"},            // exactly 2.5 with no decimals
    SizeCase{1048575, 2, ".", "1024kb"},      // rounding may reach 1024
    SizeCase{1048576, 3, ".", "1024kb"},      // a power of 1024 shows in the unit below
    SizeCase{1048577, 2, ".", "1mb"},
    SizeCase{1234567, 2, ".", "1.18mb"},
    SizeCase{1234567, 3, ".", "1.177mb"},
    SizeCase{kTiB, 3, ".", "1024gb"},
    SizeCase{kTiB * 2048, 3, ".", "2048tb"},  // 2^51: tb has no upper bound
    SizeCase{INT64_MAX, 3, ".", "8388608tb"}, // the largest count rounds up exactly
    SizeCase{1536, 2, ",", "1,5kb"},          // the user's separator
    SizeCase{1152, 2, ",", "1,13kb"},
    SizeCase{5 * 1024 + 5, 3, ".", "5.005kb"}, // a fraction digit 0 inside is kept
    SizeCase{-1536, 2, ".", "-1536b"}         // never passed; rendered, not undefined
));

TEST(LocaleDecimalSeparator, FollowsTheEnvironmentsNumericLocale) {
    setenv("LC_ALL", "C", 1);
    EXPECT_EQ(LocaleDecimalSeparator(), ".");
    unsetenv("LC_ALL");
}

} // namespace
