#include "anchorbar.h"

#include "calculators/angles.h"
#include "calculators/domains.h"

#include <algorithm>
#include <cmath>

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
constexpr double kNewtonsPerKilonewton = 1000;  // kN ÷ (N/mm²) × 1000 = mm²
constexpr double kGreatestBondedLength = 6.5;   // m
constexpr double kGreatestBondedDiameters = 45; // times D
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
        return AnchorBar{As.value(), la.value(), lb.value(), Na.value(), Nak.value()};
    });
}

AnchorSafetyFactors anchorSafetyFactors(SlopeGrade grade, AnchorKind kind) {
    // The program's defaults, by grade: {Kb, K} of a permanent and of a temporary anchor. They
    // are the values GB 50330-2013's tables of the two factors are taken to give, not read from
    // a copy of them; a permanent anchor of a 三级 slope is read as Kb = 1.8 or 2.0: the safe
    // side until a text settles it.
    constexpr AnchorSafetyFactors kFactors[3][2] = {
        {{2.2, 2.6}, {1.8, 2.0}}, // 一级
        {{2.0, 2.4}, {1.6, 1.8}}, // 二级
        {{2.0, 2.2}, {1.4, 1.6}}, // 三级
    };
    return kFactors[int(grade)][kind == AnchorKind::Permanent ? 0 : 1];
}

AnchorBar anchorBarDesign2013(std::int16_t bars, double bodyDiameter, double tension,
                              double inclination, double barStrength, AnchorSafetyFactors factors,
                              double rockBond, double groutBond, double barDiameter, Trace* trace) {
    return evaluate<Keep>(trace, "anchorBarDesign2013", [=]<typename Num>(Keep<Num> keep) {
        const Num Kb = keep("Kb", factors.Kb), K = keep("K", factors.K);
        const Num Htk = keep.input("Htk", tension), a = keep.input("a", inclination);
        const Num fy = keep.input("fy", barStrength);
        const Num D = keep.input("D", bodyDiameter), frbk = keep.input("frbk", rockBond);
        const Num n = keep.input("n", double(bars)), d = keep.input("d", barDiameter);
        const Num fb = keep.input("fb", groutBond), pi = keep.input("π", kPi);

        const Num Nak = keep("Nak", Htk / cos(radiansExact(a)));
        const Num Na = keep("Na", Nak * kLoadFactor);
        const Num As = keep("As", Kb * Nak / fy * kNewtonsPerKilonewton);
        const Num la = keep("la", K * Nak / (pi * (D / kMillimetresPerMetre) * frbk));
        const Num lb = keep("lb", K * Nak / (n * pi * (d / kMillimetresPerMetre) * fb));
        return AnchorBar{As.value(), la.value(), lb.value(), Na.value(), Nak.value()};
    });
}

double leastBondedLength(AnchorGround ground) {
    return ground == AnchorGround::Soil ? 4.0 : 3.0;
}

double greatestBondedLength(AnchorGround ground, double D) {
    return ground == AnchorGround::Soil
               ? 10.0
               : std::min(kGreatestBondedDiameters * D / kMillimetresPerMetre,
                          kGreatestBondedLength);
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

constexpr std::string_view kClassicMethod = "工作条件系数法";
constexpr Choice kEditions[] = {
    {kClassicMethod, "classic", int(AnchorEdition::WorkingConditions)},
    {"2013版安全系数法", "2013", int(AnchorEdition::Gb50330_2013)},
};

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
    // beyond the window's original inputs
    {"n",       "nx",       "钢筋根数n:",    "3",      "",    "number of bars in the tendon",                "n", Conversion::Count, {}, {}, {}, 0, 4},
    {"edition", "editionx", "计算方法:",     kClassicMethod, "", "method: classic (working-condition factors ξ, the program's own) | 2013 (GB 50330-2013 safety factors)", "", Conversion::Word, {}, {}, kEditions, int(AnchorEdition::WorkingConditions), 4},
    {"grade",   "gradex",   "边坡工程安全等级:", "二级", "",  "slope safety grade 一级|1, 二级|2, 三级|3 (by the 2013 method)", "", Conversion::Word, {}, {}, kSlopeGrades, int(SlopeGrade::Second), 4},
    {"Kb_req",  "Kbreqx",   "杆体抗拉安全系数Kb:", "", "", "Kb, the tendon's safety factor (by the 2013 method); empty: the program's default for the grade and kind", "K<sub>b</sub>", Conversion::Word, "要求的锚杆杆体抗拉安全系数 Kb", {}, {}, 0, 6, {}, false, true},
        {"K_req",   "Kreqx",    "锚固体抗拔安全系数K:", "", "", "K, the anchorage's safety factor (by the 2013 method); empty: the program's default for the grade and kind", "K", Conversion::Word, "要求的锚固体抗拔安全系数 K", {}, {}, 0, 6, {}, false, true},
    {"kind",    "kindx",    "锚杆类型:", "岩石锚杆", "", "what it is bonded in: 岩石锚杆|rock (bonded length 3 m to min(45D, 6.5 m)), 土层锚杆|soil (4 m to 10 m)", "", Conversion::Word, {}, {}, kAnchorGrounds, int(AnchorGround::Rock), 7},
};

