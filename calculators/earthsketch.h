#pragma once

#include "calculators/sketch.h"

#include <string>

namespace subprogram {

// The inputs the situation is drawn from: m, degrees, kPa; and whether the fill is limited by a
// stable rock face (its pressure then takes no q).
struct EarthSituation {
    double H, alpha, beta, theta, q;
    bool limitedFill;
};

// The wall's back at α, the fill's surface at β with q on it (q takes no part in limited fill and
// is not drawn there), and in limited fill the stable rock face from the foot at θ; to scale.
// Returns why the inputs draw nothing, in words for the report, or nothing.
std::string drawEarthSituation(const EarthSituation& inputs, Sketch& sketch);

} // namespace subprogram
