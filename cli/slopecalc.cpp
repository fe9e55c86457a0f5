#include "slopecalc.h"

#include "calculators/registry.h"
#include "calculators/savedcalculation.h"
#include "cli/csv.h"
#include "cli/encoding.h"
#include "cli/fdstream.h"
#include "core/json.h"
#include "core/utf8.h"
#include "core/wholefile.h"
#include "report/report.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <deque>
#include <fcntl.h>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <sys/stat.h>
#include <type_traits>
#include <unordered_map>

using subprogram::Calculator;
using subprogram::Choice;
using subprogram::Field;
using subprogram::Result;
using subprogram::Variant;

namespace {

const OptionHelp kOptions[] = {
    {"--help, -h", "this summary; after a subcommand, its parameters, units and defaults"},
    {"--version", "the version"},
    {"--json", "one JSON object: the results, the verdicts, the failure"},
    {"--trace", "every value the calculation formed, step by step, after the results"},
    {"--csv FILE|-",
     "one calculation per row of a CSV file (- for standard input) whose first row names the "
     "parameters (missing columns take their defaults), written back with the results and an "
     "error column"},
    {"--report FILE",
     "the calculation report (计算书) as one HTML file, written whole or not at all"},
    {"--encoding NAME",
     "with --csv: the batch's encoding (GBK, GB18030, UTF-16LE ...) when it is not UTF-8; it is "
     "read in it and written back in it"},
    {"--input FILE.slope",
     "in place of the subcommand: a calculation saved by a window, its calculator, variant and "
     "texts; NAME=TEXT changes one"},
    {"--", "ends the options: every argument after it is NAME=TEXT"},
};

const StatusHelp kStatuses[] = {
    {"0", "every calculation succeeded"},
    {"1", "a calculation failed (in a batch: a row); its error on standard error or in the error "
          "column"},
    {"2", "a usage error, or an input that cannot be read"},
    {"3", "the results or the report could not be written"},
    {"4", "an internal error of slopecalc"},
    {"128+N", "stopped by signal N (SIGINT, SIGTERM or SIGHUP)"},
};

// Wrapped to `width` columns, each line after the first indented by `indent`.
std::string wrapped(std::string_view text, std::size_t indent, std::size_t width) {
    std::string out, line;
    std::size_t column = indent; // of the line's end, counting characters, not bytes
    const auto length = [](std::string_view word) {
        return static_cast<std::size_t>(std::count_if(word.begin(), word.end(), [](char c) {
            return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        }));
    };
    while (!text.empty()) {
        const std::size_t space = text.find(' ');
        const std::string_view word = text.substr(0, space);
        text = space == std::string_view::npos ? std::string_view() : text.substr(space + 1);
        if (!line.empty() && column + 1 + length(word) > width) {
            out += line + "\n" + std::string(indent, ' ');
            line.clear();
            column = indent;
        }
        column += (line.empty() ? 0 : 1) + length(word);
        line += (line.empty() ? "" : " ") + std::string(word);
    }
    return out + line;
}

// A command line or an input that slopecalc cannot work with: exit status 2.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A report that could not be written: exit status 3.
class NotWritten : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

enum Status { kCalculated = 0, kFailed = 1, kUsage = 2, kNotWritten = 3 };

// Text echoed into a one-line message, with its control characters, backslashes and quotes
// escaped, and the bytes that are not UTF-8 written as \xNN: a value never breaks the line it is
// quoted in, nor sends the terminal a sequence of its own.
std::string escapedForLine(std::string_view text) {
    std::string out;
    const auto hex = [&out](unsigned char c) {
        char digits[8];
        std::snprintf(digits, sizeof digits, "\\x%02x", c);
        out += digits;
    };
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            const std::size_t length = utf8::sequenceLength(text.substr(i));
            if (length == 0) {
                hex(c);
                ++i;
            } else {
                out.append(text.substr(i, length));
                i += length;
            }
            continue;
        }
        if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\\' || c == '"') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            hex(c);
        } else {
            out += static_cast<char>(c);
        }
        ++i;
    }
    return out;
}

struct Options {
    const Calculator* calculator = nullptr;
    int variant = 0;
    std::optional<std::string> csvFile;
    std::optional<std::string> encoding; // of the batch, when it is not UTF-8
    bool json = false;
    bool help = false;
    bool trace = false;
    bool version = false;
    std::optional<std::string> reportFile;
    std::map<std::string, std::string> values; // NAME=TEXT given on the command line
};

// The parameters' texts of one calculation, by the parameter's place among the fields.
using Texts = std::vector<std::string>;

// The results a variant writes, by their names on the command line; none when they depend on
// the calculation (the beam's spans).
std::vector<const Result*> resultsOf(const Calculator& calculator, const Variant& variant) {
    std::vector<const Result*> results;
    for (const Result& r : calculator.results) {
        const bool written = variant.results.empty() ||
                             std::find(variant.results.begin(), variant.results.end(), r.control) !=
                                 variant.results.end();
        if (written && !r.name.empty()) {
            results.push_back(&r);
        }
    }
    return results;
}

// The fields of one calculation, and its results in the order they are written.
class CommandLineForm : public Form {
  public:
    CommandLineForm(const Calculator& calculator, const Variant& variant, Texts texts)
        : calculator_(calculator), results_(resultsOf(calculator, variant)),
          texts_(std::move(texts)) {}

