#pragma once

#include "core/form.h"

// The physical range of an input: a sign, a length that must not vanish, an angle's domain —
// never an upper bound on a weight, a strength or a length, so that any consistent units work.
// A value outside it is refused, naming the field and saying why in words.
namespace subprogram {

struct Domain {
    bool (*holds)(double);
    const char* reason;
};

inline constexpr Domain kNonNegative{[](double v) { return v >= 0; }, "应不小于0"};
inline constexpr Domain kPositive{[](double v) { return v > 0; }, "应大于0"};
// a slip plane's or a fill's inclination, an anchor's: steeper than vertical is no such plane
inline constexpr Domain kInclination{[](double v) { return v > -90 && v < 90; },
                                     "应在 −90° 与 90° 之间"};
inline constexpr Domain kFriction{[](double v) { return v >= 0 && v < 90; },
                                  "应在 0° 与 90° 之间（可为0°，不可为90°）"};
// a wall's back to the horizontal: 90° upright, leaning either way
inline constexpr Domain kWallBack{[](double v) { return v > 0 && v < 180; },
                                  "应在 0° 与 180° 之间"};
inline constexpr Domain kSeismic{[](double v) { return v >= 0 && v < 1; },
                                 "应在 0 与 1 之间（可为0，不可为1）"};
// a share of a whole: 0 to 1, both included
inline constexpr Domain kShare{[](double v) { return v >= 0 && v <= 1; }, "应在 0 与 1 之间"};

// `value` when it lies in `domain`; else refused (CalcError InvalidArgument with the reason),
// for a reader that names its field (Form::readWith).
inline double within(double value, const Domain& domain) {
    if (!domain.holds(value)) {
        refuseInput(domain.reason);
    }
    return value;
}

// The field read as a number (as the form reads it) and held to `domain`.
inline double readWithin(const Form& form, FieldId field, const Domain& domain) {
    const double value = form.readDouble(field);
    if (!domain.holds(value)) {
        throw FieldError(CalcError(ErrorKind::InvalidArgument, domain.reason), field);
    }
    return value;
}

} // namespace subprogram
