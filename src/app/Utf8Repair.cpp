#include "Utf8Repair.h"

#include <cstddef>

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

bool InRange(unsigned char byte, unsigned char low, unsigned char high) {
    return byte >= low && byte <= high;
}

// The length of the well-formed sequence that starts at `at`, or 0. The ranges of the second byte
// are what exclude overlong forms, surrogates and values above U+10FFFF.
std::size_t SequenceLength(std::string_view bytes, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[at + i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (InRange(lead, 0xC2, 0xDF)) {
        length = 2;
    } else if (InRange(lead, 0xE0, 0xEF)) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (InRange(lead, 0xF0, 0xF4)) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (bytes.size() - at < length || !InRange(byte(1), low, high))
        return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (!InRange(byte(i), 0x80, 0xBF))
            return 0;
    }
    return length;
}

} // namespace

std::string ReplaceInvalidUtf8(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size();) {
        if (const std::size_t length = SequenceLength(bytes, at)) {
            text.append(bytes.substr(at, length));
            at += length;
        } else {
            text.append(kReplacement);
            ++at;
        }
    }
    return text;
}
