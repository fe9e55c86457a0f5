#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace subprogram {

// The named values a routine forms on its way, in the order it forms them, so that a
// calculation can be followed step by step. Routines take an optional Trace and record into it
// without changing what they compute.
class Trace {
  public:
    void record(std::string_view name, double value) { values_.emplace_back(name, value); }

    const std::vector<std::pair<std::string, double>>& values() const { return values_; }

    // The last value recorded under `name`.
    std::optional<double> value(std::string_view name) const {
        for (auto it = values_.rbegin(); it != values_.rend(); ++it) {
            if (it->first == name) {
                return it->second;
            }
        }
        return std::nullopt;
    }

  private:
    std::vector<std::pair<std::string, double>> values_;
};

} // namespace subprogram
