#pragma once

#include "calculators/calculator.h"
#include "calculators/ground.h"
#include "calculators/layeredpressure.h"
#include "calculators/wallsection.h"

#include <optional>

// The gravity wall's fields and results, by handle, and the reading of its inputs: shared by its
// description (gravitywall.cpp) and the readers here.
namespace subprogram::wall {

// clang-format off
// The ground under the base, which sets the eccentricity the program allows.
enum class Ground { Soil, Rock };
inline constexpr Choice kGrounds[] = {{"土质", "soil", int(Ground::Soil)}, {"岩质", "rock", int(Ground::Rock)}};
// Where Ea acts for the overturning check and the base stress: H/3 above the foot of the soil,
// the program's rule; or the centroid of its pressure diagram, higher under a surcharge.
enum class Lever { Third, Centroid };
// The toe block's width as typed, or as the other sizes give it, so that the blocks the weight
// sums take meet without overlap or gap: the upright wall's toe block ends at the foot of its face
// (b2 = c0), the shelf wall's upper wall is as wide at its foot as its top, batter and back slope
// make it (b2 = b5 + (n + x2)·h1).
enum class Section { AsGiven, Consistent };
inline constexpr Choice kSections[] = {{"按输入", "as-given", int(Section::AsGiven)},
                                {"推定b2", "consistent", int(Section::Consistent)}};
// Which Ea of a cohesive fill the checks take: the net area of its diagram, the tension zone
// counted (the program's rule, as the earth pressure gives Ea), or the compressed part alone.
enum class Tension { Counted, Ignored };
inline constexpr Choice kTensions[] = {{"计入拉力区", "counted", int(Tension::Counted), "计入"},
                                {"不计拉力区", "ignored", int(Tension::Ignored), "不计"}};
inline constexpr Choice kLevers[] = {{"H/3", "H/3", int(Lever::Third)}, {"压力图形心", "centroid", int(Lever::Centroid)}};

inline constexpr Field kOwnFields[] = {
    {"alpha",   "Text3",  "挡墙墙背倾角α(度):",         "90",    "°",     "wall back inclination",                     "α", Conversion::DoubleAndSingle},
    {"delta",   "Text4",  "岩土对挡墙墙背摩擦角δ(度):",  "10",    "°",     "friction angle between soil and wall back", "δ", Conversion::DoubleAndSingle},
    {"gamma",   "Yx",     "土体重度Y(KN/M3):",          "20",    "kN/m³", "unit weight of the soil",                   "γ"},
    {"H",       "hx",     "挡土墙高度H(米):",           "2.6",   "m",     "height of the retained soil",               "H", Conversion::DoubleAndSingle},
    {"phi",     "Fix",    "土的内摩擦角Fi(度):",        "30",    "°",     "internal friction angle of the soil",       "φ"},
    {"q",       "Qx",     "地表均布荷载标准值q(KPa):",   "10",    "kPa",   "uniform surface load",                      "q"},
    {"c",       "Cx",     "土的粘聚力c(KPa):",          "0",     "kPa",   "cohesion of the soil",                      "c"},
    {"beta",    "Bx",     "填土表面与水平面的夹角B:",    "0",     "°",     "angle between backfill surface and horizontal", "β"},
    {"alpha0",  "Text2",  "挡墙基底倾角α0(度):",        "11.3",  "°",     "base inclination",                          "α<sub>0</sub>", Conversion::Single},
    {"mu",      "Text5",  "岩土对挡墙基底的摩擦系数:",    "0.3",   "",      "friction coefficient between soil and base", "μ", Conversion::Single},
    {"b",       "Text8",  "基底的水平投影宽度b(m):",     "1.49",  "m",     "horizontal projected width of the base",    "b", Conversion::Single},
    {"gamma_w", "Text11", "挡墙材料重度(KN/M):",        "24",    "kN/m³", "unit weight of the wall material",          "γ<sub>w</sub>", Conversion::Single},
    {"b1",      "Text12", "墙顶宽度b1(M):",             "0.5",   "m",     "top width",                                 "b<sub>1</sub>", Conversion::Single},
    {"Ht",      "Text14", "墙体总高H(M):",              "4",     "m",     "total wall height",                         "H<sub>t</sub>", Conversion::Single},
    {"n",       "Text15", "墙面坡率:",                  "0.05",  "",      "batter of the wall face",                   "n", Conversion::Single},
    {"x2",      "Text26", "x2:",                       "0.35",  "",      "back slope of the upper wall (shelf type)", "x<sub>2</sub>", Conversion::Single, "上墙墙背坡率"},
    {"h1",      "Text19", "h1(m):",                    "2",     "m",     "toe block height / upper wall height",      "h<sub>1</sub>", Conversion::Single, "墙趾台阶高度（衡重式为上墙高度）"},
    {"h2",      "Text20", "h2(m):",                    "0.298", "m",     "rise of the base from heel to toe",         "h<sub>2</sub>", Conversion::Single, "墙踵与墙趾的高差"},
    {"b2",      "Text22", "b2(m):",                    "1.30",  "m",     "toe block width / upper wall bottom width", "b<sub>2</sub>", Conversion::Single, "墙趾台阶宽度（衡重式为上墙底宽）"},
    {"b3",      "Text21", "b3(m):",                    "1.03",  "m",     "front band of the lower wall (shelf type)", "b<sub>3</sub>", Conversion::Single, "下墙前部宽度"},
    {"b4",      "Text23", "b4(m):",                    "0.45",  "m",     "toe projection of the footing (shelf type)", "b<sub>4</sub>", Conversion::Single, "墙趾外伸宽度"},
    {"b5",      "Text24", "b5(m):",                    ".5",    "m",     "top width of the upper wall (shelf type)",  "b<sub>5</sub>", Conversion::Single, "上墙顶宽"},
    {"h4",      "Text25", "h4(m):",                    "0.65",  "m",     "footing height (shelf type)",               "h<sub>4</sub>", Conversion::Single, "墙趾高度"},
    {"x3",      "Text27", "x3:",                       "0.25",  "",      "back slope of the lower wall (shelf type)", "x<sub>3</sub>", Conversion::Single, "下墙墙背坡率"},
    // the checks' own, beyond the window's original fields
    {"ground",  "groundx", "地基类别:",                 "土质",  "",      "foundation: 土质|soil, 岩质|rock",          "",   Conversion::Word, {}, {}, kGrounds, int(Ground::Soil), 2},
    {"fa",      "fax",    "地基承载力特征值fa(kPa):",   "",      "kPa",   "characteristic bearing capacity (empty: not checked)", "f<sub>a</sub>", Conversion::Double, {}, {}, {}, {}, 2},
    {"section", "sectionx", "截面尺寸:",               "按输入", "",      "b2 as-given, or consistent: the upright wall's toe block ends at the foot of its face (b2 = c0), the shelf wall's upper wall b2 = b5 + (n + x2)·h1", "", Conversion::Word, {}, {}, kSections, int(Section::AsGiven), 4},
    {"tension", "tensionx", "粘性土拉力区:",           "",      "",      "the checks' Ea of a cohesive fill: counted (the net Ea, the tension zone counted) | ignored (the compressed part alone); empty: counted for the one soil (the program's rule), ignored for the ground behind the wall (the ground's rule)", "", Conversion::Word, {}, {}, kTensions, int(Tension::Counted), 4},
    {"lever",   "leverx", "土压力作用点:",             "H/3",   "",      "where Ea acts for overturning and base stress: H/3 (the program's rule) | centroid (of its pressure diagram)", "", Conversion::Word, {}, {}, kLevers, int(Lever::Third), 4},
    // the required factors and the eccentricity allowed, the engineer's to set; empty: the
    // program's defaults
    {"Ks_req",  "Ksreqx", "要求的Ks:",                 "",      "",      "the least sliding factor; empty: 1.3 (the program's default)", "K<sub>s</sub>", Conversion::Word, "要求的抗滑移安全系数", {}, {}, 0, 6, {}, false, true},
    {"Kt_req",  "Ktreqx", "要求的Kt:",                 "",      "",      "the least overturning factor; empty: 1.6 (the program's default)", "K<sub>t</sub>", Conversion::Word, "要求的抗倾覆安全系数", {}, {}, 0, 6, {}, false, true},
    {"e_req",   "ereqx",  "容许偏心距:",               "",      "m",     "the eccentricity allowed: a length, or b/N; empty: b/6 on soil, b/4 on rock (the program's defaults)", "e", Conversion::Word, "容许的基底合力偏心距", {}, {}, 0, 6, {}, false, true},
    {"Ks_req_seismic", "Ksreqsx", "地震工况要求的Ks:", "",      "",      "the least sliding factor in an earthquake (kh > 0); empty: 1.1 (the program's default)", "K<sub>s</sub>", Conversion::Word, "地震工况要求的抗滑移安全系数", {}, {}, 0, 6, {}, false, true},
    {"Kt_req_seismic", "Ktreqsx", "地震工况要求的Kt:", "",      "",      "the least overturning factor in an earthquake (kh > 0); empty: 1.3 (the program's default)", "K<sub>t</sub>", Conversion::Word, "地震工况要求的抗倾覆安全系数", {}, {}, 0, 6, {}, false, true},
};

// the ground as it stands behind the wall: any of its fields given, the checks take its loading
inline constexpr auto kFields =
    ground::joined(kOwnFields, ground::fields({.since = 5, .optional = true}));

inline constexpr Result kResults[] = {
    {"Text1",  "Ka",   "主动土压力系数",               "K<sub>a</sub>",   ""},
    {"Text6",  "Ea",   "主动土压力(KN)",               "E<sub>a</sub>",   "kN/m"}, // per metre of wall
    {"Text7",  "G",    "墙体自重(KN)",                 "G",               "kN/m"},
    {"Text13", "x0",   "挡墙重心至墙趾的水平距离(M):",  "x<sub>0</sub>",   "m"},
    {"Text10", "Kt",   "抗倾系数",                     "K<sub>t</sub>",   "", "0", {}, false, false, false, "无倾覆力矩"},
    {"Text9",  "Ks",   "抗滑移系数",                   "K<sub>s</sub>",   "", "0", {}, false, false, false, "无下滑力"},
    {"Text16", "pmax", "基底最大应力(KN/MxM)",         "p<sub>max</sub>", "kPa"},
    {"Text17", "e",    "基底合力偏心矩(M):",           "e",               "m"},
    {"Text18", "pmin", "基底最小应力(KN/MxM)",         "p<sub>min</sub>", "kPa"},
    // beyond the window's original results: for the checks
    {"pkx",    "pk",   "基底平均应力(kPa):",           "p<sub>k</sub>",   "kPa", "0", "基底平均应力", false, true},
    {"",       "drive", "", "", "kN/m", "0", {}, true},
    {"",       "tip",   "", "", "kN·m/m", "0", {}, true},
    {"",       "formed", "", "", "", "0", {}, true}, // 1 where the section can be formed, else 0
    {"",       "c0",    "", "", "m",    "0", {}, true},
    // where the pressure diagram's resultant acts, and, under the H/3 rule, Kt with Ea there
    {"",       "zc",    "", "z<sub>c</sub>", "m", "0", "土压力作用点高度（图形心）", false, true},
    {"",       "Kt_c",  "", "K<sub>t,c</sub>", "", "0", "抗倾系数（图形心力臂）", false, true},
    {"",       "Ea_compressed", "", "E<sub>a,压</sub>", "kN/m", "0", "主动土压力（不计拉力区）", false, true},
    {"",       "b2_used", "", "b<sub>2</sub>", "m", "0", "计算所用墙趾台阶宽 b2", false, true},
    // the ground's loads beside Ea, written when the ground's inputs are given
    {"",       "Pw",    "", "P<sub>w</sub>", "kN/m", "0", "墙后水压力 Pw", false, false, true},
    {"",       "zw",    "", "z<sub>w</sub>", "m",    "0", "Pw 作用点距墙踵高度", false, false, true},
    {"",       "U",     "", "U",             "kN/m", "0", "基底扬压力 U", false, false, true},
    {"",       "Fi",    "", "F<sub>i</sub>", "kN/m", "0", "墙体水平地震惯性力 kh·G", false, false, true},
    {"",       "u_heel", "", "u", "kPa", "0", "墙踵处水头（扬压力 U = ½u·b）", false, false, true},
};

// clang-format on

// The fields and results by name, for the calculation.
namespace in {
constexpr FieldId alpha = fieldNamed(kFields, "alpha"), delta = fieldNamed(kFields, "delta"),
                  gamma = fieldNamed(kFields, "gamma"), H = fieldNamed(kFields, "H"),
                  phi = fieldNamed(kFields, "phi"), q = fieldNamed(kFields, "q"),
                  c = fieldNamed(kFields, "c"), beta = fieldNamed(kFields, "beta"),
                  alpha0 = fieldNamed(kFields, "alpha0"), mu = fieldNamed(kFields, "mu"),
                  b = fieldNamed(kFields, "b"), gammaW = fieldNamed(kFields, "gamma_w"),
                  b1 = fieldNamed(kFields, "b1"), Ht = fieldNamed(kFields, "Ht"),
                  n = fieldNamed(kFields, "n"), x2 = fieldNamed(kFields, "x2"),
                  h1 = fieldNamed(kFields, "h1"), h2 = fieldNamed(kFields, "h2"),
                  b2 = fieldNamed(kFields, "b2"), b3 = fieldNamed(kFields, "b3"),
                  b4 = fieldNamed(kFields, "b4"), b5 = fieldNamed(kFields, "b5"),
                  h4 = fieldNamed(kFields, "h4"), x3 = fieldNamed(kFields, "x3"),
                  ground = fieldNamed(kFields, "ground"), fa = fieldNamed(kFields, "fa"),
                  lever = fieldNamed(kFields, "lever"), section = fieldNamed(kFields, "section"),
                  tension = fieldNamed(kFields, "tension"), layers = fieldNamed(kFields, "layers"),
                  water = fieldNamed(kFields, "water"), gw = fieldNamed(kFields, "gamma_water"),
                  loads = fieldNamed(kFields, "loads"), kh = fieldNamed(kFields, "kh"),
                  KsReq = fieldNamed(kFields, "Ks_req"), KtReq = fieldNamed(kFields, "Kt_req"),
                  eReq = fieldNamed(kFields, "e_req"),
                  KsReqSeismic = fieldNamed(kFields, "Ks_req_seismic"),
                  KtReqSeismic = fieldNamed(kFields, "Kt_req_seismic");
} // namespace in
namespace out {
constexpr ResultId Ka = resultNamed(kResults, "Ka"), Ea = resultNamed(kResults, "Ea"),
                   G = resultNamed(kResults, "G"), x0 = resultNamed(kResults, "x0"),
                   Kt = resultNamed(kResults, "Kt"), Ks = resultNamed(kResults, "Ks"),
                   pmax = resultNamed(kResults, "pmax"), e = resultNamed(kResults, "e"),
                   pmin = resultNamed(kResults, "pmin"), pk = resultNamed(kResults, "pk"),
                   drive = resultNamed(kResults, "drive"), c0 = resultNamed(kResults, "c0"),
                   tip = resultNamed(kResults, "tip"), formed = resultNamed(kResults, "formed"),
                   zc = resultNamed(kResults, "zc"), KtC = resultNamed(kResults, "Kt_c"),
                   b2Used = resultNamed(kResults, "b2_used"),
                   EaCompressed = resultNamed(kResults, "Ea_compressed"),
                   Pw = resultNamed(kResults, "Pw"), zw = resultNamed(kResults, "zw"),
                   U = resultNamed(kResults, "U"), Fi = resultNamed(kResults, "Fi"),
                   uHeel = resultNamed(kResults, "u_heel");
} // namespace out

// The wall's inputs as every part of it takes them: the calculation, the checks, the warnings,
// the section and the pressure diagram read them through this one routine, so that each field is
// read and converted in one way, in the calculation's order. The wall works on single readings,
// its earth pressure on double ones; α, δ and H are read both ways.
struct WallInputs {
    float x2, x3, b4, b5, h4;
    float alpha0, alphaS, deltaS, mu, b, gammaW, b1, b2, b3, Ht, n, HS, h1, h2;
    double alpha, beta, delta, q, c, phi, gamma, H;
    Section section;
    Tension tension;
    Lever lever;
    // the ground as it stands behind the wall, when any of its inputs is given
    std::optional<Backfill> ground;
};

WallInputs readWall(const Form& form);
// The limits the checks hold the wall to: the engineer's where set, else the program's defaults
// (sliding 1.3, overturning 1.6; in an earthquake 1.1 and 1.3; the eccentricity b/6 on soil,
// b/4 on rock). Each with its name where it is not the verdict's own, and whether it was set.
struct Limit {
    double value;
    std::string_view name;
    bool set;
};
struct WallLimits {
    Limit sliding, overturning, eccentricity;
};
WallLimits readLimits(const Form& form, float b, bool seismic);

// The section's sizes, with the toe block `b2` the weight sums take and the base's rise `h2`.
WallSizes sizesOf(const WallInputs& w, float b2, float h2);
// The pressure of the ground as it stands: strata, water, local loads, earthquake.
LayeredPressure groundPressure(const WallInputs& w, Trace* trace = nullptr);
// The earth pressure's law over the soil's height (double readings, as the earth pressure takes
// them).
PressureLaw wallLaw(const WallInputs& w);
// The height above the foot of the soil at which its resultant acts, the centroid of its diagram
// `law` (of the compressed part alone, when the checks ignore the tension zone); none without a
// thrust.
std::optional<double> pressureCentroid(const WallInputs& w, const PressureLaw& law);

} // namespace subprogram::wall
