#include "core/numerictext.h"

#include <cmath>
#include <cstdint>
#include <string>

namespace {

// Any text either reads as a finite number or fails with TypeMismatch or Overflow. A double that
// reads is written and read back to the same text (15 digits always survive a double), except
// that a double within rounding of the largest one is written rounded up beyond it
// ("1.79769313486232E+308"), which reads as Overflow, as the rules have it. A single written
// with its 7 digits reads back within a unit of the seventh digit (7 digits need not survive a
// single, so the text itself may change).
void check(std::string_view text, const Separators& separators) {
    double value = 0;
    try {
        value = textToDouble(text, separators);
    } catch (const CalcError& e) {
        if (e.kind() != ErrorKind::TypeMismatch && e.kind() != ErrorKind::Overflow) {
            __builtin_trap();
        }
        return;
    }
    if (!std::isfinite(value)) {
        __builtin_trap();
    }
    const std::string written = doubleToText(value, separators);
    try {
        if (doubleToText(textToDouble(written, separators), separators) != written) {
            __builtin_trap();
        }
    } catch (const CalcError& e) {
        if (e.kind() != ErrorKind::Overflow || std::fabs(value) < 1.797693134862315e308) {
            __builtin_trap();
        }
    }
    try {
        const float single = toSingle(value);
        const float back = textToSingle(singleToText(single, separators), separators);
        if (std::fabs(double(back) - double(single)) > std::fabs(double(single)) * 1e-6) {
            __builtin_trap();
        }
    } catch (const CalcError& e) {
        if (e.kind() != ErrorKind::Overflow) {
            __builtin_trap();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    check(text, kPrcSeparators);
    check(text, Separators{",", "\u00A0", "\u20AC"});
    return 0;
}
