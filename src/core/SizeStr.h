#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Byte count as short text of base 1024: at most `decimals` fraction digits, halves rounded up,
// trailing zeros dropped, no grouping, then "b", "kb", "mb", "gb" or "tb" without a space.
std::string SizeStr(std::int64_t count, std::uint8_t decimals, std::string_view decimalSeparator);

// The decimal separator of the user's locale settings (LC_NUMERIC from the environment).
// Programs read it once at start and pass it on.
std::string LocaleDecimalSeparator();
