#include "slopecalc.h"

#include "cli/csv.h"
#include "routines/anchorbar.h"
#include "routines/beam.h"
#include "routines/calculators.h"
#include "routines/earthpressure.h"
#include "routines/gravitywall.h"
#include "routines/report.h"
#include "shell/form.h"

#include <algorithm>
#include <ctime>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <optional>
#include <span>
#include <sstream>
#include <stdexcept>

using namespace subprogram;

namespace {

using Command = CalculatorSpec;
using Parameter = FieldSpec;

// The places of the count and of the lengths in the beam's fields.
constexpr std::size_t kBeamCount = 0;
constexpr std::size_t kBeamLengths = 7;

const Command* const kCommands[] = {&kEarthPressureSpec, &kAnchorSpec, &kGravityWallSpec,
                                    &kBeamSpec};

const char* const kSeparatorsNote =
    "Numbers are read as the windows read them, with the PRC separators whatever the machine's\n"
    "locale: '.' is the decimal separator and ',' the thousands separator (1,234.5; quote such a\n"
    "value in CSV). Results are written as the windows show them.\n";

class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct Options;
std::span<const ResultSpec> resultNames(const Options& options);

struct Options {
    const Command* command = nullptr;
    EarthPressureMode mode = EarthPressureMode::Coulomb;
    bool temporary = false;
    WallType type = WallType::NotChosen;
    std::optional<std::string> csvFile;
    bool json = false;
    bool help = false;
    bool trace = false;
    std::optional<std::string> reportFile;
    std::map<std::string, std::string> values; // NAME=TEXT given on the command line
};

std::string englishEndToChinese(const std::string& text) {
    if (text == "hinged") {
        return "铰支";
    }
    if (text == "fixed") {
        return "嵌固";
    }
    if (text == "free") {
        return "自由";
    }
    return text;
}

// The parameters' texts of one calculation, by the parameter's place in its command's table.
using Texts = std::vector<std::string>;

// The defaults, with the values given as NAME=TEXT in their place.
Texts startingTexts(const Command& command, const std::map<std::string, std::string>& values) {
    Texts texts;
    for (const Parameter& p : command.fields) {
        const auto given = values.find(std::string(p.name));
        texts.push_back(given != values.end() ? given->second : std::string(p.defaultText));
    }
    return texts;
}

// The fields of one calculation, and its results in the order they are written.
class CommandLineForm : public Form {
  public:
    CommandLineForm(const Command& command, std::span<const ResultSpec> resultNames, Texts texts)
        : command_(command), resultNames_(resultNames), texts_(std::move(texts)) {}

    std::string text(std::string_view field) const override {
        const std::size_t i = indexOf(field);
        const std::string_view f = field;
        if (f == "Combo5" || f == "Combo6") {
            return englishEndToChinese(texts_[i]);
        }
        return texts_[i];
    }
    void setText(std::string_view field, const std::string& text) override {
        for (const ResultSpec& r : resultNames_) {
            if (r.field == field) {
                results.emplace_back(std::string(r.name), text);
            }
        }
    }

    // The parameter whose field this is.
    std::string parameterOf(std::string_view field) const {
        return std::string(command_.fields[indexOf(field)].name);
    }

    std::vector<std::pair<std::string, std::string>> results;

  private:
    std::size_t indexOf(std::string_view field) const {
        const Parameter* p = fieldOfControl(command_, field);
        if (!p) {
            throw std::logic_error("no parameter for the field " + std::string(field));
        }
        return static_cast<std::size_t>(p - command_.fields.data());
    }

