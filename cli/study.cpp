#include "study.h"

#include "calculators/study.h"
#include "cli/batch.h"
#include "cli/csv.h"
#include "cli/fdstream.h"
#include "cli/single.h"
#include "core/stop.h"

#include <cmath>
#include <ostream>
#include <sstream>

using subprogram::Calculator;
using subprogram::Field;

namespace {

// NAME and what follows its '=', the name a field of the calculator that is not given otherwise.
std::pair<std::string, std::string> namedSpec(const Calculator& calculator,
                                              const std::string& option, const std::string& spec) {
    const std::size_t equals = spec.find('=');
    if (equals == std::string::npos || equals == 0) {
        throw UsageError(option + " takes NAME=…, not '" + escapedForLine(spec) + "'");
    }
    std::string name = spec.substr(0, equals);
    if (!calculator.field(name)) {
        throw UsageError("unknown name '" + escapedForLine(name) + "' for " +
                         std::string(calculator.command));
    }
    return {std::move(name), spec.substr(equals + 1)};
}

double number(const std::string& option, const std::string& text) {
    double value = 0;
    ErrorKind error{};
    if (!::readDouble(text, value, error) || !std::isfinite(value)) {
        throw UsageError(option + ": '" + escapedForLine(text) + "' is no number");
    }
    return value;
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(separator, from)) != std::string::npos; from = at + 1) {
        parts.push_back(text.substr(from, at - from));
    }
    parts.push_back(text.substr(from));
    return parts;
}

// The options a study passes on to each of its calculations: the field studied no longer given.
void refuseGivenTwice(const Options& options, const std::string& name, const char* option) {
    if (options.values.contains(name)) {
        throw UsageError("'" + escapedForLine(name) + "' is given, and studied by " + option);
    }
}

} // namespace

std::string studyValueText(double value) {
    return doubleToText(value);
}

Variation parseVariation(const Calculator& calculator, const std::string& spec) {
    auto [name, rest] = namedSpec(calculator, "--vary", spec);
    Variation v{std::move(name), {}, std::nullopt};
    const std::vector<std::string> range = split(rest, ':');
    if (range.size() == 3) {
        number("--vary", range[0]); // both ends are numbers
        number("--vary", range[1]);
        long long n = 0;
        std::istringstream count(range[2]);
        if (!(count >> n) || !count.eof() || n < 2 || n > 1000000) {
            throw UsageError("--vary " + v.name + "=FROM:TO:N takes N from 2 to 1000000, not '" +
                             escapedForLine(range[2]) + "'");
        }
        v.range.emplace(range[0], range[1], static_cast<int>(n));
        if (v.range->overflows()) {
            throw UsageError("--vary " + v.name + "=FROM:TO:N: the steps from " +
                             escapedForLine(range[0]) + " to " + escapedForLine(range[1]) +
                             " are beyond the numbers a double holds");
        }
    } else if (range.size() == 1) {
        v.values = split(rest, ';');
    } else {
        throw UsageError("--vary takes NAME=FROM:TO:N or NAME=v1;v2;…, not '" +
                         escapedForLine(spec) + "'");
    }
    return v;
}

namespace {

// The batch of one column that --vary runs, its header and then a row a value, each formed as
// the batch reads it: a million values in the memory of one.
class VariationRows : public std::streambuf {
  public:
    explicit VariationRows(const Variation& v) : v_(v), line_(v.name + "\n") {
        setg(line_.data(), line_.data(), line_.data() + line_.size());
    }

  protected:
    int_type underflow() override {
        const std::size_t count = v_.range ? std::size_t(v_.range->count()) : v_.values.size();
        if (next_ >= count) {
            return traits_type::eof();
        }
        const std::string value =
            v_.range ? v_.range->value(static_cast<int>(next_)) : v_.values[next_];
        ++next_;
        line_.clear();
        // an empty value is a row as any other, quoted so that it is no blank line to skip
        if (value.empty()) {
            line_ += "\"\"";
        }
        csv::appendField(line_, value);
        line_ += '\n';
        setg(line_.data(), line_.data(), line_.data() + line_.size());
        return traits_type::to_int_type(line_.front());
    }

  private:
    const Variation& v_;
    std::string line_;
    std::size_t next_ = 0;
};

} // namespace

int runVariation(const Options& options, std::ostream& out, std::ostream& err) {
    const Variation v = parseVariation(*options.calculator, *options.vary);
    refuseGivenTwice(options, v.name, "--vary");
    // a batch of one column: the same engine, the same table
    Options asBatch = options;
    asBatch.vary.reset();
    asBatch.csvFile = "-";
    VariationRows rows(v);
    std::istream in(&rows);
    return runCsv(asBatch, in, out, err, "the table of --vary (its header line 1)");
}

