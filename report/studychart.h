#pragma once

#include "calculators/sketch.h"
#include "calculators/study.h"

// The chart of a study, drawn by the program's own drawing code, so that the window, the PDF
// and the HTML (SVG) show the same picture: one result against the field's value, a point for
// each value whose calculation succeeded (a circle where every check holds, a cross where one
// fails), and the limit of the check on that result as a line through each value's limit.
// Values that are not all numbers stand at equal steps in their order.
Sketch studyChart(const subprogram::Study& study, ResultId result);
