#include "slopecalc.h"

#include "calculators/registry.h"
#include "cli/csv.h"
#include "report/report.h"

#include <algorithm>
#include <ctime>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <optional>
#include <span>
#include <stdexcept>

using subprogram::Calculator;
using subprogram::Choice;
using subprogram::Field;
using subprogram::Result;
using subprogram::Variant;

namespace {

const char* const kSeparatorsNote =
    "Numbers are read as the windows read them, with the PRC separators whatever the machine's\n"
    "locale: '.' is the decimal separator and ',' the thousands separator (1,234.5; quote such a\n"
    "value in CSV). Results are written as the windows show them.\n";

class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct Options {
    const Calculator* calculator = nullptr;
    int variant = 0;
    std::optional<std::string> csvFile;
    bool json = false;
    bool help = false;
    bool trace = false;
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
        for (const Result* r : results_) {
            if (r->control == field) {
                results.emplace_back(std::string(r->name), text);
                return;
            }
        }
        if (!calculator_.result(field)) {
            results.emplace_back(std::string(field), text);
        }
    }

    // The parameter whose field this is.
    std::string parameterOf(std::string_view field) const {
        return std::string(fieldOf(field).name);
    }

    std::vector<std::pair<std::string, std::string>> results;

  private:
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
        *context = reportContext(calculator, options.variant, form);
        if (calculator.sketch) {
            try {
                Sketch sketch;
                calculator.sketch(options.variant, form, sketch);
                (*context)->drawing = sketchSvg(sketch);
            } catch (const CalcError&) {
                // fields the sketch cannot use: the report goes without it
            }
        }
    }
    outcome.results = std::move(form.results);
    return outcome;
}

std::string failureText(const Failure& f, bool withText) {
    std::string text =
        std::to_string(static_cast<int>(f.kind)) + (withText ? ": " : " ") + kindName(f.kind);
    if (!f.parameter.empty()) {
        text += " (" + f.parameter;
        if (withText) {
            text += "=\"" + f.text + "\"";
        }
        text += ")";
    }
    return text;
}

