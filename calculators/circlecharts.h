#pragma once

#include "calculators/slipsurface.h"

#include <array>
#include <optional>
#include <vector>

// The ways the search for the critical circle (circularslide.cpp) names a circle by three
// numbers, each with its way back: a minimum of the factor on a kink or an edge (a circle through
// the toe, one as thin as allowed, one touching a level) lies along an axis of one of them. In the
// slope's own frame, sliding towards +x over `ground`; a way gives no circle for numbers that name
// none, and no numbers for a circle it cannot name.
namespace subprogram::charts {

using Numbers = std::array<double, 3>;

struct Way {
    std::optional<Circle> (*circle)(const std::vector<Point>& ground, const Numbers& n);
    std::optional<Numbers> (*numbers)(const std::vector<Point>& ground, const Circle& c);
};

// (xa, xb, t): where it enters the ground and leaves it, xa < xb, and 0 < t ≤ 1 of the greatest
// central half-angle a lower arc through both points can have (the higher one level with the
// centre).
extern const Way kEndsAndBend;
// (xc, yc, y0): its centre and its lowest point's height.
extern const Way kCentreAndLowest;
// (x0, y0, h): its lowest point and the greatest depth of its mass below the ground.
extern const Way kLowestAndDepth;
// (xa, x0, y0) and (xb, x0, y0): where it enters the ground, or leaves it, and its lowest point.
extern const Way kEntryAndLowest, kExitAndLowest;
// (xa, xb, h) and ((xa + xb) ÷ 2, (xb − xa) ÷ 2, h): its ends and its mass's greatest depth.
extern const Way kEndsAndDepth, kPlaceAndDepth;
// (xc, yc, s): its centre, and 0 < s ≤ 1 of the way from the radius that touches the ground to
// the one that reaches the ground's nearer end.
extern const Way kCentreAndReach;

// The greatest depth of the arc below the ground from x = entry to x = exit.
double greatestDepth(const std::vector<Point>& ground, const Circle& c, double entry, double exit);
// n values of x from `from` to `to` (n ≥ 2, both ends among them), as far apart in half the
// ground's run plus half its rise (Σ|Δy|) between them as each other.
std::vector<double> spread(const std::vector<Point>& ground, double from, double to, int n);

} // namespace subprogram::charts
