#include "core/digits.h"
#include "core/numerictext.h"

#include "failswith.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <random>
#include <string>

namespace {

constexpr auto TM = ErrorKind::TypeMismatch;
constexpr auto OV = ErrorKind::Overflow;

struct Reading {
    const char* text;
    double value;                       // when read
    std::optional<ErrorKind> kind = {}; // when refused
};

class TextToDouble : public testing::TestWithParam<Reading> {};

TEST_P(TextToDouble, ReadsOrRefusesWithItsKind) {
    const Reading& r = GetParam();
    if (r.kind) {
        EXPECT_TRUE(FailsWith(*r.kind, [&] { textToDouble(r.text); })) << '"' << r.text << '"';
    } else {
        EXPECT_EQ(textToDouble(r.text), r.value) << '"' << r.text << '"';
    }
}

const std::string kFourHundredNines(400, '9');
// 1E+399: the exponent outweighs the zeros that lead the fraction
const std::string kTinyFractionHugeExponent = "0." + std::string(400, '0') + "1E800";

INSTANTIATE_TEST_SUITE_P(
    Grammar, TextToDouble,
    testing::Values(
        Reading{"12", 12}, Reading{" 12 ", 12}, Reading{"\t12\t", 12}, Reading{"+12", 12},
        Reading{"12.0", 12}, Reading{"1.2E1", 12}, Reading{".5", 0.5}, Reading{"5.", 5},
        Reading{"5-", -5}, Reading{"5+", 5}, Reading{"(5)", -5}, Reading{"( 5 )", -5},
        Reading{"-0.5", -0.5}, Reading{"- 5", -5}, Reading{"1,234.5", 1234.5}, Reading{"1,5", 15},
        Reading{"2,3,4,5,6,7", 234567}, Reading{"1,,2", 12}, Reading{"2e-3", 0.002},
        Reading{"1e+2", 100}, Reading{"\u00A512", 12}, Reading{"-\u00A512", -12},
        Reading{"\u00A5-12", -12}, Reading{"(\u00A512)", -12}, Reading{"&H10", 16},
        Reading{"&hff", 255}, Reading{"&ha", 10}, Reading{"&O17", 15}, Reading{"&o17", 15},
        Reading{"&HFFFF", 65535}, Reading{"&HFFFFFFFF", 4294967295.0}, Reading{"-&H10", -16},
        Reading{"&H10-", -16}, Reading{"&O1000000000000000000000", 9223372036854775808.0},
        Reading{"000.000", 0}, Reading{"1E-400", 0},
        Reading{"4.9406564584124654E-324", 4.9406564584124654E-324},
        Reading{"1.7976931348623157E308", DBL_MAX}, Reading{"0.1", 0.1}, Reading{"", 0, TM},
        // sixteen digits and more no longer fit one exact integer: rounded as the compiler
        // rounds the same literal
        Reading{"9007199254740993", 9007199254740993.0},
        Reading{"-0.30000000000000004441", -0.30000000000000004441},
        Reading{"123456789.0123456789", 123456789.0123456789}, Reading{"-.5", -0.5},
        Reading{"--1", 0, TM}, Reading{"   ", 0, TM}, Reading{"-", 0, TM}, Reading{".", 0, TM},
        Reading{"12a", 0, TM}, Reading{"-5-", 0, TM}, Reading{"(-5)", 0, TM},
        Reading{"(5)-", 0, TM}, Reading{"(5", 0, TM}, Reading{"5 -", 0, TM},
        Reading{"1.2.3", 0, TM}, Reading{"1.2,3", 0, TM}, Reading{",5", 0, TM},
        Reading{"5,", 0, TM}, Reading{"5,.5", 0, TM}, Reading{"1E", 0, TM}, Reading{"1E+", 0, TM},
        Reading{"E5", 0, TM}, Reading{"1D3", 0, TM}, Reading{"1 2", 0, TM}, Reading{"&H", 0, TM},
        Reading{"&O8", 0, TM}, Reading{"&H1.5", 0, TM}, Reading{"\uFF11\uFF12", 0, TM},
        Reading{"\u00A5\u00A51", 0, TM}, Reading{"12\u00A5", 0, TM}, Reading{"nan", 0, TM},
        Reading{"2e308F", 0, TM}, Reading{"(2e308", 0, TM}, Reading{"inf", 0, TM},
        Reading{"1E400", 0, OV}, Reading{"-1E400", 0, OV}, Reading{"1E99999999999999999999", 0, OV},
        Reading{kFourHundredNines.c_str(), 0, OV},
        Reading{kTinyFractionHugeExponent.c_str(), 0, OV}));

TEST(TextToDouble, UsesTheSeparatorsPassedIn) {
    const Separators german{",", ".", "\u20AC"};
    EXPECT_EQ(textToDouble("1.234,5", german), 1234.5);
    EXPECT_EQ(textToDouble("\u20AC 3", german), 3);
    EXPECT_THROW(textToDouble("\u00A53", german), CalcError);
    EXPECT_EQ(doubleToText(1.5e-7, german), "1,5E-07");
}

// Plain digits take a short way; on every text of digits, points, minus signs and the characters
// on either side of the digits, it reads what the full reading reads, to the bit, and refuses
// what that refuses.
TEST(TextToDouble, PlainDigitsReadAsTheFullReadingReadsThem) {
    std::mt19937 random(18);
    std::string text;
    for (int i = 0; i < 200000; ++i) {
        text.clear();
        for (auto length = random() % 19; length > 0; --length) {
            text += "0123456789999.-/:"[random() % 17];
        }
        double plain = 0, full = 0;
        ErrorKind plainError{}, fullError{};
        const bool read = readDouble(text, plain, plainError);
        ASSERT_EQ(read, numerictext::readInFull(text, full, fullError, kPrcSeparators)) << text;
        if (read) {
            ASSERT_EQ(std::bit_cast<std::uint64_t>(plain), std::bit_cast<std::uint64_t>(full))
                << text;
        } else {
            ASSERT_EQ(plainError, fullError) << text;
        }
    }
}

TEST(Narrowing, ToTheNearestSingleOrOverflow) {
    EXPECT_EQ(textToSingle("0.1"), 0.1f);
    EXPECT_EQ(textToSingle("3.4028234663852886E38"), FLT_MAX);
    EXPECT_TRUE(FailsWith(OV, [] { textToSingle("3.5E38"); }));
    EXPECT_EQ(toSingle(-FLT_MAX), -FLT_MAX);
    EXPECT_TRUE(FailsWith(OV, [] { toSingle(std::nextafter(double(FLT_MAX), 1e300)); }));
}

struct Writing {
    double value;
    bool single; // written by singleToText, else doubleToText
    const char* text;
};

class ToText : public testing::TestWithParam<Writing> {};

TEST_P(ToText, WritesTheSignificantDigits) {
    const Writing& w = GetParam();
    EXPECT_EQ(w.single ? singleToText(float(w.value)) : doubleToText(w.value), w.text);
}

INSTANTIATE_TEST_SUITE_P(
    Formatting, ToText,
    testing::Values(
        Writing{5, false, "5"}, Writing{-0.5, false, "-0.5"},
        Writing{1.0 / 3, false, "0.333333333333333"}, Writing{2.0 / 3, false, "0.666666666666667"},
        Writing{0.1 + 0.2, false, "0.3"}, Writing{123.456, false, "123.456"},
        Writing{0.0001, false, "0.0001"}, Writing{0.00001, false, "1E-05"},
        Writing{0.000015, false, "1.5E-05"}, Writing{999999999999999, false, "999999999999999"},
        Writing{1e15, false, "1E+15"}, Writing{1234567890123456, false, "1.23456789012346E+15"},
        Writing{1e100, false, "1E+100"}, Writing{1e-10, false, "1E-10"}, Writing{0, false, "0"},
        Writing{-0.0, false, "0"}, Writing{1e-300, false, "1E-300"},
        Writing{0.9999999999999999, false, "1"}, Writing{999999999999999.9, false, "1E+15"},
        Writing{-2.5e-7, false, "-2.5E-07"}, Writing{0.1, true, "0.1"},
        Writing{1.0 / 3, true, "0.3333333"}, Writing{1234567, true, "1234567"},
        Writing{12345678, true, "1.234568E+07"}, Writing{-0.25, true, "-0.25"},
        // a single half way between two seven-digit texts goes to the even one
        Writing{1234567.5, true, "1234568"}, Writing{1234568.5, true, "1234568"},
        Writing{-0.0009765625, true, "-0.0009765625"}, Writing{9999999, true, "9999999"},
        Writing{16777216, true, "1.677722E+07"}, Writing{0.00001, true, "1E-05"}));

struct Rounding {
    double value;
    std::optional<int> int16; // none: overflows
};

class RoundToInt : public testing::TestWithParam<Rounding> {};

TEST_P(RoundToInt, TiesToEvenWithinTheType) {
    const Rounding& r = GetParam();
    if (r.int16) {
        EXPECT_EQ(roundToInt16(r.value), *r.int16) << r.value;
        EXPECT_EQ(roundToInt32(r.value), *r.int16) << r.value;
    } else {
        EXPECT_TRUE(FailsWith(OV, [&] { roundToInt16(r.value); })) << r.value;
    }
}

INSTANTIATE_TEST_SUITE_P(Rounding, RoundToInt,
                         testing::Values(Rounding{0.5, 0}, Rounding{1.5, 2}, Rounding{2.5, 2},
                                         Rounding{3.5, 4}, Rounding{-1.5, -2}, Rounding{-2.5, -2},
                                         Rounding{2.4999999, 2}, Rounding{2.5000001, 3},
                                         Rounding{32767.4, 32767}, Rounding{-32768.4, -32768},
                                         Rounding{-0.5, 0}, Rounding{32767.5, {}},
                                         Rounding{-32768.6, {}}, Rounding{1e300, {}}));

TEST(RoundToInt32, HasItsOwnRangeAndReadsText) {
    EXPECT_EQ(roundToInt32(-2147483648.5), -2147483648);
    EXPECT_TRUE(FailsWith(OV, [] { roundToInt32(2147483647.5); }));
    EXPECT_EQ(roundToInt32(" 1,000 "), 1000);
    EXPECT_TRUE(FailsWith(TM, [] { roundToInt16("ten"); }));
}

// A written number's significant digits and the power of ten of its first, whatever its notation.
std::pair<std::string, int> digitsOf(const std::string& text) {
    std::string digits;
    int point = -1, exponent = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '.') {
            point = static_cast<int>(digits.size());
        } else if (text[i] == 'E' || text[i] == 'e') {
            exponent = std::stoi(text.substr(i + 1));
            break;
        } else if (text[i] >= '0' && text[i] <= '9') {
            digits += text[i];
        }
    }
    const int before = point < 0 ? static_cast<int>(digits.size()) : point;
    const std::size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos) {
        return {"0", 0};
    }
    digits.erase(0, first);
    digits.erase(digits.find_last_not_of('0') + 1);
    return {digits, before - 1 - static_cast<int>(first) + exponent};
}