constexpr Result kResults[] = {
    {"Text5", "Na", "锚杆轴向拉力设计值(KN):",    "N<sub>a</sub>", "kN"},
    {"Text6", "As", "锚杆钢筋截面积(mm²):",       "A<sub>s</sub>", "mm²"},
    {"Text7", "la", "锚固段长度(M):",             "l<sub>a</sub>", "m"},
    {"Text8", "lb", "锚筋与砂浆间的锚固长度(M):", "l<sub>b</sub>", "m"},
    {"Text13", "As_provided", "实配钢筋截面积(mm²):", "A<sub>s,提供</sub>", "mm²", "0", {}, false, true},
    {"",       "Kb",       "", "K<sub>b</sub>", "", "0", "锚杆杆体抗拉安全系数", false, true},
    {"",       "K",        "", "K",             "", "0", "锚固体抗拔安全系数",   false, true},
    {"",       "l_design", "", "l<sub>a,设计</sub>", "m", "0", "应设锚固段长度", false, true},
    {"",       "Nak",      "", "N<sub>ak</sub>", "kN", "0", "锚杆轴向拉力标准值", false, true},
};

// clang-format on

// The fields and results by name, for the calculation.
namespace in {
constexpr FieldId a = fieldNamed(kFields, "a"), Htk = fieldNamed(kFields, "Htk"),
                  fy = fieldNamed(kFields, "fy"), gamma0 = fieldNamed(kFields, "gamma0"),
                  frb = fieldNamed(kFields, "frb"), D = fieldNamed(kFields, "D"),
                  d = fieldNamed(kFields, "d"), fb = fieldNamed(kFields, "fb"),
                  n = fieldNamed(kFields, "n"), edition = fieldNamed(kFields, "edition"),
                  grade = fieldNamed(kFields, "grade"), KbReq = fieldNamed(kFields, "Kb_req"),
                  KReq = fieldNamed(kFields, "K_req"), kind = fieldNamed(kFields, "kind");
} // namespace in
namespace out {
constexpr ResultId Na = resultNamed(kResults, "Na"), As = resultNamed(kResults, "As"),
                   la = resultNamed(kResults, "la"), lb = resultNamed(kResults, "lb"),
                   AsProvided = resultNamed(kResults, "As_provided"),
                   Kb = resultNamed(kResults, "Kb"), K = resultNamed(kResults, "K"),
                   lDesign = resultNamed(kResults, "l_design"), Nak = resultNamed(kResults, "Nak");
} // namespace out

