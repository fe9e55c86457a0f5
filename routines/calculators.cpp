#include "calculators.h"

namespace subprogram {

namespace {

// clang-format off
const FieldSpec kEarthPressure[] = {
    {"H",       "hx",   "5",   "m",      "height of the wall",                          "挡土墙高度H(米)",            "H"},
    {"gamma",   "Yx",   "18",  "kN/m³",  "unit weight of the soil",                     "土体重度Y(KN/M3)",           "γ"},
    {"phi",     "Fix",  "30",  "°",      "internal friction angle (not read by limited-fill)", "土的内摩擦角Fi(度)",  "φ"},
    {"q",       "Qx",   "1.5", "kPa",    "uniform load on the ground surface",          "地表均布荷载标准值q(KPa)",   "q"},
    {"c",       "Cx",   "0",   "kPa",    "cohesion of the soil",                        "土的粘聚力c(KPa)",           "c"},
    {"delta",   "STx",  "0",   "°",      "friction angle between soil and wall back",   "土对挡土墙墙背的摩擦角ST",   "δ"},
    {"beta",    "Bx",   "0",   "°",      "angle between fill surface and horizontal",   "填土表面与水平面的夹角B",     "β"},
    {"alpha",   "ax",   "90",  "°",      "angle between wall back and horizontal",      "墙背与水平面的夹角a",         "α"},
    {"theta",   "SSx",  "45",  "°",      "slip surface angle; rock face inclination for limited-fill", "滑裂面与水平面的夹角ss / 稳定岩石坡面的倾角", "θ"},
    {"delta_r", "strx", "12",  "°",      "friction between rock face and fill (limited-fill only)", "稳定岩石坡面与填土间的摩擦角str", "δ<sub>r</sub>"},
};
const ResultSpec kEarthPressureResults[] = {
    {"Kax",  "Ka", "主动土压力系数Ka",     "K<sub>a</sub>", ""},
    {"Eax",  "Ea", "主动土压力标准值Ea",   "E<sub>a</sub>", "kN/m"},
    {"K0ix", "K0", "静止土压力系数K0i",    "K<sub>0</sub>", ""},
    {"E0ix", "E0", "静止土压力标准值E0i",  "E<sub>0</sub>", "kPa"},
};

const FieldSpec kAnchor[] = {
    {"a",      "Text1",  "0",    "°",   "inclination of the anchor",                  "锚杆倾角a(度)",                "a"},
    {"Htk",    "Text2",  "10",   "kN",  "standard value of the horizontal tension",   "锚杆水平拉力标准值(KN)",       "H<sub>tk</sub>"},
    {"fy",     "Text3",  "310",  "kPa", "design tensile strength of the bar",         "锚筋抗拉强度设计值(kPa)",      "f<sub>y</sub>"},
    {"gamma0", "Text4",  "1.1",  "",    "importance factor of the building slope",    "建筑边坡重要性系数",           "γ<sub>0</sub>"},
    {"frb",    "Text9",  "180",  "kPa", "bond strength between rock and anchor body", "岩石与锚固体粘结强度特征值(kPa)", "f<sub>rb</sub>"},
    {"D",      "Text10", "140",  "mm",  "diameter of the anchor body",                "锚固体直径(mm)",               "D"},
    {"d",      "Text11", "22",   "mm",  "diameter of one bar",                        "锚筋直径(mm)",                 "d"},
    {"fb",     "Text12", "2700", "kPa", "bond strength between bar and grout",        "钢砂浆间的粘结强度(kPa)",      "f<sub>b</sub>"},
};
const ResultSpec kAnchorResults[] = {
    {"Text5", "Na", "锚杆轴向拉力设计值",       "N<sub>a</sub>", "kN"},
    {"Text6", "As", "锚杆钢筋截面积",           "A<sub>s</sub>", ""},
    {"Text7", "la", "锚固段长度",               "l<sub>a</sub>", "m"},
    {"Text8", "lb", "锚筋与砂浆间的锚固长度",   "l<sub>b</sub>", "m"},
};

const FieldSpec kGravityWall[] = {
    {"alpha",   "Text3",  "90",    "°",     "wall back inclination",                     "挡墙墙背倾角α(度)",          "α"},
    {"delta",   "Text4",  "10",    "°",     "friction angle between soil and wall back", "岩土对挡墙墙背摩擦角δ(度)",  "δ"},
    {"gamma",   "Yx",     "20",    "kN/m³", "unit weight of the soil",                   "土体重度Y(KN/M3)",           "γ"},
    {"H",       "hx",     "2.6",   "m",     "height of the retained soil",               "挡土墙高度H(米)",            "H"},
    {"phi",     "Fix",    "30",    "°",     "internal friction angle of the soil",       "土的内摩擦角Fi(度)",         "φ"},
    {"q",       "Qx",     "10",    "kPa",   "uniform surface load",                      "地表均布荷载标准值q(KPa)",   "q"},
    {"c",       "Cx",     "0",     "kPa",   "cohesion of the soil",                      "土的粘聚力c(KPa)",           "c"},
    {"beta",    "Bx",     "0",     "°",     "angle between backfill surface and horizontal", "填土表面与水平面的夹角B", "β"},
    {"alpha0",  "Text2",  "11.3",  "°",     "base inclination",                          "挡墙基底倾角α0(度)",         "α<sub>0</sub>"},
    {"mu",      "Text5",  "0.3",   "",      "friction coefficient between soil and base", "岩土对挡墙基底的摩擦系数",  "μ"},
    {"b",       "Text8",  "1.49",  "m",     "horizontal projected width of the base",    "基底的水平投影宽度b(m)",     "b"},
    {"gamma_w", "Text11", "24",    "kN/m³", "unit weight of the wall material",          "挡墙材料重度(KN/M)",         "γ<sub>w</sub>"},
    {"b1",      "Text12", "0.5",   "m",     "top width",                                 "墙顶宽度b1(M)",              "b<sub>1</sub>"},
    {"Ht",      "Text14", "4",     "m",     "total wall height",                         "墙体总高H(M)",               "H<sub>t</sub>"},
    {"n",       "Text15", "0.05",  "",      "batter of the wall face",                   "墙面坡率",                   "n"},
    {"x2",      "Text26", "0.35",  "",      "back slope of the upper wall (shelf type)", "x2",                         "x<sub>2</sub>"},
    {"h1",      "Text19", "2",     "m",     "toe block height / upper wall height",      "h1(m)",                      "h<sub>1</sub>"},
    {"h2",      "Text20", "0.298", "m",     "rise of the base from heel to toe",         "h2(m)",                      "h<sub>2</sub>"},
    {"b2",      "Text22", "1.30",  "m",     "toe block width / upper wall bottom width", "b2(m)",                      "b<sub>2</sub>"},
    {"b3",      "Text21", "1.03",  "m",     "front band of the lower wall (shelf type)", "b3(m)",                      "b<sub>3</sub>"},
    {"b4",      "Text23", "0.45",  "m",     "toe projection of the footing (shelf type)", "b4(m)",                     "b<sub>4</sub>"},
    {"b5",      "Text24", ".5",    "m",     "top width of the upper wall (shelf type)",  "b5(m)",                      "b<sub>5</sub>"},
    {"h4",      "Text25", "0.65",  "m",     "footing height (shelf type)",               "h4(m)",                      "h<sub>4</sub>"},
    {"x3",      "Text27", "0.25",  "",      "back slope of the lower wall (shelf type)", "x3",                         "x<sub>3</sub>"},
};
const ResultSpec kGravityWallResults[] = {
    {"Text1",  "Ka",   "主动土压力系数",             "K<sub>a</sub>",     ""},
    {"Text6",  "Ea",   "主动土压力",                 "E<sub>a</sub>",     "kN"},
    {"Text7",  "G",    "墙体自重",                   "G",                 "kN"},
    {"Text13", "x0",   "挡墙重心至墙趾的水平距离",   "x<sub>0</sub>",     "m"},
    {"Text10", "Kt",   "抗倾系数",                   "K<sub>t</sub>",     ""},
    {"Text9",  "Ks",   "抗滑移系数",                 "K<sub>s</sub>",     ""},
    {"Text16", "pmax", "基底最大应力",               "p<sub>max</sub>",   "kPa"},
    {"Text17", "e",    "基底合力偏心矩",             "e",                 "m"},
    {"Text18", "pmin", "基底最小应力",               "p<sub>min</sub>",   "kPa"},
};

const FieldSpec kBeam[] = {
    {"n",       "Combo1", "2",    "",     "number of spans, 1 to 99",                     "跨数",       "n"},
    {"b",       "Combo3", "200",  "mm",   "section width",                                "梁宽(mm)",   "b"},
    {"h",       "Combo4", "300",  "mm",   "section height",                               "梁高(mm)",   "h"},
    {"q",       "Text2",  "10",   "kN/m", "design load below the kink",                   "荷载(KN/M)", "q"},
    {"upper",   "Combo5", "铰支", "",     "upper end: 铰支|hinged, 嵌固|fixed, 自由|free", "上端支座",   ""},
    {"lower",   "Combo6", "铰支", "",     "lower end: 铰支|hinged, 嵌固|fixed, 自由|free", "下端支座",   ""},
    {"grade",   "Combo2", "C20",  "",     "concrete grade C15 … C40",                     "混凝土强度", ""},
    {"lengths", "",       "",     "m",    "span lengths separated by ';' (default: every span 2 m)", "各跨跨度", "L<sub>i</sub>"},
};
const ResultSpec kBeamResults[] = {
    {"Text3", "M", "末跨上端弯矩", "M<sub>n,1</sub>", "kN·m"},
};
// clang-format on

} // namespace

const CalculatorSpec kEarthPressureSpec{
    "earth-pressure", "earth pressure on a retaining wall (--mode coulomb|at-rest|limited-fill)",
    "土压力计算", kEarthPressure, kEarthPressureResults};
const CalculatorSpec kAnchorSpec{"anchor",
                                 "grouted rock anchor bar (--temporary for a temporary anchor)",
                                 "锚杆计算", kAnchor, kAnchorResults};
const CalculatorSpec kGravityWallSpec{
    "gravity-wall", "gravity retaining wall (--type upright|shelf|none, default none)",
    "重力式挡墙计算", kGravityWall, kGravityWallResults};
const CalculatorSpec kBeamSpec{"beam", "continuous member under earth pressure", "连续梁计算",
                               kBeam, kBeamResults};

const FieldSpec* findField(const CalculatorSpec& spec, std::string_view name) {
    for (const FieldSpec& f : spec.fields) {
        if (f.name == name) {
            return &f;
        }
    }
    return nullptr;
}

const FieldSpec* fieldOfControl(const CalculatorSpec& spec, std::string_view field) {
    for (const FieldSpec& f : spec.fields) {
        if ((f.field.empty() ? f.name : f.field) == field) {
            return &f;
        }
    }
    return nullptr;
}

} // namespace subprogram
