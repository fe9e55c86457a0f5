#pragma once

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The headless calculator: every calculation of the windows from the command line and in CSV
// batches, with the windows' own reads, order of reads and result texts.
//
//   slopecalc SUBCOMMAND [OPTIONS] [NAME=TEXT ...]
//
// Exit status: 0 when every calculation succeeded, 1 when one failed (its error on stderr, or in
// the error column of a batch), 2 for a usage error or an input that cannot be read, 3 when the
// output or the report could not be written.
int runSlopecalc(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                 std::ostream& err);

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
