#pragma once

#include "core/shown.h"

namespace subprogram {

// The tool's own π: every angle is converted with this decimal constant, never the
// full-precision value, and its truncation shows in the results (the at-rest coefficient for
// 30 degrees is 0.500000007735, not 0.5).
inline constexpr double kPiDecimal = 3.1415926;

// Degrees to radians: the product first, then the quotient.
template <FormulaNumber Number> Unnamed<Number> radians(Number degrees) {
    return degrees * kPiDecimal / 180;
}
inline DeferredNum::Pending radians(DeferredNum::Pending degrees) {
    return degrees * kPiDecimal / 180;
}
// The same, shown in degrees where a formula uses it: sin α, sin 30°.
inline Shown radians(const Shown& degrees) {
    return Shown::angle(degrees, degrees * Shown::named("π", kPiDecimal) / 180);
}

// π itself, for the calculators the program added beyond its first ones (the slope's stability,
// the anchor by GB 50330-2013): a hand calculation of them gives the same digits.
inline constexpr double kPi = 3.14159265358979323846;

// Degrees to radians with π itself: the product first, then the quotient.
template <FormulaNumber Number> Unnamed<Number> radiansExact(Number degrees) {
    return degrees * kPi / 180;
}
inline DeferredNum::Pending radiansExact(DeferredNum::Pending degrees) {
    return degrees * kPi / 180;
}
inline Shown radiansExact(const Shown& degrees) {
    return Shown::angle(degrees, degrees * Shown::named("π", kPi) / 180);
}

} // namespace subprogram
