#include "slopecalc.h"

#include "cli/csv.h"
#include "routines/anchorbar.h"
#include "routines/beam.h"
#include "routines/earthpressure.h"
#include "routines/gravitywall.h"
#include "shell/form.h"

#include <algorithm>
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

struct Parameter {
    std::string_view name;        // on the command line and in CSV headers
    std::string_view field;       // the window's field; empty for a value beyond the window
    std::string_view defaultText; // the field's default text
    std::string_view unit;
    std::string_view english;
    std::string_view chinese; // the window's caption
};

struct ResultName {
    std::string_view field;
    std::string_view name;
};

struct Command {
    const char* name;
    const char* english;
    const char* chinese;
    std::span<const Parameter> parameters;
    std::span<const ResultName> results; // in the window's write order
};

// clang-format off
const Parameter kEarthPressure[] = {
    {"H",       "hx",   "5",   "m",      "height of the wall",                          "挡土墙高度H(米)"},
    {"gamma",   "Yx",   "18",  "kN/m3",  "unit weight of the soil",                     "土体重度Y(KN/M3)"},
    {"phi",     "Fix",  "30",  "degree", "internal friction angle (not read by limited-fill)", "土的内摩擦角Fi(度)"},
    {"q",       "Qx",   "1.5", "kPa",    "uniform load on the ground surface",          "地表均布荷载标准值q(KPa)"},
    {"c",       "Cx",   "0",   "kPa",    "cohesion of the soil",                        "土的粘聚力c(KPa)"},
    {"delta",   "STx",  "0",   "degree", "friction angle between soil and wall back",   "土对挡土墙墙背的摩擦角ST"},
    {"beta",    "Bx",   "0",   "degree", "angle between fill surface and horizontal",   "填土表面与水平面的夹角B"},
    {"alpha",   "ax",   "90",  "degree", "angle between wall back and horizontal",      "墙背与水平面的夹角a"},
    {"theta",   "SSx",  "45",  "degree", "slip surface angle; rock face inclination for limited-fill", "滑裂面与水平面的夹角ss / 稳定岩石坡面的倾角"},
    {"delta_r", "strx", "12",  "degree", "friction between rock face and fill (limited-fill only)", "稳定岩石坡面与填土间的摩擦角str"},
};
const ResultName kActiveResults[] = {{"Kax", "Ka"}, {"Eax", "Ea"}};
const ResultName kAtRestResults[] = {{"K0ix", "K0"}, {"E0ix", "E0"}};

const Parameter kAnchor[] = {
    {"a",      "Text1",  "0",    "degree", "inclination of the anchor",                    "锚杆倾角a(度)"},
    {"Htk",    "Text2",  "10",   "kN",     "standard value of the horizontal tension",     "锚杆水平拉力标准值(KN)"},
    {"fy",     "Text3",  "310",  "kPa",    "design tensile strength of the bar",           "锚筋抗拉强度设计值(kPa)"},
    {"gamma0", "Text4",  "1.1",  "-",      "importance factor of the building slope",      "建筑边坡重要性系数"},
    {"frb",    "Text9",  "180",  "kPa",    "bond strength between rock and anchor body",   "岩石与锚固体粘结强度特征值(kPa)"},
    {"D",      "Text10", "140",  "mm",     "diameter of the anchor body",                  "锚固体直径(mm)"},
    {"d",      "Text11", "22",   "mm",     "diameter of one bar",                          "锚筋直径(mm)"},
    {"fb",     "Text12", "2700", "kPa",    "bond strength between bar and grout",          "钢砂浆间的粘结强度(kPa)"},
};
const ResultName kAnchorResults[] = {{"Text5", "Na"}, {"Text6", "As"}, {"Text7", "la"}, {"Text8", "lb"}};

