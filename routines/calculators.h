#pragma once

#include <span>
#include <string_view>

// What each calculator reads and writes, named once for the command line and the calculation
// reports: every input with its field, default text, unit, caption and symbol, and every result.
namespace subprogram {

struct FieldSpec {
    std::string_view name;        // on the command line and in CSV headers
    std::string_view field;       // the window's field; empty for a value beyond the window
    std::string_view defaultText; // the field's default text
    std::string_view unit;
    std::string_view english;
    std::string_view caption; // the window's caption
    std::string_view symbol;  // as the report writes it (HTML)
};

struct ResultSpec {
    std::string_view field;
    std::string_view name;
    std::string_view caption;
    std::string_view symbol; // HTML
    std::string_view unit;
};

struct CalculatorSpec {
    std::string_view command; // the slopecalc subcommand
    std::string_view english;
    std::string_view title; // the window's caption
    std::span<const FieldSpec> fields;
    std::span<const ResultSpec> results; // every result field, in the window's write order
};

extern const CalculatorSpec kEarthPressureSpec;
extern const CalculatorSpec kAnchorSpec;
extern const CalculatorSpec kGravityWallSpec;
extern const CalculatorSpec kBeamSpec;

const FieldSpec* findField(const CalculatorSpec& spec, std::string_view name);
const FieldSpec* fieldOfControl(const CalculatorSpec& spec, std::string_view field);

} // namespace subprogram