std::string jsonString(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                out += buffer;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

void printJson(const Outcome& outcome, std::ostream& out) {
    out << "{";
    const char* separator = "";
    for (const auto& [name, text] : outcome.results) {
        out << separator << jsonString(name) << ": " << text; // every result text is a JSON number
        separator = ", ";
    }
    if (outcome.failure) {
        const Failure& f = *outcome.failure;
        out << separator << "\"error\": {\"number\": " << static_cast<int>(f.kind)
            << ", \"kind\": " << jsonString(kindName(f.kind));
        if (!f.parameter.empty()) {
            out << ", \"parameter\": " << jsonString(f.parameter)
                << ", \"text\": " << jsonString(f.text);
        }
        out << "}";
    }
    out << "}\n";
}

int runCsv(const Options& options, std::istream& in, std::ostream& out) {
    std::ifstream file;
    std::istream* source = &in;
    if (*options.csvFile != "-") {
        file.open(*options.csvFile, std::ios::binary);
        if (!file) {
            throw UsageError("cannot read " + *options.csvFile);
        }
        source = &file;
    }
    const std::string input{std::istreambuf_iterator<char>(*source), {}};
    csv::Reader reader(input);
    csv::Row header;
    if (!reader.next(header)) {
        throw UsageError("the CSV has no header row");
    }
    const Calculator& calculator = *options.calculator;
    std::vector<std::size_t> places; // each column's place among the calculator's fields
    std::vector<bool> given(calculator.fields.size());
    for (const std::string& name : header) {
        const Field* f = calculator.field(name);
        if (!f) {
            throw UsageError("unknown column '" + name + "' for " +
                             std::string(calculator.command));
        }
        places.push_back(static_cast<std::size_t>(f - calculator.fields.data()));
        given[places.back()] = true;
    }
    for (const auto& [name, text] : options.values) {
        given[static_cast<std::size_t>(calculator.field(name) - calculator.fields.data())] = true;
    }

    const Texts base = startingTexts(calculator, options.values);
    std::vector<std::string> columns;
    for (const Result* r : resultsOf(calculator, calculator.variant(options.variant))) {
        columns.emplace_back(r->name);
    }
    // Results that depend on the calculation (the beam's spans) take their columns from the
    // whole batch, known only at its end; the other calculators' rows go out as they are
    // calculated.
    const bool buffered = columns.empty();

    std::string output;
    bool failed = false;
    const auto appendResults = [&](csv::Row& line, const Outcome& outcome) {
        for (const std::string& column : columns) {
            const auto r = std::find_if(outcome.results.begin(), outcome.results.end(),
                                        [&](const auto& result) { return result.first == column; });
            line.push_back(r != outcome.results.end() ? r->second : "");
        }
        line.push_back(outcome.failure ? failureText(*outcome.failure, false) : "");
        failed = failed || outcome.failure.has_value();
        csv::appendRow(output, line);
    };
    const auto appendHeader = [&] {
        csv::Row top = header;
        top.insert(top.end(), columns.begin(), columns.end());
        top.push_back("error");
        csv::appendRow(output, top);
    };
    if (!buffered) {
        appendHeader();
    }

    std::vector<csv::Row> rows;
    std::vector<Outcome> outcomes;
    csv::Row row;
    while (reader.next(row)) {
        if (row.size() == 1 && row.front().empty()) {
            continue; // a blank line
        }
        row.resize(header.size());
        Texts texts = base;
        for (std::size_t i = 0; i < places.size(); ++i) {
            texts[places[i]] = row[i];
        }
        Outcome outcome = calculate(options, std::move(texts), given);
        if (buffered) {
            rows.push_back(row);
            outcomes.push_back(std::move(outcome));
        } else {
            appendResults(row, outcome);
        }
    }

    if (buffered) {
        for (const Outcome& o : outcomes) {
            for (const auto& [name, text] : o.results) {
                if (std::find(columns.begin(), columns.end(), name) == columns.end()) {
                    columns.push_back(name);
                }
            }
        }
        appendHeader();
        for (std::size_t r = 0; r < rows.size(); ++r) {
            appendResults(rows[r], outcomes[r]);
        }
    }
    out << output;
    return failed ? 1 : 0;
}

// Every value the calculation formed, after the results, as the fields would write it.
void printTrace(const Trace& trace, std::ostream& out) {
    for (const Trace::Entry& e : trace.entries()) {
        if (e.remark.empty()) {
            out << e.name << '='
                << (e.single ? singleToText(static_cast<float>(e.value)) : doubleToText(e.value))
                << '\n';
        }
    }
}

std::string localTime() {
    const std::time_t now = std::time(nullptr);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", std::localtime(&now));
    return text;
}

void writeReport(ReportContext context, const CalculationRecord& record, const std::string& path) {
    context.timestamp = localTime();
    std::ofstream file(path, std::ios::binary);
    file << reportHtml(context, record);
    if (!file) {
        throw UsageError("cannot write " + path);
    }
}

// "a, b or c"
std::string alternatives(std::span<const Variant> variants) {
    std::string text;
    for (std::size_t i = 0; i < variants.size(); ++i) {
        text += (i == 0                     ? ""
                 : i + 1 == variants.size() ? " or "
                                            : ", ") +
                std::string(variants[i].name);
    }
    return text;
}

void printGeneralHelp(std::ostream& out) {
    out << "slopecalc — the slope support calculations without a window\n"
           "边坡支护计算程序的命令行计算器\n\n"
           "usage: slopecalc SUBCOMMAND [OPTIONS] [NAME=TEXT ...]\n"
           "       slopecalc SUBCOMMAND --csv FILE|-   one calculation per CSV row\n"
           "       slopecalc SUBCOMMAND --help         the names, units and defaults\n\n"
           "subcommands:\n";
    for (const Calculator* c : subprogram::calculators()) {
        out << "  " << c->command << std::string(16 - c->command.size(), ' ') << c->english << "\n"
            << std::string(18, ' ') << c->title << "\n";
    }
    out << "\noptions: --json prints one JSON object; --csv FILE reads a CSV whose first row "
           "names\n"
           "the parameters (missing columns take their defaults) and writes it back with the\n"
           "results and an error column.\n\n"
        << kSeparatorsNote
        << "\nexit status: 0 all calculated, 1 a calculation failed, 2 a usage error.\n";
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
    out << "\n" << kSeparatorsNote;
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

Options parseArguments(const std::vector<std::string>& args) {
    Options options;
    if (args.empty()) {
        throw UsageError("no subcommand; see slopecalc --help");
    }
    if (args[0] == "--help" || args[0] == "-h") {
        options.help = true;
        return options;
    }
    options.calculator = subprogram::calculatorByCommand(args[0]);
    if (!options.calculator) {
        throw UsageError("unknown subcommand '" + args[0] + "'; see slopecalc --help");
    }
    const Calculator& calculator = *options.calculator;
    const std::string command(calculator.command);
    options.variant = calculator.defaultVariant;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--json") {
            options.json = true;
        } else if (arg == "--trace") {
            options.trace = true;
        } else if (isOption(arg, "--report")) {
            options.reportFile = optionValue(args, i, "--report");
        } else if (isOption(arg, "--csv")) {
            options.csvFile = optionValue(args, i, "--csv");
        } else if (isOption(arg, calculator.variantOption)) {
            const std::string name = optionValue(args, i, calculator.variantOption);
            const auto chosen = std::find_if(calculator.variants.begin(), calculator.variants.end(),
                                             [&](const Variant& v) { return v.name == name; });
            if (chosen == calculator.variants.end()) {
                throw UsageError(std::string(calculator.variantOption) + " is " +
                                 alternatives(calculator.variants) + ", not '" + name + "'");
            }
            options.variant = chosen->value;
        } else if (const Variant* v = flagged(calculator, arg)) {
            options.variant = v->value;
        } else if (arg.starts_with("-") && arg.find('=') == std::string::npos) {
            throw UsageError("unknown option '" + arg + "' for " + command);
        } else {
            const std::size_t equals = arg.find('=');
            if (equals == std::string::npos || equals == 0) {
                throw UsageError("malformed argument '" + arg + "': expected NAME=TEXT");
            }
            const std::string name = arg.substr(0, equals);
            if (!calculator.field(name)) {
                throw UsageError("unknown name '" + name + "' for " + command + "; see slopecalc " +
                                 command + " --help");
            }
            if (!options.values.emplace(name, arg.substr(equals + 1)).second) {
                throw UsageError("'" + name + "' is given twice");
            }
        }
    }
    if (options.json && options.csvFile) {
        throw UsageError("--json and --csv do not go together");
    }
    if (options.csvFile && (options.trace || options.reportFile)) {
        throw UsageError("--trace and --report are for one calculation, not a --csv batch");
    }
    return options;
}

} // namespace

int runSlopecalc(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                 std::ostream& err) {
    try {
        const Options options = parseArguments(args);
        if (options.help) {
            options.calculator ? printCommandHelp(*options.calculator, out) : printGeneralHelp(out);
            return 0;
        }
        if (options.csvFile) {
            return runCsv(options, in, out);
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
        if (options.reportFile) {
            writeReport(*context, record, *options.reportFile);
        }
        if (options.json) {
            printJson(outcome, out);
        } else {
            for (const auto& [name, text] : outcome.results) {
                out << name << '=' << text << '\n';
            }
            if (options.trace) {
                printTrace(record.trace, out);
            }
            if (outcome.failure) {
                err << "error " << failureText(*outcome.failure, true) << '\n';
            }
        }
        return outcome.failure ? 1 : 0;
    } catch (const UsageError& error) {
        err << "slopecalc: " << error.what() << '\n';
        return 2;
    }
}