    const Command& command_;
    std::span<const ResultSpec> resultNames_;
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

std::vector<double> readLengths(std::string_view text) {
    std::vector<double> lengths;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(';', start);
        if (end == std::string_view::npos) {
            lengths.push_back(textToDouble(text.substr(start)));
            return lengths;
        }
        lengths.push_back(textToDouble(text.substr(start, end - start)));
        start = end + 1;
    }
}

// `countGiven`: whether the beam's count was given; without it, it follows the list of lengths.
// `countGiven`: whether the beam's count was given; without it, it follows the list of lengths.
// With `record`, what the calculation reads, forms and writes is recorded for a report.
Outcome calculate(const Options& options, Texts texts, bool countGiven,
                  CalculationRecord* record = nullptr) {
    if (options.command->command == "beam" && !countGiven) {
        const std::string& lengths = texts[kBeamLengths];
        if (!lengths.empty()) {
            texts[kBeamCount] = std::to_string(std::count(lengths.begin(), lengths.end(), ';') + 1);
        }
    }
    CommandLineForm form(*options.command, resultNames(options), std::move(texts));
    const auto run = [&](Form& fields, Trace* trace) {
        const std::string_view name = options.command->command;
        if (name == "earth-pressure") {
            calculateEarthPressure(static_cast<std::int16_t>(options.mode), fields, trace);
        } else if (name == "anchor") {
            calculateAnchorBar(!options.temporary, fields, trace);
        } else if (name == "gravity-wall") {
            calculateGravityWall(options.type, fields, trace);
        } else {
            // beyond the window: one length per span, in the place of 2 m for every span
            std::optional<std::vector<double>> lengths;
            if (const std::string text = fields.text("lengths"); !text.empty()) {
                const int n = fields.readWith("Combo1", spanCount);
                lengths = fields.readWith("lengths", readLengths);
                if (lengths->size() != static_cast<std::size_t>(n)) {
                    throw FieldError(CalcError(ErrorKind::InvalidArgument), "lengths");
                }
            }
            const auto moments = calculateBeam(fields, lengths, trace);
            for (std::size_t i = 0; i < moments.size(); ++i) {
                const std::string span = "M" + std::to_string(i + 1);
                form.results.emplace_back(span + "_upper", doubleToText(moments[i].upper));
                form.results.emplace_back(span + "_lower", doubleToText(moments[i].lower));
            }
        }
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

std::span<const ResultSpec> resultNames(const Options& options) {
    const std::string_view command = options.command->command;
    if (command == "earth-pressure") { // Ka, Ea, then K0, E0
        return options.command->results.subspan(options.mode == EarthPressureMode::AtRest ? 2 : 0,
                                                2);
    }
    if (command == "beam") {
        return {}; // every span's moments, from the solver
    }
    return options.command->results;
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
    const Command& command = *options.command;
    std::vector<std::size_t> places; // each column's place in the command's parameters
    for (const std::string& name : header) {
        const Parameter* p = findField(command, name);
        if (!p) {
            throw UsageError("unknown column '" + name + "' for " + std::string(command.command));
        }
        places.push_back(static_cast<std::size_t>(p - command.fields.data()));
    }
    const bool countGiven = options.values.contains("n") ||
                            std::find(header.begin(), header.end(), "n") != header.end();

    const Texts base = startingTexts(command, options.values);
    std::vector<std::string> columns;
    for (const ResultSpec& r : resultNames(options)) {
        columns.emplace_back(r.name);
    }
    // The beam's columns follow the largest span count of the batch, known only at its end;
    // the other calculators' rows go out as they are calculated.
    const bool buffered = columns.empty();

    std::string output;
    bool failed = false;
    const auto appendResults = [&](csv::Row& line, const Outcome& outcome) {
        // results come in the columns' order, a failed calculation's cut short
        for (std::size_t c = 0; c < columns.size(); ++c) {
            line.push_back(c < outcome.results.size() ? outcome.results[c].second : "");
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
        Outcome outcome = calculate(options, std::move(texts), countGiven);
        if (buffered) {
            rows.push_back(row);
            outcomes.push_back(std::move(outcome));
        } else {
            appendResults(row, outcome);
        }
    }

    if (buffered) {
        std::size_t most = 0;
        for (const Outcome& o : outcomes) {
            most = std::max(most, o.results.size());
        }
        for (std::size_t i = 1; i <= most / 2; ++i) {
            columns.push_back("M" + std::to_string(i) + "_upper");
            columns.push_back("M" + std::to_string(i) + "_lower");
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

void writeReport(const Options& options, const CalculationRecord& record, const std::string& path) {
    const std::string_view command = options.command->command;
    ReportContext context = command == "earth-pressure"
                                ? earthPressureReport(static_cast<std::int16_t>(options.mode))
                            : command == "anchor"       ? anchorReport(!options.temporary)
                            : command == "gravity-wall" ? gravityWallReport(options.type)
                                                        : ReportContext{&kBeamSpec, {}, {}, {}, {}};
    if (command == "beam") {
        // the texts as the calculation read them: end supports already in Chinese
        const auto text = [&](std::string_view field) {
            for (const auto& [f, t] : record.inputs) {
                if (f == field) {
                    return t;
                }
            }
            return std::string();
        };
        const std::string spans = options.values.contains("lengths")
                                      ? "各跨跨度 " + options.values.at("lengths") + " m"
                                      : "每跨 2.0 m";
        context = beamReport(text("Combo5"), text("Combo6"), spans);
        try {
            BeamSketch sketch;
            drawBeamSketch(text("Combo1"), text("Combo5"), text("Combo6"), false, sketch);
            context.drawing = sketchSvg(sketch);
        } catch (const CalcError&) {
            // a count the sketch cannot use: the report goes without it
        }
    }
    context.timestamp = localTime();
    std::ofstream file(path, std::ios::binary);
    file << reportHtml(context, record);
    if (!file) {
        throw UsageError("cannot write " + path);
    }
}

void printGeneralHelp(std::ostream& out) {
    out << "slopecalc — the slope support calculations without a window\n"
           "边坡支护计算程序的命令行计算器\n\n"
           "usage: slopecalc SUBCOMMAND [OPTIONS] [NAME=TEXT ...]\n"
           "       slopecalc SUBCOMMAND --csv FILE|-   one calculation per CSV row\n"
           "       slopecalc SUBCOMMAND --help         the names, units and defaults\n\n"
           "subcommands:\n";
    for (const Command* c : kCommands) {
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

void printCommandHelp(const Command& c, std::ostream& out) {
    out << "slopecalc " << c.command << ": " << c.english << "\n" << c.title << "\n\n";
    out << "parameters (NAME=TEXT; names are case-sensitive):\n";
    for (const Parameter& p : c.fields) {
        out << "  " << p.name << std::string(10 - p.name.size(), ' ') << p.english << " [" << p.unit
            << "], default \"" << p.defaultText << "\"\n"
            << std::string(12, ' ') << p.caption << "\n";
    }
    out << "\nresults: ";
    if (c.command == "earth-pressure") {
        out << "Ka Ea (coulomb, limited-fill), K0 E0 (at-rest)\n";
    } else if (c.command == "beam") {
        out << "M<i>_upper M<i>_lower for every span i, in kN·m\n"
               "an end condition other than the six words is taken as free, as in the window\n";
    } else {
        for (const ResultSpec& r : c.results) {
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
    return arg == option ||
           (arg.size() > option.size() && arg.starts_with(option) && arg[option.size()] == '=');
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
    for (const Command* c : kCommands) {
        if (args[0] == c->command) {
            options.command = c;
        }
    }
    if (!options.command) {
        throw UsageError("unknown subcommand '" + args[0] + "'; see slopecalc --help");
    }
    const std::string_view command = options.command->command;
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
        } else if (command == "earth-pressure" && isOption(arg, "--mode")) {
            const std::string mode = optionValue(args, i, "--mode");
            if (mode == "coulomb") {
                options.mode = EarthPressureMode::Coulomb;
            } else if (mode == "at-rest") {
                options.mode = EarthPressureMode::AtRest;
            } else if (mode == "limited-fill") {
                options.mode = EarthPressureMode::LimitedFill;
            } else {
                throw UsageError("--mode is coulomb, at-rest or limited-fill, not '" + mode + "'");
            }
        } else if (command == "anchor" && arg == "--temporary") {
            options.temporary = true;
        } else if (command == "gravity-wall" && isOption(arg, "--type")) {
            const std::string type = optionValue(args, i, "--type");
            if (type == "upright") {
                options.type = WallType::Upright;
            } else if (type == "shelf") {
                options.type = WallType::Shelf;
            } else if (type == "none") {
                options.type = WallType::NotChosen;
            } else {
                throw UsageError("--type is upright, shelf or none, not '" + type + "'");
            }
        } else if (arg.starts_with("-") && arg.find('=') == std::string::npos) {
            throw UsageError("unknown option '" + arg + "' for " + std::string(command));
        } else {
            const std::size_t equals = arg.find('=');
            if (equals == std::string::npos || equals == 0) {
                throw UsageError("malformed argument '" + arg + "': expected NAME=TEXT");
            }
            const std::string name = arg.substr(0, equals);
            if (!findField(*options.command, name)) {
                throw UsageError("unknown name '" + name + "' for " + std::string(command) +
                                 "; see slopecalc " + std::string(command) + " --help");
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
            options.command ? printCommandHelp(*options.command, out) : printGeneralHelp(out);
            return 0;
        }
        if (options.csvFile) {
            return runCsv(options, in, out);
        }
        CalculationRecord record;
        const bool recording = options.trace || options.reportFile;
        const Outcome outcome =
            calculate(options, startingTexts(*options.command, options.values),
                      options.values.contains("n"), recording ? &record : nullptr);
        if (options.reportFile) {
            writeReport(options, record, *options.reportFile);
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
