#include "shown.h"

#include "core/html.h"
#include "core/numerictext.h"

#include <cmath>

namespace {

constexpr std::size_t kLongest = 1200; // bytes of an expression's text, its HTML included

// A value as the formula shows it. Only a routine's input can be no finite number (the
// arithmetic fails on any such result first), and only when a caller passes one, never from a
// field's text: it is shown so that the calculation fails where the untraced one fails.
std::string valueText(double value, bool single) {
    if (!std::isfinite(value)) {
        return std::isnan(value) ? "NaN" : value > 0 ? "∞" : "−∞";
    }
    return single ? singleToText(static_cast<float>(value)) : doubleToText(value);
}

} // namespace

Shown::Shown(Num value, Text symbols, Text values, bool dropped)
    : value_(value), symbolBinding_(symbols.binding), valueBinding_(values.binding),
      dropped_(dropped || symbols.text.size() > kLongest || values.text.size() > kLongest) {
    if (!dropped_) {
        symbols_ = std::move(symbols.text);
        values_ = std::move(values.text);
    }
}

Shown::Shown(double constant) : value_(constant) {
    symbols_ = values_ = valueText(constant, false);
    // a negative number is put in parentheses wherever a sum would be: a − (−2)
    symbolBinding_ = valueBinding_ = constant < 0 ? kSum : kAtom;
}

Shown Shown::named(std::string_view name, double value, bool single) {
    Shown s(value);
    s.symbols_ = html::symbol(name);
    s.symbolBinding_ = kAtom;
    s.values_ = valueText(value, single);
    return s;
}

Shown Shown::keptAs(std::string_view name, bool single) const {
    if (keptSymbols_.empty()) {
        return named(name, value(), single);
    }
    Shown s = *this;
    s.keptSymbols_ = html::symbol(name);
    s.keptValues_ = valueText(value(), single);
    return s;
}

Shown Shown::asKept() const {
    if (keptSymbols_.empty()) {
        return *this;
    }
    return Shown(value_, {keptSymbols_, kQuotient}, {keptValues_, kQuotient}, dropped_);
}

Shown Shown::angle(const Shown& degrees, const Shown& radians) {
    // an expression in degrees is bracketed before its sign, and bracketed again as an operand:
    // tan(((90 − 30) ÷ 2)°)
    const bool atom = degrees.valueBinding_ == kAtom;
    Shown s(radians.value_, {degrees.symbols_, degrees.symbolBinding_},
            {atom ? degrees.values_ + "°" : "(" + degrees.values_ + ")°", atom ? kAtom : kProduct},
            degrees.dropped_ || radians.dropped_);
    s.keptSymbols_ = radians.symbols_;
    s.keptValues_ = radians.values_;
    return s;
}

Shown Shown::binary(const Shown& a, const Shown& b, Num value, Binding binding,
                    std::string_view symbolSign, std::string_view valueSign) {
    // the left operand in parentheses when it binds more loosely, the right one also when it
    // binds as loosely: floating-point sums and products are grouped as they are written
    // (a divisor that is a product or a quotient is in parentheses too: a ÷ (b·c))
    const Binding rightLimit = binding == kQuotient ? kProduct : binding;
    const auto join = [binding, rightLimit](const std::string& left, Binding leftBinding,
                                            std::string_view sign, const std::string& right,
                                            Binding rightBinding) {
        return (leftBinding < binding ? "(" + left + ")" : left) + std::string(sign) +
               (rightBinding <= rightLimit ? "(" + right + ")" : right);
    };
    return Shown(
        value,
        {join(a.symbols_, a.symbolBinding_, symbolSign, b.symbols_, b.symbolBinding_), binding},
        {join(a.values_, a.valueBinding_, valueSign, b.values_, b.valueBinding_), binding},
        a.dropped_ || b.dropped_);
}

Shown Shown::function(const Shown& x, Num value, std::string_view name) {
    const auto call = [name](const std::string& argument, Binding binding) {
        const std::string space = name == "√" ? "" : " ";
        return std::string(name) + (binding == kAtom ? space + argument : "(" + argument + ")");
    };
    return Shown(value, {call(x.symbols_, x.symbolBinding_), kAtom},
                 {call(x.values_, x.valueBinding_), kAtom}, x.dropped_);
}

Shown operator+(const Shown& a, const Shown& b) {
    return Shown::binary(a, b, a.value_ + b.value_, Shown::kSum, " + ", " + ");
}

Shown operator-(const Shown& a, const Shown& b) {
    return Shown::binary(a, b, a.value_ - b.value_, Shown::kSum, " − ", " − ");
}

Shown operator*(const Shown& a, const Shown& b) {
    return Shown::binary(a, b, a.value_ * b.value_, Shown::kProduct, "·", "×");
}

Shown operator/(const Shown& a, const Shown& b) {
    return Shown::binary(a, b, a.value_ / b.value_, Shown::kQuotient, " ÷ ", " ÷ ");
}

Shown operator-(const Shown& a) {
    const auto negated = [](const std::string& text, Shown::Binding binding) {
        return "−" + (binding < Shown::kAtom ? "(" + text + ")" : text);
    };
    return Shown(-a.value_, {negated(a.symbols_, a.symbolBinding_), Shown::kSign},
                 {negated(a.values_, a.valueBinding_), Shown::kSign}, a.dropped_);
}

Shown sin(const Shown& x) {
    return Shown::function(x, sin(x.value_), "sin");
}

Shown cos(const Shown& x) {
    return Shown::function(x, cos(x.value_), "cos");
}

Shown tan(const Shown& x) {
    return Shown::function(x, tan(x.value_), "tan");
}

Shown sqrt(const Shown& x) {
    return Shown::function(x, sqrt(x.value_), "√");
}

Shown single(const Shown& x) {
    Shown s = x;
    s.value_ = single(x.value_);
    return s;
}
