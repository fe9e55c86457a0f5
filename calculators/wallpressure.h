#pragma once

#include "calculators/calculator.h"
#include "calculators/layeredpressure.h"

// 墙后土压力: the earth and water pressure on a wall's back from strata, a water table, local
// loads and an earthquake (its routines in layeredpressure.h), described once for the window,
// slopecalc and the report.
namespace subprogram {

extern const Calculator kWallPressure;

} // namespace subprogram
