#pragma once

#include "core/calcerror.h"

#include <bit>
#include <cmath>
#include <concepts>
#include <cstdint>
#include <limits>
#include <type_traits>

#ifdef __FAST_MATH__
#error "the results must be exact to the last digit: build without -ffast-math"
#endif

// Whether a double rounds to a single rather than beyond the largest one (false for NaN).
inline bool fitsSingle(double value) {
    return std::fabs(value) <= std::numeric_limits<float>::max();
}

// Rounds to the nearest single; a magnitude above the largest single raises Overflow.
inline float toSingle(double value) {
    if (!fitsSingle(value)) [[unlikely]] {
        failWith(ErrorKind::Overflow);
    }
    return static_cast<float>(value);
}

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

    // The nearest single, where the method stores a value; beyond the largest single, Overflow.
    friend Num single(Num x) { return toSingle(x.v_); }

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

// The same number, for a routine's fast first evaluation (see `evaluate` in core/trace.h): its
// operations are tested only where a failure could otherwise be lost. An operation gives a
// Pending value, untested, and an infinity or a NaN in it carries on through every further
// operation (∞ + x = ∞, ∞ × 0 = NaN, sin ∞ = NaN, ∞ / x = ∞) except a division by it (x / ∞ = 0)
// and a comparison, which test it. A Pending value is tested when it becomes a DeferredNum, that
// is when the formulas name it, keep it or store it, and when it is narrowed to a single; it
// cannot be dropped unnamed ([[nodiscard]]). So no failure passes unseen; the test throws, and
// which operation failed first, and how, the evaluation finds out by running the formulas again
// on Num. Values are the same as Num's: each operation is the same IEEE operation, in the same
// order.
class DeferredNum {
  public:
    class [[nodiscard]] Pending {
      public:
        Pending(double v) : v(v) {}
        Pending(DeferredNum x) : v(x.v_) {}
        double v;
    };

    constexpr DeferredNum(double v = 0) : v_(v) {}
    DeferredNum(Pending x) : v_(finite(x.v)) {}
    constexpr double value() const { return v_; }

    friend Pending operator+(Pending a, Pending b) { return a.v + b.v; }
    friend Pending operator-(Pending a, Pending b) { return a.v - b.v; }
    friend Pending operator*(Pending a, Pending b) { return a.v * b.v; }
    friend Pending operator/(Pending a, Pending b) { return a.v / finite(b.v); }
    // A named value or an input divides untested: it carries no failure (an infinite input is
    // none to Num either: x / ∞ = 0 passes there too).
    friend Pending operator/(Pending a, DeferredNum b) { return a.v / b.v_; }
    friend Pending operator/(Pending a, double b) { return a.v / b; }
    friend Pending operator-(Pending a) { return -a.v; }

    friend Pending sin(Pending x) { return std::sin(x.v); }
    friend Pending cos(Pending x) { return std::cos(x.v); }
    friend Pending tan(Pending x) { return std::tan(x.v); }
    friend Pending sqrt(Pending x) { return std::sqrt(x.v); }
    // Narrowed first, then tested on the single it gave: a value beyond the largest single
    // gives an infinity, or the largest single itself when it lies within half a unit beyond
    // it, and a NaN stays one; all three have a magnitude whose bits are at least the largest
    // single's. (The largest single reached exactly is refused too; the checked evaluation
    // then gives it.) The test runs on the integer side, beside the arithmetic.
    friend DeferredNum single(Pending x) {
        const float f = static_cast<float>(x.v);
        constexpr auto kLargest = std::bit_cast<std::uint32_t>(std::numeric_limits<float>::max());
        if ((std::bit_cast<std::uint32_t>(f) & 0x7fffffffu) >= kLargest) [[unlikely]] {
            failWith(ErrorKind::Overflow);
        }
        return f;
    }

    friend auto operator<=>(Pending a, Pending b) { return finite(a.v) <=> finite(b.v); }
    friend bool operator==(Pending a, Pending b) { return finite(a.v) == finite(b.v); }

  private:
    // An infinity or a NaN has every bit of its exponent set. Tested on the integer side,
    // beside the arithmetic, which is faster here than a test in the floating-point unit.
    static double finite(double v) {
        if ((std::bit_cast<std::uint64_t>(v) & 0x7ff0000000000000u) == 0x7ff0000000000000u)
            [[unlikely]] {
            failWith(ErrorKind::Overflow);
        }
        return v;
    }

    double v_;
};
