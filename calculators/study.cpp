#include "study.h"

#include "core/utf8.h"

#include <algorithm>
#include <cmath>

namespace subprogram {

namespace {

std::vector<bool> allGiven(const Calculator& calculator) {
    return std::vector<bool>(calculator.fields.size(), true);
}

// The fields a study sets: the one studied, and every other away from its default.
std::vector<bool> setBy(const Calculator& calculator, const std::vector<std::string>& texts,
                        FieldId studied) {
    std::vector<bool> set(calculator.fields.size());
    for (std::size_t i = 0; i < set.size(); ++i) {
        set[i] = i == studied.index ||
                 (i < texts.size() && texts[i] != calculator.fields[i].defaultText);
    }
    return set;
}

} // namespace

Study::Study(const Calculator& calculator, int variant, std::vector<std::string> texts,
             FieldId field)
    : calculator_(calculator), variant_(variant), field_(field),
      columns_(outputColumns(calculator, calculator.variant(variant),
                             setsOptionalGroup(calculator, setBy(calculator, texts, field)))),
      form_(calculator, texts, {field.index}, allGiven(calculator), columns_) {}

const Study::Row& Study::add(const std::string& value) {
    Row row{value, {}, {}, {}, {}};
    const std::string_view cell = value;
    form_.start({&cell, 1});
    const std::optional<RowFailure> failure =
        form_.run([&] { calculator_.calculate(variant_, form_, nullptr); });
    const std::size_t results = columns_.names.size() - calculator_.verdicts.size();
    row.ends.resize(results);
    for (std::size_t c = 0; c < results; ++c) { // in one text: a row allocates little
        form_.appendCell(row.text, c, false);
        row.ends[c] = static_cast<std::uint32_t>(row.text.size());
    }
    if (failure) {
        row.error = failureText(*failure, calculator_, form_, false);
    } else {
        const RowResults written(form_, [&row](std::size_t c) { return row.cell(c); });
        for (const Judgement& j : judge(calculator_, variant_, form_, written)) {
            row.judgements.push_back({j.outcome, j.valued, j.value, j.limit, j.reason});
        }
    }
    rows_.push_back(std::move(row));
    return rows_.back();
}

bool Study::holds(const Row& row) {
    if (!row.error.empty()) {
        return false;
    }
    for (const Judged& j : row.judgements) {
        if (j.outcome == Outcome::NotMet) {
            return false;
        }
    }
    return true;
}

std::string_view Study::skipped(const Row& row) {
    if (!row.error.empty()) {
        return row.error;
    }
    const bool unjudged =
        !row.judgements.empty() && std::ranges::all_of(row.judgements, [](const Judged& j) {
            return j.outcome == Outcome::NotMet && !j.valued;
        });
    return unjudged ? row.judgements.front().reason : std::string_view();
}

std::vector<NeverMet> checksNeverMet(const Study& study) {
    std::vector<NeverMet> never;
    for (std::size_t v = 0; v < study.calculator().verdicts.size(); ++v) {
        bool judged = false, met = false;
        double low = HUGE_VAL, high = -HUGE_VAL;
        for (const Study::Row& row : study.rows()) {
            if (row.judgements.empty() || row.judgements[v].outcome == Outcome::NotChecked ||
                row.judgements[v].outcome == Outcome::Absent || !Study::skipped(row).empty()) {
                continue;
            }
            const Study::Judged& j = row.judgements[v];
            judged = true;
            met = met || j.outcome == Outcome::Met;
            if (j.valued) {
                low = std::min(low, j.value), high = std::max(high, j.value);
            }
        }
        if (judged && !met) {
            never.push_back({v, low, high});
        }
    }
    return never;
}

StudyRange::StudyRange(std::string from, std::string to, int count)
    : from_(std::move(from)), to_(std::move(to)), a_(textToDouble(from_)), b_(textToDouble(to_)),
      count_(count) {}

double StudyRange::number(int i) const {
    return a_ + (b_ - a_) * i / (count_ - 1);
}

bool StudyRange::overflows() const {
    for (int i = 1; i < count_ - 1; ++i) {
        if (!std::isfinite(number(i))) {
            return true;
        }
    }
    return false;
}

std::string StudyRange::value(int i) const {
    return i == 0 ? from_ : i == count_ - 1 ? to_ : doubleToText(number(i));
}

std::optional<std::vector<std::string>> studyRange(const std::string& from, const std::string& to,
                                                   int count) {
    const StudyRange range(from, to, count);
    if (range.overflows()) {
        return std::nullopt;
    }
    std::vector<std::string> values;
    for (int i = 0; i < count; ++i) {
        values.push_back(range.value(i));
    }
    return values;
}

std::string studyCsv(const Study& study) {
    std::string out = "\xEF\xBB\xBF";
    const auto row = [&out](const std::vector<std::string>& cells) {
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (i > 0) {
                out += ',';
            }
            csv::appendField(out, cells[i]);
        }
        out += "\r\n";
    };
    std::vector<std::string> header{std::string(study.calculator()[study.field()].name)};
    header.insert(header.end(), study.columns().names.begin(), study.columns().names.end());
    header.push_back("error");
    row(header);
    for (const Study::Row& r : study.rows()) {
        std::vector<std::string> cells{r.value};
        for (std::size_t c = 0; c < r.ends.size(); ++c) {
            cells.emplace_back(r.cell(c));
        }
        for (std::size_t v = 0; v < study.calculator().verdicts.size(); ++v) {
            cells.emplace_back(r.judgements.empty() ? "" : outcomeWord(r.judgements[v].outcome));
        }
        cells.push_back(r.error);
        row(cells);
    }
    return out;
}

} // namespace subprogram
