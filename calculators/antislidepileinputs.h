#pragma once

#include "calculators/calculator.h"
#include "calculators/pile.h"
#include "calculators/rcsection.h"
#include "calculators/slopegrade.h"

#include <optional>
#include <vector>

// The anti-slide pile's fields, by handle, and its choices, and the pile as its inputs describe
// it: shared by its description (antislidepile.cpp) and the reading of its inputs
// (antislidepileinputs.cpp).
namespace subprogram::antislide {

enum class Shape { Rectangle, Triangle, Trapezoid };
enum class Section { Rectangle, Round };

// clang-format off
inline constexpr Choice kShapes[] = {{"矩形", "rectangle", int(Shape::Rectangle)}, {"三角形", "triangle", int(Shape::Triangle)},
                              {"梯形", "trapezoid", int(Shape::Trapezoid)}};
inline constexpr Choice kSections[] = {{"矩形", "rectangle", int(Section::Rectangle)}, {"圆形", "round", int(Section::Round)}};
inline constexpr Choice kMethods[] = {{"m法", "m", int(FoundationMethod::M)}, {"K法", "K", int(FoundationMethod::K)}};
inline constexpr Choice kFeet[] = {{"自由", "free", int(PileFoot::Free)}, {"铰支", "hinged", int(PileFoot::Hinged)},
                            {"嵌固", "fixed", int(PileFoot::Fixed)}};

inline constexpr Field kFields[] = {
    {"thrust",  "thrustx",  "滑坡推力T(kN/m):",        "500", "kN/m", "the landslide's horizontal thrust per metre of slope at the piles", "T"},
    {"Ep",      "Epx",      "桩前抗力Ep(kN/m):",       "0",   "kN/m", "the resistance of the ground in front of the piles, per metre of slope", "E<sub>p</sub>"},
    {"s",       "sx",       "桩间距s(m):",             "6",   "m",    "the piles' spacing (centre to centre)", "s"},
    {"h1",      "h1x",      "受荷段长度h1(m):",        "8",   "m",    "from the pile head to the slip surface", "h<sub>1</sub>"},
    {"shape",   "shapex",   "推力分布:",               "矩形", "",    "the load's shape over h1: 矩形|rectangle, 三角形|triangle, 梯形|trapezoid", "", Conversion::Word, {}, {}, kShapes},
    {"ratio",   "ratiox",   "梯形顶底比:",             "0.5", "",     "the trapezoid's top ordinate over its bottom one", "r"},
    {"section", "sectionx", "桩截面:",                 "矩形", "",    "矩形|rectangle (b × a), 圆形|round (d)", "", Conversion::Word, {}, {}, kSections},
    {"b",       "bx",       "桩宽b(m):",               "2",   "m",    "a rectangular pile's width across the slope", "b"},
    {"a",       "ax",       "桩截面高度a(m):",         "3",   "m",    "a rectangular pile's depth in the thrust's direction", "a"},
    {"d",       "dx",       "桩径d(m):",               "1.5", "m",    "a round pile's diameter", "d"},
    {"concrete", "concretex", "桩身混凝土强度等级:",   "C30", "",     "the pile's concrete, C20 to C50", "", Conversion::Word, {}, {}, kConcreteChoices},
    {"EI",      "EIx",      "桩身抗弯刚度EI(kN·m²):",  "",    "kN·m²", "the pile's bending stiffness; empty: 0.85·Ec·I (JGJ 94-2008 5.7.2)", "EI"},
    {"Bp",      "Bpx",      "桩的计算宽度Bp(m):",      "",    "m",    "the pile's calculation width; empty: by the rule (b ≤ 1 m: 1.5b + 0.5, d ≤ 1 m: 0.9(1.5d + 0.5); wider: b + 1, 0.9(d + 1))", "B<sub>p</sub>"},
    {"h2",      "h2x",      "锚固段长度h2(m):",        "7",   "m",    "the embedded length below the slip surface", "h<sub>2</sub>"},
    {"method",  "methodx",  "地基系数:",               "K法", "",     "m|m法 (k = m·y, y below the slip surface), K|K法 (k = K)", "", Conversion::Word, {}, {}, kMethods},
    {"strata",  "stratax",  "滑面以下地层:",           "3 150000 600;20 400000 1500", "", "the strata below the slip surface, 'thickness m-or-K allowable' separated by ';' (m in kN/m⁴, K in kN/m³, the allowable lateral stress in kPa); the last reaches the foot", "", Conversion::Word},
    {"foot",    "footx",    "桩底支承:",               "自由", "",    "the pile's foot: 自由|free, 铰支|hinged, 嵌固|fixed", "", Conversion::Word, {}, {}, kFeet},
    {"y_limit", "ylimitx",  "桩顶允许位移(mm):",       "",    "mm",   "the allowed displacement of the pile head; empty: not checked", "[y]", Conversion::Double, {}, {}, {}, 0, 1, {}, false, true},
    {"grade",   "gradex",   "边坡工程安全等级:",       "二级", "",    "slope safety grade 一级|1, 二级|2, 三级|3 (for γ0)", "", Conversion::Word, {}, {}, kSlopeGrades},
    {"gamma0",  "gamma0x",  "结构重要性系数γ0:",       "",    "",     "importance factor; empty: by the grade, 1.1 for 一级, else 1.0 (GB 50330-2013 3.3.2)", "γ<sub>0</sub>"},
    {"gamma_F", "gammaFx",  "荷载分项系数γF:",         "1.35", "",    "factor from the characteristic moment to the design one (program default 1.35)", "γ<sub>F</sub>"},
    {"pile_fy", "pilefyx",  "桩纵筋强度设计值fy(N/mm²):", "360", "N/mm²", "design strength of the pile's bars", "f<sub>y</sub>"},
    {"a_s",     "asx",      "受拉钢筋合力点至边缘as(mm):", "100", "mm", "distance of the tension bars' centroid from the face in tension", "a<sub>s</sub>"},
};
// clang-format on

namespace in {
inline constexpr FieldId thrust = fieldNamed(kFields, "thrust"), Ep = fieldNamed(kFields, "Ep"),
                         s = fieldNamed(kFields, "s"), h1 = fieldNamed(kFields, "h1"),
                         shape = fieldNamed(kFields, "shape"), ratio = fieldNamed(kFields, "ratio"),
                         section = fieldNamed(kFields, "section"), b = fieldNamed(kFields, "b"),
                         a = fieldNamed(kFields, "a"), d = fieldNamed(kFields, "d"),
                         concrete = fieldNamed(kFields, "concrete"), EI = fieldNamed(kFields, "EI"),
                         Bp = fieldNamed(kFields, "Bp"), h2 = fieldNamed(kFields, "h2"),
                         method = fieldNamed(kFields, "method"),
                         strata = fieldNamed(kFields, "strata"), foot = fieldNamed(kFields, "foot"),
                         yLimit = fieldNamed(kFields, "y_limit"),
                         grade = fieldNamed(kFields, "grade"),
                         gamma0 = fieldNamed(kFields, "gamma0"),
                         gammaF = fieldNamed(kFields, "gamma_F"),
                         fy = fieldNamed(kFields, "pile_fy"), as = fieldNamed(kFields, "a_s");
} // namespace in

inline constexpr std::size_t kMaxStrata = 20;

// A stratum below the slip surface as typed: its thickness, m or K, and allowable lateral stress.
struct Stratum {
    double thickness, value, allowable;
};

} // namespace subprogram::antislide

namespace subprogram {

// The pile as its inputs describe it, and its response (CalcError as the calculation would fail).
struct AntiSlidePile {
    PileModel model;
    double load = 0;               // on one pile, kN
    std::vector<double> allowable; // each stratum's lateral stress allowed, kPa
    std::optional<PileResponse> response;
};
AntiSlidePile analyseAntiSlidePile(const Form& form, Trace* trace = nullptr);

} // namespace subprogram
