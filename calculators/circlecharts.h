#pragma once

#include "calculators/slipsurface.h"

#include <array>
#include <functional>
#include <optional>
#include <random>
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

// The bend (kEndsAndBend's t) of the circle through the ground at xa and xb whose mass between
// them is h deep at the most, by bisection (arcs through two points are nested, so the depth
// grows with the bend); none where even the deepest is not h deep.
std::optional<double> bendOfDepth(const std::vector<Point>& ground, double xa, double xb, double h);
// n values of x from `from` to `to` (n ≥ 2, both ends among them), as far apart in half the
// ground's run plus half its rise (Σ|Δy|) between them as each other.
std::vector<double> spread(const std::vector<Point>& ground, double from, double to, int n);

// The local searches over three numbers, for any function of them (the factor of the circle
// they name): from a start, to the least value found.
struct Best {
    Numbers at;
    double value;
};
using Function = std::function<double(const Numbers&)>;

// A pattern search within the box [low, high]: each axis in turn a step either way, the step
// doubled (up to `spacing`) after a move and halved after none, from `first` of the spacing,
// until every step is below 10⁻⁹ of the spacing or the `left` evaluations (counted down) are
// spent.
Best patternSearch(const Function& f, Best from, const Numbers& low, const Numbers& high,
                   const Numbers& spacing, double first, int& left);
// Steps either way along directions drawn from `random`'s own bits (the same on every machine),
// scaled by `spacing`: doubled (up to the spacing) after a move and halved after `misses`
// directions without one, from `first` of the spacing, until below 10⁻⁹ of it or the `left`
// evaluations are spent. It follows a narrow valley or an edge that lies along no axis.
Best wander(const Function& f, Best from, const Numbers& spacing, double first, int misses,
            std::mt19937& random, int& left);
// The local minima of `values` on an n[0] × n[1] × n[2] grid, value (i·n[1] + j)·n[2] + k at
// (i, j, k): the finite ones no greater than any of their neighbours (up to 26), by index,
// lowest first.
std::vector<std::size_t> localMinima(const std::vector<double>& values,
                                     const std::array<int, 3>& n);

} // namespace subprogram::charts
