#pragma once

#include "core/checked.h"

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
    };

    // The values recorded from now on belong to `step`.
    [[gnu::noinline]] void beginStep(std::string_view step) { step_ = step; }
    const std::string& step() const { return step_; }

    // Out of line: a routine calls them only when it is traced, and its untraced path stays free
    // of their strings.
    [[gnu::noinline]] void record(std::string_view name, double value, bool single = false) {
        entries_.push_back({step_, std::string(name), value, single, {}});
    }

    // A remark on the way, such as which branch a check took.
    [[gnu::noinline]] void remark(std::string_view text) {
        entries_.push_back({step_, {}, 0, false, std::string(text)});
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
// + 1); into the trace, when there is one. trace() is the trace, or null; always null for
// DeferredNum, which is never traced.
template <FormulaNumber Number> class Keep {
  public:
    explicit Keep(Trace* trace) : trace_(trace) {}
    Number operator()(const char* name, Number value) const {
        if (Trace* const steps = trace()) {
            steps->record(name, value.value());
        }
        return value;
    }
    Trace* trace() const { return std::same_as<Number, Num> ? trace_ : nullptr; }

  private:
    Trace* trace_;
};

// Evaluates a routine's formulas, written once as a generic lambda over its number type and its
// recorder (Keep, or one like it): [&]<typename Num>(Keep<Num> keep) { ... }.
// Untraced, the formulas run first on DeferredNum, nearly at the speed of plain doubles; when
// nothing failed, every operation of the checked evaluation would have passed and given the same
// value, so its result is the result. When something failed, and always when traced, they run
// on the checked Num, which throws the failure of the operation that fails first, with the
// values formed before it in the trace.
template <template <typename> class Recorder, typename Formulas>
[[gnu::always_inline]] inline auto evaluate(Trace* trace, std::string_view step,
                                            const Formulas& formulas) {
    if (trace) {
        trace->beginStep(step);
    } else {
        try {
            return formulas(Recorder<DeferredNum>(nullptr));
        } catch (const CalcError&) {
            // something failed: which operation, and how, the checked evaluation tells
        }
    }
    return formulas(Recorder<Num>(trace));
}
