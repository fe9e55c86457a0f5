#pragma once

#include "shell/checked.h"

namespace subprogram {

// The tool's own π: every angle is converted with this decimal constant, never the
// full-precision value, and its truncation shows in the results (the at-rest coefficient for
// 30 degrees is 0.500000007735, not 0.5).
inline constexpr double kPiDecimal = 3.1415926;

// Degrees to radians: the product first, then the quotient.
inline Num radians(Num degrees) {
    return degrees * kPiDecimal / 180;
}

} // namespace subprogram

#include "routines/trace.h"

namespace subprogram {

// Notes each named value in the trace, when there is one, as the routine forms it:
// const Num Kq = keep("Kq", numerator / denominator + 1);
class Keep {
  public:
    explicit Keep(Trace* trace) : trace_(trace) {}
    Num operator()(const char* name, Num value) const {
        if (trace_) {
            trace_->record(name, value.value());
        }
        return value;
    }

  private:
    Trace* trace_;
};

} // namespace subprogram
