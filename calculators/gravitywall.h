#pragma once

#include "calculators/calculator.h"
#include "calculators/wallroutines.h"
#include "calculators/walltype.h"

#include <optional>

// The gravity retaining wall's description: its fields, results, checks and drawings, on the
// routines of calculators/wallroutines.h.
namespace subprogram {

// The wall window's calculation: reads all 24 fields before the first write (the shelf-type
// sizes even for the upright wall), then writes Ka and Ea (Text1, Text6), G and x0 (Text7,
// Text13), Kt and Ks (Text10, Text9) and pmax, e, pmin (Text16, Text17, Text18) in that order,
// so that a routine failure leaves the results written before it. Then, beyond the window's
// own results, what its checks need: pk, and for the checks alone the force that drives the
// wall along its base and the upright wall's room before its face; and last the fields of the
// checks, the kind of ground and fa (a fa that is given must be a number).
void calculateGravityWall(WallType type, Form& form, Trace* trace = nullptr);

// The wall's cross-section as its fields describe it, to scale in millimetres: the outline with
// its dimensions, the base inclination, and — when `record` holds a calculation that formed
// them — the earth pressure Ea at its point of application on the back and the self-weight G at
// the centroid's lever x0 from the toe. Returns why the fields describe no wall that can be drawn
// (a size that is zero or negative), in words for the report, or nothing.
std::string wallSection(WallType type, const Form& form, const CalculationRecord& record,
                        Sketch& sketch);

extern const Calculator kGravityWall;

} // namespace subprogram