const Parameter kGravityWall[] = {
    {"alpha",   "Text3",  "90",    "degree", "wall back inclination",                     "挡墙墙背倾角α(度)"},
    {"delta",   "Text4",  "10",    "degree", "friction angle between soil and wall back", "岩土对挡墙墙背摩擦角δ(度)"},
    {"gamma",   "Yx",     "20",    "kN/m3",  "unit weight of the soil",                   "土体重度Y(KN/M3)"},
    {"H",       "hx",     "2.6",   "m",      "height of the retained soil",               "挡土墙高度H(米)"},
    {"phi",     "Fix",    "30",    "degree", "internal friction angle of the soil",       "土的内摩擦角Fi(度)"},
    {"q",       "Qx",     "10",    "kPa",    "uniform surface load",                      "地表均布荷载标准值q(KPa)"},
    {"c",       "Cx",     "0",     "kPa",    "cohesion of the soil",                      "土的粘聚力c(KPa)"},
    {"beta",    "Bx",     "0",     "degree", "angle between backfill surface and horizontal", "填土表面与水平面的夹角B"},
    {"alpha0",  "Text2",  "11.3",  "degree", "base inclination",                          "挡墙基底倾角α0(度)"},
    {"mu",      "Text5",  "0.3",   "-",      "friction coefficient between soil and base", "岩土对挡墙基底的摩擦系数"},
    {"b",       "Text8",  "1.49",  "m",      "horizontal projected width of the base",    "基底的水平投影宽度b(m)"},
    {"gamma_w", "Text11", "24",    "kN/m3",  "unit weight of the wall material",          "挡墙材料重度(KN/M)"},
    {"b1",      "Text12", "0.5",   "m",      "top width",                                 "墙顶宽度b1(M)"},
    {"Ht",      "Text14", "4",     "m",      "total wall height",                         "墙体总高H(M)"},
    {"n",       "Text15", "0.05",  "-",      "batter of the wall face",                   "墙面坡率"},
    {"x2",      "Text26", "0.35",  "-",      "back slope of the upper wall (shelf type)", "x2"},
    {"h1",      "Text19", "2",     "m",      "toe block height / upper wall height",      "h1(m)"},
    {"h2",      "Text20", "0.298", "m",      "rise of the base from heel to toe",         "h2(m)"},
    {"b2",      "Text22", "1.30",  "m",      "toe block width / upper wall bottom width", "b2(m)"},
    {"b3",      "Text21", "1.03",  "m",      "front band of the lower wall (shelf type)", "b3(m)"},
    {"b4",      "Text23", "0.45",  "m",      "toe projection of the footing (shelf type)", "b4(m)"},
    {"b5",      "Text24", ".5",    "m",      "top width of the upper wall (shelf type)",  "b5(m)"},
    {"h4",      "Text25", "0.65",  "m",      "footing height (shelf type)",               "h4(m)"},
    {"x3",      "Text27", "0.25",  "-",      "back slope of the lower wall (shelf type)", "x3"},
};
const ResultName kGravityResults[] = {{"Text1", "Ka"},   {"Text6", "Ea"},   {"Text7", "G"},
                                      {"Text13", "x0"},  {"Text10", "Kt"},  {"Text9", "Ks"},
                                      {"Text16", "pmax"}, {"Text17", "e"},  {"Text18", "pmin"}};

const Parameter kBeam[] = {
    {"n",       "Combo1", "2",    "-",    "number of spans, 1 to 99",                          "跨数"},
    {"b",       "Combo3", "200",  "mm",   "section width",                                     "梁宽(mm)"},
    {"h",       "Combo4", "300",  "mm",   "section height",                                    "梁高(mm)"},
    {"q",       "Text2",  "10",   "kN/m", "design load below the kink",                        "荷载(KN/M)"},
    {"upper",   "Combo5", "铰支", "-",    "upper end: 铰支|hinged, 嵌固|fixed, 自由|free",      "上端支座"},
    {"lower",   "Combo6", "铰支", "-",    "lower end: 铰支|hinged, 嵌固|fixed, 自由|free",      "下端支座"},
    {"grade",   "Combo2", "C20",  "-",    "concrete grade C15 … C40",                          "混凝土强度"},
    {"lengths", "",       "",     "m",    "span lengths separated by ';' (default: every span 2 m)", "各跨跨度"},
};
// clang-format on

