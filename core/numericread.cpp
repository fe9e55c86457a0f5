#include "numerictext.h"

#include <cstdint>

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

// Reading numbers from text: the whole grammar the fields accept, and the conversions of a
// number read to the narrower types.
namespace {

using numerictext::kExactTens;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int digitValue(char c) {
    if (isDigit(c)) {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return 99;
}

// Walks the text once, left to right; each reader consumes what it accepts. A text that is no
// number leaves its failure in error() (no exception: a batch of bad rows costs what good ones
// do).
class Reader {
  public:
    Reader(std::string_view text, const Separators& separators)
        : text_(text), separators_(separators) {}

    std::optional<ErrorKind> error() const { return error_; }

    double read() {
        skipSpaces();
        const bool parenthesised = take("(");
        if (parenthesised) {
            skipSpaces();
        }
        bool signSeen = false;
        bool negative = false;
        bool currencySeen = false;
        for (;;) { // a leading sign and the currency symbol, in either order
            if (!parenthesised && !signSeen && (peek('+') || peek('-'))) {
                negative = text_[pos_++] == '-';
                signSeen = true;
            } else if (!currencySeen && take(separators_.currency)) {
                currencySeen = true;
            } else {
                break;
            }
            skipSpaces();
        }
        readMagnitude();
        if (error_) {
            return 0;
        }
        if (parenthesised) {
            skipSpaces();
            if (!take(")")) {
                return fail(ErrorKind::TypeMismatch);
            }
            negative = true;
        } else if (!signSeen && (peek('+') || peek('-'))) {
            negative = text_[pos_++] == '-';
        }
        skipSpaces();
        if (pos_ != text_.size()) {
            return fail(ErrorKind::TypeMismatch);
        }
        // the form first, then the magnitude: "2e308F" is not a number, whatever its size
        const double magnitude = radix_ ? hexValue() : decimalValue();
        return negative ? -magnitude : magnitude;
    }

  private:
    double fail(ErrorKind kind) {
        error_ = kind;
        return {}; // never read: the error is
    }
    bool atEnd() const { return pos_ >= text_.size(); }
    bool peek(char c) const { return !atEnd() && text_[pos_] == c; }
    bool take(std::string_view token) {
        if (token.empty() || text_.substr(pos_, token.size()) != token) {
            return false;
        }
        pos_ += token.size();
        return true;
    }
    void skipSpaces() {
        while (!atEnd() && (text_[pos_] == ' ' || text_[pos_] == '\t')) {
            ++pos_;
        }
    }

    void readMagnitude() {
        if (take("&H") || take("&h")) {
            readRadix(4);
        } else if (take("&O") || take("&o")) {
            readRadix(3);
        } else {
            readDecimal();
        }
    }

    // Hexadecimal (4 bits a digit) or octal (3 bits a digit), of any length. The digits are
    // regrouped into hexadecimal so that from_chars rounds long ones to the nearest double.
    void readRadix(int bitsPerDigit) {
        const int radix = 1 << bitsPerDigit;
        std::string bits;
        while (!atEnd() && digitValue(text_[pos_]) < radix) {
            const int d = digitValue(text_[pos_++]);
            for (int b = bitsPerDigit - 1; b >= 0; --b) {
                bits.push_back(((d >> b) & 1) ? '1' : '0');
            }
        }
        if (bits.empty()) {
            fail(ErrorKind::TypeMismatch);
            return;
        }
        bits.insert(0, (4 - bits.size() % 4) % 4, '0');
        for (std::size_t i = 0; i < bits.size(); i += 4) {
            const int d = (bits[i] - '0') * 8 + (bits[i + 1] - '0') * 4 + (bits[i + 2] - '0') * 2 +
                          (bits[i + 3] - '0');
            if (!hex_.empty() || d != 0) {
                hex_.push_back("0123456789abcdef"[d]);
            }
        }
        radix_ = true;
    }

    double hexValue() {
        if (hex_.empty()) {
            return 0;
        }
        double value = 0;
        const auto [end, ec] =
            std::from_chars(hex_.data(), hex_.data() + hex_.size(), value, std::chars_format::hex);
        if (ec == std::errc::result_out_of_range) {
            return fail(ErrorKind::Overflow);
        }
        (void)end;
        return value;
    }

    void readDecimal() {
        std::string& whole = whole_;
        while (!atEnd()) {
            if (isDigit(text_[pos_])) {
                whole.push_back(text_[pos_++]);
                continue;
            }
            // a run of thousands separators counts only between two digits of the whole part
            const std::size_t before = pos_;
            bool separated = false;
            while (!whole.empty() && take(separators_.thousands)) {
                separated = true;
            }
            if (separated && (atEnd() || !isDigit(text_[pos_]))) {
                pos_ = before;
                fail(ErrorKind::TypeMismatch);
                return;
            }
            if (!separated) {
                break;
            }
        }
        std::string& fraction = fraction_;
        if (take(separators_.decimal)) {
            while (!atEnd() && isDigit(text_[pos_])) {
                fraction.push_back(text_[pos_++]);
            }
        }
        if (whole.empty() && fraction.empty()) {
            fail(ErrorKind::TypeMismatch);
            return;
        }
        std::string& exponent = exponent_;
        if (peek('E') || peek('e')) {
            ++pos_;
            if (peek('+') || peek('-')) {
                exponent.push_back(text_[pos_++]);
            }
            const std::size_t firstDigit = pos_;
            while (!atEnd() && isDigit(text_[pos_])) {
                exponent.push_back(text_[pos_++]);
            }
            if (pos_ == firstDigit) {
                fail(ErrorKind::TypeMismatch);
                return;
            }
        }
    }

    double decimalValue() {
        const std::string& whole = whole_;
        const std::string& fraction = fraction_;
        const std::string& exponent = exponent_;
        std::string plain = whole.empty() ? "0" : whole;
        if (!fraction.empty()) {
            plain += "." + fraction;
        }
        if (!exponent.empty()) {
            plain += "e" + exponent;
        }
        double value = 0;
        const char* const last = plain.data() + plain.size();
        const auto [end, ec] =
            std::from_chars(plain.data(), last, value, std::chars_format::general);
        if (ec == std::errc() && end == last) {
            return value;
        }
        if (ec != std::errc::result_out_of_range) {
            return fail(ErrorKind::TypeMismatch); // cannot happen for the text assembled above
        }
        // Out of range either way: too large overflows, too small reads as zero.
        if (leadingPower(whole, fraction, exponent) > 0) {
            return fail(ErrorKind::Overflow);
        }
        return 0.0;
    }

    // Decimal power of the first non-zero digit, with the exponent added (saturating).
    static long long leadingPower(const std::string& whole, const std::string& fraction,
                                  const std::string& exponent) {
        long long power = 0;
        const auto firstWhole = whole.find_first_not_of('0');
        if (firstWhole != std::string::npos) {
            power = static_cast<long long>(whole.size() - firstWhole) - 1;
        } else {
            const auto firstFraction = fraction.find_first_not_of('0');
            power = -static_cast<long long>(firstFraction) - 1;
        }
        long long e = 0;
        for (char c : exponent) {
            if (isDigit(c) && e < 1'000'000'000) {
                e = e * 10 + (c - '0');
            }
        }
        return power + (!exponent.empty() && exponent[0] == '-' ? -e : e);
    }

    std::string_view text_;
    const Separators& separators_;
    std::size_t pos_ = 0;
    std::optional<ErrorKind> error_;
    // the number's parts, read before its value is formed
    bool radix_ = false;
    std::string hex_;
    std::string whole_, fraction_, exponent_;
};

// Nearest whole number, an exact half going to the even neighbour.
double roundHalfEven(double value) {
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction > 0.5) {
        return below + 1;
    }
    if (fraction < 0.5) {
        return below;
    }
    return std::fmod(below, 2) == 0 ? below : below + 1;
}

template <typename Int> Int roundTo(double value) {
    const double rounded = roundHalfEven(value);
    if (!(rounded >= std::numeric_limits<Int>::min() &&
          rounded <= std::numeric_limits<Int>::max())) {
        throw CalcError(ErrorKind::Overflow);
    }
    return static_cast<Int>(rounded);
}

} // namespace