    // A choice word given in English is the window's word.
    std::string text(std::string_view field) const override {
        const Field& f = fieldOf(field);
        const std::string& t = texts_[placeOf(f)];
        for (const Choice& c : f.choices) {
            if (c.english == t) {
                return std::string(c.text);
            }
        }
        return t;
    }
    int choice(std::string_view field) const override {
        const Field& f = fieldOf(field);
        const std::string& t = texts_[placeOf(f)];
        for (const Choice& c : f.choices) {
            if (c.text == t || c.english == t) {
                return c.value;
            }
        }
        return f.otherChoice;
    }
    // The variant's results by name, and what the calculation writes beyond the window.
    void setText(std::string_view field, const std::string& text) override {
        if (const std::optional<std::string> name = nameOf(field)) {
            results.emplace_back(*name, text);
        }
    }
    // A number for a field that is not kept is not formatted (the beam writes its window's
    // field once a span), but one that is no number fails as its text would.
    void setDouble(std::string_view field, double value) override {
        if (const std::optional<std::string> name = nameOf(field)) {
            results.emplace_back(*name, doubleToText(value));
        } else if (!std::isfinite(value)) {
            throw CalcError(ErrorKind::Overflow);
        }
    }

    // The parameter whose field this is.
    std::string parameterOf(std::string_view field) const {
        return std::string(fieldOf(field).name);
    }

    std::vector<std::pair<std::string, std::string>> results;

  private:
    std::optional<std::string> nameOf(std::string_view field) const {
        for (const Result* r : results_) {
            if (r->control == field) {
                return std::string(r->name);
            }
        }
        if (!calculator_.result(field)) {
            return std::string(field);
        }
        return std::nullopt;
    }
    const Field& fieldOf(std::string_view field) const {
        const Field* f = calculator_.fieldOfControl(field);
        if (!f) {
            throw std::logic_error("no parameter for the field " + std::string(field));
        }
        return *f;
    }
    std::size_t placeOf(const Field& f) const {
        return static_cast<std::size_t>(&f - calculator_.fields.data());
    }

    const Calculator& calculator_;
    std::vector<const Result*> results_;
    Texts texts_;
};

struct Failure {
    ErrorKind kind;
    std::string parameter; // empty unless a read failed
    std::string text;
};

struct Outcome {
    std::vector<std::pair<std::string, std::string>> results;
    std::optional<Failure> failure;
    std::vector<std::pair<std::string, bool>> verdicts; // after a calculation that succeeded
};

// The defaults, with the values given as NAME=TEXT in their place, and those that were given.
Texts startingTexts(const Calculator& calculator,
                    const std::map<std::string, std::string>& values) {
    Texts texts;
    for (const Field& f : calculator.fields) {
        const auto given = values.find(std::string(f.name));
        texts.push_back(given != values.end() ? given->second : std::string(f.defaultText));
    }
    return texts;
}

// One calculation of the options' calculator and variant on `texts`; with `record`, what it
// reads, forms and writes is recorded for a report. `given` marks the parameters given.
Outcome calculate(const Options& options, Texts texts, const std::vector<bool>& given,
                  CalculationRecord* record = nullptr,
                  std::optional<ReportContext>* context = nullptr) {
    const Calculator& calculator = *options.calculator;
    if (calculator.completeParameters) {
        calculator.completeParameters(texts, given);
    }
    CommandLineForm form(calculator, calculator.variant(options.variant), std::move(texts));
    const auto run = [&](Form& fields, Trace* trace) {
        calculator.calculate(options.variant, fields, trace);
    };
    Outcome outcome;
    try {
        if (record) {
            recordCalculation(form, *record, run);
        } else {
            run(form, nullptr);
        }
    } catch (const FieldError& error) {
        outcome.failure =
            Failure{error.kind(), form.parameterOf(error.field()), form.text(error.field())};
    } catch (const CalcError& error) {
        outcome.failure = Failure{error.kind(), {}, {}};
    }
    if (context) {
        *context = reportContext(calculator, options.variant, form, *record);
    }
    outcome.results = std::move(form.results);
    for (const subprogram::Verdict& v : calculator.verdicts) {
        const std::string_view name = calculator.result(v.result)->name;
        for (const auto& [result, text] : outcome.results) {
            if (!outcome.failure && result == name) {
                outcome.verdicts.emplace_back(std::string(v.name), subprogram::meets(v, text));
            }
        }
    }
    return outcome;
}

std::string failureText(const Failure& f, bool withText) {
    std::string text =
        std::to_string(static_cast<int>(f.kind)) + (withText ? ": " : " ") + kindName(f.kind);
    if (!f.parameter.empty()) {
        text += " (" + f.parameter;
        if (withText) {
            text += "=\"" + escapedForLine(f.text) + "\"";
        }
        text += ")";
    }
    return text;
}

std::string valueText(const Trace::Entry& e) {
    return e.single ? singleToText(static_cast<float>(e.value)) : doubleToText(e.value);
}

// Every written number is a JSON number: "1.5E-05" and "-0.5" are.
void printJson(const Outcome& outcome, const Trace* trace, std::ostream& out) {
    out << "{";
    const char* separator = "";
    for (const auto& [name, text] : outcome.results) {
        out << separator << json::quoted(name) << ": " << text;
        separator = ", ";
    }
    for (const auto& [name, met] : outcome.verdicts) {
        out << separator << json::quoted(name) << ": " << (met ? "true" : "false");
    }
    if (trace) {
        out << separator << "\"trace\": [";
        const char* comma = "";
        for (const Trace::Entry& e : trace->entries()) {
            if (e.remark.empty()) {
                out << comma << "{\"step\": " << json::quoted(e.step)
                    << ", \"name\": " << json::quoted(e.name) << ", \"value\": " << valueText(e)
                    << "}";
                comma = ", ";
            }
        }
        out << "]";
        separator = ", ";
    }
    if (outcome.failure) {
        const Failure& f = *outcome.failure;
        out << separator << "\"error\": {\"number\": " << static_cast<int>(f.kind)
            << ", \"kind\": " << json::quoted(kindName(f.kind));
        if (!f.parameter.empty()) {
            out << ", \"parameter\": " << json::quoted(f.parameter)
                << ", \"text\": " << json::quoted(f.text);
        }
        out << "}";
    }
    out << "}\n";
}

