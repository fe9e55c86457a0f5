#include "anchorbar.h"

#include "calculators/angles.h"

namespace subprogram {

namespace {

// Working-condition coefficients of a permanent and of a temporary anchor.
struct Coefficients {
    double xi1; // bond between anchor body and rock
    double xi2; // tensile strength of the bars
    double xi3; // bond between bars and grout
};

constexpr Coefficients kPermanent{1, 0.69, 0.6};
constexpr Coefficients kTemporary{1.33, 0.92, 0.72};

constexpr double kLoadFactor = 1.25; // standard to design axial tension
constexpr double kMillimetresPerMetre = 1000;
constexpr double kNewtonsPerKilonewton = 1000; // kN ÷ (N/mm²) × 1000 = mm²
constexpr std::int16_t kBars = 3;              // the window designs a bundle of three bars
// The bar diameters a designer chooses from, mm.
constexpr double kBarDiameters[] = {6, 8, 10, 12, 14, 16, 18, 20, 22, 25, 28, 32, 36, 40, 50};

} // namespace

AnchorBar anchorBarDesign(std::int16_t bars, double bodyDiameter, double tension,
                          double inclination, double barStrength, bool permanent, double importance,
                          double rockBond, double groutBond, double barDiameter, Trace* trace) {
    return evaluate<Keep>(trace, "anchorBarDesign", [=]<typename Num>(Keep<Num> keep) {
        const Coefficients coefficients = permanent ? kPermanent : kTemporary;
        const Num xi1 = keep("ξ1", coefficients.xi1);
        const Num xi2 = keep("ξ2", coefficients.xi2);
        const Num xi3 = keep("ξ3", coefficients.xi3);
        const Num Htk = keep.input("Htk", tension), a = keep.input("a", inclination);
        const Num gamma0 = keep.input("γ0", importance), fy = keep.input("fy", barStrength);
        const Num D = keep.input("D", bodyDiameter), frb = keep.input("frb", rockBond);
        const Num n = keep.input("n", double(bars)), d = keep.input("d", barDiameter);
        const Num fb = keep.input("fb", groutBond), pi = keep.input("π", kPiDecimal);

        const Num Nak = keep("Nak", Htk / cos(radians(a)));
        const Num Na = keep("Na", Nak * kLoadFactor);
        const Num As = keep("As", Na * gamma0 / xi2 / fy * kNewtonsPerKilonewton);
        const Num la = keep("la", Nak / xi1 / pi / (D / kMillimetresPerMetre) / frb);
        const Num lb = keep("lb", Na * gamma0 / xi3 / n / pi / (d / kMillimetresPerMetre) / fb);
        return AnchorBar{As.value(), la.value(), lb.value(), Na.value()};
    });
}

double barSection(std::int16_t bars, double barDiameter, Trace* trace) {
    return evaluate<Keep>(trace, "barSection", [=]<typename Num>(Keep<Num> keep) {
        const Num n = keep.input("n", double(bars)), d = keep.input("d", barDiameter);
        const Num pi = keep.input("π", kPiDecimal);
        return keep("As,提供", n * pi * d * d / 4).value();
    });
}

} // namespace subprogram

