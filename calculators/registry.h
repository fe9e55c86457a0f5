#pragma once

#include "calculators/calculator.h"

#include <span>
#include <string_view>

namespace subprogram {

// Every calculator, in the order the command line's help lists them.
std::span<const Calculator* const> calculators();

// The calculator of a slopecalc subcommand, or null.
const Calculator* calculatorByCommand(std::string_view command);

} // namespace subprogram