// Opens a file to read as a stream; "cannot read FILE: reason" when it cannot be.
std::unique_ptr<FdInput> openInput(const std::string& path, std::ostream& out) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat status {};
    const int error = fd < 0                      ? errno
                      : ::fstat(fd, &status) != 0 ? errno
                      : S_ISDIR(status.st_mode)   ? EISDIR
                                                  : 0;
    if (error != 0) {
        if (fd >= 0) {
            ::close(fd);
        }
        throw UsageError("cannot read " + escapedForLine(path) + ": " + std::strerror(error));
    }
    return std::make_unique<FdInput>(fd, true, &out);
}

// The rows of a batch as a Form: the row's cells where the header names a parameter, the
// defaults (and NAME=TEXT) elsewhere; the results go straight into their output cells. A
// calculation reads its fields in the same order on every row, so a lookup starts where the
// last one ended; nothing is allocated once the first rows have sized the strings.
class RowForm : public Form {
  public:
    RowForm(const Calculator& calculator, const Variant& variant, const Texts& base,
            const std::vector<std::size_t>& places, const std::vector<bool>& given,
            const std::unordered_map<std::string, std::size_t>& columnOf,
            std::vector<std::string>& results)
        : calculator_(calculator), places_(places), given_(given), columnOf_(columnOf),
          outputs_(results) {
        kinds_.assign(results.size(), Cell::Text);
        numbers_.assign(results.size(), 0);
        for (const Result* r : resultsOf(calculator, variant)) {
            results_.push_back({r->control, columnOf.at(std::string(r->name))});
        }
        for (const std::string& text : base) { // what a field reads without its cell
            ErrorKind unused{};
            double value = 1;
            baseReads_.push_back(::readDouble(text, value, unused));
            fallbacks_.push_back(value);
            baseTexts_.emplace_back(text);
        }
        restoreDefaults();
    }

    // A row to calculate: its cells, a cell it lacks read as empty; the result cells are empty.
    void start(const std::vector<std::string_view>& cells) {
        reads_ = writes_ = 0;
        failure_.reset();
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

    std::string text(std::string_view field) const override {
        const Field& f = calculator_.fields[fieldIndex(field)];
        const std::string_view t = source_[&f - calculator_.fields.data()];
        for (const Choice& c : f.choices) { // a choice word given in English is the window's
            if (c.english == t) {
                return std::string(c.text);
            }
        }
        return std::string(t);
    }
    int choice(std::string_view field) const override {
        const Field& f = calculator_.fields[fieldIndex(field)];
        const std::string_view t = source_[&f - calculator_.fields.data()];
        for (const Choice& c : f.choices) {
            if (c.text == t || c.english == t) {
                return c.value;
            }
        }
        return f.otherChoice;
    }
    void setText(std::string_view field, const std::string& text) override {
        if (std::string* cell = output(field)) {
            *cell = text;
            kinds_[static_cast<std::size_t>(cell - outputs_.data())] = Cell::Text;
        }
    }
    // A number is kept as it is and formatted once, straight into the output line; one that is no
    // number fails as its text would, and leaves the cell as it was.
    void setDouble(std::string_view field, double value) override { setNumber(field, value); }
    void setSingle(std::string_view field, float value) override { setNumber(field, value); }
    std::string parameterOf(std::string_view field) const {
        return std::string(calculator_.fields[fieldIndex(field)].name);
    }
    // In place, with no copy of the text (a number is no choice word), and without an
    // exception: a text that is no number is remembered as the row's failure and read as the
    // field's text without its cell, so that the calculation runs on to its end like any other
    // row (an exception costs as much as several rows); nothing it writes after the failure
    // counts, and the row reports the failure, where the window would have stopped. A bad row
    // costs what a good one does. A text is read once a row, however often its field is read; a
    // field without its cell reads the value its text had when the batch began.
    double readDouble(std::string_view field) const override {
        const std::size_t f = fieldIndex(field);
        return known_[f] ? values_[f] : parse(f);
    }
    float readSingle(std::string_view field) const override {
        const std::size_t f = fieldIndex(field);
        const double value = known_[f] ? values_[f] : parse(f);
        if (!fitsSingle(value)) {
            fail(ErrorKind::Overflow, f);
            return static_cast<float>(fallback(f));
        }
        return static_cast<float>(value);
    }

    // Every result cell empty, before a row.
    void clearResults() {
        for (std::string& cell : outputs_) {
            cell.clear();
        }
        std::fill(kinds_.begin(), kinds_.end(), Cell::Text);
    }
    // The result cell holds a number: its text needs no quotes.
    bool number(std::size_t column) const { return kinds_[column] != Cell::Text; }
    // The result cell, as a CSV field, onto the end of `line`.
    void appendCell(std::string& line, std::size_t column) const {
        switch (kinds_[column]) {
        case Cell::Double:
            appendDoubleText(line, numbers_[column]);
            break;
        case Cell::Single:
            appendSingleText(line, static_cast<float>(numbers_[column]));
            break;
        case Cell::Text:
            csv::appendField(line, outputs_[column]);
            break;
        }
    }

    // The first read that failed on this row: its kind and field.
    const std::optional<std::pair<ErrorKind, std::size_t>>& failure() const { return failure_; }
    const Field& field(std::size_t f) const { return calculator_.fields[f]; }
    std::string_view cell(std::size_t f) const { return source_[f]; }

  private:
    // Every field reads its text without a cell: its default, or NAME=TEXT.
    void restoreDefaults() {
        source_ = baseTexts_;
        known_ = baseReads_;
        values_ = fallbacks_;
    }

    template <typename Number> void setNumber(std::string_view field, Number value) {
        if (!std::isfinite(value)) { // before the cell is touched: it keeps what it had
            throw CalcError(ErrorKind::Overflow);
        }
        if (std::string* cell = output(field)) {
            const auto column = static_cast<std::size_t>(cell - outputs_.data());
            kinds_[column] = std::is_same_v<Number, float> ? Cell::Single : Cell::Double;
            numbers_[column] = value;
        }
    }

    // Plain digits here, anything else out of line: so the common case needs no stack frame.
    double parse(std::size_t f) const {
        const std::string_view text = source_[f];
        double value = 0;
        return numerictext::plainDecimal(text.data(), text.data() + text.size(), value)
                   ? remember(f, value)
                   : parseInFull(f);
    }
    [[gnu::noinline]] double parseInFull(std::size_t f) const {
        ErrorKind error{};
        double value = 0;
        if (!numerictext::readInFull(source_[f], value, error, kPrcSeparators)) {
            fail(error, f);
            return fallback(f);
        }
        return remember(f, value);
    }
    double remember(std::size_t f, double value) const {
        values_[f] = value;
        known_[f] = true;
        return value;
    }

    // The output cell of a result; none after the row's failure, nor for a field without a
    // column. A calculation writes its fields in the same order on every row, as it reads them:
    // the column of the last rows' write at this place, when the name is the same, is this one's.
    std::string* output(std::string_view field) {
        if (failure_) {
            return nullptr;
        }
        const std::size_t write = writes_++;
        const std::size_t column = write < writeOrder_.size() && !field.empty() &&
                                           sameLiteral(writeOrder_[write].literal, field)
                                       ? writeOrder_[write].column
                                       : learnWrite(field, write);
        return column == kNoColumn ? nullptr : &outputs_[column];
    }
    static constexpr std::size_t kNoColumn = static_cast<std::size_t>(-1);
    // The column of a write not recognised by its address. Only a result's own name as its
    // description holds it is remembered by address (a read is recognised so too): a name formed
    // at run time may be formed again at the same address with other letters.
    [[gnu::noinline]] std::size_t learnWrite(std::string_view field, std::size_t write) {
        if (write >= writeOrder_.size()) {
            writeOrder_.resize(write + 1);
        }
        Write& w = writeOrder_[write];
        if (w.field != field) {
            w.field.assign(field);
            w.column = columnOfWrite(field);
        }
        w.literal = {};
        for (const auto& [control, column] : results_) {
            if (sameLiteral(control, field)) {
                w.literal = field;
            }
        }
        return w.column;
    }
    std::size_t columnOfWrite(std::string_view field) const {
        for (const auto& [control, column] : results_) {
            if (control == field) {
                return column;
            }
        }
        if (!calculator_.result(field)) { // beyond the window: a column of its own
            if (const auto c = columnOf_.find(std::string(field)); c != columnOf_.end()) {
                return c->second;
            }
        }
        return kNoColumn;
    }

    void fail(ErrorKind kind, std::size_t f) const {
        if (!failure_) {
            failure_ = {kind, f};
        }
    }
    // the field's text without its cell (its default, or NAME=TEXT) as a number, else 1
    double fallback(std::size_t f) const { return fallbacks_[f]; }

    // A calculation names its fields by the literals its description holds (identical literals
    // share their storage) and reads them in the same order on every row: a name at the
    // address of the field's own name, read where that field was read on the last row, is that
    // field, found without comparing a byte. Any other name (a copy) is looked up by its text.
    std::size_t fieldIndex(std::string_view control) const {
        const std::size_t read = reads_++;
        if (read < order_.size() && order_[read].name == control.data() &&
            order_[read].size == control.size()) {
            return order_[read].field;
        }
        return lookUp(control, read);
    }
    [[gnu::noinline]] std::size_t lookUp(std::string_view control, std::size_t read) const {
        const auto& fields = calculator_.fields;
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (Calculator::place(fields[i]) == control) { // its window field, or its name
                if (sameLiteral(Calculator::place(fields[i]), control)) {
                    order_.resize(std::max(order_.size(), read + 1));
                    order_[read] = {control.data(), control.size(), i};
                }
                return i;
            }
        }
        throw std::logic_error("no parameter for the field " + std::string(control));
    }
    static bool sameLiteral(std::string_view a, std::string_view b) {
        return a.data() == b.data() && a.size() == b.size();
    }

