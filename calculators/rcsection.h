#pragma once

#include "calculators/calculator.h"
#include "core/trace.h"

#include <iterator>

#include <span>
#include <string_view>

// A rectangular reinforced-concrete section in bending with tension bars only, by GB 50010-2010:
// 第6.2.10条 (α1·fc·b·x = fy·As, M ≤ α1·fc·b·x·(h0 − x/2)), the limit ξb of 第6.2.7条 and the least
// ratio of 第8.5.1条. Sizes in mm, strengths in N/mm², the moment in kN·m; grades up to C50, so
// that α1 = 1.0, β1 = 0.8 and εcu = 0.0033.
namespace subprogram {

// A concrete grade's design strengths in compression and tension (表4.1.4-1, 表4.1.4-2) and its
// elastic modulus Ec (表4.1.5), N/mm².
struct ConcreteGrade {
    std::string_view name;
    double fc, ft, Ec;
};
inline constexpr ConcreteGrade kConcreteGrades[] = {
    {"C20", 9.6, 1.10, 2.55e4},  {"C25", 11.9, 1.27, 2.80e4}, {"C30", 14.3, 1.43, 3.00e4},
    {"C35", 16.7, 1.57, 3.15e4}, {"C40", 19.1, 1.71, 3.25e4}, {"C45", 21.1, 1.80, 3.35e4},
    {"C50", 23.1, 1.89, 3.45e4},
};
// The grades as a choice field offers them, each standing for its index above.
inline constexpr Choice kConcreteChoices[] = {
    {"C20", "C20", 0}, {"C25", "C25", 1}, {"C30", "C30", 2}, {"C35", "C35", 3},
    {"C40", "C40", 4}, {"C45", "C45", 5}, {"C50", "C50", 6}};
static_assert(std::size(kConcreteChoices) == std::size(kConcreteGrades));

struct SectionDesign {
    double h0, alphaS, xi, xiB; // xi: 0 where nothing is in tension
    double As, AsMin;           // the bars needed (never below AsMin), mm²
    bool overReinforced;        // ξ > ξb (or 2αs > 1): the section cannot take M
};

// The bars for the design moment M = γ0·γF·Mk on the face Mk ≥ 0 puts in tension (Mk = 0: the
// least ratio's); `moment` names Mk in the trace. Es is 2.1×10⁵ N/mm² for bars of fy ≤ 270
// (HPB300), else 2.0×10⁵ (表4.2.5).
struct SectionLoad {
    double Mk, gamma0, gammaF;
    std::string_view moment = "Mk";
};
SectionDesign rectangularSection(const SectionLoad& load, double b, double h, double as,
                                 const ConcreteGrade& grade, double fy, Trace* trace = nullptr);

} // namespace subprogram
