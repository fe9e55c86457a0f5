#pragma once

#include "calculators/slipsurface.h"

#include <optional>
#include <string_view>
#include <vector>

// The slope calculator's fields, by handle, and the readers of its lists: shared by its
// description (slopestability.cpp) and the readers here.
namespace subprogram::slope {

// The blocks a broken line may have: the results table holds each one's forces.
inline constexpr std::size_t kMaxBlocks = 50;
inline constexpr double kRightAngle = 90;

inline constexpr Choice kCases[] = {
    {"永久边坡一般工况", "permanent", int(SlopeCase::Permanent)},
    {"地震工况", "seismic", int(SlopeCase::Seismic)},
    {"临时边坡", "temporary", int(SlopeCase::Temporary)},
};

inline constexpr Choice kFunctions[] = {
    {"半正弦", "half-sine", int(Interslice::HalfSine)},
    {"常数", "constant", int(Interslice::Constant)},
};

// What the search looks for where no surface is given.
enum class SlipSearch { Circular, NonCircular };
inline constexpr Choice kSearches[] = {
    {"圆弧", "circular", int(SlipSearch::Circular)},
    {"非圆弧", "non-circular", int(SlipSearch::NonCircular)},
};

// clang-format off
inline constexpr Field kFields[] = {
    {"grade",       "gradex",   "边坡工程安全等级:",     "二级",   "",     "slope safety grade 一级|1, 二级|2, 三级|3", "", Conversion::Word, {}, {}, kSlopeGrades, int(SlopeGrade::Second)},
    {"case",        "casex",    "工况:",                 "永久边坡一般工况", "", "situation for the required factor: 永久边坡一般工况|permanent, 地震工况|seismic, 临时边坡|temporary", "", Conversion::Word, {}, {}, kCases, int(SlopeCase::Permanent)},
    {"Fst_req",     "Fstreqx",  "要求的Fst:",             "",       "",     "the required stability factor Fst; empty: the program's default for the grade and case", "F<sub>st</sub>", Conversion::Word, "要求的稳定安全系数 Fst", {}, {}, 0, 6, {}, false, true},
    {"kh",          "khx",      "水平地震系数kh:",        "0",      "",     "horizontal seismic coefficient (Q = kh·G out of the slope)", "k<sub>h</sub>"},
    {"gamma_water", "gwx",      "水的重度γw(kN/m³):",     "10",     "kN/m³", "unit weight of water",                  "γ<sub>w</sub>"},
    {"G",           "Gx",       "滑体自重G(kN/m):",       "1000",   "kN/m", "weight of the block (broken-line: one per block, separated by ';')", "G", Conversion::Lengths},
    {"theta",       "thetax",   "滑面倾角θ(度):",         "30",     "°",    "inclination of the slip plane (broken-line: one per block)", "θ", Conversion::Lengths},
    {"c",           "cx",       "粘聚力c(kPa):",          "10",     "kPa",  "cohesion of the slip surface (broken-line: one, or one per block)", "c", Conversion::Lengths},
    {"phi",         "phix",     "内摩擦角φ(度):",         "20",     "°",    "friction angle of the slip surface, 0 to 90 (broken-line: one, or one per block)", "φ", Conversion::Lengths},
    {"L",           "Lx",       "滑面长度L(m):",          "20",     "m",    "length of the slip plane (planar)", "L"},
    {"hw",          "hwx",      "后缘裂隙充水高度hw(m):", "0",      "m",    "water in the rear tension crack (planar)", "h<sub>w</sub>"},
    {"Gb",          "Gbx",      "竖向附加荷载Gb(kN/m):",  "0",      "kN/m", "vertical load on the block (planar)", "G<sub>b</sub>"},
    {"P",           "Px",       "锚固力P(kN/m):",         "0",      "kN/m", "anchor force on the block (planar)", "P"},
    {"P_angle",     "Pax",      "锚固力倾角(度):",        "0",      "°",    "inclination of the anchor force below the horizontal (planar)", "β"},
    {"l",           "lx",       "各块滑面长度l(m):",      "20",     "m",    "length of each block's base, separated by ';' (broken-line)", "l<sub>i</sub>", Conversion::Lengths},
    {"U",           "Ux",       "各块滑面水压力U(kN/m):", "",       "kN/m", "water force on each block's base, separated by ';'; empty: none (broken-line)", "U<sub>i</sub>", Conversion::Lengths},
    {"gamma_t",     "gtx",      "滑坡推力安全系数γt:",     "1.2",    "",     "thrust safety factor (broken-line-explicit)", "γ<sub>t</sub>"},
    {"surface",     "surfacex", "地面线坐标(m):",         "0 0;10 0;30 10;40 10", "m", "ground surface, points 'x y' from left to right separated by ';' (bishop)", "", Conversion::Word},
    {"gamma",       "gammax",   "土的重度γ(kN/m³):",      "20",     "kN/m³", "unit weight of the soil, without layers (bishop)", "γ"},
    {"layers",      "layersx",  "分层土参数:",        "",       "",     "strata 'y_top gamma c phi [gamma_sat]' from the top down separated by ';', or with its top as it lies '(x y, x y, ...) gamma c phi [gamma_sat]' (no top above the one over it; gamma_sat below the phreatic line, default gamma); empty: one soil gamma, c, phi (bishop, spencer, morgenstern-price)", "", Conversion::Word},
    {"water",       "waterx",   "浸润线坐标(m):",         "",       "m",    "phreatic line, points 'x y' separated by ';'; empty: dry (bishop)", "", Conversion::Word},
    {"slices",      "slicesx",  "条分数:",                "50",     "",     "number of slices, 1 to 1000 (bishop)", "n", Conversion::Count},
    {"circle",      "circlex",  "指定滑弧(m):",   "",       "m",    "the circle 'xc yc R' to evaluate; empty: search for the critical circle (bishop)", "", Conversion::Word},
    {"min_depth",   "mindepthx", "最小滑体厚度(m):",     "0.1",    "m",    "least depth of a slip mass below the ground, 0 or more: a thinner circle is refused, and skipped by the search (bishop)", "h<sub>min</sub>", Conversion::Double, {}, {}, {}, 0, 6},
    {"entry",       "entryx",   "滑弧入口范围x(m):",      "",       "m",    "range 'x1 x2' where a searched circle may enter the ground (its upper end); empty: anywhere (bishop)", "", Conversion::Word, {}, {}, {}, 0, 6},
    {"exit",        "exitx",    "滑弧出口范围x(m):",      "",       "m",    "range 'x1 x2' where a searched circle may leave the ground (its lower end); empty: anywhere (bishop)", "", Conversion::Word, {}, {}, {}, 0, 6},
    {"centres",     "centresx", "圆心范围(m):",           "",       "m",    "range 'x1 x2 y1 y2' of the searched circles' centres; empty: the program's own grid (bishop)", "", Conversion::Word, {}, {}, {}, 0, 6},
    {"slip",        "slipx",    "指定滑面线(m):",         "",       "m",    "a slip surface of any shape, points 'x y' from left to right separated by ';', its ends at or above the ground; empty: the circle, or the search (spencer, morgenstern-price)", "", Conversion::Word, {}, {}, {}, 0, 8},
    {"function",    "functionx", "条间力函数f(x):",       "半正弦", "",     "the interslice force function: 半正弦|half-sine, 常数|constant (morgenstern-price)", "f(x)", Conversion::Word, {}, {}, kFunctions, int(Interslice::HalfSine), 8},
    {"search",      "searchx",  "搜索滑面形状:",          "圆弧",   "",     "what the search looks for where no surface is given: 圆弧|circular, 非圆弧|non-circular (any shape, from the critical circle; spencer, morgenstern-price)", "", Conversion::Word, {}, {}, kSearches, int(SlipSearch::Circular), 8},
    {"crack",       "crackx",   "张裂缝深度(m):",         "0",      "m",    "depth of a tension crack at the slip mass's upper end, 0 or more; 0: none (bishop, spencer, morgenstern-price)", "z<sub>c</sub>", Conversion::Double, {}, {}, {}, 0, 8, {}, true},
    {"crack_filled", "crackfilledx", "裂缝充水高度比:",   "0",      "",     "the share of the crack's depth filled with water, 0 to 1", "h<sub>c</sub>/z<sub>c</sub>", Conversion::Double, {}, {}, {}, 0, 8, {}, true},
    {"loads",       "loadsx",   "坡面条形荷载:",          "",       "",     "vertical strip loads on the ground 'q x1 x2' (kPa from x1 to x2 m) separated by ';'; empty: none (bishop, spencer, morgenstern-price)", "", Conversion::Word, {}, {}, {}, 0, 8, {}, true},
};
// clang-format on

namespace in {
constexpr FieldId grade = fieldNamed(kFields, "grade"), situation = fieldNamed(kFields, "case"),
                  FstReq = fieldNamed(kFields, "Fst_req"), kh = fieldNamed(kFields, "kh"),
                  gw = fieldNamed(kFields, "gamma_water"), G = fieldNamed(kFields, "G"),
                  theta = fieldNamed(kFields, "theta"), c = fieldNamed(kFields, "c"),
                  phi = fieldNamed(kFields, "phi"), L = fieldNamed(kFields, "L"),
                  hw = fieldNamed(kFields, "hw"), Gb = fieldNamed(kFields, "Gb"),
                  P = fieldNamed(kFields, "P"), Pangle = fieldNamed(kFields, "P_angle"),
                  l = fieldNamed(kFields, "l"), U = fieldNamed(kFields, "U"),
                  gammaT = fieldNamed(kFields, "gamma_t"), surface = fieldNamed(kFields, "surface"),
                  gamma = fieldNamed(kFields, "gamma"), layers = fieldNamed(kFields, "layers"),
                  water = fieldNamed(kFields, "water"), slices = fieldNamed(kFields, "slices"),
                  circle = fieldNamed(kFields, "circle"),
                  minDepth = fieldNamed(kFields, "min_depth"), entry = fieldNamed(kFields, "entry"),
                  exit = fieldNamed(kFields, "exit"), centres = fieldNamed(kFields, "centres"),
                  slip = fieldNamed(kFields, "slip"), function = fieldNamed(kFields, "function"),
                  crack = fieldNamed(kFields, "crack"),
                  crackFilled = fieldNamed(kFields, "crack_filled"),
                  loads = fieldNamed(kFields, "loads"), search = fieldNamed(kFields, "search");
} // namespace in

// The blocks of a broken line, from the lists G, theta, c, phi, l and U (c, φ: one for all, or
// one per block; U empty: none): lists of unequal length, more than kMaxBlocks blocks and values
// outside their physical range (G, c, U < 0; l ≤ 0; θ outside ±90°; φ outside 0–90°) are
// refused, naming the field.
std::vector<SlidingBlock> readBlocks(const Form& form);
// The section of a circular slide: surface, soil or strata, phreatic line, slices, the least
// depth of a slip mass; each refusal names its field and says why.
SlopeSection readSection(const Form& form, double kh, double gammaWater);
// The circle `xc yc R` to evaluate, or none.
std::optional<Circle> readCircle(const Form& form);
// The polyline slip surface to evaluate, or none; refused beside a circle (one surface at a time).
std::optional<std::vector<Point>> readSlip(const Form& form);
// What the search for the critical circle is limited to: where circles enter and leave the
// ground, where their centres lie (each range within the surface's x where it is one of x).
SearchLimits readLimits(const Form& form, const SlopeSection& section);
// φ of the planar block, 0 to 90°.
double readFriction(const Form& form);
// The required factor: the engineer's (a number > 0), or when left empty the program's default
// for the grade and the case; `set` tells which.
struct RequiredFactor {
    double value;
    bool set;
};
RequiredFactor readRequiredFactor(const Form& form, SlopeGrade grade, SlopeCase situation);

} // namespace subprogram::slope
