#pragma once

#include "core/calcerror.h"
#include "core/checked.h"

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// How every field text becomes a number and every number becomes a field text.
//
// The separators are a value handed to each conversion; nothing here reads the machine's locale.
// The windows always pass the PRC separators, whatever locale the machine runs in: their
// default texts ("1.5", ".5") are written that way, and under a comma-decimal locale "1.5"
// would otherwise read as 15.
//
// Accepted text (anything else raises TypeMismatch; the empty text and spaces only too):
//   spaces, then at most one sign: "+" or "-" before the number, "+" or "-" directly after it,
//   or parentheses around it, "(5)" reading as -5; the currency symbol may stand before the
//   digits and is ignored; spaces may stand between the leading sign or currency and the
//   number, and at the ends.
//   The number is digits with an optional decimal separator and fraction (12, 12.5, .5, 5.),
//   at least one digit. Thousands separators may stand anywhere between two digits of the whole
//   part and are dropped without any check of grouping (2,3,4 reads as 234); one before the
//   first digit or after the last digit of the whole part is refused.
//   An exponent may follow: E or e, an optional sign, one or more digits.
//   Or instead: &H with hexadecimal digits, &O with octal digits (letters in either case).
//
// Decisions where the rules leave a choice:
//   - Only the ASCII digits 0-9 are digits. Full-width digits from an input method are refused
//     with TypeMismatch, like any other character; the message names the field, so the user
//     sees at once which text to retype.
//   - Only E and e introduce an exponent; D and d are refused.
//   - &H and &O numbers read as the non-negative whole number the digits denote, at any length:
//     &HFFFF is 65535, never -1. A leading sign still applies: -&H10 is -16.
//
// The result of a decimal text is the double nearest to its value; a magnitude beyond the
// largest double raises Overflow, and one too small for a double reads as zero.
struct Separators {
    std::string_view decimal;
    std::string_view thousands;
    std::string_view currency;
};

// Simplified Chinese (PRC): period, comma and the yuan sign.
inline constexpr Separators kPrcSeparators{".", ",", "\u00A5"};

double textToDouble(std::string_view text, const Separators& separators = kPrcSeparators);
float textToSingle(std::string_view text, const Separators& separators = kPrcSeparators);
// The same conversions without an exception: true with the value in `value`, or false with the
// failure's kind in `error` and `value` untouched. (Not an optional: the way GCC returns one, its
// flag stored as a byte and read back as a word, stalls every call.)
bool readDouble(std::string_view text, double& value, ErrorKind& error,
                const Separators& separators = kPrcSeparators);
bool readSingle(std::string_view text, float& value, ErrorKind& error,
                const Separators& separators = kPrcSeparators);

// 15 significant digits; fixed notation from 0.0001 up to below 1E+15, else 1.5E-05 style.
std::string doubleToText(double value, const Separators& separators = kPrcSeparators);
// 7 significant digits; fixed notation from 0.0001 up to below 1E+07.
std::string singleToText(float value, const Separators& separators = kPrcSeparators);
// The same texts, appended to `out` (a batch writes them straight into its cells).
void appendDoubleText(std::string& out, double value,
                      const Separators& separators = kPrcSeparators);
void appendSingleText(std::string& out, float value, const Separators& separators = kPrcSeparators);
std::string int16ToText(std::int16_t value);

// Rounded to `significant` digits for a reader beside the exact text: fixed notation from 0.001
// up to below 10,000, keeping the zeros that are significant (0.9329683 → "0.9330"), else
// 1.235E+06 style. Zero is "0".
std::string roundedText(double value, int significant = 4);

// Nearest whole number, ties to the even one; outside the type's range raises Overflow.
std::int16_t roundToInt16(double value);
std::int16_t roundToInt16(std::string_view text, const Separators& separators = kPrcSeparators);
std::int32_t roundToInt32(double value);
std::int32_t roundToInt32(std::string_view text, const Separators& separators = kPrcSeparators);

// readDouble in two parts: plain digits with at most one point inline, for a batch reads
// millions of them, and any other text out of line.
namespace numerictext {

// 10^0 … 10^15, every one an exact double (5^15 < 2^53).
inline constexpr double kExactTens[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// Most field texts are plain digits with at most one decimal point ("18", "1.5", ".5", and a
// result read back, "-11.97323"); those are formed here, rounded to the nearest double exactly as
// the full reading rounds them.
[[gnu::always_inline]] inline bool plainDecimal(const char* p, const char* const end,
                                                double& value) {
    if (p == end) {
        return false;
    }
    const bool negative = *p == '-';
    const char* const first = p + negative;
    // the digits as an integer m, and where the point stands
    std::uint64_t m = 0;
    const char* point = nullptr;
    for (p = first; p != end; ++p) {
        const unsigned digit = static_cast<unsigned char>(*p) - unsigned{'0'};
        if (digit <= 9) {
            m = m * 10 + digit;
        } else if (*p == '.' && !point) {
            point = p;
        } else {
            return false;
        }
    }
    const auto length = static_cast<std::size_t>(end - first);
    const std::size_t places = point ? static_cast<std::size_t>(end - point) - 1 : 0;
    const std::size_t digits = length - (point != nullptr);
    if (digits == 0 || digits > 15) {
        return false; // no digit; or m is not exact, and the full reading rounds it
    }
    // m < 10^15 and 10^k, k ≤ 15, are exact doubles, so one division rounds m ÷ 10^k correctly,
    // as from_chars does (Clinger's fast path)
    const double magnitude = static_cast<double>(m) / kExactTens[places];
    value = negative ? -magnitude : magnitude;
    return true;
}

bool readInFull(std::string_view text, double& value, ErrorKind& error,
                const Separators& separators);

} // namespace numerictext

[[gnu::always_inline]] inline bool readDouble(std::string_view text, double& value,
                                              ErrorKind& error, const Separators& separators) {
    return (separators.decimal == "." &&
            numerictext::plainDecimal(text.data(), text.data() + text.size(), value)) ||
           numerictext::readInFull(text, value, error, separators);
}
