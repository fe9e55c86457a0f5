#pragma once

#include "calculators/anchorbar.h"
#include "calculators/calculator.h"
#include "calculators/ground.h"
#include "calculators/rcsection.h"
#include "calculators/rib.h"
#include "calculators/slopegrade.h"

#include <array>
#include <optional>
#include <vector>

// The anchored wall's fields, by handle, and its choices, and the wall as its inputs describe it:
// shared by its description (anchoredwall.cpp) and the reading of its inputs
// (anchoredwallinputs.cpp).
namespace subprogram::anchored {

enum class SlopeKind { Rock, Soil };
enum class Shape { Trapezoid, Triangle, Uniform, Diagram };
enum class Model { Beam, Area };

// clang-format off
inline constexpr Choice kSlopeKinds[] = {{"岩质", "rock", int(SlopeKind::Rock)}, {"土质", "soil", int(SlopeKind::Soil)}};
inline constexpr Choice kShapes[] = {{"梯形", "trapezoid", int(Shape::Trapezoid)}, {"三角形", "triangle", int(Shape::Triangle)},
                              {"均布", "uniform", int(Shape::Uniform)}, {"土压力图", "diagram", int(Shape::Diagram)}};
inline constexpr Choice kModels[] = {{"连续梁", "beam", int(Model::Beam)}, {"受荷面积", "area", int(Model::Area)}};
inline constexpr Choice kFeet[] = {{"铰支", "hinged", int(RibFoot::Hinged)}, {"嵌固", "fixed", int(RibFoot::Fixed)},
                            {"自由", "free", int(RibFoot::Free)}};
inline constexpr Choice kServices[] = {{"永久", "permanent", int(AnchorKind::Permanent)},
                                {"临时", "temporary", int(AnchorKind::Temporary)}};


inline constexpr Field kWallFields[] = {
    {"H",       "Hx",       "挡墙高度H(m):",          "6",   "m",   "height of the wall", "H"},
    {"q",       "qx",       "地表均布荷载q(kPa):",    "10",  "kPa", "uniform surcharge on the ground behind the wall", "q"},
    {"alpha",   "alphax",   "墙背倾角α(度):",         "90",  "°",   "inclination of the wall's face to the horizontal (90: upright)", "α"},
    {"beta",    "betax",    "坡顶地面坡角β(度):",     "0",   "°",   "inclination of the ground behind the wall", "β"},
    {"delta",   "deltax",   "墙背摩擦角δ(度):",       "0",   "°",   "friction angle between the wall and the ground", "δ"},
};
inline constexpr Field kDesignFields[] = {
    {"Eah",     "Eahx",     "水平推力标准值Eah(kN/m):", "",  "kN/m", "characteristic horizontal thrust per metre; empty: the horizontal component of the ground's earth pressure", "E<sub>ah</sub>", Conversion::Word},
    {"slope",   "slopex",   "边坡类型:",              "岩质", "",   "the slope, for the trapezoid's shape: 岩质|rock, 土质|soil", "", Conversion::Word, {}, {}, kSlopeKinds},
    {"distribution", "distributionx", "侧压力分布:",  "梯形", "",  "the pressure's shape over the height: 梯形|trapezoid, 三角形|triangle, 均布|uniform, 土压力图|diagram (the ground's own, scaled by beta2)", "", Conversion::Word, {}, {}, kShapes},
    {"beta2",   "beta2x",   "侧压力修正系数β2:",      "1.0", "",    "correction factor of the thrust, E'ah = beta2·Eah", "β<sub>2</sub>"},
    {"rows",    "rowsx",    "锚杆排位深度(m):",       "1;3;5", "m", "the anchor rows' depths below the crest, separated by ';'", "z<sub>j</sub>", Conversion::Lengths},
    {"sx",      "sxx",      "肋柱间距sx(m):",         "2.5", "m",   "horizontal spacing of the ribs, one anchor per rib and row", "s<sub>x</sub>"},
    {"a",       "ax",       "锚杆倾角a(度):",         "15",  "°",   "inclination of the anchors below the horizontal", "a"},
    {"forces",  "forcesx",  "内力计算:",              "连续梁", "", "the rows' forces: 连续梁|beam (the rib on the rows), 受荷面积|area (each row's band)", "", Conversion::Word, {}, {}, kModels},
    {"base",    "basex",    "肋柱底端:",              "铰支", "",   "the rib's foot: 铰支|hinged, 嵌固|fixed, 自由|free", "", Conversion::Word, {}, {}, kFeet},
    {"fy",      "fyx",      "锚筋抗拉强度设计值fy(N/mm²):", "310", "N/mm²", "design strength of the anchors' bars", "f<sub>y</sub>"},
    {"frb",     "frbx",     "极限粘结强度标准值frbk(kPa):", "180", "kPa", "ultimate bond strength between ground and anchor body", "f<sub>rbk</sub>", Conversion::Double, "岩土层与锚固体极限粘结强度标准值"},
    {"D",       "Dx",       "锚固体直径D(mm):",       "140", "mm",  "diameter of the anchor body", "D"},
    {"d",       "dx",       "锚筋直径d(mm):",         "22",  "mm",  "diameter of a bar", "d"},
    {"fb",      "fbx",      "钢筋与砂浆粘结强度fb(kPa):", "2700", "kPa", "bond strength between bars and grout", "f<sub>b</sub>"},
    {"n",       "nx",       "每根锚杆钢筋根数n:",     "3",   "",    "number of bars in an anchor", "n"},
    {"grade",   "gradex",   "边坡工程安全等级:",      "二级", "",   "slope safety grade 一级|1, 二级|2, 三级|3", "", Conversion::Word, {}, {}, kSlopeGrades},
    {"service", "servicex", "锚杆使用期:",            "永久", "",   "永久|permanent, 临时|temporary", "", Conversion::Word, {}, {}, kServices},
    {"kind",    "kindx",    "锚杆类型:",              "岩石锚杆", "", "岩石锚杆|rock (bonded length 3 m to min(45D, 6.5 m)), 土层锚杆|soil (4 m to 10 m)", "", Conversion::Word, {}, {}, kAnchorGrounds},
    {"rib_b",   "ribbx",    "肋柱宽度b(mm):",         "300", "mm",  "width of a rib", "b"},
    {"rib_h",   "ribhx",    "肋柱截面高度h(mm):",     "400", "mm",  "depth of a rib's section, face to back", "h"},
    {"concrete", "concretex", "肋柱混凝土强度等级:",  "C25", "",    "concrete grade of the ribs, C20 to C50", "", Conversion::Word, {}, {}, kConcreteChoices},
    {"rib_fy",  "ribfyx",   "肋柱纵筋强度设计值(N/mm²):", "360", "N/mm²", "design strength of the ribs' bars", "f<sub>y</sub>"},
    {"a_s",     "asx",      "受拉钢筋合力点至边缘as(mm):", "40", "mm", "distance of the tension bars' centroid from the face in tension", "a<sub>s</sub>"},
    {"gamma0",  "gamma0x",  "结构重要性系数γ0:",      "",    "",    "importance factor; empty: by the grade, 1.1 for 一级, else 1.0 (GB 50330-2013 3.3.2)", "γ<sub>0</sub>"},
    {"gamma_F", "gammaFx",  "荷载分项系数γF:",        "1.35", "",   "factor from the characteristic internal forces to the design ones (program default 1.35)", "γ<sub>F</sub>"},
};
// clang-format on

inline constexpr ground::Use kGroundUse{.layers = "3 18 0 30;3 19 10 20 20"};
inline constexpr auto kGroundFields = ground::fields(kGroundUse);

inline constexpr std::size_t kFieldCount =
    std::size(kWallFields) + kGroundFields.size() + 1 + std::size(kDesignFields);
inline constexpr auto kFields = [] {
    std::array<Field, kFieldCount> all{};
    std::size_t i = 0;
    for (const Field& f : kWallFields) {
        all[i++] = f;
    }
    for (const Field& f : kGroundFields) {
        all[i++] = f;
    }
    all[i++] = ground::tensionField(kGroundUse);
    for (const Field& f : kDesignFields) {
        all[i++] = f;
    }
    return all;
}();

namespace in {
inline constexpr FieldId H = fieldNamed(kFields, "H"), q = fieldNamed(kFields, "q"),
                         alpha = fieldNamed(kFields, "alpha"), beta = fieldNamed(kFields, "beta"),
                         delta = fieldNamed(kFields, "delta"),
                         layers = fieldNamed(kFields, "layers"),
                         water = fieldNamed(kFields, "water"),
                         gw = fieldNamed(kFields, "gamma_water"),
                         loads = fieldNamed(kFields, "loads"), kh = fieldNamed(kFields, "kh"),
                         tension = fieldNamed(kFields, "tension"), Eah = fieldNamed(kFields, "Eah"),
                         slope = fieldNamed(kFields, "slope"),
                         shape = fieldNamed(kFields, "distribution"),
                         beta2 = fieldNamed(kFields, "beta2"), rows = fieldNamed(kFields, "rows"),
                         sx = fieldNamed(kFields, "sx"), a = fieldNamed(kFields, "a"),
                         forces = fieldNamed(kFields, "forces"), base = fieldNamed(kFields, "base"),
                         fy = fieldNamed(kFields, "fy"), frb = fieldNamed(kFields, "frb"),
                         D = fieldNamed(kFields, "D"), d = fieldNamed(kFields, "d"),
                         fb = fieldNamed(kFields, "fb"), n = fieldNamed(kFields, "n"),
                         grade = fieldNamed(kFields, "grade"),
                         service = fieldNamed(kFields, "service"),
                         kind = fieldNamed(kFields, "kind"), ribB = fieldNamed(kFields, "rib_b"),
                         ribH = fieldNamed(kFields, "rib_h"),
                         concrete = fieldNamed(kFields, "concrete"),
                         ribFy = fieldNamed(kFields, "rib_fy"), as = fieldNamed(kFields, "a_s"),
                         gamma0 = fieldNamed(kFields, "gamma0"),
                         gammaF = fieldNamed(kFields, "gamma_F");
} // namespace in

// The most anchor rows a wall takes; each has results and checks of its own.
inline constexpr std::size_t kMaxRows = 20;
inline constexpr double kLeastRowGap = 0.1; // m

} // namespace subprogram::anchored

namespace subprogram {

// The wall's load and what it does, as the calculation, its drawings and its report take it.
struct AnchoredWallAnalysis {
    double H = 0, sx = 0;
    double EaH = 0, EaHmod = 0;      // the thrust used and E′ah = β2·Eah, kN/m
    std::optional<double> eh;        // the trapezoid's or the uniform shape's ordinate, kPa
    std::vector<LoadPiece> earth;    // the redistributed earth pressure, kPa
    std::vector<LoadPiece> water;    // the water's own pressure, kPa (none: dry)
    std::vector<LoadPiece> rib;      // the load on one rib, (earth + water)·sx, kN/m
    std::vector<double> rows;        // the anchor rows' depths
    std::optional<RibForces> forces; // the rib as a continuous beam; none by tributary bands
    std::vector<double> reactions;   // each row's, per rib
};

// Reads the fields and analyses the wall, as the calculation does (CalcError as it would fail).
AnchoredWallAnalysis analyseAnchoredWall(const Form& form, Trace* trace = nullptr);

} // namespace subprogram
