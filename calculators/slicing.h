#pragma once

#include "calculators/slipsurface.h"

#include <limits>
#include <optional>
#include <span>
#include <utility>
#include <vector>

// The slices of a slip surface through a section, shared by the methods that judge them: where a
// circle or a polyline cuts the ground, the slices' weights, base angles and strengths, the water
// on and under them, the loads on their tops and a tension crack at the mass's upper end. Plain
// arithmetic on doubles; the methods' formulas run on the checked numbers.
namespace subprogram::slicing {

inline constexpr double kDegreesPerRadian = 180 / 3.14159265358979323846;
inline constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Refuses a surface or a section (CalcError InvalidArgument), with the reason in words.
[[noreturn]] void refuse(const char* reason = nullptr);

// A line of points with x increasing, every coordinate finite.
bool isLine(const std::vector<Point>& line);
// What the geometry needs of a section and a circle; the readers say what is wrong in words.
void checkSection(const SlopeSection& s);
void checkCircle(const Circle& c);

// A polyline's height at x, its end values beyond its ends.
double heightAt(const std::vector<Point>& line, double x);
// A stratum's top at x: level, or its polyline's height.
double topAt(const Stratum& s, double x);

// The section as the slices take it: sliding towards +x, the ground higher on the left. A slope
// that faces the other way is mirrored (x → −x), which is exact.
struct Frame {
    SlopeSection section;
    bool mirrored;
};
std::vector<Point> mirroredLine(const std::vector<Point>& line);
Frame slidingRight(const SlopeSection& section);
// A circle, and a search's limits, as the frame takes them (and back again: mirroring twice is
// nothing).
Circle inFrame(const Frame& frame, const Circle& c);
SearchLimits inFrame(const Frame& frame, const SearchLimits& limits);
// Back to the section as typed: a mirrored slice runs the other way.
Slice unmirrored(const Slice& s);

// The lower arc's height at x (within the circle's width).
double arcAt(const Circle& c, double x);
// Where the lower arc enters the ground and leaves it, from left to right.
std::pair<double, double> entryAndExit(const std::vector<Point>& surface, const Circle& c);
// The greatest depth of the arc below the ground from x = entry to x = exit.
double greatestDepth(const std::vector<Point>& ground, const Circle& c, double entry, double exit);

// The slices of a circle, and of a polyline slip surface, in the frame: refused unless the
// surface cuts one mass out of the section, within its ends, somewhere at least minDepth deep,
// and deeper than its tension crack.
std::vector<Slice> slicesInFrame(const SlopeSection& s, const Circle& c);
std::vector<Slice> slicesInFrame(const SlopeSection& s, const std::vector<Point>& slip);

} // namespace subprogram::slicing
