#pragma once

#include "SplitMix64.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// The names and sizes of the synthetic trees, drawn from a SplitMix64, shared by the trees on
// disk and the generated ones of the report benchmark.
namespace SyntheticNames {

inline constexpr std::int64_t kGiB = std::int64_t(1) << 30;

// Stems of mixed case, punctuation, spaces and UTF-8 bytes, so the name sort has real work.
inline constexpr std::array<std::string_view, 12> kStems = {"src",
                                                            "Docs",
                                                            "build",
                                                            "_cache",
                                                            "assets",
                                                            "Photos 2023",
                                                            "node",
                                                            "data.old",
                                                            "~backup",
                                                            "\xc3\x9c"
                                                            "bersicht",
                                                            "Thumbs",
                                                            "a-really-long-directory-name"};
inline constexpr std::array<std::string_view, 6> kExtensions = {"txt",    "jpg", "o",
                                                                "tar.gz", "cpp", "dat"};

inline std::string NumberedName(SplitMix64& prng, int index) {
    // The index keeps sibling names distinct whatever stem is drawn.
    return std::string(kStems[prng.Below(kStems.size())]) + '-' + std::to_string(index);
}

inline std::string FileName(SplitMix64& prng, int index) {
    std::string name = NumberedName(prng, index);
    name += '.';
    name += kExtensions[prng.Below(kExtensions.size())];
    return name;
}

// Mostly small files spread over every power of two up to 16 MiB; one in 500 above 4 GiB.
inline std::int64_t FileSize(SplitMix64& prng) {
    if (prng.Below(500) == 0)
        return 4 * kGiB + 1 + std::int64_t(prng.Below(60 * kGiB));
    const int bits = int(prng.Below(25));
    return std::int64_t(prng.Below(std::uint64_t(1) << bits));
}

} // namespace SyntheticNames
