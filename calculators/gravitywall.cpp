#include "gravitywall.h"

#include "calculators/gravitywallinputs.h"

#include "calculators/earthpressure.h"
#include "calculators/layeredpressure.h"
#include "calculators/wallsection.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace subprogram {

using namespace wall;

namespace {

// clang-format off
const std::string_view kShelfNotes[] = {
    "块1 上墙前三角，块2 上墙前带，块3 上墙背三角，块4 下墙前带，块5 下墙背三角，块6 墙底板，"
    "块7 墙踵外三角：A<sub>i</sub> 为其面积，L<sub>i</sub> 为其形心至墙趾的水平距离；"
    "下墙高 h′ = H<sub>t</sub> − h<sub>1</sub> − h<sub>4</sub>",
};
// clang-format on

// A field by its name in the wall's table.
FieldId fieldId(std::string_view name) {
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        if (kFields[i].name == name) {
            return {static_cast<std::uint16_t>(i)};
        }
    }
    return in::b;
}

} // namespace

void calculateGravityWall(WallType type, Form& form, Trace* trace) {
    beginStep(trace, kReadingStep);
    const WallInputs inputs = readWall(form);
    // by their names, as the formulas write them (plain copies: lambdas below capture them)
    const float x2 = inputs.x2, x3 = inputs.x3, b4 = inputs.b4, b5 = inputs.b5, h4 = inputs.h4;
    const float alpha0 = inputs.alpha0, alphaS = inputs.alphaS, deltaS = inputs.deltaS;
    const float mu = inputs.mu, b = inputs.b, gammaW = inputs.gammaW, b1 = inputs.b1;
    const float b2 = inputs.b2, b3 = inputs.b3, Ht = inputs.Ht, n = inputs.n, HS = inputs.HS;
    const float h1 = inputs.h1, h2 = inputs.h2;
    const double alpha = inputs.alpha, beta = inputs.beta, delta = inputs.delta, q = inputs.q;
    const double c = inputs.c, phi = inputs.phi, gamma = inputs.gamma, H = inputs.H;
    const Section section = inputs.section;
    const Tension tension = inputs.tension;
    const Lever lever = inputs.lever;
    static const double theta = textToDouble("45"); // the window has no slip-surface field

    // the earth pressure works on the double readings, the wall on the single ones; the ground
    // as it stands, when given, stratum by stratum (Ka: the first stratum's)
    const std::optional<LayeredPressure> layered =
        inputs.ground ? std::optional(groundPressure(inputs, trace)) : std::nullopt;
    const ActivePressure earth =
        layered ? ActivePressure{layered->Ka.front(), layered->Ea}
                : coulombActive(H, gamma, phi, c, q, delta, theta, beta, alpha, trace);
    form.setDouble(out::Ka, earth.Ka);
    form.setDouble(out::Ea, earth.Ea);
    // the one soil's diagram, for its compressed part and its centroid
    const std::optional<PressureLaw> law = layered ? std::nullopt : std::optional(wallLaw(inputs));
    // the checks take the net Ea, or the compressed part alone (the ground's as its tension rule
    // formed it)
    std::optional<double> compressed;
    if (tension == Tension::Ignored && !layered) {
        compressed = compressedResultant(*law, H, earth.Ea);
    }
    const float Ea = toSingle(compressed.value_or(earth.Ea));
    if (trace) {
        trace->record(tension == Tension::Ignored ? "Ea,压 (single)" : "Ea (single)", Ea, true);
    }

    WallWeight wall{0, 0};
    float b2Used = b2; // the toe block's width the weight sums take
    float h2Used = h2; // the base's rise the base stress takes
    // A section that follows b: every size that follows it does, and one that then cannot be
    // formed fails, naming the size to blame (typed as it stands, the sizes are the engineer's
    // and the checks say the section cannot be formed).
    const auto formed = [&] {
        if (section != Section::Consistent || type == WallType::NotChosen) {
            return;
        }
        h2Used = baseRise(b, alpha0, trace);
        if (const auto fault = sectionFault(type, sizesOf(inputs, b2Used, h2Used), true)) {
            throw FieldError(CalcError(ErrorKind::InvalidArgument, fault->reason),
                             fieldId(fault->field));
        }
    };
    switch (type) {
    case WallType::Upright: {
        UprightWall upright{.n = n,
                            .Ht = Ht,
                            .h1 = h1,
                            .b2 = b2,
                            .alpha0 = alpha0,
                            .b1 = b1,
                            .gammaW = gammaW,
                            .b = b};
        if (section == Section::Consistent) { // the room before the face, which b2 takes no part in
            upright.b2 = b2Used = uprightWallWeight(upright).c0;
        }
        formed();
        wall = uprightWallWeight(upright, trace);
        break;
    }
    case WallType::Shelf:
        if (section == Section::Consistent) {
            b2Used = upperWallFootWidth(b5, n, x2, h1, trace);
        }
        formed();
        wall = shelfWallWeight({.n = n,
                                .x2 = x2,
                                .x3 = x3,
                                .h1 = h1,
                                .Ht = Ht,
                                .h4 = h4,
                                .b1 = b1,
                                .b2 = b2Used,
                                .b3 = b3,
                                .b4 = b4,
                                .b5 = b5,
                                .b = b,
                                .gammaW = gammaW},
                               trace);
        break;
    case WallType::NotChosen:
        break; // the checks still run, with no weight
    }
    form.setSingle(out::G, wall.G);
    form.setSingle(out::x0, wall.x0);

    // the water behind the wall, its uplift and the wall's inertia, beside Ea
    std::optional<GroundLoads> ground;
    if (layered) {
        const Backfill& fill = *inputs.ground;
        float y0 = 0;
        if (fill.kh > 0) { // the inertia acts at the section's centroid
            const WallSizes sizes = sizesOf(inputs, b2Used, h2Used);
            const std::optional<double> centroid = sectionCentroidHeight(type, sizes);
            if (!centroid) { // no section to hold it
                const auto fault = sectionFault(type, sizes, section == Section::Consistent);
                throw FieldError(
                    CalcError(ErrorKind::InvalidArgument,
                              fault ? fault->reason : "截面不能构成：墙体地震惯性力无处作用"),
                    fault ? fieldId(fault->field) : in::kh);
            }
            y0 = toSingle(*centroid);
        }
        ground = groundLoads(toSingle(fill.gammaWater),
                             fill.water ? std::optional(toSingle(*fill.water)) : std::nullopt, Ht,
                             b, toSingle(fill.kh), wall.G, y0, trace);
    }
    const GroundLoads* const loads = ground ? &*ground : nullptr;

    // The program's own rules (the ground, the tension zone ignored) form a factor only where
    // something drives or tips the wall: a cohesive fill that stands alone pushes nothing.
    const bool onlyWhereLoaded = layered || tension == Tension::Ignored;
    double drive = 0, tip = 0;
    const std::optional<float> Ks =
        onlyWhereLoaded
            ? antiSlidingFactorIfDriven(wall.G, Ea, alpha0, alphaS, deltaS, mu, trace, &drive,
                                        loads)
            : antiSlidingFactor(wall.G, Ea, alpha0, alphaS, deltaS, mu, trace, &drive, loads);
    // Ea at H/3 above the foot of the soil, or at the centroid of its diagram (single, as the
    // wall's routines take their sizes); the ground's at its own point
    std::optional<float> zc;
    if (layered) {
        if (layered->za) {
            zc = toSingle(*layered->za);
        }
    } else if (lever == Lever::Centroid && !(onlyWhereLoaded && Ea == 0)) {
        // no thrust, no centroid: the lever of H/3 stands (no moment turns on it)
        if (const std::optional<double> centroid = pressureCentroid(inputs, *law)) {
            zc = toSingle(*centroid);
        } else if (trace) {
            trace->remark("土压力合力不为正，压力图无形心：作用点取 H/3");
        }
    }
    const float z = earthPressureLeverHeight(HS, Ht, trace, zc);
    const std::optional<float> Kt =
        onlyWhereLoaded ? antiOverturningFactorIfTipped(wall.G, Ea, alpha0, z, alphaS, deltaS, b,
                                                        wall.x0, trace, loads, &tip)
                        : antiOverturningFactor(wall.G, Ea, alpha0, z, alphaS, deltaS, b, wall.x0,
                                                trace, loads, &tip);
    if (Kt) {
        form.setSingle(out::Kt, *Kt);
    }
    if (Ks) {
        form.setSingle(out::Ks, *Ks);
    }

    const BaseStress base =
        baseStress(wall.G, HS, Ht, h2Used, wall.x0, deltaS, alphaS, Ea, b, trace, zc, loads);
    form.setSingle(out::pmax, base.pmax);
    form.setSingle(out::e, base.e);
    form.setSingle(out::pmin, base.pmin);

    // beyond the original calculation, after everything it reads and writes
    formBeyond([&] { form.setSingle(out::pk, meanBasePressure(base.N, b, trace)); });
    form.setDouble(out::drive, drive);
    form.setDouble(out::tip, tip);
    if (type != WallType::NotChosen) { // for the checks: whether there is a section to judge
        form.setDouble(out::formed,
                       sectionFault(type, sizesOf(inputs, b2Used, h2Used), false) ? 0 : 1);
    }
    form.setSingle(out::c0, wall.c0);
    if (ground) {
        form.setSingle(out::Pw, ground->Pw);
        form.setSingle(out::zw, ground->zw);
        form.setSingle(out::U, ground->U);
        form.setSingle(out::Fi, ground->Fi);
        form.setSingle(out::uHeel, ground->u);
        if (zc) {
            form.setSingle(out::zc, *zc);
        }
    }
    // where the diagram's resultant acts, and under H/3 the overturning factor with Ea there
    formBeyond([&] {
        if (layered) {
            return; // the ground's Ea acts where its diagram puts it: no other point to compare
        }
        const std::optional<double> at =
            zc ? std::optional<double>(*zc) : pressureCentroid(inputs, *law);
        if (!at) {
            return; // no thrust
        }
        const float centroid = toSingle(*at);
        form.setSingle(out::zc, centroid);
        if (!zc) {
            const float zAtCentroid = earthPressureLeverHeight(HS, Ht, nullptr, centroid);
            const std::optional<float> KtC =
                onlyWhereLoaded
                    ? antiOverturningFactorIfTipped(wall.G, Ea, alpha0, zAtCentroid, alphaS, deltaS,
                                                    b, wall.x0, nullptr, nullptr, nullptr)
                    : antiOverturningFactor(wall.G, Ea, alpha0, zAtCentroid, alphaS, deltaS, b,
                                            wall.x0);
            if (KtC) {
                form.setSingle(out::KtC, *KtC);
            }
        }
    });
    if (type != WallType::NotChosen) {
        form.setSingle(out::b2Used, b2Used);
    }
    if (!layered) {
        formBeyond([&] {
            form.setDouble(out::EaCompressed,
                           compressed ? *compressed : compressedResultant(*law, H, earth.Ea));
        });
    }
    form.readWith(in::ground, chosenFrom(kGrounds)); // a ground not in the list is refused
    if (!form.blank(in::fa)) {                       // a bearing capacity given is a number
        form.readDouble(in::fa);
    }
    readLimits(form, b, inputs.ground && inputs.ground->kh > 0); // so is a limit given, in range
}

