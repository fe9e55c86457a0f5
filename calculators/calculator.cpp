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

std::vector<Judgement> judge(const Calculator& calculator, int variant, const Form& fields,
                             const Written& written) {
    std::vector<Judgement> judgements(calculator.verdicts.size());
    if (calculator.judge) {
        calculator.judge(variant, fields, written, judgements);
        return judgements;
    }
    for (std::size_t i = 0; i < judgements.size(); ++i) {
        const Verdict& v = calculator.verdicts[i];
        if (const std::optional<double> value = written.result(v.result)) {
            const bool met = v.relation == "≤" ? *value <= v.required : *value >= v.required;
            judgements[i] = {met ? Outcome::Met : Outcome::NotMet, *value, v.required};
        }
    }
    return judgements;
}

std::string verdictExpression(const Verdict& verdict, const Judgement& judgement, bool withValue) {
    if (judgement.outcome == Outcome::NotChecked) {
        return "—";
    }
    const bool met = judgement.outcome == Outcome::Met;
    const std::string value =
        withValue && judgement.valued ? " = " + doubleToText(judgement.value) : std::string();
    if (!judgement.reason.empty()) { // the reason, in the conclusion, stands for the comparison
        return std::string(verdict.symbol) + value;
    }
    // the relation as it holds: a met "≥" reads "≥", one not met "<"
    const std::string relation = met                       ? std::string(verdict.relation)
                                 : verdict.relation == "≤" ? ">"
                                                           : "<";
    std::string limit(judgement.limitName.empty() ? verdict.limit : judgement.limitName);
    double fixed = 0;
    ErrorKind error{};
    // a named limit: its value too, but for one of fifteen digits beside the result
    if (!::readDouble(limit, fixed, error) && (withValue || verdict.single)) {
        limit += " = " + (verdict.single ? singleToText(static_cast<float>(judgement.limit))
                                         : doubleToText(judgement.limit));
    }
    return std::string(verdict.symbol) + value + " " + relation + " " + limit;
}

std::string verdictConclusion(const Judgement& judgement) {
    const std::string word = judgement.outcome == Outcome::Met      ? "满足"
                             : judgement.outcome == Outcome::NotMet ? "不满足"
                                                                    : "未验算";
    return judgement.reason.empty() ? word : word + "（" + std::string(judgement.reason) + "）";
}

std::string verdictText(const Verdict& verdict, const Judgement& judgement, bool withValue) {
    return judgement.outcome == Outcome::NotChecked
               ? verdictConclusion(judgement)
               : verdictExpression(verdict, judgement, withValue) + " " +
                     verdictConclusion(judgement);
}

} // namespace subprogram
