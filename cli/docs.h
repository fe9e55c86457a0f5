#pragma once

#include <string>

// slopecalc's manual page and bash completion, from the tables that `slopecalc --help` prints and
// the calculators of the registry, so that neither can drift from the program.

// The manual page slopecalc(1), in roff, of the version released on `date` (2026-12-07).
std::string manualPage(const std::string& date);

// The bash completion of slopecalc: its subcommands, each one's options and parameter names,
// the words of its variant options and the listed values of its parameters.
std::string completion();
