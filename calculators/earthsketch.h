#pragma once

#include "calculators/earthpressure.h"
#include "calculators/sketch.h"

#include <string>

namespace subprogram {

// The inputs the situation is drawn from: m, degrees, kPa.
struct EarthSituation {
    double H, alpha, beta, theta, q;
};

// The wall's back at α, the fill's surface at β with q on it (q takes no part in limited fill and
// is not drawn there), and in limited fill the stable rock face from the foot at θ; to scale.
// Returns why the inputs draw nothing, in words for the report, or nothing.
std::string drawEarthSituation(EarthPressureMode mode, const EarthSituation& inputs,
                               Sketch& sketch);

} // namespace subprogram