    const Calculator& calculator_;
    const std::vector<std::size_t>& places_;
    const std::vector<bool>& given_; // by field: a column or NAME=TEXT gives it
    const std::unordered_map<std::string, std::size_t>& columnOf_;
    std::vector<std::string>& outputs_;                             // by result column
    std::vector<std::pair<std::string_view, std::size_t>> results_; // control, column
    std::vector<std::string_view> source_;                          // by field
    enum class Cell : char { Text, Double, Single };
    std::vector<Cell> kinds_;            // by result column: what the cell holds
    std::vector<double> numbers_;        // by result column: its number (a single, widened)
    std::vector<std::string> completed_; // a row's texts, completed
    struct Write {
        std::string field;
        std::string_view literal; // the result's own name, when the write named it by that
        std::size_t column = kNoColumn;
    };
    std::vector<Write> writeOrder_; // the fields of the last rows' writes, in order
    std::size_t writes_ = 0;        // of this row
    std::vector<double> fallbacks_;
    std::vector<std::string_view> baseTexts_; // by field: its text without the cell
    std::vector<char> baseReads_;             // by field: that text is a number
    mutable std::vector<char> known_;         // by field, on this row: its value was read
    mutable std::vector<double> values_;      // by field, on this row: the value read
    mutable std::optional<std::pair<ErrorKind, std::size_t>> failure_;
    struct Read {
        const char* name;
        std::size_t size, field;
    };
    mutable std::vector<Read> order_; // the fields of the last rows' reads, in order
    mutable std::size_t reads_ = 0;   // of this row
};

// Whether every byte of `text` is ASCII, eight at a time.
bool ascii(std::string_view text) {
    std::uint64_t bytes = 0;
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        bytes |= word;
    }
    for (; i < text.size(); ++i) {
        bytes |= static_cast<unsigned char>(text[i]);
    }
    return (bytes & 0x8080808080808080ULL) == 0;
}

