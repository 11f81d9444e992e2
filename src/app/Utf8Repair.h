#pragma once

#include <string>
#include <string_view>

// `bytes` as valid UTF-8: each byte that is not part of a well-formed sequence (stray
// continuation bytes, overlong forms, surrogates, code points above U+10FFFF, truncated
// sequences) becomes one U+FFFD. Valid input comes back unchanged.
std::string ReplaceInvalidUtf8(std::string_view bytes);
