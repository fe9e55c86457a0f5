#pragma once

#include "calculators/rib.h"
#include "calculators/sketch.h"

#include <optional>
#include <span>

// The anchored wall's rib as the window and the report draw it: depth down the page, the rows
// marked across, and beside each other the load on one rib, the shear and the moment (the last
// two where the rib is analysed as a continuous beam; by tributary bands, each row's share as an
// arrow instead). Positive to the right: the load outward, a moment with the outer face in
// tension. Each diagram to a scale of its own, its extremes labelled.
Sketch drawRib(double H, std::span<const double> rows, std::span<const subprogram::LoadPiece> load,
               const subprogram::RibForces* forces, std::span<const double> reactions);
