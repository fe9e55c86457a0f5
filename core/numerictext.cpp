#include "numerictext.h"

#include "digits.h"

#include <cstdint>

#include <bit>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <stdexcept>

// Writing numbers as text: the fields' 15 and 7 significant digits, and the report's rounding.
namespace {

using numerictext::kExactTens;

// The decimal power of the first digit of a positive normal double, from its binary exponent:
// floor(log10(2^e)) for 2^e ≤ a, so perhaps one too small.
int firstDigitPowerGuess(double a) {
    const int binary = static_cast<int>(std::bit_cast<std::uint64_t>(a) >> 52) - 1023;
    return (binary * 78913) >> 18; // log10(2) ≈ 78913 ÷ 2^18
}

// The same for a from 1e-6 up to below 1e15, one more where a reaches the next power of ten's
// double: exact, but one too large where a is the double of a negative power of ten and that
// double lies below the power itself (as 1e-6's does; those of 1e-5 … 1e-1 lie above).
int firstDigitPower(double a) {
    static constexpr double kPowers[] = {1e-6, 1e-5, 1e-4, 1e-3, 1e-2, 1e-1, 1e0, 1e1,
                                         1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8, 1e9,
                                         1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const int power = firstDigitPowerGuess(a);
    return power >= -7 && power < 15 && a >= kPowers[power + 7] ? power + 1 : power;
}

// The last `count` decimal digits of `v` into `out`, two at a time from the last.
template <typename Unsigned> void writeDigits(char* out, Unsigned v, std::size_t count) {
    static constexpr char kPairs[] = "00010203040506070809101112131415161718192021222324"
                                     "25262728293031323334353637383940414243444546474849"
                                     "50515253545556575859606162636465666768697071727374"
                                     "75767778798081828384858687888990919293949596979899";
    for (; count >= 2; count -= 2) {
        const auto pair = static_cast<std::size_t>(v % 100 * 2);
        v /= 100;
        out[count - 2] = kPairs[pair];
        out[count - 1] = kPairs[pair + 1];
    }
    if (count == 1) {
        out[0] = static_cast<char>('0' + v % 10);
    }
}

// `significant` digits of the whole number n, 10^(significant-1) ≤ n < 10^significant, into
// `d` without their trailing zeros.
template <typename Unsigned>
void setDigits(digits::Digits& d, Unsigned n, int significant, int power) {
    d.count = static_cast<std::size_t>(significant);
    writeDigits(d.digits, n, d.count);
    while (d.digits[d.count - 1] == '0') { // the first digit is not 0
        --d.count;
    }
    d.power = power;
}

using digits::Digits;

// A single's 24 bits times 10^k, k ≤ 12, fit the 53 of a double (5^12 < 2^28), so that product
// is exact, below 2^52, and adding 2^52 and taking it away again rounds it to the nearest whole
// number, ties to even, as the exact value rounds.
[[gnu::always_inline]] inline bool singleDigits(double value, int significant, Digits& d) {
    const double a = std::fabs(value);
    if (significant > 7 || !(a >= 1e-6 && a < 1e7) || static_cast<float>(a) != a) {
        return false;
    }
    static constexpr double kTwo52 = 4503599627370496.0;
    const double low = kExactTens[significant - 1], high = kExactTens[significant];
    int power = firstDigitPower(a);
    const int k = significant - 1 - power;
    if (k < 0 || k > 12) {
        return false;
    }
    // exact, and from `low` up to below `high`: a single is never the double of a negative power
    // of ten, so its first digit's power is exact
    const double scaled = a * kExactTens[k];
    double n = (scaled + kTwo52) - kTwo52;
    if (n == high) { // 9.99… rounded up to 10.0…
        n = low;
        ++power;
    }
    setDigits(d, static_cast<std::uint32_t>(n), significant, power);
    return true;
}

// With 128-bit integers: value = m · 2^e exactly, and m · 2^e · 10^p is a ratio of integers that
// fit.
[[gnu::always_inline]] inline bool binaryDigits(double value, int significant, Digits& d) {
    const double a = std::fabs(value);
    if (!(a >= 1e-5 && a < 1e15) || significant > 15) { // so that |p| ≤ 19 below
        return false;
    }
    // a is normal here: a = m · 2^(biased − 1075), with the implicit leading bit in m
    const auto bits = std::bit_cast<std::uint64_t>(a);
    const int biased = static_cast<int>(bits >> 52);
    const std::uint64_t m = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
    const int shift = 1075 - biased; // from 4 to 70 in this range: a = m ÷ 2^shift
    static constexpr std::uint64_t kTens[] = {1ULL,
                                              10ULL,
                                              100ULL,
                                              1000ULL,
                                              10000ULL,
                                              100000ULL,
                                              1000000ULL,
                                              10000000ULL,
                                              100000000ULL,
                                              1000000000ULL,
                                              10000000000ULL,
                                              100000000000ULL,
                                              1000000000000ULL,
                                              10000000000000ULL,
                                              100000000000000ULL,
                                              1000000000000000ULL,
                                              10000000000000000ULL,
                                              100000000000000000ULL,
                                              1000000000000000000ULL,
                                              10000000000000000000ULL};
    // the first digit's power, exact here: the doubles of 1e-5 … 1e-1 all lie above the powers
    const int power = firstDigitPower(a);
    const int p = significant - 1 - power; // a · 10^p has `significant` digits before the point
    // n = ⌊a · 10^p⌋, from 10^(significant-1) up to below 10^significant, and how the rest
    // compares with one half: -1, 0 or 1
    std::uint64_t n;
    int half;
    if (p >= 0) { // a · 10^p = m · 10^p ÷ 2^shift
        const unsigned __int128 product = static_cast<unsigned __int128>(m) * kTens[p];
        n = static_cast<std::uint64_t>(product >> shift);
        const unsigned __int128 rest = product & ((static_cast<unsigned __int128>(1) << shift) - 1);
        const unsigned __int128 halfway = static_cast<unsigned __int128>(1) << (shift - 1);
        half = rest < halfway ? -1 : rest > halfway ? 1 : 0;
    } else { // a · 10^p = m ÷ (2^shift · 10^-p), all within 64 bits here
        const std::uint64_t denominator = (std::uint64_t{1} << shift) * kTens[-p];
        n = m / denominator;
        const std::uint64_t rest2 = (m % denominator) * 2;
        half = rest2 < denominator ? -1 : rest2 > denominator ? 1 : 0;
    }
    if (half > 0 || (half == 0 && n % 2 == 1)) {
        ++n; // to nearest, a tie to the even digit
    }
    if (n == kTens[significant]) { // 9.99… rounded up to 10.0…
        setDigits(d, kTens[significant - 1], significant, power + 1);
    } else {
        setDigits(d, n, significant, power);
    }
    return true;
}

void libraryDigits(double value, int significant, Digits& d) {
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                         std::chars_format::scientific, significant - 1);
    (void)ec;
    d.count = 0;
    const char* p = buffer;
    for (; p < end && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9') {
            d.digits[d.count++] = *p;
        }
    }
    while (d.digits[d.count - 1] == '0') { // the first digit is not 0
        --d.count;
    }
    std::from_chars(p + (p[1] == '+' ? 2 : 1), end, d.power);
}

