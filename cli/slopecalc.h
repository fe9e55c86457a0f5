#pragma once

#include <iosfwd>
#include <string>
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
