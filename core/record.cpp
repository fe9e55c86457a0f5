#include "record.h"

#include <algorithm>

std::optional<std::string> CalculationRecord::input(FieldId field) const {
    for (const auto& [f, text] : inputs) {
        if (f == field) {
            return text;
        }
    }
    return std::nullopt;
}

std::string CalculationRecord::written(ResultId result) const {
    for (auto it = writes.rbegin(); it != writes.rend(); ++it) {
        if (it->first == result) {
            return it->second;
        }
    }
    return {};
}

std::string RecordingForm::text(FieldId field) const {
    std::string t = inner_.text(field);
    const bool seen = std::any_of(record_.inputs.begin(), record_.inputs.end(),
                                  [&](const auto& input) { return input.first == field; });
    if (!seen) {
        record_.inputs.emplace_back(field, t);
    }
    return t;
}

void RecordingForm::setText(ResultId result, const std::string& text) {
    record_.writes.emplace_back(result, text);
    inner_.setText(result, text);
}

int RecordingForm::choice(FieldId field) const {
    text(field); // the word as it stands, for the report
    return inner_.choice(field);
}
