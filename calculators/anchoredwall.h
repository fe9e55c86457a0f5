#pragma once

#include "calculators/calculator.h"

// The anchored rib wall (锚杆挡墙): the ground's characteristic horizontal thrust, redistributed
// over the wall's height as GB 50330-2013 第9.2节 shapes it, loads each rib (one per spacing sx);
// the rib, a continuous beam on the anchor rows, or each row's tributary band, gives every row's
// anchor its Htk, designed by the anchor calculator's 2013 routine; the rib's section by
// GB 50010-2010. Depths from the crest down, m; kN, kPa, kN·m.
namespace subprogram {

void calculateAnchoredWall(Form& form, Trace* trace = nullptr);

extern const Calculator kAnchoredWall;

} // namespace subprogram
