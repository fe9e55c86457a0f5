#include "record.h"

#include <algorithm>

std::string CalculationRecord::input(std::string_view field) const {
    for (const auto& [f, text] : inputs) {
        if (f == field) {
            return text;
        }
    }
    return {};
}

std::string RecordingForm::text(std::string_view field) const {
    std::string t = inner_.text(field);
    const bool seen = std::any_of(record_.inputs.begin(), record_.inputs.end(),
                                  [&](const auto& input) { return input.first == field; });
    if (!seen) {
        record_.inputs.emplace_back(std::string(field), t);
    }
    return t;
}

void RecordingForm::setText(std::string_view field, const std::string& text) {
    record_.writes.emplace_back(std::string(field), text);
    inner_.setText(field, text);
}

int RecordingForm::choice(std::string_view field) const {
    text(field); // the word as it stands, for the report
    return inner_.choice(field);
}
