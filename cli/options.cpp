#include "options.h"

#include "calculators/registry.h"
#include "calculators/savedcalculation.h"
#include "cli/encoding.h"
#include "core/utf8.h"
#include "core/wholefile.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <ostream>
#include <span>

using subprogram::Calculator;
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
    {"--diagram N",
     "earth-pressure, gravity-wall and wall-pressure: after the results, the pressure's "
     "distribution with depth as CSV, a row z,p (m from the top, kPa) at each of N+1 equal steps "
     "over the height; wall-pressure's rows z,p_earth,p_water (at a stratum's boundary the "
     "stratum below)"},
    {"--vary NAME=FROM:TO:N|NAME=v1;v2;...",
     "a study of one parameter: N values from FROM to TO at equal steps (both included, N >= 2), "
     "or the values listed, the others as given; printed as a --csv batch of them would be"},
    {"--least NAME=FROM:TO[:STEP]",
     "anchor and gravity-wall: the least value of NAME from FROM to TO, in steps of STEP (0.001 "
     "when not given; the standard bar diameters for the anchor's d), at which every check "
     "holds; NAME=value and the results there, every range where all checks hold on standard "
     "error, status 1 when none does"},
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

// Wrapped to `width` columns of a terminal, each line after the first indented by `indent`. A
// character from U+3000 on (Chinese, full-width forms) takes two columns, any other one.
std::string wrapped(std::string_view text, std::size_t indent, std::size_t width) {
    std::string out, line;
    std::size_t column = indent; // of the line's end
    const auto length = [](std::string_view word) {
        std::size_t columns = 0;
        for (const char c : word) {
            const auto byte = static_cast<unsigned char>(c);
            columns += (byte & 0xC0) == 0x80 ? 0 : byte >= 0xE3 && byte < 0xF0 ? 2 : 1;
        }
        return columns;
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

// The options that take a text, each given once.
const std::pair<std::string_view, std::optional<std::string> Options::*> kTextOptions[] = {
    {"--report", &Options::reportFile},
    {"--vary", &Options::vary},
    {"--least", &Options::least},
    {"--csv", &Options::csvFile},
    {"--encoding", &Options::encoding}};

bool isOption(const std::string& arg, std::string_view option) {
    return !option.empty() && (arg == option || arg.starts_with(std::string(option) + '='));
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

} // namespace

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
        out << "  " << c->command << std::string(16 - c->command.size(), ' ')
            << wrapped(c->english, 18, 80) << "\n"
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
    out << wrapped("slopecalc " + std::string(c.command) + ": " + std::string(c.english), 4, 80)
        << "\n"
        << c.title << "\n\n";
    out << "parameters (NAME=TEXT; names are case-sensitive):\n";
    for (const Field& f : c.fields) {
        // a name too long for its column stands on a line of its own
        out << "  " << f.name
            << (f.name.size() < 10 ? std::string(10 - f.name.size(), ' ')
                                   : "\n" + std::string(12, ' '))
            << wrapped(std::string(f.english) + " [" + std::string(f.unit) + "], default \"" +
                           std::string(f.defaultText) + "\"",
                       12, 80)
            << "\n"
            << std::string(12, ' ') << fieldCaption(f) << "\n";
    }
    out << "\nresults:";
    if (!c.resultsHelp.empty()) {
        out << ' ' << c.resultsHelp << "\n";
    } else {
        for (const Result& r : c.results) {
            if (!r.hidden && !r.name.empty()) { // what a calculation prints
                out << ' ' << r.name;
            }
        }
        out << "\n";
    }
    if (!c.verdicts.empty()) {
        out << "checks (yes, no or not checked):";
        if (!c.checksHelp.empty()) {
            out << ' ' << c.checksHelp;
        }
        for (const subprogram::Verdict& v :
             c.checksHelp.empty() ? c.verdicts : std::span<const subprogram::Verdict>()) {
            out << ' ' << v.name;
        }
        out << "\n";
    }
    out << "\n" << wrapped(kNumbersNote, 0, 80) << "\n";
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
        options.title = input.title;
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
        } else if (const auto text = std::ranges::find_if(
                       kTextOptions, [&](const auto& o) { return isOption(arg, o.first); });
                   text != std::end(kTextOptions)) {
            std::optional<std::string>& value = options.*(text->second);
            once(arg, value.has_value());
            value = optionValue(args, i, text->first);
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--json") {
            options.json = true;
        } else if (arg == "--trace") {
            options.trace = true;
        } else if (isOption(arg, "--diagram")) {
            once(arg, options.diagramSteps != 0);
            const std::string steps = optionValue(args, i, "--diagram");
            int n = 0;
            const auto [end, ec] = std::from_chars(steps.data(), steps.data() + steps.size(), n);
            if (ec != std::errc() || end != steps.data() + steps.size() || n < 1 || n > 100000) {
                throw UsageError("--diagram takes a number of steps from 1 to 100000, not '" +
                                 escapedForLine(steps) + "'");
            }
            options.diagramSteps = n;
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
    if (options.vary || options.least) {
        const char* study = options.vary ? "--vary" : "--least";
        if (options.vary && options.least) {
            throw UsageError("--vary and --least do not go together");
        }
        if (options.csvFile || options.json || options.trace || options.reportFile ||
            options.diagramSteps != 0) {
            throw UsageError(std::string(study) +
                             " prints a table of its own: not with --csv, --json, --trace, "
                             "--report or --diagram");
        }
        if (options.least && calculator.verdicts.empty()) {
            throw UsageError("--least is for a calculator with checks (anchor, gravity-wall), "
                             "not " +
                             command);
        }
    }
    if (options.diagramSteps != 0 && !calculator.pressure && !calculator.profile) {
        throw UsageError("--diagram is for a calculator of earth pressure (earth-pressure, "
                         "gravity-wall, wall-pressure) or the anchored wall, not " +
                         command);
    }
    if (options.csvFile && options.diagramSteps != 0) {
        throw UsageError("--diagram is for one calculation, not a --csv batch");
    }
    if (options.encoding && !options.csvFile) {
        throw UsageError("--encoding is for a --csv batch");
    }
    if (options.encoding && (options.encoding->empty() || !encoding::known(*options.encoding))) {
        throw UsageError("unknown encoding '" + escapedForLine(*options.encoding) +
                         "'; iconv -l lists the names");
    }
    return options;
}

std::vector<std::string> startingTexts(const Calculator& calculator,
                                       const std::map<std::string, std::string>& values) {
    std::vector<std::string> texts;
    for (const Field& f : calculator.fields) {
        const auto given = values.find(std::string(f.name));
        texts.push_back(given != values.end() ? given->second : std::string(f.defaultText));
    }
    return texts;
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
