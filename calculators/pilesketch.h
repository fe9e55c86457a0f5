#pragma once

#include "calculators/pile.h"
#include "calculators/sketch.h"

// The anti-slide pile as the window and the report draw it: depth down the page from the head,
// the slip surface and the strata's boundaries across, and beside each other the load, the
// displacement, the moment, the shear and the lateral stress on the ground, each to a scale of its
// own, its extremes labelled. Positive to the right: in the thrust's direction.
Sketch drawPile(const subprogram::PileModel& model, const subprogram::PileResponse& response);
