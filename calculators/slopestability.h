#pragma once

#include "calculators/calculator.h"
#include "calculators/slipsurface.h"

// 边坡稳定性计算: the slope's stability by a planar, broken-line or circular slide (its routines
// in slipsurface.h), described once for the window, slopecalc and the report.
namespace subprogram {

extern const Calculator kSlopeStability;

} // namespace subprogram
