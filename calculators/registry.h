#pragma once

#include "calculators/calculator.h"

#include <span>
#include <string_view>

namespace subprogram {

// Every calculator, in the order the command line's help lists them: the program's own, then
// any registered beyond them.
std::span<const Calculator* const> calculators();

// The calculator of a slopecalc subcommand, or null.
const Calculator* calculatorByCommand(std::string_view command);

// A calculator beyond the program's own (a test's), known from construction to destruction:
// slopecalc, its help, its manual, the saved files and the report take it from there.
class Registration {
  public:
    explicit Registration(const Calculator& calculator);
    ~Registration();
    Registration(const Registration&) = delete;
    Registration& operator=(const Registration&) = delete;

  private:
    const Calculator& calculator_;
};

} // namespace subprogram