// The places of the count and of the lengths in kBeam.
constexpr std::size_t kBeamCount = 0;
constexpr std::size_t kBeamLengths = 7;

const Command kCommands[] = {
    {"earth-pressure", "earth pressure on a retaining wall (--mode coulomb|at-rest|limited-fill)",
     "土压力计算", kEarthPressure, kActiveResults},
    {"anchor", "grouted rock anchor bar (--temporary for a temporary anchor)", "锚杆计算", kAnchor,
     kAnchorResults},
    {"gravity-wall", "gravity retaining wall (--type upright|shelf|none, default none)",
     "重力式挡墙计算", kGravityWall, kGravityResults},
    {"beam", "continuous member under earth pressure", "连续梁计算", kBeam, {}},
};

const char* const kSeparatorsNote =
    "Numbers are read as the windows read them, with the PRC separators whatever the machine's\n"
    "locale: '.' is the decimal separator and ',' the thousands separator (1,234.5; quote such a\n"
    "value in CSV). Results are written as the windows show them.\n";

class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct Options;
std::span<const ResultName> resultNames(const Options& options);

struct Options {
    const Command* command = nullptr;
    EarthPressureMode mode = EarthPressureMode::Coulomb;
    bool temporary = false;
    WallType type = WallType::NotChosen;
    std::optional<std::string> csvFile;
    bool json = false;
    bool help = false;
    std::map<std::string, std::string> values; // NAME=TEXT given on the command line
};

const Parameter* findParameter(const Command& command, std::string_view name) {
    for (const Parameter& p : command.parameters) {
        if (p.name == name) {
            return &p;
        }
    }
    return nullptr;
}

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
    for (const Parameter& p : command.parameters) {
        const auto given = values.find(std::string(p.name));
        texts.push_back(given != values.end() ? given->second : std::string(p.defaultText));
    }
    return texts;
}