// The first cell of a record that is not UTF-8 text, or npos.
std::size_t firstNotText(const csv::Record& record) {
    if (record.verbatim && ascii(record.text)) { // numbers, mostly
        return std::string_view::npos;
    }
    for (std::size_t i = 0; i < record.cells.size(); ++i) {
        if (!utf8::valid(record.cells[i])) {
            return i;
        }
    }
    return std::string_view::npos;
}

// The last row that reached the output whole: when the output is a descriptor, rows handed to
// it may still wait in its buffer, and a stop can drop them.
class WrittenRows {
  public:
    // After the header is handed to `out`.
    explicit WrittenRows(const std::ostream& out)
        : sink_(dynamic_cast<const FdOutput*>(out.rdbuf())), lastEnd_(sink_ ? sink_->queued() : 0) {
    }
    // The row of the record that began on `line` is handed to the output.
    void handed(std::size_t line) {
        if (!sink_) {
            last_ = line;
            return;
        }
        handed_.push_back({sink_->queued(), line});
        settle();
    }
    std::size_t last() { // its line, 0 for none
        settle();
        return last_;
    }
    bool allWritten() {
        settle();
        return handed_.empty();
    }
    // Some bytes of the row after the last are out too: a write the stop cut in two.
    bool partly() {
        settle();
        return sink_ && sink_->written() > lastEnd_;
    }

  private:
    void settle() {
        while (!handed_.empty() && handed_.front().first <= sink_->written()) {
            lastEnd_ = handed_.front().first;
            last_ = handed_.front().second;
            handed_.pop_front();
        }
    }
    const FdOutput* sink_;
    std::deque<std::pair<unsigned long long, std::size_t>> handed_; // the output's size at its end
    std::size_t last_ = 0;
    unsigned long long lastEnd_;
};

int runBatch(const Options& options, std::istream& in, std::ostream& out, std::ostream& err,
             std::ostream& sink, const std::string& source,
             const std::function<void()>& readFailure);

// One calculation per record, each row written as it is calculated: a batch of any length takes
// the memory of one row, and a batch cut off has every finished row written.
int runCsv(const Options& options, std::istream& stdinStream, std::ostream& out,
           std::ostream& err) {
    const std::string& path = *options.csvFile;
    std::unique_ptr<FdInput> file = path == "-" ? nullptr : openInput(path, out);
    std::istream fileStream(file.get());
    std::istream& in = file ? fileStream : stdinStream;
    const std::string source = path == "-" ? "standard input" : escapedForLine(path);
    const auto readFailure = [&] {
        if (const int error = file ? file->error() : streamError(in)) {
            throw UsageError("cannot read " + source + ": " + std::strerror(error));
        }
    };
    if (!options.encoding) {
        return runBatch(options, in, out, err, out, source, readFailure);
    }
    // read in the encoding, written back in it
    encoding::DecodingInput decoding(*in.rdbuf(), *options.encoding);
    encoding::EncodingOutput encoding(*out.rdbuf(), *options.encoding);
    std::istream decoded(&decoding);
    std::ostream encoded(&encoding);
    const int status = runBatch(options, decoded, encoded, err, out, source, readFailure);
    if (!encoding.finish()) {
        out.setstate(std::ios::badbit);
    }
    return status;
}

