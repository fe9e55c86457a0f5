#pragma once

#include "gui/calculatorwindow.h"

#include <optional>
#include <span>
#include <string_view>

// Every calculator's window, described once beside the calculators' registry: the launcher's
// buttons and the files it opens, and the tests that walk the windows, come from this list.
namespace windows {

// A launcher button that shows a window, and the variant it sets (none: the window keeps its own).
struct Button {
    std::string_view name;
    std::optional<int> variant;
};

struct Kind {
    const subprogram::Calculator* calculator;
    CalculatorWindow* (*create)(Reporter reporter);
    std::span<const Button> buttons;
};

// The program's windows, then any registered beyond them.
std::span<const Kind> kinds();
// The window of a calculator, or null when it has none.
const Kind* kindOf(const subprogram::Calculator& calculator);

// A window beyond the program's own (a test's calculator), known from construction to
// destruction.
class Registration {
  public:
    explicit Registration(const Kind& kind);
    ~Registration();
    Registration(const Registration&) = delete;
    Registration& operator=(const Registration&) = delete;

  private:
    const subprogram::Calculator* calculator_;
};

} // namespace windows
