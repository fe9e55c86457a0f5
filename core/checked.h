#pragma once

#include "core/calcerror.h"

#include <cmath>

#ifdef __FAST_MATH__
#error "the results must be exact to the last digit: build without -ffast-math"
#endif

// A double whose every operation is tested when it completes, so that a routine can be written
// as its formula reads: Kq = (q + q) * sin(a) * cos(b) / (H * g * sin(s1)) + 1;
// Each operator evaluates exactly one IEEE operation, left to right as C++ groups it, and throws
// CalcError instead of producing an infinity or a NaN. The checks look at the operands and the
// result; floating-point exception flags are not used, since the optimiser may move the
// operations past a flag test.
class Num {
  public:
    constexpr Num(double v = 0) : v_(v) {} // implicit, so that literals mix with Num
    constexpr double value() const { return v_; }

    friend Num operator+(Num a, Num b) { return result(a.v_ + b.v_); }
    friend Num operator-(Num a, Num b) { return result(a.v_ - b.v_); }
    friend Num operator*(Num a, Num b) { return result(a.v_ * b.v_); }
    // The quotient first, the divisor looked at only when the quotient is no number: one test
    // on the way that every division takes.
    friend Num operator/(Num a, Num b) {
        const double r = a.v_ / b.v_;
        if (!std::isfinite(r)) {
            // 0 / 0 is an invalid operation, which counts as an overflow
            failWith(b.v_ != 0 || a.v_ == 0 || std::isnan(a.v_) ? ErrorKind::Overflow
                                                                : ErrorKind::DivisionByZero);
        }
        return Num(r);
    }
    friend Num operator-(Num a) { return Num(-a.v_); }

    friend Num sin(Num x) { return result(std::sin(x.v_)); }
    friend Num cos(Num x) { return result(std::cos(x.v_)); }
    friend Num tan(Num x) { return result(std::tan(x.v_)); }
    friend Num sqrt(Num x) {
        const double r = std::sqrt(x.v_);
        if (!std::isfinite(r)) { // NaN from a negative operand, or an infinite one
            failWith(x.v_ < 0 ? ErrorKind::InvalidArgument : ErrorKind::Overflow);
        }
        return Num(r);
    }

    friend constexpr auto operator<=>(Num a, Num b) { return a.v_ <=> b.v_; }
    friend constexpr bool operator==(Num a, Num b) { return a.v_ == b.v_; }

  private:
    // Beyond the double range, or NaN from an invalid operation: both are overflows.
    static Num result(double r) {
        if (!std::isfinite(r)) {
            failWith(ErrorKind::Overflow);
        }
        return Num(r);
    }

    double v_;
};
