#pragma once

#include "core/shown.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The step of a calculation that reads its fields, before any routine runs.
inline constexpr std::string_view kReadingStep = "readFields";

// The named values a calculation forms on its way, in the order it forms them, grouped by the
// step (routine) that formed them, so that the calculation can be followed line by line. Routines
// take an optional Trace and record into it without changing what they compute.
class Trace {
  public:
    struct Entry {
        std::string step;
        std::string name;
        double value;
        bool single;        // a single-precision value, written with 7 digits
        std::string remark; // for a remark instead of a value: its text
        // the formula the value was formed by, in symbols and with the values in place (HTML),
        // when the calculation ran on Shown and the expression was not too long to keep
        std::string symbols, values;
    };

    // The values recorded from now on belong to `step`.
    [[gnu::noinline]] void beginStep(std::string_view step) { step_ = step; }
    const std::string& step() const { return step_; }

    // Out of line: a routine calls them only when it is traced, and its untraced path stays free
    // of their strings.
    [[gnu::noinline]] void record(std::string_view name, double value, bool single = false) {
        entries_.push_back({step_, std::string(name), value, single, {}, {}, {}});
    }
    // A value and the formula that formed it.
    [[gnu::noinline]] void record(std::string_view name, const Shown& formula, double value,
                                  bool single) {
        entries_.push_back({step_,
                            std::string(name),
                            value,
                            single,
                            {},
                            formula.dropped() ? std::string() : formula.symbols(),
                            formula.dropped() ? std::string() : formula.values()});
    }

    // A remark on the way, such as which branch a check took.
    [[gnu::noinline]] void remark(std::string_view text) {
        entries_.push_back({step_, {}, 0, false, std::string(text), {}, {}});
    }

    const std::vector<Entry>& entries() const { return entries_; }

    // The last value recorded under `name`.
    std::optional<double> value(std::string_view name) const {
        for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
            if (it->remark.empty() && it->name == name) {
                return it->value;
            }
        }
        return std::nullopt;
    }

  private:
    std::string step_;
    std::vector<Entry> entries_;
};

inline void beginStep(Trace* trace, std::string_view step) {
    if (trace) {
        trace->beginStep(step);
    }
}

// Notes each named value as a routine forms it: const Num Kq = keep("Kq", numerator / denominator
// + 1); into the trace, when there is one, with its formula when the routine runs on Shown, after
// which the name stands for the value. trace() is the trace, or null; always null for
// DeferredNum, which is never traced.
template <FormulaNumber Number> class Keep {
  public:
    explicit Keep(Trace* trace) : trace_(trace) {}
    Number operator()(std::string_view name, Number value) const {
        if constexpr (std::same_as<Number, Shown>) {
            if (trace_) {
                trace_->record(name, value.asKept(), value.value(), false);
            }
            return value.keptAs(name);
        } else {
            return value; // only the evaluation on Shown is traced
        }
    }
    // A routine's input under its name (a single's when it is one), as its formulas show it;
    // nothing is traced.
    Number input(std::string_view name, double value) const { return named(name, value, false); }
    Number input(std::string_view name, float value) const { return named(name, value, true); }
    // A value solved for rather than formed by one formula (the beam's rotations, out of an
    // elimination): traced as its value alone, and named thereafter.
    Number solution(std::string_view name, Number value) const {
        if (Trace* const steps = trace()) {
            steps->record(name, value.value());
        }
        return this->name(name, value);
    }
    // A value formed on the way under a name, as the formulas that use it show it; untraced.
    Number name(std::string_view name, Number value) const {
        if constexpr (std::same_as<Number, Shown>) {
            return Shown::named(name, value.value());
        } else {
            return value;
        }
    }
    Trace* trace() const { return std::same_as<Number, DeferredNum> ? nullptr : trace_; }

  private:
    static Number named(std::string_view name, double value, bool single) {
        if constexpr (std::same_as<Number, Shown>) {
            return Shown::named(name, value, single);
        } else {
            return Number(value);
        }
    }
    Trace* trace_;
};

// Evaluates a routine's formulas, written once as a generic lambda over its number type and its
// recorder (Keep, or one like it): [&]<typename Num>(Keep<Num> keep) { ... }.
// Untraced, the formulas run first on DeferredNum, nearly at the speed of plain doubles; when
// nothing failed, every operation of the checked evaluation would have passed and given the same
// value, so its result is the result. When something failed they run again on the checked Num,
// which throws the failure of the operation that fails first. Traced, they run on Shown, Num's
// operations that also keep each value's formula, with the values formed before a failure in
// the trace.
// The traced and the checked evaluations stand apart from the fast one, each taking its own copy
// of the formulas' captures: the fast one then keeps its inputs in registers, and builds no
// capture in memory for a path it does not take.
template <template <typename> class Recorder, typename Formulas>
[[gnu::noinline]] auto evaluateTraced(Trace* trace, std::string_view step, Formulas formulas) {
    trace->beginStep(step);
    return formulas(Recorder<Shown>(trace));
}
template <template <typename> class Recorder, typename Formulas>
[[gnu::noinline, gnu::cold]] auto evaluateChecked(Formulas formulas) {
    return formulas(Recorder<Num>(nullptr));
}

template <template <typename> class Recorder, typename Formulas>
[[gnu::always_inline]] inline auto evaluate(Trace* trace, std::string_view step,
                                            Formulas formulas) {
    if (trace) [[unlikely]] {
        return evaluateTraced<Recorder>(trace, step, formulas);
    }
    try {
        return formulas(Recorder<DeferredNum>(nullptr));
    } catch (const CalcError&) {
        // something failed: which operation, and how, the checked evaluation tells
    }
    return evaluateChecked<Recorder>(formulas);
}