// A whole number of bars, one at least: anything else is refused.
std::int16_t barCount(std::string_view text) {
    const double count = textToDouble(text);
    if (count != std::floor(count) || count < 1 || count > 1000) {
        throw CalcError(ErrorKind::InvalidArgument);
    }
    return static_cast<std::int16_t>(count);
}

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
    const std::int16_t n = form.readWith(in::n, barCount);
    const auto edition = AnchorEdition(form.readWith(in::edition, chosenFrom(kEditions)));
    const auto grade = SlopeGrade(form.readWith(in::grade, chosenFrom(kSlopeGrades)));
    const auto bonded = AnchorGround(form.readWith(in::kind, chosenFrom(kAnchorGrounds)));
    const bool by2013 = edition == AnchorEdition::Gb50330_2013;
    AnchorSafetyFactors factors = anchorSafetyFactors(grade, kind);
    if (by2013) { // the engineer's factors, where set; the inputs held to their physical range
        if (!form.text(in::KbReq).empty()) {
            factors.Kb = readWithin(form, in::KbReq, kPositive);
        }
        if (!form.text(in::KReq).empty()) {
            factors.K = readWithin(form, in::KReq, kPositive);
        }
        for (const auto& [field, domain] : {std::pair{in::a, &kInclination},
                                            {in::Htk, &kNonNegative},
                                            {in::fy, &kPositive},
                                            {in::frb, &kPositive},
                                            {in::D, &kPositive},
                                            {in::d, &kPositive},
                                            {in::fb, &kPositive}}) {
            readWithin(form, field, *domain);
        }
    }
    const AnchorBar r = by2013 ? anchorBarDesign2013(n, D, Htk, a, fy, factors, frb, fb, d, trace)
                               : anchorBarDesign(n, D, Htk, a, fy, kind == AnchorKind::Permanent,
                                                 gamma0, frb, fb, d, trace);
    form.setDouble(out::Na, r.Na);
    form.setDouble(out::As, r.As);
    form.setDouble(out::la, r.la);
    form.setDouble(out::lb, r.lb);
    // beyond the original results, after them: the section the bars provide, the 2013 factors,
    // and the bonded length to provide
    formBeyond([&] { form.setDouble(out::AsProvided, barSection(n, d, trace)); });
    if (by2013) {
        form.setDouble(out::Kb, factors.Kb);
        form.setDouble(out::K, factors.K);
    }
    form.setDouble(out::lDesign, std::max({r.la, r.lb, leastBondedLength(bonded)}));
    form.setDouble(out::Nak, r.Nak);
}

