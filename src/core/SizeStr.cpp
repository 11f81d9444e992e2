#include "SizeStr.h"

#include <array>
#include <clocale>
#include <langinfo.h>
#include <locale.h>

namespace {

constexpr std::array<const char*, 5> kUnits = {"b", "kb", "mb", "gb", "tb"};

// The value count / 1024^k is a binary fraction, so integer arithmetic renders it exactly; this
// gives the rounding of the rules (halves up at the last decimal) with no binary-to-decimal error.
// More than 18 decimals add nothing that a 64-bit significand could hold.
constexpr unsigned kMaxDecimals = 18;

unsigned DivisionsBy1024(std::uint64_t magnitude) {
    unsigned k = 0;
    // value > 1024 at k divisions  <=>  magnitude > 1024^(k+1)
    while (k < 4 && magnitude > (std::uint64_t{1} << (10 * (k + 1))))
        ++k;
    return k;
}

std::uint64_t PowerOfTen(unsigned n) {
    std::uint64_t p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

} // namespace

std::string SizeStr(std::int64_t count, std::uint8_t decimals, std::string_view decimalSeparator) {
    const bool negative = count < 0;
    const std::uint64_t magnitude =
        negative ? 0 - static_cast<std::uint64_t>(count) : static_cast<std::uint64_t>(count);
    const unsigned k =
        negative ? 0 : DivisionsBy1024(magnitude); // only values above 1024 are divided
    const unsigned places = decimals < kMaxDecimals ? decimals : kMaxDecimals;
    const std::uint64_t scale = PowerOfTen(places);

    // round(magnitude * 10^places / 2^(10k)), halves up
    const unsigned shift = 10 * k;
    unsigned __int128 scaled = static_cast<unsigned __int128>(magnitude) * scale;
    if (shift > 0)
        scaled = (scaled + (static_cast<unsigned __int128>(1) << (shift - 1))) >> shift;

    const auto integerPart = static_cast<std::uint64_t>(scaled / scale);
    auto fraction = static_cast<std::uint64_t>(scaled % scale);
    unsigned digits = places;
    while (digits > 0 && fraction % 10 == 0) {
        fraction /= 10;
        --digits;
    }

    std::string text;
    if (negative && scaled != 0)
        text += '-';
    text += std::to_string(integerPart);
    if (digits > 0) {
        std::string fractionText = std::to_string(fraction);
        text += decimalSeparator;
        text.append(digits - fractionText.size(), '0');
        text += fractionText;
    }
    text += kUnits[k];
    return text;
}

std::string LocaleDecimalSeparator() {
    // A private locale object: reading the user's setting changes no process-wide state.
    locale_t user = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
    if (user == static_cast<locale_t>(nullptr))
        return ".";
    const char* radix = nl_langinfo_l(RADIXCHAR, user);
    std::string separator = radix != nullptr && *radix != '\0' ? radix : ".";
    freelocale(user);
    return separator;
}
