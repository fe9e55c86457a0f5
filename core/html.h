#pragma once

#include <string>
#include <string_view>

// The bits of HTML the program writes into reports and formulas.
namespace html {

// Text with <, >, & and " escaped, and any byte that is not UTF-8 as U+FFFD.
std::string escaped(std::string_view text);

// A value's name as a report writes it: "B1" as B<sub>1</sub>, "F(1,2)" as F<sub>1,2</sub>,
// "rα" as r<sub>α</sub>, "EI3" as EI<sub>3</sub>.
std::string symbol(std::string_view name);

} // namespace html
