#pragma once

#include "calculators/calculator.h"
#include "calculators/rib.h"

#include <optional>
#include <vector>

// The anchored rib wall (锚杆挡墙): the ground's characteristic horizontal thrust, redistributed
// over the wall's height as GB 50330-2013 第9.2节 shapes it, loads each rib (one per spacing sx);
// the rib, a continuous beam on the anchor rows, or each row's tributary band, gives every row's
// anchor its Htk, designed by the anchor calculator's 2013 routine; the rib's section by
// GB 50010-2010. Depths from the crest down, m; kN, kPa, kN·m.
namespace subprogram {

// The wall's load and what it does, as the calculation, its drawings and its report take it.
struct AnchoredWallAnalysis {
    double H = 0, sx = 0;
    double EaH = 0, EaHmod = 0;      // the thrust used and E′ah = β2·Eah, kN/m
    std::optional<double> eh;        // the trapezoid's or the uniform shape's ordinate, kPa
    std::vector<LoadPiece> earth;    // the redistributed earth pressure, kPa
    std::vector<LoadPiece> water;    // the water's own pressure, kPa (none: dry)
    std::vector<LoadPiece> rib;      // the load on one rib, (earth + water)·sx, kN/m
    std::vector<double> rows;        // the anchor rows' depths
    std::optional<RibForces> forces; // the rib as a continuous beam; none by tributary bands
    std::vector<double> reactions;   // each row's, per rib
};

// Reads the fields and analyses the wall, as the calculation does (CalcError as it would fail).
AnchoredWallAnalysis analyseAnchoredWall(const Form& form, Trace* trace = nullptr);

void calculateAnchoredWall(Form& form, Trace* trace = nullptr);

extern const Calculator kAnchoredWall;

} // namespace subprogram
