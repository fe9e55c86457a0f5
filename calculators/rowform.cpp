#include "rowform.h"

#include "core/utf8.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

using subprogram::Calculator;
using subprogram::Choice;
using subprogram::Field;

Columns outputColumns(const Calculator& calculator, const subprogram::Variant& variant,
                      bool withOptionalGroup) {
    Columns columns;
    for (const subprogram::Result& r : calculator.results) {
        const bool written = calculator.writes(variant, calculator.id(r)) && !r.name.empty() &&
                             !r.hidden && (withOptionalGroup || !r.optionalGroup);
        columns.ofResult.push_back(written ? columns.names.size() : RowForm::kNoColumn);
        if (written) {
            columns.names.emplace_back(r.name);
        }
    }
    for (const subprogram::Verdict& v : calculator.verdicts) {
        columns.ofVerdict.push_back(columns.names.size());
        columns.names.emplace_back(v.name);
    }
    return columns;
}

bool setsOptionalGroup(const Calculator& calculator, const std::vector<bool>& given) {
    for (std::size_t i = 0; i < calculator.fields.size() && i < given.size(); ++i) {
        if (given[i] && calculator.fields[i].optionalGroup) {
            return true;
        }
    }
    return false;
}

std::string failureText(const RowFailure& failure, const Calculator& calculator, const Form& form,
                        bool withText) {
    std::string text = std::to_string(static_cast<int>(failure.kind)) + (withText ? ": " : " ") +
                       kindName(failure.kind);
    if (failure.field) {
        text += " (" + std::string(calculator[*failure.field].name);
        if (withText) {
            text += "=\"" + escapedForLine(form.text(*failure.field)) + "\"";
        }
        text += ")";
    }
    if (!failure.reason.empty()) {
        text += ": " + std::string(failure.reason);
    }
    return text;
}

RowForm::RowForm(const Calculator& calculator, const std::vector<std::string>& base,
                 std::vector<std::size_t> places, std::vector<bool> given, const Columns& columns)
    : calculator_(calculator), places_(std::move(places)), given_(std::move(given)),
      columns_(columns.ofResult), texts_(columns.names.size()), numbers_(columns.names.size(), 0),
      kinds_(columns.names.size(), Cell::Empty), others_(calculator.results.size()),
      kept_(calculator.results.size()), baseTexts_(base) {
    for (const std::string& text : baseTexts_) { // what a field reads without its cell
        ErrorKind unused{};
        double value = 1;
        baseReads_.push_back(::readDouble(text, value, unused));
        fallbacks_.push_back(value);
    }
    restoreDefaults();
}

// Every field reads its text without a cell: its default, or NAME=TEXT.
void RowForm::restoreDefaults() {
    source_.assign(baseTexts_.begin(), baseTexts_.end());
    known_ = baseReads_;
    values_ = fallbacks_;
}

void RowForm::clear() {
    failure_.reset();
    std::fill(kinds_.begin(), kinds_.end(), Cell::Empty);
    std::fill(kept_.begin(), kept_.end(), false);
}

void RowForm::start(std::span<const std::string_view> cells) {
    clear();
    if (calculator_.completeParameters) { // it may have changed a default; else only cells do
        restoreDefaults();
    }
    // through plain pointers, which the compiler need not load again after every store
    std::string_view* const source = source_.data();
    char* const known = known_.data();
    const std::size_t given = std::min(cells.size(), places_.size());
    for (std::size_t i = 0; i < given; ++i) {
        source[places_[i]] = cells[i];
        known[places_[i]] = false;
    }
    for (std::size_t i = given; i < places_.size(); ++i) {
        source[places_[i]] = {};
        known[places_[i]] = false;
    }
    if (calculator_.completeParameters) { // the beam's count from its lengths
        completed_.resize(source_.size());
        for (std::size_t f = 0; f < source_.size(); ++f) {
            completed_[f].assign(source_[f]);
        }
        calculator_.completeParameters(completed_, given_);
        for (std::size_t f = 0; f < source_.size(); ++f) {
            if (completed_[f] != source_[f]) {
                source_[f] = completed_[f];
                known_[f] = false;
            }
        }
    }
}

std::string RowForm::text(FieldId field) const {
    const std::string_view t = source_[field.index];
    for (const Choice& c : calculator_[field].choices) { // a choice word in English is the window's
        if (c.english == t || (!c.former.empty() && c.former == t)) {
            return std::string(c.text);
        }
    }
    return std::string(t);
}

int RowForm::choice(FieldId field) const {
    const Field& f = calculator_[field];
    const std::string_view t = source_[field.index];
    for (const Choice& c : f.choices) {
        if (c.text == t || c.english == t || (!c.former.empty() && c.former == t)) {
            return c.value;
        }
    }
    return f.otherChoice;
}

void RowForm::setText(ResultId result, const std::string& text) {
    if (failure_) {
        return;
    }
    if (const std::size_t column = columns_[result.index]; column != kNoColumn) {
        texts_[column] = text;
        kinds_[column] = Cell::Text;
    } else { // for the checks, as a form that records the calculation hands it on: as text
        ErrorKind error{};
        kept_[result.index] = ::readDouble(text, others_[result.index], error);
    }
}

template <typename Number> void RowForm::setNumber(ResultId result, Number value) {
    if (!std::isfinite(value)) { // before the cell is touched: it keeps what it had
        throw CalcError(ErrorKind::Overflow);
    }
    if (failure_) {
        return;
    }
    if (const std::size_t column = columns_[result.index]; column != kNoColumn) {
        kinds_[column] = std::is_same_v<Number, float> ? Cell::Single : Cell::Double;
        numbers_[column] = value;
    } else { // for the checks
        others_[result.index] = value;
        kept_[result.index] = true;
    }
}

float RowForm::readSingle(FieldId field) const {
    const std::size_t f = field.index;
    const double value = known_[f] ? values_[f] : parse(f);
    if (!fitsSingle(value)) {
        fail(ErrorKind::Overflow, f);
        return static_cast<float>(fallbacks_[f]);
    }
    return static_cast<float>(value);
}

double RowForm::parseInFull(std::size_t f) const {
    ErrorKind error{};
    double value = 0;
    if (!numerictext::readInFull(source_[f], value, error, kPrcSeparators)) {
        fail(error, f);
        return fallbacks_[f];
    }
    return remember(f, value);
}

void RowForm::fail(ErrorKind kind, std::size_t f) const {
    if (!failure_) {
        failure_ = {kind, FieldId{static_cast<std::uint16_t>(f)}};
    }
}

void RowForm::appendCell(std::string& line, std::size_t column, bool csv) const {
    switch (kinds_[column]) {
    case Cell::Double:
        appendDoubleText(line, numbers_[column]);
        break;
    case Cell::Single:
        appendSingleText(line, static_cast<float>(numbers_[column]));
        break;
    case Cell::Text:
        if (csv) {
            csv::appendField(line, texts_[column]);
        } else {
            line += texts_[column];
        }
        break;
    case Cell::Empty:
        break;
    }
}

std::string_view outcomeWord(subprogram::Outcome outcome) {
    switch (outcome) {
    case subprogram::Outcome::Met:
        return "yes";
    case subprogram::Outcome::NotMet:
        return "no";
    case subprogram::Outcome::NotChecked:
        break;
    case subprogram::Outcome::Absent:
        return ""; // a check of a part the calculation does not have
    }
    return "not checked";
}
