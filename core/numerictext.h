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
