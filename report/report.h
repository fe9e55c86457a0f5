#pragma once

#include "calculators/calculator.h"
#include "calculators/sketch.h"
#include "core/record.h"

#include <string>

// Calculation reports (计算书): what a calculation read, the formulas with their values, every
// value it formed and what it wrote, as an HTML page for print, PDF and the browser, for any
// calculator from its description. Every number is the text the fields show, or the conversion
// the fields use (15 or 7 digits).

struct ReportContext {
    const subprogram::Calculator* calculator;
    int variant;
    std::string description; // what was calculated: the mode, anchor kind, wall type or supports
    std::string timestamp;   // date and time of the calculation
    std::string drawing;     // HTML of the sketch or drawing, or empty
};

// The context of a calculation of `variant` on `form`, without its time and drawing.
ReportContext reportContext(const subprogram::Calculator& calculator, int variant,
                            const Form& form);

std::string reportHtml(const ReportContext& context, const CalculationRecord& record);

// A sketch as inline SVG, a pixel for every 15 of its units.
std::string sketchSvg(const Sketch& sketch);