std::string wallSection(WallType type, const Form& form, const CalculationRecord& record,
                        Sketch& sketch) {
    WallSizes sizes{};
    try {
        const WallInputs w = readWall(form);
        // the toe block as the weight sums took it
        const std::string used = record.written(out::b2Used);
        sizes = sizesOf(w, used.empty() ? w.b2 : static_cast<float>(textToDouble(used)),
                        w.section == Section::Consistent ? baseRise(w.b, w.alpha0) : w.h2);
    } catch (const CalcError&) {
        return type == WallType::NotChosen ? "未选择墙型，未绘出截面。"
                                           : "有输入无法读取，未绘出截面。";
    }
    return drawWallSection(
        type, sizes, {record.written(out::G), record.written(out::x0), record.written(out::Ea)},
        sketch);
}

namespace {

constexpr ValueUnit kUprightUnits[] = {
    {"r0", "rad"}, {"A", "m"},  {"B", "m"},  {"W1", "kN/m"}, {"W2", "kN/m"}, {"W3", "kN/m"},
    {"L3", "m"},   {"m1", "m"}, {"m2", "m"}, {"c0", "m"},    {"G", "kN/m"},  {"x0", "m"}};
constexpr ValueUnit kShelfUnits[] = {
    {"A1", "m²"}, {"A2", "m²"}, {"A3", "m²"}, {"A4", "m²"},  {"A5", "m²"}, {"A6", "m²"},
    {"A7", "m²"}, {"L1", "m"},  {"L2", "m"},  {"L3", "m"},   {"L4", "m"},  {"L5", "m"},
    {"L6", "m"},  {"L7", "m"},  {"c0", "m"},  {"G", "kN/m"}, {"x0", "m"}};
constexpr ValueUnit kSlidingUnits[] = {
    {"r0", "rad"},   {"rα", "rad"},   {"rδ", "rad"},  {"Gn", "kN/m"}, {"Gt", "kN/m"},
    {"Eat", "kN/m"}, {"Ean", "kN/m"}, {"Fh", "kN/m"}, {"Nx", "kN/m"}, {"Tx", "kN/m"}};
constexpr ValueUnit kLeverUnits[] = {{"z", "m"}};
constexpr ValueUnit kOverturningUnits[] = {{"r0", "rad"},   {"rα", "rad"},   {"rδ", "rad"},
                                           {"Eax", "kN/m"}, {"Eaz", "kN/m"}, {"xf", "m"},
                                           {"zf", "m"},     {"Mx", "kN·m/m"}};
constexpr ValueUnit kBaseUnits[] = {{"zE", "m"},   {"rα", "rad"},   {"rδ", "rad"},
                                    {"N", "kN/m"}, {"c", "m"},      {"e", "m"},
                                    {"b/6", "m"},  {"pmax", "kPa"}, {"pmin", "kPa"}};
constexpr ValueUnit kFootWidthUnits[] = {{"b2", "m"}};
const Step kUprightStep{"uprightWallWeight", "直立式挡墙自重与重心", {}, kUprightUnits};
const Step kShelfStep{"shelfWallWeight", "衡重式挡墙自重与重心", kShelfNotes, kShelfUnits};
const Step kFootWidthStep{
    "upperWallFootWidth", "上墙底宽（由上墙顶宽、墙面坡率与墙背坡率推定）", {}, kFootWidthUnits};
const Step kSlidingStep{"antiSlidingFactor", "抗滑移验算", {}, kSlidingUnits};
const Step kLeverStep{"leverHeight", "土压力作用点高度", {}, kLeverUnits};
const Step kOverturningStep{"antiOverturningFactor", "抗倾覆验算", {}, kOverturningUnits};
const std::string_view kBaseNotes[] = {
    "合力在基底中部三分之一以外（e &gt; b/6）时按三角形分布，否则按线性分布",
    "Ea 与基底法线的夹角中的直角取 π′ ÷ 2，π′ = 3.14159；角度换算的 π 取 3.1415926",
};
const Step kBaseStep{"baseStress", "基底应力验算", kBaseNotes, kBaseUnits};

const Step kBearingStep{"meanBasePressure", "地基承载力"};
const std::string_view kGroundNotes[] = {
    "地下水位在墙顶以下 d<sub>w</sub> 处，墙后的水一直到墙踵、墙前无水（程序的处理）：水压力 "
    "P<sub>w</sub> "
    "水平作用于墙背自水位至墙踵的高度 h<sub>w</sub> = H<sub>t</sub> − d<sub>w</sub> 内，距墙踵 "
    "h<sub>w</sub>/3；同一水在墙踵的水头 u = γ<sub>水</sub>h<sub>w</sub>，扬压力按墙踵 u "
    "至墙趾为零的"
    "三角形分布，竖直作用于基底水平投影 b，U = ½ub；地震时墙体水平惯性力 F<sub>i</sub> = "
    "k<sub>h</sub>G 作用于截面形心高度 y<sub>0</sub>",
    "抗滑移：F<sub>h</sub> = P<sub>w</sub> + F<sub>i</sub> 与 U "
    "按基底的法向、切向分解计入；抗倾覆：P<sub>w</sub>、F<sub>i</sub>、U 对墙趾的力矩计入倾覆力矩；"
    "基底应力：N 扣除 U，偏心计入三者的力矩",
};
constexpr ValueUnit kGroundUnits[] = {{"hw", "m"},   {"Pw", "kN/m"}, {"zw", "m"},    {"u", "kPa"},
                                      {"U", "kN/m"}, {"xU", "m"},    {"Fi", "kN/m"}, {"zi", "m"}};
const Step kGroundStep{"groundLoads", "水压力、扬压力与墙体地震惯性力", kGroundNotes, kGroundUnits};

const Step* const kUprightSteps[] = {&kCoulombStep,     &ground::kStep, &kUprightStep,
                                     &kGroundStep,      &kSlidingStep,  &kLeverStep,
                                     &kOverturningStep, &kBaseStep,     &kBearingStep};
const Step* const kShelfSteps[] = {
    &kCoulombStep, &ground::kStep, &kFootWidthStep,   &kShelfStep, &kGroundStep,
    &kSlidingStep, &kLeverStep,    &kOverturningStep, &kBaseStep,  &kBearingStep};
const Step* const kNoWallSteps[] = {&kCoulombStep,     &ground::kStep, &kSlidingStep, &kLeverStep,
                                    &kOverturningStep, &kBaseStep,     &kBearingStep};

// the shelf wall's own dimensions, which the upright wall's weight does not take
constexpr FieldId kShelfOnly[] = {in::x2, in::x3, in::b3, in::b4, in::b5, in::h4};

const Variant kTypes[] = {
    {int(WallType::Upright), "upright", "直立式挡墙", kUprightSteps, {}, {}, {}, kShelfOnly},
    {int(WallType::Shelf), "shelf", "衡重式挡墙", kShelfSteps},
    // without a type the wall would be checked with no weight at all: refused
    {int(WallType::NotChosen),
     "none",
     "未选择墙型",
     kNoWallSteps,
     {},
     {},
     "请先选择挡墙类型(直立式或衡重式)"},
};

// The least safety factors against sliding and overturning and the eccentricity allowed are
// the program's defaults or the engineer's (readLimits). The bearing checks are those of
// GB 50007-2011 §5.2.1 for an eccentric load: pk ≤ fa and pkmax ≤ 1.2·fa.
constexpr double kEdgePressureFactor = 1.2;
constexpr std::string_view kProgramsOwn = "程序默认值";
constexpr std::string_view kEngineersLimit = "设计者指定";
constexpr std::string_view kBearingClause = "GB 50007-2011 第5.2.1条";

const Verdict kVerdicts[] = {
    {out::Ks, "Ks_ok", "Ks", "抗滑移", "≥", "1.3", kProgramsOwn, true},
    {out::Kt, "Kt_ok", "Kt", "抗倾覆", "≥", "1.6", kProgramsOwn, true},
    {out::e, "e_ok", "|e|", "基底合力偏心距", "≤", "b/6", kProgramsOwn, true},
    {out::pk, "p_ok", "pk", "地基承载力（平均压力）", "≤", "fa", kBearingClause, true},
    {out::pmax, "pmax_ok", "pkmax", "地基承载力（边缘最大压力）", "≤", "1.2fa", kBearingClause,
     true},
};

Outcome holds(bool met) {
    return met ? Outcome::Met : Outcome::NotMet;
}

void judgeWall(int type, const Form& fields, const Written& written, std::span<Judgement> out) {
    const auto result = [&](ResultId r) { return written.result(r); };
    // a section that cannot be formed, as typed: nothing about it is met, for that reason
    if (const auto formed = result(out::formed); formed && *formed == 0) {
        const WallInputs w = readWall(fields);
        const auto b2 = result(out::b2Used);
        const auto fault = sectionFault(
            WallType(type), sizesOf(w, b2 ? static_cast<float>(*b2) : w.b2, w.h2), false);
        for (Judgement& j : out) {
            j = {Outcome::NotMet, 0, 0, fault ? fault->reason : "截面不能构成", {}, false};
        }
        return;
    }
    // what the checks read of the fields: b, whether the earth shakes, the limits
    const float b = fields.readSingle(in::b);
    const bool seismic = fields.readDouble(in::kh) > 0; // read by the calculation: a number
    const WallLimits limits = readLimits(fields, b, seismic);
    const auto basis = [](const Limit& limit) {
        return limit.set ? kEngineersLimit : std::string_view();
    };
    // a factor against its limit; where what drives it is not positive, met whatever the factor,
    // and where no factor was formed (nothing drives it), met without one
    const auto factorCheck = [&](std::optional<double> factor, std::optional<double> driven,
                                 const Limit& limit, const char* notDriven,
                                 const char* noFactor) -> std::optional<Judgement> {
        if (factor) {
            return driven && *driven <= 0 ? Judgement{Outcome::Met, *factor, limit.value, notDriven,
                                                      limit.name,   true,    basis(limit)}
                                          : Judgement{holds(*factor >= limit.value),
                                                      *factor,
                                                      limit.value,
                                                      {},
                                                      limit.name,
                                                      true,
                                                      basis(limit)};
        }
        if (driven) {
            return Judgement{Outcome::Met, 0,     limit.value, noFactor,
                             limit.name,   false, basis(limit)};
        }
        return std::nullopt;
    };
    if (const auto sliding = factorCheck(result(out::Ks), result(out::drive), limits.sliding,
                                         "下滑力 Eat − Gt ≤ 0，挡墙不会沿基底向外滑移",
                                         "沿基底无下滑力，挡墙不会滑移")) {
        out[0] = *sliding;
    }
    if (const auto overturning =
            factorCheck(result(out::Kt), result(out::tip), limits.overturning,
                        "倾覆力矩 ≤ 0，挡墙不会绕墙趾倾覆", "无倾覆力矩，挡墙不会倾覆")) {
        out[1] = *overturning;
    }
    const auto e = result(out::e);
    if (e) {
        const Limit& allowed = limits.eccentricity;
        out[2] = {holds(std::fabs(*e) <= allowed.value),
                  std::fabs(*e),
                  allowed.value,
                  {},
                  allowed.name,
                  true,
                  basis(allowed)};
    }
    if (fields.blank(in::fa)) {
        out[3] = out[4] = {.outcome = Outcome::NotChecked, .reason = "未填地基承载力特征值 fa"};
        return;
    }
    double fa = 0;
    if (ErrorKind error{}; !::readDouble(fields.text(in::fa), fa, error)) { // refused first
        out[3] = out[4] = {Outcome::NotChecked, 0, 0, "fa 不是数"};
        return;
    }
    const auto pk = result(out::pk), pmax = result(out::pmax), pmin = result(out::pmin);
    // a resultant outside the base (c = b/2 − e ≤ 0), or a base in tension, fails both
    const bool outside = (e && *e >= b / 2) || (pmax && pmin && std::min(*pmax, *pmin) < 0);
    constexpr std::string_view kOutside = "合力作用点在基底以外或基底出现拉应力";
    if (pk) {
        out[3] = outside ? Judgement{Outcome::NotMet, *pk, fa, kOutside}
                         : Judgement{holds(*pk <= fa), *pk, fa};
    } else if (outside) { // fails without the mean pressure, which could not be formed (b = 0)
        out[3] = {Outcome::NotMet, 0, fa, kOutside, {}, false};
    }
    if (pmax && pmin) {
        const double edge = std::max(*pmax, *pmin), limit = kEdgePressureFactor * fa;
        out[4] = outside ? Judgement{Outcome::NotMet, edge, limit, kOutside}
                         : Judgement{holds(edge <= limit), edge, limit};
    }
}

// Geometry the routines cannot honour, said beside the results: their figures stand as computed.
std::vector<std::string> wallWarnings(int type, const Form& fields, const Written& written) {
    std::vector<std::string> warnings;
    const auto text = [](double value) { return singleToText(static_cast<float>(value)); };
    const float alpha = fields.readSingle(in::alpha);
    if (WallType(type) == WallType::Upright && alpha != 90) {
        warnings.push_back("直立式挡墙的自重按竖直墙背计算，而墙背倾角 α = " + text(alpha) +
                           "°：自重与重心只是近似。");
    }
    // an overlap of the toe block and the face's block beyond a size typed to the millimetre
    constexpr double kOverlapTolerance = 0.0005; // m
    const auto c0 = written.result(out::c0);
    const double b2 = written.result(out::b2Used).value_or(fields.readSingle(in::b2));
    if (WallType(type) == WallType::Upright && c0 && b2 - *c0 > kOverlapTolerance) {
        warnings.push_back("墙趾台阶宽 b2 = " + text(b2) + " m，大于墙面前的余地 c0 = " +
                           text(*c0) + " m：重叠部分的重量计入了两次（截面尺寸可选“推定b2”）。");
    }
    if (alpha != 90) {
        warnings.push_back("α ≠ 90°：基底应力中 Ea 竖向分力的力臂取 b，抗倾覆验算中取 "
                           "xf = b − z ÷ tan α，两者不同。");
    }
    return warnings;
}

} // namespace

