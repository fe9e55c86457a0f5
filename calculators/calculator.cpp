#include "calculator.h"

#include <algorithm>

namespace subprogram {

namespace {

std::string withoutColon(std::string_view caption) {
    while (caption.ends_with(":") || caption.ends_with("：")) {
        caption.remove_suffix(caption.ends_with(":") ? 1 : std::string_view("：").size());
    }
    return std::string(caption);
}

} // namespace

const Field* Calculator::field(std::string_view name) const {
    for (const Field& f : fields) {
        if (f.name == name) {
            return &f;
        }
    }
    return nullptr;
}

const Field* Calculator::fieldOfControl(std::string_view control) const {
    for (const Field& f : fields) {
        if (place(f) == control) {
            return &f;
        }
    }
    return nullptr;
}

const Result* Calculator::result(std::string_view control) const {
    for (const Result& r : results) {
        if (r.control == control) {
            return &r;
        }
    }
    return nullptr;
}

bool Calculator::writes(const Variant& variant, ResultId result) const {
    return variant.results.empty() || std::find(variant.results.begin(), variant.results.end(),
                                                result) != variant.results.end();
}

const Variant& Calculator::variant(int value) const {
    for (const Variant& v : variants) {
        if (v.value == value) {
            return v;
        }
    }
    return variants.front();
}

std::string fieldCaption(const Field& field) {
    return field.reportCaption.empty() ? withoutColon(field.caption)
                                       : std::string(field.reportCaption);
}

std::string resultCaption(const Result& result) {
    if (!result.reportCaption.empty()) {
        return std::string(result.reportCaption);
    }
    std::string caption = withoutColon(result.caption);
    if (caption.ends_with(')')) {
        caption.erase(caption.rfind('('));
    }
    return caption;
}

bool meets(const Verdict& verdict, std::string_view resultText) {
    double value = 0;
    ErrorKind error{};
    return readDouble(resultText, value, error) && value >= verdict.required;
}

std::string verdictText(const Verdict& verdict, std::string_view resultText, bool met,
                        bool withValue) {
    return std::string(verdict.symbol) + (withValue ? " = " + std::string(resultText) : "") +
           (met ? " ≥ " : " < ") + doubleToText(verdict.required) + (met ? " 满足" : " 不满足");
}

} // namespace subprogram