// Into `d`, not returned: a copy of the digits, written a few bytes at a time and read back
// whole, stalls on every number. The fast generators are inlined here, as each was when it had
// no other caller.
void roundedDigits(double value, int significant, Digits& d) {
    if (!singleDigits(value, significant, d) && !binaryDigits(value, significant, d)) {
        libraryDigits(value, significant, d);
    }
}

// Appends to `text`, which may hold anything before; 15 significant digits at most. The text is
// formed in a buffer and appended once; digits and zeros go in blocks of 16 bytes, of which what
// lies beyond the text is written over or left out.
void appendFormatted(std::string& text, double value, int significant, int largestFixedPower,
                     const Separators& separators) {
    if (value == 0) {
        text += '0'; // also for negative zero
        return;
    }
    if (!std::isfinite(value)) {
        throw CalcError(ErrorKind::Overflow);
    }
    const std::string_view point = separators.decimal;
    if (point.size() > 16) {
        throw std::invalid_argument("a decimal separator longer than 16 bytes");
    }
    Digits d;
    roundedDigits(value, significant, d);
    char buffer[96]; // a sign, 15 digits, the separator, 16 digits or zeros, an exponent
    char* p = buffer;
    const auto digits = [&](std::size_t from, std::size_t to) { // 16 at most, from the 16th on
        std::memcpy(p, d.digits + from, 16);
        p += to - from;
    };
    const auto zeros = [&p](std::size_t count) { // 16 at most
        std::memcpy(p, "0000000000000000", 16);
        p += count;
    };
    const auto separator = [&] {
        if (point.size() == 1) {
            *p++ = point[0];
        } else {
            std::memcpy(p, point.data(), point.size());
            p += point.size();
        }
    };
    if (value < 0) {
        *p++ = '-';
    }
    if (d.power >= -4 && d.power <= largestFixedPower) {
        if (d.power >= 0) {
            const auto wholeDigits = static_cast<std::size_t>(d.power) + 1;
            if (d.count <= wholeDigits) {
                digits(0, d.count);
                zeros(wholeDigits - d.count);
            } else {
                digits(0, wholeDigits);
                separator();
                digits(wholeDigits, d.count);
            }
        } else {
            *p++ = '0';
            separator();
            zeros(static_cast<std::size_t>(-d.power - 1));
            digits(0, d.count);
        }
    } else {
        *p++ = d.digits[0];
        if (d.count > 1) {
            separator();
            digits(1, d.count);
        }
        const int magnitude = d.power < 0 ? -d.power : d.power;
        *p++ = 'E';
        *p++ = d.power < 0 ? '-' : '+';
        if (magnitude < 10) {
            *p++ = '0';
        }
        p = std::to_chars(p, buffer + sizeof buffer, magnitude).ptr;
    }
    text.append(buffer, static_cast<std::size_t>(p - buffer));
}

} // namespace