namespace {

const std::string_view kClassicNotes[] = {
    "工作条件系数法（程序原方法）：N<sub>a</sub> = 1.25·N<sub>ak</sub>，"
    "ξ<sub>1</sub>～ξ<sub>3</sub> 为锚固体与岩石、锚筋抗拉、锚筋与砂浆粘结的工作条件系数",
};
const std::string_view k2013Notes[] = {
    "按 GB 50330-2013 第8.2.2～8.2.4条的公式：A<sub>s</sub> ≥ K<sub>b</sub>N<sub>ak</sub> ÷ "
    "f<sub>y</sub>，"
    "l<sub>a</sub> ≥ KN<sub>ak</sub> ÷ (πDf<sub>rbk</sub>)，l<sub>b</sub> ≥ KN<sub>ak</sub> ÷ "
    "(nπdf<sub>b</sub>)；"
    "K<sub>b</sub>、K 未填时取程序默认值（按边坡工程安全等级及永久性、临时性锚杆：一级 "
    "2.2/2.6、1.8/2.0，"
    "二级 2.0/2.4、1.6/1.8，三级 2.0/2.2、1.4/1.6；规范表中三级永久性锚杆的 K<sub>b</sub> 有 1.8 "
    "与 2.0 "
    "两种读法，程序取偏安全的 2.0），未经与规范原文核对",
    "f<sub>rbk</sub> 为岩土层与锚固体极限粘结强度标准值，填在 f<sub>rb</sub> "
    "一栏；安全系数已计入边坡等级，"
    "γ<sub>0</sub> 不参与；N<sub>a</sub> = 1.25·N<sub>ak</sub> "
    "只列出，不参与计算；角度换算与圆周率取 π",
};
constexpr ValueUnit kDesignUnits[] = {
    {"Nak", "kN"}, {"Na", "kN"}, {"As", "mm²"}, {"la", "m"}, {"lb", "m"}};
constexpr ValueUnit kSectionUnits[] = {{"As,提供", "mm²"}};
const Step kDesignStep{"anchorBarDesign", "锚杆设计", kClassicNotes, kDesignUnits};
const Step k2013Step{"anchorBarDesign2013", "锚杆设计（GB 50330-2013）", k2013Notes, kDesignUnits};
const Step kSectionStep{"barSection", "实配钢筋截面", {}, kSectionUnits};
const Step* const kSteps[] = {&kDesignStep, &k2013Step, &kSectionStep};

constexpr std::string_view kBondedLengthClause = "GB 50330-2013 第8.4.1条";

// The bars the window designs against the section they need; the bonded length to provide
// against the greatest the code advises for a rock anchor.
const Verdict kVerdicts[] = {
    {out::AsProvided, "As_ok", "As,提供", "钢筋截面", "≥", "As", "实配截面不小于所需截面"},
    {out::lDesign, "la_ok", "la,设计", "锚固段长度", "≤", "min(45D, 6.5 m)", kBondedLengthClause},
};

void judgeAnchor(int, const Form& fields, const Written& written, std::span<Judgement> out) {
    const std::optional<double> provided = written.result(out::AsProvided);
    const std::optional<double> needed = written.result(out::As);
    if (provided && needed) {
        out[0] = {*provided >= *needed ? Outcome::Met : Outcome::NotMet, *provided, *needed};
    }
    if (const std::optional<double> length = written.result(out::lDesign)) {
        const auto bonded = AnchorGround(fields.choice(in::kind));
        const double greatest = greatestBondedLength(bonded, fields.readDouble(in::D));
        out[1] = {*length <= greatest ? Outcome::Met : Outcome::NotMet,
                  *length,
                  greatest,
                  {},
                  bonded == AnchorGround::Soil ? std::string_view("10 m") : std::string_view()};
    }
}

bool by2013(const Form& form) {
    return AnchorEdition(form.readWith(in::edition, chosenFrom(kEditions))) ==
           AnchorEdition::Gb50330_2013;
}

std::string describeAnchor(const Variant& kind, const Form& form) {
    std::string text(kind.title);
    try {
        if (by2013(form)) {
            return text + "，按 GB 50330-2013 计算，边坡工程安全等级" + form.text(in::grade) +
                   (form.text(in::KbReq).empty() ? "" : "，Kb 由设计者指定") +
                   (form.text(in::KReq).empty() ? "" : "，K 由设计者指定");
        }
    } catch (const CalcError&) {
    }
    return text + "，按工作条件系数法（程序原方法）计算";
}

// What one method leaves unread of the other's: γ0 by the 2013 method; the grade and the
// factors by the working-condition factors.
std::vector<FieldId> idleAnchorFields(int, const Form& form) {
    if (by2013(form)) {
        return {in::gamma0};
    }
    return {in::grade, in::KbReq, in::KReq};
}

// Under the 2013 method the bond strength typed is the ultimate one's standard value, frbk.
constexpr Field kUltimateBond{"frb",
                              "Text9",
                              "极限粘结强度标准值frbk(kPa)",
                              "180",
                              "kPa",
                              "ultimate bond strength between ground and anchor body (2013 method)",
                              "f<sub>rbk</sub>",
                              Conversion::Double,
                              "岩土层与锚固体极限粘结强度标准值"};
const Field* anchorShownAs(FieldId field, const Form& form) {
    try {
        return field == in::frb && by2013(form) ? &kUltimateBond : nullptr;
    } catch (const CalcError&) { // a method that cannot be read: the field as it stands
        return nullptr;
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
        "并按 n 根（默认 3 根）直径 d 的钢筋验算实配截面。计算方法可选工作条件系数法（程序原方法，"
        "永久性与临时性锚杆取不同的工作条件系数）或 GB 50330-2013 第8.2.2～8.2.4条（安全系数 Kb、K "
        "可由设计者填写，未填时按边坡工程安全等级与锚杆的永久、临时取程序默认值）；两种方法都给出应"
        "设锚固段长度 max(la, lb, 3 "
        "m)，"
        "并按 GB 50330-2013 第8.4.1条验算其不大于 45D 与 6.5 m。",
    .reachedBy = "启动窗口的“锚杆计算”。",
    .fields = kFields,
    .results = kResults,
    .variants = kKinds,
    .defaultVariant = int(AnchorKind::Permanent),
    .variantOption = {},
    .calculate = [](int kind, Form& form,
                    Trace* trace) { calculateAnchorBar(AnchorKind(kind), form, trace); },
    .verdicts = kVerdicts,
    .judge = judgeAnchor,
    .describe = describeAnchor,
    .idle = idleAnchorFields,
    .shownAs = anchorShownAs,
};

} // namespace subprogram