// The batch of runCsv, on its streams of UTF-8; `sink` is what `out` writes into in the end.
int runBatch(const Options& options, std::istream& in, std::ostream& out, std::ostream& err,
             std::ostream& sink, const std::string& source,
             const std::function<void()>& readFailure) {
    csv::Reader reader(in);
    if (const std::string_view mark = reader.foreignMark(); !mark.empty()) {
        throw UsageError(source + " begins with the byte-order mark of " + std::string(mark) +
                         ", not UTF-8: read it with --encoding " + std::string(mark));
    }
    csv::Row header;
    bool headed = reader.next(header);
    while (headed && reader.blank()) { // blank lines before the header
        headed = reader.next(header);
    }
    if (!headed) {
        readFailure();
        throw UsageError(reader.tooLong() ? "the first line of " + source + " is longer than 1 MiB"
                                          : source + " has no header row");
    }
    const Calculator& calculator = *options.calculator;
    std::vector<std::size_t> places; // each column's place among the calculator's fields
    std::vector<bool> given(calculator.fields.size());
    for (const std::string& name : header) {
        const Field* f = calculator.field(name);
        if (!f) {
            throw UsageError("unknown column '" + escapedForLine(name) + "' for " +
                             std::string(calculator.command));
        }
        places.push_back(static_cast<std::size_t>(f - calculator.fields.data()));
        if (given[places.back()]) {
            throw UsageError("the column '" + escapedForLine(name) + "' is named twice");
        }
        given[places.back()] = true;
    }
    for (const auto& [name, text] : options.values) {
        given[static_cast<std::size_t>(calculator.field(name) - calculator.fields.data())] = true;
    }

    const Texts base = startingTexts(calculator, options.values);
    std::vector<std::string> columns;
    if (calculator.columns) {
        columns = calculator.columns();
    } else {
        for (const Result* r : resultsOf(calculator, calculator.variant(options.variant))) {
            columns.emplace_back(r->name);
        }
    }
    for (const subprogram::Verdict& v : calculator.verdicts) {
        columns.emplace_back(v.name);
    }
    std::unordered_map<std::string, std::size_t> columnOf;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        columnOf.emplace(columns[c], c);
    }

    const std::string_view lineEnd = reader.lineEnd();
    std::string line = reader.byteOrderMark() ? "\xEF\xBB\xBF" : "";
    csv::Row top = header;
    top.insert(top.end(), columns.begin(), columns.end());
    top.push_back("error");
    csv::appendRow(line, top, lineEnd);
    out << line;

    bool failed = false;
    const Variant& variant = calculator.variant(options.variant);
    std::vector<std::string> results(
        columns.size()); // the row's result cells, kept from row to row
    RowForm form(calculator, variant, base, places, given, columnOf, results);
    // by column: the verdict it holds and the column of that verdict's result, or none; the
    // verdicts come after every result
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::vector<std::size_t> verdictIn(columns.size(), kNone), verdictResult(columns.size(), kNone);
    for (std::size_t v = 0; v < calculator.verdicts.size(); ++v) {
        const std::size_t column = columnOf.at(std::string(calculator.verdicts[v].name));
        verdictIn[column] = v;
        const auto result =
            columnOf.find(std::string(calculator.result(calculator.verdicts[v].result)->name));
        verdictResult[column] = result == columnOf.end() ? kNone : result->second;
    }
    std::vector<std::pair<std::size_t, std::size_t>> cellIn(columns.size()); // offset, length
    csv::Record record;
    std::string problem;
    WrittenRows written(sink);
    std::size_t cutShort = 0; // the line a record began on that a stop cut short
    while (out && !stopSignal() && reader.next(record)) {
        if (stopSignal() && reader.unterminated()) { // not the input's end: the rest never came
            cutShort = reader.line();
            break;
        }
        if (reader.blank()) {
            continue;
        }
        const std::vector<std::string_view>& row = record.cells;
        problem.clear();
        if (row.size() > header.size()) {
            problem = "row has " + std::to_string(row.size()) + " cells, the header " +
                      std::to_string(header.size());
        } else if (reader.unclosedQuote()) {
            problem = "the quote opened on line " + std::to_string(reader.unclosedQuote()) +
                      " is not closed";
        } else if (const std::size_t cell = firstNotText(record); cell != std::string::npos) {
            // never read as some other text: a GBK 嵌固 is no 铰支 or 自由
            problem = "column '" + escapedForLine(header[cell]) + "' is not " +
                      (options.encoding ? *options.encoding + " text"
                                        : "UTF-8 text: save the file as CSV UTF-8, or give its "
                                          "encoding with --encoding (GBK, GB18030 ...)");
        }
        form.clearResults();
        if (problem.empty()) {
            form.start(row);
            std::optional<Failure> failure;
            try {
                calculator.calculate(options.variant, form, nullptr);
            } catch (const FieldError& error) {
                failure = Failure{error.kind(), form.parameterOf(error.field()),
                                  form.text(error.field())};
            } catch (const CalcError& error) {
                failure = Failure{error.kind(), {}, {}};
            }
            if (const auto& read = form.failure()) { // a failed read came first
                failure = Failure{read->first, std::string(form.field(read->second).name),
                                  std::string(form.cell(read->second))};
            }
            if (failure) {
                problem = failureText(*failure, false);
            }
        }
        failed = failed || !problem.empty();
        // the row as it was read (its cells up to the header's count), the results, the error
        line.clear();
        if (record.verbatim && row.size() <= header.size()) {
            line += record.text; // no cell needs quotes
            line.append(header.size() - row.size(), ',');
        } else {
            for (std::size_t i = 0; i < header.size(); ++i) {
                if (i > 0) {
                    line += ',';
                }
                csv::appendField(line, i < row.size() ? row[i] : std::string_view());
            }
        }
        // each result formatted into the line; a verdict, after its result, reads what it wrote
        const auto textOf = [&](std::size_t c) {
            const auto [offset, length] = cellIn[c];
            return form.number(c) ? std::string_view(line).substr(offset, length)
                                  : std::string_view(results[c]);
        };
        for (std::size_t c = 0; c < results.size(); ++c) {
            line += ',';
            const std::size_t offset = line.size();
            if (const std::size_t v = verdictIn[c]; v == kNone) {
                form.appendCell(line, c);
                cellIn[c] = {offset, line.size() - offset};
            } else if (const std::size_t r = verdictResult[c];
                       problem.empty() && r != kNone && !textOf(r).empty()) {
                line += subprogram::meets(calculator.verdicts[v], textOf(r)) ? "yes" : "no";
            }
        }
        line += ',';
        csv::appendField(line, problem);
        line += lineEnd;
        out << line;
        written.handed(reader.line());
    }
    readFailure();
    if (const int signal = stopSignal()) {
        out.flush(); // what the reader takes within the grace
        sink.flush();
        const std::size_t last = written.last();
        err << "slopecalc: stopped by signal " << signal << "; "
            << (last ? "every row up to line " + std::to_string(last) + " of " + source +
                           " is written"
                     : "no row of " + source + " is written")
            << (written.partly() ? " (and part of the next)" : "")
            << (written.allWritten() ? "" : ", the rows calculated after it are dropped")
            << (cutShort
                    ? "; the incomplete record of line " + std::to_string(cutShort) + " is dropped"
                    : "")
            << '\n';
    }
    if (reader.tooLong()) {
        err << "slopecalc: line " << reader.line() << " of " << source
            << " holds a record longer than 1 MiB; the batch stops there\n";
        failed = true;
    }
    return failed ? kFailed : kCalculated;
}

// Every value the calculation formed, after the results, as the fields would write it.
void printTrace(const Trace& trace, std::ostream& out) {
    for (const Trace::Entry& e : trace.entries()) {
        if (e.remark.empty()) {
            out << e.name << '=' << valueText(e) << '\n';
        }
    }
}

std::string localTime() {
    const std::time_t now = std::time(nullptr);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", std::localtime(&now));
    return text;
}

// Written whole or not at all: a failed write leaves the file that was there.
void writeReport(ReportContext context, const CalculationRecord& record, const std::string& path) {
    context.timestamp = localTime();
    if (const auto error = writeWholeFile(path, reportHtml(context, record))) {
        throw NotWritten("cannot write " + escapedForLine(path) + ": " + error->text());
    }
}