namespace digits {

bool fromSingle(double value, int significant, Digits& d) {
    return singleDigits(value, significant, d);
}

bool fromBinary(double value, int significant, Digits& d) {
    return binaryDigits(value, significant, d);
}

void fromLibrary(double value, int significant, Digits& d) {
    libraryDigits(value, significant, d);
}

} // namespace digits

void appendDoubleText(std::string& out, double value, const Separators& separators) {
    appendFormatted(out, value, 15, 14, separators);
}

void appendSingleText(std::string& out, float value, const Separators& separators) {
    appendFormatted(out, value, 7, 6, separators);
}

std::string doubleToText(double value, const Separators& separators) {
    std::string text;
    appendDoubleText(text, value, separators);
    return text;
}

std::string singleToText(float value, const Separators& separators) {
    std::string text;
    appendSingleText(text, value, separators);
    return text;
}

std::string roundedText(double value, int significant) {
    if (value == 0 || !std::isfinite(value)) {
        return value == 0 ? "0" : "";
    }
    Digits d;
    roundedDigits(value, significant, d);
    std::string digits(d.digits, d.count);
    digits.resize(static_cast<std::size_t>(significant), '0');
    std::string text = value < 0 ? "-" : "";
    if (d.power >= -3 && d.power < 4) {
        if (d.power >= 0) {
            const auto whole = static_cast<std::size_t>(d.power) + 1;
            text += digits.substr(0, whole);
            if (whole < digits.size()) {
                text += "." + digits.substr(whole);
            }
        } else {
            text += "0." + std::string(static_cast<std::size_t>(-d.power - 1), '0') + digits;
        }
        return text;
    }
    text += digits.substr(0, 1) + "." + digits.substr(1) + (d.power < 0 ? "E-" : "E+");
    const int magnitude = d.power < 0 ? -d.power : d.power;
    return text + (magnitude < 10 ? "0" : "") + std::to_string(magnitude);
}

std::string int16ToText(std::int16_t value) {
    return std::to_string(value);
}
