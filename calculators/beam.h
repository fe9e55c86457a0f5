#pragma once

#include "calculators/calculator.h"

#include <optional>
#include <string_view>
#include <vector>

// A continuous member standing upright on n + 1 supports, loaded by earth pressure: a lateral
// line load growing linearly from nothing at the upper end to q at a fifth of the member's
// length, and q below. End moments by the slope-deflection method. Lengths in m, b and h in mm,
// q in kN/m, Ec in N/mm², moments in kN·m; the upper-end moment of a uniform load is negative.
namespace subprogram {

// Only Fixed differs in the solution: Free is solved exactly like Hinged.
enum class EndCondition { Hinged, Fixed, Free };

// Ec of a concrete grade "C15" … "C40"; any other text gives 0.
double modulusForGrade(std::string_view grade);

// Supports are numbered up to 100, so a member has at most 99 spans.
inline constexpr int kMaxSpans = 99;

// The number of spans in a text: a number that is not whole is refused with TypeMismatch as it is
// read; a count below 1 gives 0 spans, for which the solver fails at its first division. A count
// above kMaxSpans is the solver's to refuse, after every field is read.
double spanCount(std::string_view text);

// Fixed-end moments of one span of length a1 + a2 under a uniform load a3 over its length, a
// load growing from 0 to a4 over the upper a1, and a uniform a4 over the lower a2.
void combinedLoadFixedEndMoments(double a1, double a2, double a3, double a4, double& Mup,
                                 double& Mlow);

struct SpanMoments {
    double upper; // M(i, 1), at the span's upper end
    double lower; // M(i, 2), at its lower end
};

// One entry per span, upper span first.
std::vector<SpanMoments> solveContinuousBeam(const std::vector<double>& lengths, double b, double h,
                                             double q, double Ec, EndCondition upper,
                                             EndCondition lower, Trace* trace = nullptr);

// The beam window's calculation: reads the count (Combo1), the end supports (Combo5, Combo6), the
// grade (Combo2), b (Combo3), h (Combo4) and q (Text2), solves with spans of 2.0 m, and writes the
// upper-end moment of each span into Text3 in turn, so that it ends showing that of the last
// span. Beyond the window, on the command line, `lengths` gives one length per span
// ("2;3.5;4"), and every span's moments are written as M1_upper, M1_lower, M2_upper, …
void calculateBeam(Form& form, Trace* trace = nullptr);

// The window's sketch of the member, its supports and its load, in twips of the picture box.
// Draws shape by shape: the count text is read where the intermediate supports need it, and a
// bad count throws CalcError there and leaves the shapes drawn before it. With
// `supportsAfterLowerEnd` (a choice in the span list) the intermediate supports come after the
// lower end's symbol, else between the two end symbols.
void drawBeamSketch(std::string_view count, EndCondition upper, EndCondition lower,
                    bool supportsAfterLowerEnd, Sketch& sketch);

extern const Calculator kBeam;

} // namespace subprogram
