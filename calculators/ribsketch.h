#pragma once

#include "calculators/rib.h"
#include "calculators/sketch.h"

#include <functional>
#include <optional>
#include <span>
#include <vector>

// The anchored wall's rib as the window and the report draw it: depth down the page, the rows
// marked across, and beside each other the load on one rib, the shear and the moment (the last
// two where the rib is analysed as a continuous beam; by tributary bands, each row's share as an
// arrow instead). Positive to the right: the load outward, a moment with the outer face in
// tension. Each diagram to a scale of its own, its extremes labelled.
// One panel of a drawing down a member: depth z from 0 to H down the page, kDepth long under
// kTop, labels kText high; `axis` the panel's zero line, `scale` drawing units per unit of the
// value.
struct DepthPanel {
    static constexpr double kTop = 120, kDepth = 1000, kText = 34;
    double axis, scale;
};
// A value's curve down a panel: `at(z)` sampled densely within each stretch between `breaks`
// (a jump at a break stays a jump; `below(z)` the value just below a break), outlined and closed
// to the axis, its extremes labelled — as the calculation found them, where given.
void depthCurve(Sketch& s, const DepthPanel& p, const std::vector<double>& breaks, double H,
                const std::function<double(double)>& at, const std::function<double(double)>& below,
                const char* unit, const subprogram::AtDepth* exactGreatest = nullptr,
                const subprogram::AtDepth* exactLeast = nullptr);

Sketch drawRib(double H, std::span<const double> rows, std::span<const subprogram::LoadPiece> load,
               const subprogram::RibForces* forces, std::span<const double> reactions);
