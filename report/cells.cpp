// How a cell of a number column is laid out: split on its decimal point, or whole.
#include "report.h"

#include "core/numerictext.h"

namespace report {

std::pair<std::string, std::string> decimalParts(const std::string& text) {
    const std::size_t point = text.find('.');
    if (point != std::string::npos) {
        return {text.substr(0, point), text.substr(point)};
    }
    const std::size_t exponent = text.find('E');
    return exponent == std::string::npos
               ? std::pair{text, std::string()}
               : std::pair{text.substr(0, exponent), text.substr(exponent)};
}

bool alignsOnPoint(const std::string& text) {
    double value = 0;
    ErrorKind error{};
    return text.find_first_of(" ;") == std::string::npos && ::readDouble(text, value, error);
}

} // namespace report
