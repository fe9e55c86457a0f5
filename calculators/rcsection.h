#pragma once

#include "core/trace.h"

#include <span>
#include <string_view>

// A rectangular reinforced-concrete section in bending with tension bars only, by GB 50010-2010:
// 第6.2.10条 (α1·fc·b·x = fy·As, M ≤ α1·fc·b·x·(h0 − x/2)), the limit ξb of 第6.2.7条 and the least
// ratio of 第8.5.1条. Sizes in mm, strengths in N/mm², the moment in kN·m; grades up to C50, so
// that α1 = 1.0, β1 = 0.8 and εcu = 0.0033.
namespace subprogram {

// A concrete grade's design strengths in compression and tension (表4.1.4-1, 表4.1.4-2).
struct ConcreteGrade {
    std::string_view name;
    double fc, ft;
};
inline constexpr ConcreteGrade kConcreteGrades[] = {
    {"C20", 9.6, 1.10},  {"C25", 11.9, 1.27}, {"C30", 14.3, 1.43}, {"C35", 16.7, 1.57},
    {"C40", 19.1, 1.71}, {"C45", 21.1, 1.80}, {"C50", 23.1, 1.89},
};

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
