#pragma once

#include "calculators/calculator.h"

// The anti-slide pile (抗滑桩): a landslide's thrust per metre of slope, less the resistance in
// front, loads each pile (one per spacing) above the slip surface in the shape chosen; the ground
// below holds it as a Winkler foundation by the m or the K method, stratum by stratum; the pile's
// displacements, moments and shears, the lateral stress on each stratum against its allowable,
// and the pile's bars by GB 50010-2010. Depths from the pile head down, m; kN, kPa, kN·m.
namespace subprogram {

void calculateAntiSlidePile(Form& form, Trace* trace = nullptr);

extern const Calculator kAntiSlidePile;

} // namespace subprogram