// "a, b or c": the variants that calculate
std::string alternatives(std::span<const Variant> all) {
    std::vector<std::string_view> names;
    for (const Variant& v : all) {
        if (v.refusal.empty()) {
            names.push_back(v.name);
        }
    }
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        text += (i == 0 ? "" : i + 1 == names.size() ? " or " : ", ") + std::string(names[i]);
    }
    return text;
}

// A saved calculation: its calculator, variant and field texts.
subprogram::SavedCalculation readInput(const std::string& path) {
    std::string text;
    // a pipe or a device is read as a command line tool reads it, but no more than a file
    if (const auto error = readWholeFile(path, text, false)) {
        throw UsageError("cannot read " + escapedForLine(path) + ": " + error->text());
    }
    try {
        return subprogram::readSavedCalculation(text);
    } catch (const subprogram::SavedFileError& e) {
        throw UsageError(escapedForLine(path) + ": " + e.what());
    }
}

void printGeneralHelp(std::ostream& out) {
    out << "slopecalc — the slope support calculations without a window\n"
           "边坡支护计算程序的命令行计算器\n\n"
           "usage: slopecalc SUBCOMMAND [OPTIONS] [NAME=TEXT ...]\n"
           "       slopecalc SUBCOMMAND --csv FILE|-   one calculation per CSV row\n"
           "       slopecalc SUBCOMMAND --help         the names, units and defaults\n"
           "       slopecalc --input FILE.slope [OPTIONS] [NAME=TEXT ...]\n"
           "                                           a calculation saved by a window\n\n"
           "subcommands:\n";
    for (const Calculator* c : subprogram::calculators()) {
        out << "  " << c->command << std::string(16 - c->command.size(), ' ') << c->english << "\n"
            << std::string(18, ' ') << c->title << "\n";
    }
    out << "\noptions:\n";
    for (const OptionHelp& o : kOptions) {
        out << "  " << o.option << "\n      " << wrapped(o.text, 6, 80) << "\n";
    }
    out << "\n" << wrapped(kNumbersNote, 0, 80) << "\n\nexit status:\n";
    for (const StatusHelp& s : kStatuses) {
        out << "  " << s.status << std::string(7 - s.status.size(), ' ') << wrapped(s.text, 9, 80)
            << "\n";
    }
}

void printCommandHelp(const Calculator& c, std::ostream& out) {
    out << "slopecalc " << c.command << ": " << c.english << "\n" << c.title << "\n\n";
    out << "parameters (NAME=TEXT; names are case-sensitive):\n";
    for (const Field& f : c.fields) {
        out << "  " << f.name << std::string(10 - f.name.size(), ' ') << f.english << " [" << f.unit
            << "], default \"" << f.defaultText << "\"\n"
            << std::string(12, ' ') << fieldCaption(f) << "\n";
    }
    out << "\nresults: ";
    if (!c.resultsHelp.empty()) {
        out << c.resultsHelp << "\n";
    } else {
        for (const Result& r : c.results) {
            out << r.name << ' ';
        }
        out << "\n";
    }
    out << "\n" << wrapped(kNumbersNote, 0, 80) << "\n";
}

// Takes the value of "--name VALUE" or "--name=VALUE".
std::string optionValue(const std::vector<std::string>& args, std::size_t& i,
                        std::string_view option) {
    const std::string& arg = args[i];
    if (arg.size() > option.size() && arg[option.size()] == '=') {
        return arg.substr(option.size() + 1);
    }
    if (i + 1 >= args.size()) {
        throw UsageError(std::string(option) + " needs a value");
    }
    return args[++i];
}

bool isOption(const std::string& arg, std::string_view option) {
    return !option.empty() &&
           (arg == option ||
            (arg.size() > option.size() && arg.starts_with(option) && arg[option.size()] == '='));
}

// A variant chosen by a flag of its own ("--temporary"), or null.
const Variant* flagged(const Calculator& calculator, const std::string& arg) {
    for (const Variant& v : calculator.variants) {
        if (!v.flag.empty() && v.flag == arg) {
            return &v;
        }
    }
    return nullptr;
}

// NAME=TEXT
void parameter(Options& options, const Calculator& calculator, const std::string& arg) {
    const std::size_t equals = arg.find('=');
    if (equals == std::string::npos || equals == 0) {
        throw UsageError("malformed argument '" + escapedForLine(arg) + "': expected NAME=TEXT");
    }
    const std::string name = arg.substr(0, equals);
    if (!calculator.field(name)) {
        throw UsageError("unknown name '" + escapedForLine(name) + "' for " +
                         std::string(calculator.command) + "; see slopecalc " +
                         std::string(calculator.command) + " --help");
    }
    if (!options.values.emplace(name, arg.substr(equals + 1)).second) {
        throw UsageError("'" + escapedForLine(name) + "' is given twice");
    }
}

