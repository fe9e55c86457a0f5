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

// Text echoed into a one-line message, with its control characters, backslashes and quotes
// escaped (the C1 controls as \u0080 … \u009f), and the bytes that are not UTF-8 written as \xNN:
// a value never breaks the line it is quoted in, nor sends the terminal a sequence of its own.
std::string escapedForLine(std::string_view text);

namespace csv {
// Appends one field to `out`, quoted only when it holds a comma, a quote or a line break.
void appendField(std::string& out, std::string_view field);
} // namespace csv
