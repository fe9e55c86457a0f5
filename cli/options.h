#pragma once

#include "calculators/calculator.h"
#include "calculators/savedcalculation.h"
#include "core/utf8.h"

#include <iosfwd>
#include <map>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// slopecalc's command line: its options, its parameters and its help.

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

struct Options {
    const subprogram::Calculator* calculator = nullptr;
    int variant = 0;
    std::optional<std::string> csvFile;
    std::optional<std::string> encoding; // of the batch, when it is not UTF-8
    bool json = false;
    bool help = false;
    bool trace = false;
    bool version = false;
    std::optional<std::string> reportFile;
    std::optional<std::string> vary;  // --vary NAME=…: a study of one field (see cli/study.h)
    std::optional<std::string> least; // --least NAME=…: the least value meeting every check
    int diagramSteps = 0; // --diagram N: the pressure's distribution in N steps after the results
    std::map<std::string, std::string> values; // NAME=TEXT given on the command line, or saved
    subprogram::TitleBlock title;              // the report's title block: a saved calculation's
};

// The options of a command line (without the program's name); what is wrong with it as a
// UsageError.
Options parseArguments(const std::vector<std::string>& args);

// By field: the text a calculation reads when nothing else gives it, its default or NAME=TEXT.
std::vector<std::string> startingTexts(const subprogram::Calculator& calculator,
                                       const std::map<std::string, std::string>& values);

void printGeneralHelp(std::ostream& out);
void printCommandHelp(const subprogram::Calculator& calculator, std::ostream& out);

// What `slopecalc --help` and the manual page say, from one source: the options every
// subcommand takes, the exit statuses and the note on numbers. A subcommand's parameters and its
// own options come from its description in the registry.
struct OptionHelp {
    std::string_view option; // "--csv FILE|-"
    std::string_view text;
};
std::span<const OptionHelp> slopecalcOptions();
struct StatusHelp {
    std::string_view status; // "0", "128+N"
    std::string_view text;
};
std::span<const StatusHelp> slopecalcStatuses();
extern const std::string_view kNumbersNote;
extern const std::string_view kSlopecalcVersion;