// Each digit generator against the standard library's text, which rounds the exact binary value
// to nearest, ties to even: 15 digits of a double, 7 of a single, 4 and 17 of the report's
// rounding, on random values over every magnitude and on exact ties (a sixteenth or eighth digit 5
// and nothing after it). A fast generator must also take every value of its range, for one that
// gives up falls unseen to the slow one, and give up outside it.
TEST(ToText, RoundsAsTheStandardLibraryDoes) {
    std::mt19937_64 rng(24);
    using Result = std::optional<std::pair<std::string, int>>;
    const auto reference = [](double value, int significant) -> Result {
        char buffer[64];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                       std::chars_format::scientific, significant - 1)
                             .ptr;
        return digitsOf(std::string(buffer, end));
    };
    const auto by = [](auto generator, double value, int significant) -> Result {
        digits::Digits d;
        if (!generator(value, significant, d)) {
            return std::nullopt;
        }
        return std::pair(std::string(d.view()), d.power);
    };
    const auto library = [](double value, int significant, digits::Digits& d) {
        digits::fromLibrary(value, significant, d);
        return true;
    };
    const auto check = [&](double value) {
        const double a = std::fabs(value);
        const bool binaryRange = a >= 1e-5 && a < 1e15;
        for (const int significant : {15, 7, 4}) {
            const Result expected = reference(value, significant);
            EXPECT_EQ(by(library, value, significant), expected) << value;
            EXPECT_EQ(by(digits::fromBinary, value, significant), binaryRange ? expected : Result())
                << value << " to " << significant;
        }
        EXPECT_EQ(digitsOf(doubleToText(value)), reference(value, 15)) << value;
        EXPECT_EQ(digitsOf(roundedText(value, 17)), reference(value, 17)) << value;
        EXPECT_EQ(by(digits::fromSingle, value, 7).has_value(),
                  a >= 1e-6 && a < 1e7 && static_cast<float>(a) == a)
            << value;
        if (fitsSingle(value)) {
            const float single = static_cast<float>(value);
            const bool singleRange = std::fabs(single) >= 1e-6 && std::fabs(single) < 1e7;
            EXPECT_EQ(by(digits::fromSingle, single, 7),
                      singleRange ? reference(single, 7) : Result())
                << single;
            EXPECT_EQ(digitsOf(singleToText(single)), reference(single, 7)) << single;
        }
    };
    // the ends of the fast ranges and the powers of ten next to them
    for (const double edge : {1e-6, 1e-5, 1e7, 1e15}) {
        for (double value : {edge, static_cast<double>(static_cast<float>(edge))}) {
            check(value);
            check(std::nextafter(value, 0.0));
            check(std::nextafter(value, 2 * value));
        }
    }
    for (int power = -8; power <= 17; ++power) {
        const double ten = std::pow(10.0, power);
        check(ten);
        check(std::nextafter(ten, 0.0));
        check(-std::nextafter(ten, 2 * ten));
    }
    for (int i = 0; i < 100000; ++i) {
        const double mantissa = std::uniform_real_distribution<double>(1, 10)(rng);
        check(mantissa * std::pow(10.0, static_cast<int>(rng() % 40) - 20));
        // ties: 16-digit integers ending in 5, and halves of odd 16-digit integers
        const std::uint64_t whole = 1000000000000000 + rng() % 8000000000000000;
        check(static_cast<double>(whole - whole % 10 + 5));
        check(static_cast<double>(whole | 1) / 2);
        // singles, and a single's ties: 8-digit integers ending in 5 (below 2^24, all singles)
        // and 7-digit integers and a half
        check(static_cast<float>(mantissa * std::pow(10.0, static_cast<int>(rng() % 16) - 8)));
        check(static_cast<double>(10000005 + rng() % 676721 * 10));
        check(static_cast<double>(1000000 + rng() % 9000000) + 0.5);
    }
    // a tie at the sixteenth digit: 123456789012344.5 keeps its even last digit
    EXPECT_EQ(doubleToText(123456789012344.5), "123456789012344");
    EXPECT_EQ(doubleToText(123456789012345.5), "123456789012346");
}

// Found by fuzzing: seven digits identify a double's text but not always a single, so a single
// written and read back may land on its neighbour (10^28 has no single of its own).
TEST(SingleToText, SevenDigitsNeedNotSurviveASingle) {
    EXPECT_EQ(singleToText(textToSingle("1E+28")), "9.999999E+27");
}

} // namespace