namespace {

// The wall's earth pressure (Coulomb's, over the soil's height H) from the fields as the
// calculation reads them for it; the checks take it at H/3 above the base of the soil.
std::optional<PressureSetting> wallPressure(int, const Form& form, const Written& written) {
    try {
        const WallInputs w = readWall(form);
        const std::optional<double> centroid = written.result(out::zc);
        if (w.ground) {
            auto p = std::make_shared<const LayeredPressure>(groundPressure(w));
            return PressureSetting{
                PressureLaw::layered(p), w.H, {"Ea", written.result(out::Ea), p->za}};
        }
        return PressureSetting{
            PressureLaw::coulomb(w.gamma, w.phi, w.c, w.q, w.delta, w.beta, w.alpha),
            w.H,
            {"Ea", written.result(out::Ea),
             w.lever == Lever::Centroid && centroid ? *centroid : w.H / 3}};
    } catch (const CalcError&) {
        return std::nullopt;
    }
}

// Whether a choice field holds another than its first word, the program's own rule.
bool otherThanFirst(const Form& form, FieldId field, std::span<const Choice> choices) {
    if (!form.holds(field)) {
        return false;
    }
    const std::string text = form.text(field);
    return text != choices[0].text && text != choices[0].english;
}

// The report's line of what was calculated: the type, and each rule that is not the program's.
std::string describeWall(const Variant& type, const Form& form) {
    bool ground = false, ignored = false, limitsSet = false;
    try {
        const WallInputs w = readWall(form);
        ground = w.ground.has_value();
        ignored = w.tension == Tension::Ignored;
        const WallLimits limits = readLimits(form, w.b, w.ground && w.ground->kh > 0);
        limitsSet = limits.sliding.set || limits.overturning.set || limits.eccentricity.set;
    } catch (const CalcError&) {
    }
    return std::string(type.title) +
           (otherThanFirst(form, in::section, kSections) ? "，b2 由其余尺寸推定" : "") +
           (ignored ? "，验算不计粘性土拉力区" : "") +
           (ground                                     ? "，墙后按分层土、地下水、局部荷载与地震计算，土压力作用于其压力图形心"
            : otherThanFirst(form, in::lever, kLevers) ? "，土压力作用于压力图形心"
                                                       : "，土压力作用点取 H/3（程序原规则）") +
           (limitsSet ? "，验算限值由设计者指定" : "");
}

// What the inputs leave unread: the typed b2 and h2 where the section follows b, the lever where
// the ground puts Ea at its diagram's centroid, the limits of the case that is not the one
// (seismic or not).
std::vector<FieldId> idleWallFields(int, const Form& form) {
    // from the few fields that decide it, as typed: the others may be half typed
    double kh = 0;
    ErrorKind error{};
    const bool shaken = ::readDouble(form.text(in::kh), kh, error) && kh > 0;
    const bool ground = shaken || !form.text(in::layers).empty() || !form.text(in::water).empty() ||
                        !form.text(in::loads).empty();
    std::vector<FieldId> idle;
    if (Section(form.choice(in::section)) == Section::Consistent) {
        idle.insert(idle.end(), {in::b2, in::h2});
    }
    if (ground) {
        idle.push_back(in::lever);
    }
    if (shaken) {
        idle.insert(idle.end(), {in::KsReq, in::KtReq});
    } else {
        idle.insert(idle.end(), {in::KsReqSeismic, in::KtReqSeismic});
    }
    return idle;
}

// A least base width is searched with the toe block following it: with b2 as typed, a wider base
// leaves the toe block where it was, and the overlap it counts twice hides the weight gained.
constexpr StudySetting kStudySettings[] = {
    {"b", "section", "推定b2",
     "截面尺寸取“推定b2”：墙趾台阶宽（直立式）或上墙底宽（衡重式）随其余尺寸变化"},
};

} // namespace

