#pragma once

#include "core/checked.h"

#include <compare>

#include <string>
#include <string_view>

// The checked number of a traced calculation, which also carries the expression that formed it,
// twice over: in symbols ("K<sub>q</sub>·T + η·2") and with the values in their place
// ("1.03333333333333×0.5 + 0×2"), both as HTML. A report's formula line is the named value's
// expressions, so it comes from the very lambda that computed, in its order and grouping: each
// operation is Num's, so the value, the order and the failure are Num's too.
//
// A name (an input, or a value the formulas kept) stands for itself in the expressions that use
// it; anything else appears as it was formed. An angle converted by radians() reads in degrees
// ("sin α", "sin 30°"). An expression too long to print (the beam's elimination) is dropped: its
// value is all that is shown.
class Shown {
  public:
    Shown(double constant = 0); // implicit, so that literals mix with Shown, as with Num

    // A name standing for `value`: a routine's input, or a value it kept (single: a single's
    // value, written with 7 digits).
    static Shown named(std::string_view name, double value, bool single = false);

    double value() const { return value_.value(); }
    const std::string& symbols() const { return symbols_; }
    const std::string& values() const { return values_; }
    // Whether the expression was too long to keep.
    bool dropped() const { return dropped_; }
    // The expression as a formula line shows a kept value of it: an angle converted to radians
    // shows its conversion, α·3.1415926 ÷ 180.
    Shown asKept() const;
    // The value kept under `name` (single: a single's), which later formulas show by that name;
    // an angle in radians, by its degrees still (sin(α − δ), sin(90° − 10°)), its name and value
    // standing in the kept line of its conversion.
    Shown keptAs(std::string_view name, bool single = false) const;
    // An angle in degrees converted to radians (`radians`, formed from `degrees`): its value,
    // shown in degrees where an expression uses it (sin α, sin 30°), and as its conversion where
    // it is kept.
    static Shown angle(const Shown& degrees, const Shown& radians);

    friend Shown operator+(const Shown& a, const Shown& b);
    friend Shown operator-(const Shown& a, const Shown& b);
    friend Shown operator*(const Shown& a, const Shown& b);
    friend Shown operator/(const Shown& a, const Shown& b);
    friend Shown operator-(const Shown& a);
    friend Shown sin(const Shown& x);
    friend Shown cos(const Shown& x);
    friend Shown tan(const Shown& x);
    friend Shown sqrt(const Shown& x);
    friend Shown single(const Shown& x);

    friend auto operator<=>(const Shown& a, const Shown& b) { return a.value_ <=> b.value_; }
    friend bool operator==(const Shown& a, const Shown& b) { return a.value_ == b.value_; }

  private:
    // How tightly an expression binds, so that an operand is put in parentheses exactly where
    // the grouping of the evaluation needs them.
    // A quotient binds more loosely than a product, so that one reads one way only: a product
    // of a quotient writes it in parentheses, "(2 ÷ 3)·A", not "2 ÷ 3·A".
    enum Binding : char { kSum, kQuotient, kProduct, kSign, kAtom };
    struct Text {
        std::string text;
        Binding binding;
    };

    Shown(Num value, Text symbols, Text values, bool dropped);
    static Shown binary(const Shown& a, const Shown& b, Num value, Binding binding,
                        std::string_view symbolSign, std::string_view valueSign);
    static Shown function(const Shown& x, Num value, std::string_view name);

    Num value_;
    std::string symbols_, values_;
    Binding symbolBinding_ = kAtom, valueBinding_ = kAtom;
    bool dropped_ = false;
    // for an angle in radians: the conversion as a kept value shows it
    std::string keptSymbols_, keptValues_;
};

// The numbers a routine's formulas are written for, and the type of an operation's result on
// each, before the formulas name it.
template <typename T>
concept FormulaNumber =
    std::same_as<T, Num> || std::same_as<T, DeferredNum> || std::same_as<T, Shown>;
template <FormulaNumber Number>
using Unnamed = std::conditional_t<std::same_as<Number, DeferredNum>, DeferredNum::Pending, Number>;
