#pragma once

#include <cstddef>
#include <string_view>

// The digit generators behind every number written as text: |value| (non-zero, finite) rounded
// to `significant` digits as std::to_chars rounds them (to nearest, ties to even, on the exact
// binary value). Two fast ones, each for the values it names and false for any other, and the
// library's for the rest; the fast ones are meant to take every field value, so each is held to
// its whole range, not only to its digits.
namespace digits {

// The digits without trailing zeros, and the decimal power of the first.
struct Digits {
    char digits[32];
    std::size_t count;
    int power;

    std::string_view view() const { return {digits, count}; }
};

// A value that is a single, from 1e-6 up to below 1e7, to at most 7 digits.
bool fromSingle(double value, int significant, Digits& d);
// Any value from 1e-5 up to below 1e15, to at most 15 digits.
bool fromBinary(double value, int significant, Digits& d);
// Any value, to at most 17 digits, by std::to_chars.
void fromLibrary(double value, int significant, Digits& d);

} // namespace digits
