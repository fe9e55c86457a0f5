#pragma once

#include "calculators/calculator.h"
#include "calculators/layeredpressure.h"

// 墙后土压力: the earth and water pressure on a wall's back from strata, a water table, local
// loads and an earthquake (its routines in layeredpressure.h), described once for the window,
// slopecalc and the report.
namespace subprogram {

// How a cohesive stratum's tension zone is taken: the words of the `tension` field.
inline constexpr Choice kTensionTreatments[] = {
    {"不计拉力区", "ignored", 0},
    {"计入拉力区", "counted", 1},
};

// The report's step of the pressure stratum by stratum; the gravity wall's report shows it too.
extern const Step kLayeredPressureStep;

extern const Calculator kWallPressure;

} // namespace subprogram