// Any other text than plain digits, read in full.
bool numerictext::readInFull(std::string_view text, double& value, ErrorKind& error,
                             const Separators& separators) {
    Reader reader(text, separators);
    const double read = reader.read();
    if (const auto failure = reader.error()) {
        error = *failure;
        return false;
    }
    value = read;
    return true;
}

bool readSingle(std::string_view text, float& value, ErrorKind& error,
                const Separators& separators) {
    double wide = 0;
    if (!readDouble(text, wide, error, separators)) {
        return false;
    }
    if (!fitsSingle(wide)) {
        error = ErrorKind::Overflow;
        return false;
    }
    value = static_cast<float>(wide);
    return true;
}

double textToDouble(std::string_view text, const Separators& separators) {
    ErrorKind error{};
    if (double value = 0; readDouble(text, value, error, separators)) {
        return value;
    }
    throw CalcError(error);
}

float textToSingle(std::string_view text, const Separators& separators) {
    return toSingle(textToDouble(text, separators));
}

std::int16_t roundToInt16(double value) {
    return roundTo<std::int16_t>(value);
}

std::int16_t roundToInt16(std::string_view text, const Separators& separators) {
    return roundToInt16(textToDouble(text, separators));
}

std::int32_t roundToInt32(double value) {
    return roundTo<std::int32_t>(value);
}

std::int32_t roundToInt32(std::string_view text, const Separators& separators) {
    return roundToInt32(textToDouble(text, separators));
}
