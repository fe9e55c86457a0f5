#pragma once

#include "cli/options.h"

#include <iosfwd>
#include <string_view>

// A CSV batch: one calculation per record, each row written as it is calculated, so that a batch
// of any length takes the memory of one row and a batch cut off has every finished row written.
// Reads `options.csvFile` (or `in` for "-"), in `options.encoding` when given; its status.
// `sourceName`: what its messages call the input, where it is not a file or standard input.
int runCsv(const Options& options, std::istream& in, std::ostream& out, std::ostream& err,
           std::string_view sourceName = {});