const Calculator kGravityWall{
    .command = "gravity-wall",
    .english = "gravity retaining wall (--type upright|shelf)",
    .window = "form1",
    .title = "重力式挡墙计算",
    .introduction =
        "直立式或衡重式重力式挡墙的土压力、自重与重心、抗滑移与抗倾覆安全系数、基底合力偏心距和"
        "基底应力，并按地基类别与地基承载力特征值验算：偏心距限值土质地基为 b/6、岩质地基为 b/4"
        "（程序默认值）；不填地基承载力特征值时，承载力两项为“未验算”。窗口中的“截面图”按所填"
        "尺寸画出挡墙，“土压力分布图”画出墙后土压力的分布及验算所取的 H/3 作用点。",
    .reachedBy = "启动窗口的“重力式挡墙”。",
    .fields = kFields,
    .results = kResults,
    .variants = kTypes,
    .defaultVariant = int(WallType::NotChosen),
    .variantOption = "--type",
    .calculate = [](int type, Form& form,
                    Trace* trace) { calculateGravityWall(WallType(type), form, trace); },
    .resultsHelp = "Ka Ea G x0 Kt Ks pmax e pmin pk zc Kt_c Ea_compressed b2_used;\n"
                   "with the ground's inputs (layers water loads kh) also Pw zw U Fi u_heel",
    .verdicts = kVerdicts,
    .judge = judgeWall,
    .warnings = wallWarnings,
    .describe = describeWall,
    .sketch = [](int type, const Form& form, const CalculationRecord& record,
                 Sketch& sketch) { return wallSection(WallType(type), form, record, sketch); },
    .pressure = wallPressure,
    .idle = idleWallFields,
    .studySettings = kStudySettings,
    .listTables = ground::kTables,
};

} // namespace subprogram
