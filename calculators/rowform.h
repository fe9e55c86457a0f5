#pragma once

#include "calculators/calculator.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The output of a calculation of one variant: the names of its results, then those of its
// verdicts, and the column of each result (RowForm::kNoColumn for a result the variant does not
// write, or one without a name) and of each verdict.
struct Columns {
    std::vector<std::string> names;
    std::vector<std::size_t> ofResult, ofVerdict;
};
// `withOptionalGroup`: with the results of the optional group of fields (see
// Result::optionalGroup), for inputs that set one of them.
Columns outputColumns(const subprogram::Calculator& calculator, const subprogram::Variant& variant,
                      bool withOptionalGroup = true);
// Whether some field of the optional group is given (`given` follows the fields).
bool setsOptionalGroup(const subprogram::Calculator& calculator, const std::vector<bool>& given);

// What stopped a row's calculation: the failure's kind, and the field whose read failed.
struct RowFailure {
    ErrorKind kind;
    std::optional<FieldId> field;
    std::string_view reason = {}; // in words, where the kind alone does not say it
};

// The fields of a calculator as the command line gives them, one row at a time: the one engine
// of slopecalc, for a single calculation (a row with no cells) and for every record of a batch,
// and of the windows' studies (a row for each value).
// A field reads its row's cell when its column has one, else its text without a cell: its
// default, or NAME=TEXT. The results go into output cells, kept as numbers and formatted once.
//
// As a Form it hands back a substitute for a read that fails (see core/form.h): the row goes on
// to its end, writes nothing after the failure, and failure() reports that read. A bad row costs
// what a good one does, where an exception would cost as much as several rows.
class RowForm : public Form {
  public:
    static constexpr std::size_t kNoColumn = static_cast<std::size_t>(-1);

    // `base`: by field, its text without a cell. `places`: by input column, the field it gives.
    // `given`: by field, whether a column or NAME=TEXT gives it.
    RowForm(const subprogram::Calculator& calculator, const std::vector<std::string>& base,
            std::vector<std::size_t> places, std::vector<bool> given, const Columns& columns);

    // Runs `calculation` (the calculator's, on this form or on one recording it) on the row
    // started, and says what stopped it: a read that failed before anything else did, else the
    // failure that ended it.
    template <typename Calculation> std::optional<RowFailure> run(Calculation calculation) {
        std::optional<RowFailure> failure;
        try {
            calculation();
        } catch (const FieldError& error) {
            failure = RowFailure{error.kind(), error.field(), error.reason()};
        } catch (const CalcError& error) {
            failure = RowFailure{error.kind(), std::nullopt, error.reason()};
        }
        if (failure_) { // a failed read came first
            failure = RowFailure{failure_->first, failure_->second};
        }
        return failure;
    }

    // A row to calculate: its cells, by input column (a cell it lacks reads as empty); every
    // output cell empty.
    void start(std::span<const std::string_view> cells);
    // A row not to calculate: every output cell empty.
    void clear();

    std::string text(FieldId field) const override;
    bool blank(FieldId field) const override { return source_[field.index].empty(); }
    int choice(FieldId field) const override;
    void setText(ResultId result, const std::string& text) override;
    // A number is kept as it is and formatted once, straight into the output; one that is no
    // number fails as its text would, and leaves the cell as it was.
    void setDouble(ResultId result, double value) override { setNumber(result, value); }
    void setSingle(ResultId result, float value) override { setNumber(result, value); }
    // Read in place, with no copy of the text, and without an exception (see above); a text is
    // read once a row, however often its field is read.
    double readDouble(FieldId field) const override {
        return known_[field.index] ? values_[field.index] : parse(field.index);
    }
    float readSingle(FieldId field) const override;

    // The first read that failed on this row: its kind and field.
    const std::optional<std::pair<ErrorKind, FieldId>>& failure() const { return failure_; }
    std::string_view cell(FieldId field) const { return source_[field.index]; }
    // The output column of a result, or kNoColumn.
    std::size_t column(ResultId result) const { return columns_[result.index]; }
    // Whether the row wrote the output cell, and whether what it holds is a number (which needs
    // no quotes in CSV).
    bool written(std::size_t column) const { return kinds_[column] != Cell::Empty; }
    bool number(std::size_t column) const {
        return kinds_[column] == Cell::Double || kinds_[column] == Cell::Single;
    }
    // The output cell as it is written, onto the end of `line`, quoted as CSV when `csv`.
    void appendCell(std::string& line, std::size_t column, bool csv) const;
    // A result without an output cell (one only the checks read) as written, or none.
    std::optional<double> uncolumned(ResultId result) const {
        return kept_[result.index] ? std::optional(others_[result.index]) : std::nullopt;
    }

  private:
    enum class Cell : char { Empty, Text, Double, Single };

    void restoreDefaults();
    template <typename Number> void setNumber(ResultId result, Number value);
    // Plain digits here, anything else out of line: so the common case needs no stack frame.
    double parse(std::size_t f) const {
        const std::string_view text = source_[f];
        double value = 0;
        return numerictext::plainDecimal(text.data(), text.data() + text.size(), value)
                   ? remember(f, value)
                   : parseInFull(f);
    }
    [[gnu::noinline]] double parseInFull(std::size_t f) const;
    double remember(std::size_t f, double value) const {
        values_[f] = value;
        known_[f] = true;
        return value;
    }
    void fail(ErrorKind kind, std::size_t f) const;

    const subprogram::Calculator& calculator_;
    const std::vector<std::size_t> places_;
    const std::vector<bool> given_;
    const std::vector<std::size_t> columns_;
    std::vector<std::string_view> source_; // by field: the text it reads on this row
    std::vector<std::string> completed_;   // a row's texts, completed (the beam's count)
    std::vector<std::string> texts_;       // by output column: a text written
    std::vector<double> numbers_;          // by output column: a number written (a single, widened)
    std::vector<Cell> kinds_;              // by output column: what it holds
    std::vector<double> others_;           // by result without a column: its number written
    std::vector<char> kept_;               // by result without a column: it was written
    std::vector<std::string> baseTexts_;   // by field: its text without a cell
    std::vector<char> baseReads_;          // by field: that text is a number
    std::vector<double> fallbacks_;        // by field: its number, else 1 (a failed read's)
    mutable std::vector<char> known_;      // by field, on this row: its value was read
    mutable std::vector<double> values_;   // by field, on this row: the value read
    mutable std::optional<std::pair<ErrorKind, FieldId>> failure_;
};

// "13 TypeMismatch (a)", with the text as `a="x"` when `withText`, and the reason after a colon
// when there is one: "5 InvalidArgument (c): 应不小于0".
std::string failureText(const RowFailure& failure, const subprogram::Calculator& calculator,
                        const Form& form, bool withText);

// The results of a row as its checks read them: a result with an output cell as the cell's text
// (`cellText(column)`, as written), one without as its number.
template <typename CellText> class RowResults : public subprogram::Written {
  public:
    RowResults(const RowForm& form, CellText cellText) : form_(form), cellText_(cellText) {}
    std::optional<double> result(ResultId result) const override {
        const std::size_t column = form_.column(result);
        if (column == RowForm::kNoColumn) {
            return form_.uncolumned(result);
        }
        double value = 0;
        ErrorKind error{};
        return form_.written(column) && ::readDouble(cellText_(column), value, error)
                   ? std::optional(value)
                   : std::nullopt;
    }

  private:
    const RowForm& form_;
    CellText cellText_;
};

// How a verdict is written on the command line and in a batch's cell.
std::string_view outcomeWord(subprogram::Outcome outcome);