Options parseArguments(const std::vector<std::string>& args) {
    Options options;
    if (args.empty()) {
        throw UsageError("no subcommand; see slopecalc --help");
    }
    if (args[0] == "--help" || args[0] == "-h") {
        options.help = true;
        return options;
    }
    if (args[0] == "--version") {
        options.version = true;
        return options;
    }
    std::size_t first = 1;
    bool variantChosen = false;
    std::map<std::string, std::string> saved; // a saved calculation's texts, NAME=TEXT replaces
    if (isOption(args[0], "--input")) {
        std::size_t i = 0;
        const subprogram::SavedCalculation input = readInput(optionValue(args, i, "--input"));
        first = i + 1;
        options.calculator = input.calculator;
        options.variant = input.variant;
        variantChosen = true;
        for (const auto& [field, text] : input.inputs) {
            saved.emplace(input.calculator->fieldOfControl(field)->name, text);
        }
    } else {
        options.calculator = subprogram::calculatorByCommand(args[0]);
        if (!options.calculator) {
            throw UsageError("unknown subcommand '" + escapedForLine(args[0]) +
                             "'; see slopecalc --help");
        }
        options.variant = options.calculator->defaultVariant;
    }
    const Calculator& calculator = *options.calculator;
    const std::string command(calculator.command);
    // an option that chooses, given a second time
    const auto once = [](const std::string& arg, bool before) {
        if (before) {
            throw UsageError("'" + escapedForLine(arg.substr(0, arg.find('='))) +
                             "' is given twice");
        }
    };
    bool parametersOnly = false; // after "--"
    for (std::size_t i = first; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (parametersOnly || !arg.starts_with("-") ||
            (arg.find('=') != std::string::npos && !arg.starts_with("--"))) {
            parameter(options, calculator, arg);
        } else if (arg == "--") {
            parametersOnly = true;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--json") {
            options.json = true;
        } else if (arg == "--trace") {
            options.trace = true;
        } else if (isOption(arg, "--report")) {
            once(arg, options.reportFile.has_value());
            options.reportFile = optionValue(args, i, "--report");
        } else if (isOption(arg, "--csv")) {
            once(arg, options.csvFile.has_value());
            options.csvFile = optionValue(args, i, "--csv");
        } else if (isOption(arg, "--encoding")) {
            once(arg, options.encoding.has_value());
            options.encoding = optionValue(args, i, "--encoding");
        } else if (isOption(arg, calculator.variantOption)) {
            once(arg, variantChosen);
            variantChosen = true;
            const std::string name = optionValue(args, i, calculator.variantOption);
            const auto chosen = std::find_if(calculator.variants.begin(), calculator.variants.end(),
                                             [&](const Variant& v) { return v.name == name; });
            if (chosen == calculator.variants.end()) {
                throw UsageError(std::string(calculator.variantOption) + " is " +
                                 alternatives(calculator.variants) + ", not '" +
                                 escapedForLine(name) + "'");
            }
            options.variant = chosen->value;
        } else if (const Variant* v = flagged(calculator, arg)) {
            once(arg, variantChosen);
            variantChosen = true;
            options.variant = v->value;
        } else if (arg.find('=') == std::string::npos) {
            throw UsageError("unknown option '" + escapedForLine(arg) + "' for " + command);
        } else {
            parameter(options, calculator, arg);
        }
    }
    options.values.merge(saved); // what was given on the command line goes first
    if (options.json && options.csvFile) {
        throw UsageError("--json and --csv do not go together");
    }
    if (!options.help && !calculator.variant(options.variant).refusal.empty()) {
        throw UsageError(command + " needs " + std::string(calculator.variantOption) + " " +
                         alternatives(calculator.variants));
    }
    if (options.csvFile && (options.trace || options.reportFile)) {
        throw UsageError("--trace and --report are for one calculation, not a --csv batch");
    }
    if (options.encoding && !options.csvFile) {
        throw UsageError("--encoding is for a --csv batch");
    }
    if (options.encoding && !encoding::known(*options.encoding)) {
        throw UsageError("unknown encoding '" + escapedForLine(*options.encoding) +
                         "'; iconv -l lists the names");
    }
    return options;
}

} // namespace

namespace {

int run(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
        std::ostream& err) {
    const Options options = parseArguments(args);
    if (options.version) {
        out << "slopecalc " << kSlopecalcVersion << '\n';
        return kCalculated;
    }
    if (options.help) {
        options.calculator ? printCommandHelp(*options.calculator, out) : printGeneralHelp(out);
        return kCalculated;
    }
    if (options.csvFile) {
        return runCsv(options, in, out, err);
    }
    const Calculator& calculator = *options.calculator;
    std::vector<bool> given;
    for (const Field& f : calculator.fields) {
        given.push_back(options.values.contains(std::string(f.name)));
    }
    CalculationRecord record;
    std::optional<ReportContext> context;
    const bool recording = options.trace || options.reportFile;
    const Outcome outcome =
        calculate(options, startingTexts(calculator, options.values), given,
                  recording ? &record : nullptr, options.reportFile ? &context : nullptr);
    if (options.json) {
        printJson(outcome, options.trace ? &record.trace : nullptr, out);
    } else {
        for (const auto& [name, text] : outcome.results) {
            out << name << '=' << text << '\n';
        }
        for (const auto& [name, met] : outcome.verdicts) {
            out << name << '=' << (met ? "yes" : "no") << '\n';
        }
        if (options.trace) {
            printTrace(record.trace, out);
        }
    }
    if (outcome.failure && !options.json) {
        err << "error " << failureText(*outcome.failure, true) << '\n';
    }
    // the results first: a report that cannot be written takes nothing from them
    if (options.reportFile) { // /dev/stdout and /dev/stderr take it after what they hold
        out.flush();
        err.flush();
        writeReport(*context, record, *options.reportFile);
    }
    return outcome.failure ? kFailed : kCalculated;
}

} // namespace

int runSlopecalc(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                 std::ostream& err) {
    int status = kCalculated;
    try {
        status = run(args, in, out, err);
    } catch (const UsageError& error) {
        err << "slopecalc: " << error.what() << '\n';
        return kUsage;
    } catch (const NotWritten& error) {
        err << "slopecalc: " << error.what() << '\n';
        status = kNotWritten;
    }
    if (!out.flush() && !stopSignal()) { // a stop drops what its reader does not take
        const int error = streamError(out);
        err << "slopecalc: cannot write standard output"
            << (error ? std::string(": ") + std::strerror(error) : std::string()) << '\n';
        return kNotWritten;
    }
    return status;
}

std::span<const OptionHelp> slopecalcOptions() {
    return kOptions;
}

std::span<const StatusHelp> slopecalcStatuses() {
    return kStatuses;
}

const std::string_view kNumbersNote =
    "Numbers are read as the windows read them, with the PRC separators whatever the machine's "
    "locale: '.' is the decimal separator and ',' the thousands separator (1,234.5; quote such a "
    "value in CSV). Results are written as the windows show them.";

const std::string_view kSlopecalcVersion = SLOPE_VERSION;
