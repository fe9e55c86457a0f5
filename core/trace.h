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

// Records into a trace that may be absent.
inline void note(Trace* trace, std::string_view name, double value) {
    if (trace) {
        trace->record(name, value);
    }
}

inline void beginStep(Trace* trace, std::string_view step) {
    if (trace) {
        trace->beginStep(step);
    }
}

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