namespace subprogram {

namespace {

// clang-format off
constexpr Field kFields[] = {
    {"a",      "Text1",  "锚杆倾角a(度):",                "0",    "°",   "inclination of the anchor",                  "a"},
    {"Htk",    "Text2",  "锚杆水平拉力标准值(KN):",        "10",   "kN",  "standard value of the horizontal tension",   "H<sub>tk</sub>"},
    {"fy",     "Text3",  "锚筋抗拉强度设计值(N/mm²):",     "310",  "N/mm²", "design tensile strength of the bar",       "f<sub>y</sub>"},
    {"gamma0", "Text4",  "建筑边坡重要性系数:",             "1.1",  "",    "importance factor of the building slope",    "γ<sub>0</sub>"},
    {"frb",    "Text9",  "岩石与锚固体粘结强度特征值(kPa)", "180",  "kPa", "bond strength between rock and anchor body", "f<sub>rb</sub>"},
    {"D",      "Text10", "锚固体直径(mm):",                "140",  "mm",  "diameter of the anchor body",                "D"},
    {"d",      "Text11", "锚筋直径(mm)",                   "22",   "mm",  "diameter of one bar",                        "d", Conversion::Double, {}, {}, {}, 0, 1, kBarDiameters},
    {"fb",     "Text12", "钢砂浆间的粘结强度(kPa)",         "2700", "kPa", "bond strength between bar and grout",        "f<sub>b</sub>"},
};

constexpr Result kResults[] = {
    {"Text5", "Na", "锚杆轴向拉力设计值(KN):",    "N<sub>a</sub>", "kN"},
    {"Text6", "As", "锚杆钢筋截面积(mm²):",       "A<sub>s</sub>", "mm²"},
    {"Text7", "la", "锚固段长度(M):",             "l<sub>a</sub>", "m"},
    {"Text8", "lb", "锚筋与砂浆间的锚固长度(M):", "l<sub>b</sub>", "m"},
    {"Text13", "As_provided", "实配钢筋截面积(mm²):", "A<sub>s,提供</sub>", "mm²", "0", {}, false, true},
};

// clang-format on

// The fields and results by name, for the calculation.
namespace in {
constexpr FieldId a = fieldNamed(kFields, "a"), Htk = fieldNamed(kFields, "Htk"),
                  fy = fieldNamed(kFields, "fy"), gamma0 = fieldNamed(kFields, "gamma0"),
                  frb = fieldNamed(kFields, "frb"), D = fieldNamed(kFields, "D"),
                  d = fieldNamed(kFields, "d"), fb = fieldNamed(kFields, "fb");
} // namespace in
namespace out {
constexpr ResultId Na = resultNamed(kResults, "Na"), As = resultNamed(kResults, "As"),
                   la = resultNamed(kResults, "la"), lb = resultNamed(kResults, "lb"),
                   AsProvided = resultNamed(kResults, "As_provided");
} // namespace out

} // namespace

void calculateAnchorBar(AnchorKind kind, Form& form, Trace* trace) {
    beginStep(trace, kReadingStep);
    const double a = form.readDouble(in::a);
    const double Htk = form.readDouble(in::Htk);
    const double fy = form.readDouble(in::fy);
    const double gamma0 = form.readDouble(in::gamma0);
    const double frb = form.readDouble(in::frb);
    const double D = form.readDouble(in::D);
    const double d = form.readDouble(in::d);
    const double fb = form.readDouble(in::fb);
    const AnchorBar r = anchorBarDesign(kBars, D, Htk, a, fy, kind == AnchorKind::Permanent, gamma0,
                                        frb, fb, d, trace);
    form.setDouble(out::Na, r.Na);
    form.setDouble(out::As, r.As);
    form.setDouble(out::la, r.la);
    form.setDouble(out::lb, r.lb);
    // beyond the original results, after them: the section the bars provide
    formBeyond([&] { form.setDouble(out::AsProvided, barSection(kBars, d, trace)); });
}

namespace {

const Step kDesignStep{"anchorBarDesign", "锚杆设计"};
const Step kSectionStep{"barSection", "实配钢筋截面"};
const Step* const kSteps[] = {&kDesignStep, &kSectionStep};

// The bars the window designs against the section they need.
const Verdict kVerdicts[] = {
    {out::AsProvided, "As_ok", "As,提供", "钢筋截面", "≥", "As", "实配截面不小于所需截面"},
};

void judgeSection(int, const Form&, const Written& written, std::span<Judgement> out) {
    const std::optional<double> provided = written.result(out::AsProvided);
    const std::optional<double> needed = written.result(out::As);
    if (provided && needed) {
        out[0] = {*provided >= *needed ? Outcome::Met : Outcome::NotMet, *provided, *needed};
    }
}

const Variant kKinds[] = {
    {int(AnchorKind::Permanent), "permanent", kPermanentAnchor, kSteps},
    {int(AnchorKind::Temporary), "temporary", kTemporaryAnchor, kSteps, {}, "--temporary"},
};

} // namespace

const Calculator kAnchorBar{
    .command = "anchor",
    .english = "grouted rock anchor bar (--temporary for a temporary anchor)",
    .window = "anchorbarfrm",
    .title = "锚杆计算",
    .introduction =
        "岩石锚杆的轴向拉力设计值 Na、锚筋截面积 As、锚固段长度 la 与锚筋和砂浆间的锚固长度 lb，"
        "并按 3 根直径 d 的钢筋验算实配截面。永久性锚杆与临时性锚杆取不同的系数。",
    .reachedBy = "启动窗口的“锚杆计算”。",
    .fields = kFields,
    .results = kResults,
    .variants = kKinds,
    .defaultVariant = int(AnchorKind::Permanent),
    .variantOption = {},
    .calculate = [](int kind, Form& form,
                    Trace* trace) { calculateAnchorBar(AnchorKind(kind), form, trace); },
    .verdicts = kVerdicts,
    .judge = judgeSection,
};

} // namespace subprogram