// The fields of one calculation, and its results in the order they are written.
class CommandLineForm : public Form {
  public:
    CommandLineForm(const Command& command, std::span<const ResultName> resultNames, Texts texts)
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
        for (const ResultName& r : resultNames_) {
            if (r.field == field) {
                results.emplace_back(std::string(r.name), text);
            }
        }
    }

    // The parameter whose field this is.
    std::string parameterOf(std::string_view field) const {
        return std::string(command_.parameters[indexOf(field)].name);
    }

    std::vector<std::pair<std::string, std::string>> results;

  private:
    std::size_t indexOf(std::string_view field) const {
        for (std::size_t i = 0; i < command_.parameters.size(); ++i) {
            const Parameter& p = command_.parameters[i];
            if ((p.field.empty() ? p.name : p.field) == field) {
                return i;
            }
        }
        throw std::logic_error("no parameter for the field " + std::string(field));
    }

    const Command& command_;
    std::span<const ResultName> resultNames_;
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
Outcome calculate(const Options& options, Texts texts, bool countGiven) {
    if (std::string_view(options.command->name) == "beam" && !countGiven) {
        const std::string& lengths = texts[kBeamLengths];
        if (!lengths.empty()) {
            texts[kBeamCount] = std::to_string(std::count(lengths.begin(), lengths.end(), ';') + 1);
        }
    }
    CommandLineForm form(*options.command, resultNames(options), std::move(texts));
    Outcome outcome;
    try {
        const std::string_view name = options.command->name;
        if (name == "earth-pressure") {
            calculateEarthPressure(static_cast<std::int16_t>(options.mode), form);
        } else if (name == "anchor") {
            calculateAnchorBar(!options.temporary, form);
        } else if (name == "gravity-wall") {
            calculateGravityWall(options.type, form);
        } else {
            // beyond the window: one length per span, in the place of 2 m for every span
            std::optional<std::vector<double>> lengths;
            if (const std::string text = form.text("lengths"); !text.empty()) {
                const int n = form.readWith("Combo1", spanCount);
                lengths = form.readWith("lengths", readLengths);
                if (lengths->size() != static_cast<std::size_t>(n)) {
                    throw FieldError(CalcError(ErrorKind::InvalidArgument), "lengths");
                }
            }
            const auto moments = calculateBeam(form, lengths);
            for (std::size_t i = 0; i < moments.size(); ++i) {
                const std::string span = "M" + std::to_string(i + 1);
                form.results.emplace_back(span + "_upper", doubleToText(moments[i].upper));
                form.results.emplace_back(span + "_lower", doubleToText(moments[i].lower));
            }
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

std::span<const ResultName> resultNames(const Options& options) {
    if (std::string_view(options.command->name) == "earth-pressure" &&
        options.mode == EarthPressureMode::AtRest) {
        return kAtRestResults;
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
        const Parameter* p = findParameter(command, name);
        if (!p) {
            throw UsageError("unknown column '" + name + "' for " + std::string(command.name));
        }
        places.push_back(static_cast<std::size_t>(p - command.parameters.data()));
    }
    const bool countGiven = options.values.contains("n") ||
                            std::find(header.begin(), header.end(), "n") != header.end();

    const Texts base = startingTexts(command, options.values);
    std::vector<std::string> columns;
    for (const ResultName& r : resultNames(options)) {
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

void printGeneralHelp(std::ostream& out) {
    out << "slopecalc — the slope support calculations without a window\n"
           "边坡支护计算程序的命令行计算器\n\n"
           "usage: slopecalc SUBCOMMAND [OPTIONS] [NAME=TEXT ...]\n"
           "       slopecalc SUBCOMMAND --csv FILE|-   one calculation per CSV row\n"
           "       slopecalc SUBCOMMAND --help         the names, units and defaults\n\n"
           "subcommands:\n";
    for (const Command& c : kCommands) {
        out << "  " << c.name << std::string(16 - std::string_view(c.name).size(), ' ') << c.english
            << "\n"
            << std::string(18, ' ') << c.chinese << "\n";
    }
    out << "\noptions: --json prints one JSON object; --csv FILE reads a CSV whose first row "
           "names\n"
           "the parameters (missing columns take their defaults) and writes it back with the\n"
           "results and an error column.\n\n"
        << kSeparatorsNote
        << "\nexit status: 0 all calculated, 1 a calculation failed, 2 a usage error.\n";
}

void printCommandHelp(const Command& c, std::ostream& out) {
    out << "slopecalc " << c.name << ": " << c.english << "\n" << c.chinese << "\n\n";
    out << "parameters (NAME=TEXT; names are case-sensitive):\n";
    for (const Parameter& p : c.parameters) {
        out << "  " << p.name << std::string(10 - p.name.size(), ' ') << p.english << " [" << p.unit
            << "], default \"" << p.defaultText << "\"\n"
            << std::string(12, ' ') << p.chinese << "\n";
    }
    out << "\nresults: ";
    if (std::string_view(c.name) == "earth-pressure") {
        out << "Ka Ea (coulomb, limited-fill), K0 E0 (at-rest)\n";
    } else if (std::string_view(c.name) == "beam") {
        out << "M<i>_upper M<i>_lower for every span i, in kN·m\n"
               "an end condition other than the six words is taken as free, as in the window\n";
    } else {
        for (const ResultName& r : c.results) {
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
    for (const Command& c : kCommands) {
        if (args[0] == c.name) {
            options.command = &c;
        }
    }
    if (!options.command) {
        throw UsageError("unknown subcommand '" + args[0] + "'; see slopecalc --help");
    }
    const std::string_view command = options.command->name;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--json") {
            options.json = true;
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
            if (!findParameter(*options.command, name)) {
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
        const Outcome outcome = calculate(options, startingTexts(*options.command, options.values),
                                          options.values.contains("n"));
        if (options.json) {
            printJson(outcome, out);
        } else {
            for (const auto& [name, text] : outcome.results) {
                out << name << '=' << text << '\n';
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
