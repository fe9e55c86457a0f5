#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// UTF-8 as the program reads and writes it: every text it shows, saves or reports is valid
// UTF-8, and bytes that are not are never taken for text silently.
namespace utf8 {

// The length of the UTF-8 sequence that starts `s`, or 0 when it is not a valid one (an
// overlong form, a surrogate, a code beyond U+10FFFF, a sequence cut short).
std::size_t sequenceLength(std::string_view s);

// The offset of the first byte that begins no valid sequence, or npos when all of `s` is valid.
std::size_t firstInvalid(std::string_view s);

inline bool valid(std::string_view s) {
    return firstInvalid(s) == std::string_view::npos;
}

// `s` with every byte that begins no valid sequence replaced by U+FFFD.
std::string replacingInvalid(std::string_view s);

// The code point as UTF-8, onto the end of `out`.
void append(std::string& out, unsigned code);

} // namespace utf8