LeastSearch parseLeastSearch(const Calculator& calculator, const std::string& spec) {
    auto [name, rest] = namedSpec(calculator, "--least", spec);
    const std::vector<std::string> range = split(rest, ':');
    if (range.size() != 2 && range.size() != 3) {
        throw UsageError("--least takes NAME=FROM:TO or NAME=FROM:TO:PRECISION, not '" +
                         escapedForLine(spec) + "'");
    }
    LeastSearch s{std::move(name), number("--least", range[0]), number("--least", range[1]),
                  range.size() == 3 ? number("--least", range[2]) : 0.001, range.size() == 3};
    if (!(s.from < s.to) || !(s.precision > 0)) {
        throw UsageError("--least " + s.name + "=FROM:TO:PRECISION needs FROM < TO and a " +
                         "precision above 0");
    }
    if ((s.to - s.from) / s.precision > 1e12) {
        throw UsageError("--least: the range holds more than 10^12 steps of the precision");
    }
    return s;
}

int runLeastSearch(const Options& options, std::ostream& out, std::ostream& err) {
    const Calculator& calculator = *options.calculator;
    const LeastSearch s = parseLeastSearch(calculator, *options.least);
    refuseGivenTwice(options, s.name, "--least");
    // the standard sizes within the range (bar diameters), unless a step is given
    std::vector<double> sizes;
    const Field& field = *calculator.field(s.name);
    if (!s.precisionGiven) {
        for (const double size : field.standardSizes) {
            if (size >= s.from && size <= s.to) {
                sizes.push_back(size);
            }
        }
    }
    const bool standard = !field.standardSizes.empty() && !s.precisionGiven;
    const auto steps =
        standard ? static_cast<long long>(sizes.size()) - 1
                 : static_cast<long long>(std::floor((s.to - s.from) / s.precision + 1e-9));
    const auto text = [&](long long k) {
        return studyValueText(standard ? sizes[static_cast<std::size_t>(k)]
                                       : s.from + s.precision * static_cast<double>(k));
    };
    // each value looks first whether a stop signal came, and a searched calculation at each of
    // its circles: the search then ends at once, and nothing of it is written
    const auto judgedText = [&](long long k) {
        stopPoint();
        return text(k);
    };
    subprogram::LeastRuns found;
    try {
        if (steps >= 0) {
            found = subprogram::leastRuns(calculator, options.variant,
                                          startingTexts(calculator, options.values),
                                          calculator.id(field), steps, judgedText);
        }
    } catch (const Stopped&) {
        err << "slopecalc: stopped by signal " << stopSignal() << "; the search for the least "
            << s.name << " is dropped, nothing of it is written\n";
        return kFailed;
    }
    const std::vector<subprogram::PassingRun>& runs = found.runs;
    // the values skipped: no section to check, or a calculation that failed
    const std::string skipped =
        found.skipped == 0
            ? std::string()
            : " (" + std::to_string(found.skipped) + " of the " + std::to_string(found.judged) +
                  " values judged skipped: their calculation failed or their section cannot be "
                  "formed; the first: " +
                  found.firstSkip + ")";
    if (runs.empty()) {
        err << "slopecalc: no value of " << s.name << " from " << studyValueText(s.from) << " to "
            << studyValueText(standard ? s.to : s.from + s.precision * static_cast<double>(steps))
            << (standard ? " among its standard sizes"
                         : " in steps of " + studyValueText(s.precision))
            << " meets every check";
        // the checks that none of eleven values spread over the range meets
        subprogram::Study spread(calculator, options.variant,
                                 startingTexts(calculator, options.values), calculator.id(field));
        for (long long j = 0, parts = std::min(steps, 10LL); steps >= 0 && j <= parts; ++j) {
            spread.add(text(parts == 0 ? 0 : steps * j / parts));
        }
        const char* separator = " (never met: ";
        for (const subprogram::NeverMet& n : subprogram::checksNeverMet(spread)) {
            const subprogram::Verdict& v = calculator.verdicts[n.verdict];
            err << separator << v.name;
            if (std::isfinite(n.low)) {
                err << (n.low == n.high ? " at " : " from ") << v.symbol << " = "
                    << roundedText(n.low, 4);
                err << (n.low == n.high ? " whatever " + s.name + " is"
                                        : " to " + roundedText(n.high, 4));
            }
            separator = "; ";
        }
        if (std::string_view(separator) == "; ") {
            err << ")";
        }
        if (steps > subprogram::kJudgedParts) {
            err << " (of its " << steps + 1 << " values " << subprogram::kJudgedParts + 1
                << " were judged: a run that passes between two of them may be missed; narrow "
                   "the range)";
        }
        err << skipped << '\n';
        return kFailed;
    }
    Options one = options;
    one.least.reset();
    one.values[s.name] = text(runs.front().first);
    const SingleRun least = calculate(one, nullptr, nullptr);
    out << s.name << '=' << text(runs.front().first) << '\n';
    for (const auto& [name, value] : least.results) {
        out << name << '=' << value << '\n';
    }
    for (const auto& [name, judgedOutcome] : least.verdicts) {
        out << name << '=' << outcomeWord(judgedOutcome) << '\n';
    }
    const auto interval = [&](const subprogram::PassingRun& r) {
        return "[" + text(r.first) + ", " + text(r.last) + "]";
    };
    err << "slopecalc: every check holds for " << s.name << " in " << interval(runs.front());
    for (std::size_t i = 1; i < runs.size(); ++i) {
        err << (i + 1 == runs.size() ? " and " : ", ") << interval(runs[i]);
    }
    err << skipped << '\n';
    return kCalculated;
}
