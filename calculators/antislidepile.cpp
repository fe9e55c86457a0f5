#include "antislidepile.h"
#include "antislidepileinputs.h"

#include "calculators/domains.h"
#include "calculators/listtext.h"
#include "calculators/pilesketch.h"
#include "calculators/rcsection.h"
#include "calculators/slopegrade.h"
#include "core/numerictext.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace subprogram {

using namespace antislide;

namespace {

constexpr std::size_t kNameSize = sizeof "第20层土的最大横向压应力深度";
constexpr auto kSigmaNames = indexedNames<kMaxStrata, kNameSize>("sigma_max");
constexpr auto kZSigmaNames = indexedNames<kMaxStrata, kNameSize>("z_sigma");
constexpr auto kSigmaCaptions = indexedNames<kMaxStrata, kNameSize>("第", "层最大横向压应力");
constexpr auto kZSigmaCaptions = indexedNames<kMaxStrata, kNameSize>("第", "层最大压应力深度");
constexpr auto kSigmaOkNames = indexedNames<kMaxStrata, kNameSize>("sigma_ok");
constexpr auto kSigmaOkWhat = indexedNames<kMaxStrata, kNameSize>("第", "层横向压应力");

constexpr std::size_t kFirstStratum = 19;
constexpr auto kResults = [] {
    std::array<Result, kFirstStratum + 2 * kMaxStrata> r{};
    r[0] = {"", "E_pile", "", "E", "kN", "0", "每根桩所受推力"};
    r[1] = {"", "q_top", "", "q<sub>顶</sub>", "kN/m", "0", "桩顶处荷载集度"};
    r[2] = {"", "q_bottom", "", "q<sub>底</sub>", "kN/m", "0", "滑面处荷载集度"};
    r[3] = {"", "EI_used", "", "EI", "kN·m²", "0", "桩身抗弯刚度"};
    r[4] = {"", "Bp_used", "", "B<sub>p</sub>", "m", "0", "桩的计算宽度"};
    r[5] = {"", "alpha_h", "", "αh<sub>2</sub>", "", "0", "桩的换算深度（m法 αh2，K法 βh2）"};
    r[6] = {"", "rigid", "", "", "", "", "桩的类别"};
    r[7] = {"", "y_head", "", "y<sub>顶</sub>", "mm", "0", "桩顶位移"};
    r[8] = {"", "y_slip", "", "y<sub>滑面</sub>", "mm", "0", "滑面处桩的位移"};
    r[9] = {"", "rot_slip", "", "φ<sub>滑面</sub>", "rad", "0", "滑面处桩的转角"};
    r[10] = {"", "Mmax", "", "M<sub>max</sub>", "kN·m", "0", "桩身最大弯矩（绝对值）"};
    r[11] = {"", "zMmax", "", "z<sub>Mmax</sub>", "m", "0", "最大弯矩的深度（自桩顶）"};
    r[12] = {"", "Vmax", "", "V<sub>max</sub>", "kN", "0", "桩身最大剪力（绝对值）"};
    r[13] = {"", "zVmax", "", "z<sub>Vmax</sub>", "m", "0", "最大剪力的深度（自桩顶）"};
    r[14] = {"",    "R_foot", "",    "R<sub>底</sub>", "kN", "0", "桩底支承反力",
             false, false,    false, "无（桩底自由）"};
    r[15] = {"",
             "pile_As",
             "",
             "A<sub>s</sub>",
             "mm²",
             "0",
             "桩受拉钢筋截面积",
             false,
             false,
             false,
             "无（圆形截面未计算，或截面超筋）"};
    r[16] = {"",
             "pile_xi",
             "",
             "ξ",
             "",
             "0",
             "桩截面相对受压区高度",
             false,
             false,
             false,
             "无（圆形截面未计算，或截面超筋）"};
    r[17] = {"", "pile_over", "", "", "", "0", {}, true};
    r[18] = {"", "pile_xib", "", "", "", "0", {}, true};
    for (std::size_t i = 0; i < kFirstStratum; ++i) {
        r[i].reported = !r[i].hidden;
    }
    for (std::size_t j = 0; j < kMaxStrata; ++j) {
        r[kFirstStratum + 2 * j] = {"",  kSigmaNames.text[j],   "", "σ<sub>max</sub>", "kPa",
                                    "0", kSigmaCaptions.text[j]};
        r[kFirstStratum + 2 * j + 1] = {"",  kZSigmaNames.text[j],   "", "z<sub>σ</sub>", "m",
                                        "0", kZSigmaCaptions.text[j]};
    }
    return r;
}();

namespace out {
constexpr ResultId load = resultNamed(kResults, "E_pile"), qTop = resultNamed(kResults, "q_top"),
                   qBottom = resultNamed(kResults, "q_bottom"),
                   EI = resultNamed(kResults, "EI_used"), Bp = resultNamed(kResults, "Bp_used"),
                   alphaH = resultNamed(kResults, "alpha_h"),
                   rigid = resultNamed(kResults, "rigid"), yHead = resultNamed(kResults, "y_head"),
                   ySlip = resultNamed(kResults, "y_slip"),
                   rotSlip = resultNamed(kResults, "rot_slip"),
                   Mmax = resultNamed(kResults, "Mmax"), zMmax = resultNamed(kResults, "zMmax"),
                   Vmax = resultNamed(kResults, "Vmax"), zVmax = resultNamed(kResults, "zVmax"),
                   Rfoot = resultNamed(kResults, "R_foot"), As = resultNamed(kResults, "pile_As"),
                   xi = resultNamed(kResults, "pile_xi"), over = resultNamed(kResults, "pile_over"),
                   xiB = resultNamed(kResults, "pile_xib");
constexpr ResultId sigma(std::size_t j) {
    return {static_cast<std::uint16_t>(kFirstStratum + 2 * j)};
}
constexpr ResultId zSigma(std::size_t j) {
    return {static_cast<std::uint16_t>(kFirstStratum + 2 * j + 1)};
}
static_assert(zSigma(kMaxStrata - 1) == resultNamed(kResults, "z_sigma20"));
} // namespace out

constexpr auto kVerdicts = [] {
    std::array<Verdict, 2 + kMaxStrata> v{};
    v[0] = {out::xi, "pile_ok", "ξ", "桩截面", "≤", "ξb", "GB 50010-2010 第6.2.7条"};
    v[1] = {out::yHead, "y_ok", "|y顶|", "桩顶位移", "≤", "[y]", "设计者给定"};
    for (std::size_t j = 0; j < kMaxStrata; ++j) {
        v[2 + j] = {out::sigma(j), kSigmaOkNames.text[j],     "σmax", kSigmaOkWhat.text[j], "≤",
                    "[σ]",         "设计者给定的横向容许应力"};
    }
    return v;
}();

// αh2 = (m·Bp/EI)^⅕·h2 or βh2 = (K·Bp/(4EI))^¼·h2, of the strata's mean value over h2.
double reducedDepth(FoundationMethod method, double value, double Bp, double EI, double h2,
                    Trace* trace) {
    return evaluate<Keep>(trace, "pileCharacteristic", [=]<typename Num>(Keep<Num> keep) {
        const bool m = method == FoundationMethod::M;
        const Num v = keep.input(m ? "m" : "K", value), bp = keep.input("Bp", Bp);
        const Num ei = keep.input("EI", EI), h = keep.input("h2", h2);
        const Num ratio = m ? keep("mBp/EI", v * bp / ei) : keep("KBp/4EI", v * bp / (4 * ei));
        const Num c = keep(m ? "α" : "β", std::pow(ratio.value(), m ? 0.2 : 0.25));
        return keep(m ? "αh2" : "βh2", c * h).value();
    });
}

} // namespace

void calculateAntiSlidePile(Form& form, Trace* trace) {
    beginStep(trace, kReadingStep);
    const AntiSlidePile p = analyseAntiSlidePile(form, trace);
    const double gamma0 = importanceFactor(
        form, in::gamma0, SlopeGrade(form.readWith(in::grade, chosenFrom(kSlopeGrades))));
    const double gammaF = readWithin(form, in::gammaF, kPositive);
    const auto section = Section(form.readWith(in::section, chosenFrom(kSections)));
    const double fy = readWithin(form, in::fy, kPositive);
    const double as = readWithin(form, in::as, kPositive);
    const bool rectangle = section == Section::Rectangle;
    // bending across the slope: b wide, a deep
    const double b = rectangle ? form.readDouble(in::b) * 1000 : 0;
    const double h = rectangle ? form.readDouble(in::a) * 1000 : 0;
    if (rectangle && !(as < h)) {
        throw FieldError(
            CalcError(ErrorKind::InvalidArgument, "受拉钢筋合力点应在截面之内（as < a）"), in::as);
    }
    const PileModel& m = p.model;
    const PileResponse& r = *p.response;

    // the strata's mean value over h2, for the pile's class
    double sum = 0, top = 0;
    for (std::size_t i = 0; i < m.strata.size() && top < m.h2; ++i) {
        const double bottom =
            i + 1 == m.strata.size() ? m.h2 : std::min(m.h2, top + m.strata[i].thickness);
        sum += m.strata[i].value * (bottom - top);
        top = bottom;
    }
    const double reduced = reducedDepth(m.method, sum / m.h2, m.Bp, m.EI, m.h2, trace);
    const bool rigid = m.method == FoundationMethod::M ? reduced <= 2.5 : reduced <= 1.0;

    form.setDouble(out::load, p.load);
    form.setDouble(out::qTop, m.qTop);
    form.setDouble(out::qBottom, m.qBottom);
    form.setDouble(out::EI, m.EI);
    form.setDouble(out::Bp, m.Bp);
    form.setDouble(out::alphaH, reduced);
    form.setText(out::rigid, rigid ? "刚性" : "弹性");
    if (trace) {
        trace->beginStep("pileResponse");
    }
    const auto write = [&](ResultId id, std::string_view name, double value) {
        form.setDouble(id, value);
        if (trace) {
            trace->record(name, value);
        }
    };
    write(out::yHead, "y顶", r.w(0) * 1000);
    write(out::ySlip, "y滑面", r.w(m.h1) * 1000);
    write(out::rotSlip, "φ滑面", r.rotation(m.h1));
    write(out::Mmax, "Mmax", r.greatestMoment().value);
    write(out::zMmax, "zMmax", r.greatestMoment().z);
    write(out::Vmax, "Vmax", r.greatestShear().value);
    write(out::zVmax, "zVmax", r.greatestShear().z);
    if (m.foot != PileFoot::Free) {
        write(out::Rfoot, "R底", r.footForce());
    }
    for (std::size_t j = 0; j < r.greatestStress().size(); ++j) {
        form.setDouble(out::sigma(j), r.greatestStress()[j].value);
        form.setDouble(out::zSigma(j), r.greatestStress()[j].z);
    }
    if (rectangle) {
        const std::size_t grade =
            std::size_t(form.readWith(in::concrete, chosenFrom(kConcreteChoices)));
        const SectionDesign bars =
            rectangularSection({r.greatestMoment().value, gamma0, gammaF, "Mmax"}, b, h, as,
                               kConcreteGrades[grade], fy, trace);
        if (!bars.overReinforced) {
            form.setDouble(out::As, bars.As);
        }
        if (bars.xi > 0 && !(bars.overReinforced && bars.xi == 0)) {
            form.setDouble(out::xi, bars.xi);
        }
        form.setDouble(out::over, bars.overReinforced ? 1 : 0);
        form.setDouble(out::xiB, bars.xiB);
    }
}

namespace {

void judgeAntiSlidePile(int, const Form& fields, const Written& written, std::span<Judgement> out) {
    if (Section(fields.choice(in::section)) == Section::Round) {
        out[0] = {Outcome::NotChecked, 0, 0, "圆形截面的配筋本程序未计算"};
    } else if (const auto over = written.result(out::over)) {
        const std::optional<double> xi = written.result(out::xi);
        out[0] = {*over != 0 ? Outcome::NotMet : Outcome::Met,
                  xi.value_or(0),
                  written.result(out::xiB).value_or(0),
                  *over != 0 ? "截面超筋，应加大截面或提高混凝土强度等级" : "",
                  {},
                  xi.has_value()};
    }
    if (fields.blank(in::yLimit)) {
        out[1] = {Outcome::Absent};
    } else if (const auto y = written.result(out::yHead)) {
        const double limit = fields.readDouble(in::yLimit);
        out[1] = {std::abs(*y) <= limit ? Outcome::Met : Outcome::NotMet, std::abs(*y), limit};
    }
    std::vector<std::vector<double>> rows;
    try {
        rows = rowsOf(fields.text(in::strata), 3);
    } catch (const CalcError&) {
    }
    for (std::size_t j = 0; j < kMaxStrata; ++j) {
        const std::optional<double> sigma = written.result(out::sigma(j));
        if (j >= rows.size() || !sigma) {
            out[2 + j] = {Outcome::Absent};
            continue;
        }
        out[2 + j] = {*sigma <= rows[j][2] ? Outcome::Met : Outcome::NotMet, *sigma, rows[j][2]};
    }
}

// A pile that barely holds, said beside its results: its figures stand as computed.
std::vector<std::string> pileWarnings(int, const Form& fields, const Written& written) {
    const std::optional<double> y = written.result(out::yHead);
    const double length = fields.readDouble(in::h1) + fields.readDouble(in::h2);
    if (y && std::abs(*y) > 10 * length) { // mm: a hundredth of the pile's length
        return {"桩顶位移 " + roundedText(*y) +
                " mm 大于桩长的 1/100：地基的线弹性假定已不适用，"
                "嵌固可能不足，应加长锚固段或加大截面（程序的提示）。"};
    }
    return {};
}

std::vector<FieldId> idlePileFields(int, const Form& form) {
    std::vector<FieldId> idle;
    if (Shape(form.choice(in::shape)) != Shape::Trapezoid) {
        idle.push_back(in::ratio);
    }
    if (Section(form.choice(in::section)) == Section::Round) {
        idle.insert(idle.end(), {in::b, in::a, in::gamma0, in::gammaF, in::fy, in::as});
    } else {
        idle.push_back(in::d);
    }
    if (!form.blank(in::EI) && !form.blank(in::Bp)) {
        idle.push_back(in::concrete);
    }
    return idle;
}

std::string describeAntiSlidePile(const Variant&, const Form& form) {
    const auto word = [&](FieldId field, std::span<const Choice> choices) {
        for (const Choice& c : choices) {
            if (c.value == form.choice(field)) {
                return std::string(c.text);
            }
        }
        return std::string();
    };
    return "推力按" + word(in::shape, kShapes) + "分布，" + word(in::section, kSections) +
           "截面桩，地基系数按" + word(in::method, kMethods) + "，桩底" + word(in::foot, kFeet);
}

const std::string_view kLoadNotes[] = {
    "每根桩承受的推力 E = (T − E<sub>p</sub>)·s，作用于桩顶至滑面的受荷段 h<sub>1</sub>，"
    "按所选形状分布（矩形 q = E/h<sub>1</sub>；三角形自桩顶 0 增至滑面处 2E/h<sub>1</sub>；"
    "梯形顶底比 r，q<sub>底</sub> = 2E/(h<sub>1</sub>(1 + r))）。受荷段不计地基抗力。",
};
const std::string_view kSectionNotes[] = {
    "EI 未填时取 0.85E<sub>c</sub>I（JGJ 94-2008 第5.7.2条），E<sub>c</sub> 按 GB 50010-2010 "
    "表4.1.5。B<sub>p</sub> 未填时：b 或 d ≤ 1 m 取 1.5b + 0.5 或 0.9(1.5d + 0.5)（JGJ 94-2008 "
    "第5.7.5条）；更宽时取 b + 1 或 0.9(d + 1)（程序默认值，未经与规范原文核对，可直接填写 "
    "B<sub>p</sub>）。",
};
const std::string_view kModelNotes[] = {
    "滑面以下按文克尔地基上的梁计算：EI·y″″ + k·B<sub>p</sub>·y = q。m 法 k = m·y′（y′ "
    "自滑面向下量取），K 法 k = K，逐层取值；桩顶自由，桩底按所选支承。各段的解按幂级数精确求和，"
    "得出各段的精确刚度后联立求解，内力、位移与地基横向压应力 σ = k·y 均由同一级数求得。",
    "αh<sub>2</sub> = (mB<sub>p</sub>/EI)<sup>1/5</sup>·h<sub>2</sub> ≤ 2.5 或 βh<sub>2</sub> = "
    "(KB<sub>p</sub>/4EI)<sup>1/4</sup>·h<sub>2</sub> ≤ 1.0 时标为刚性桩（程序默认值，"
    "未经与规范原文核对）；m、K 取滑面以下 h<sub>2</sub> 范围内各层按厚度的平均值。"
    "刚性桩与弹性桩用同一解法计算（刚性桩为其刚度很大时的极限）。",
};
const std::string_view kBarsNotes[] = {
    "桩截面按 GB 50010-2010 单筋矩形截面受弯计算，截面宽 b（沿坡面方向）、高 a（沿推力方向），"
    "M = γ<sub>0</sub>γ<sub>F</sub>·M<sub>max</sub>；γ<sub>0</sub> 不填时按 GB 50330-2013 "
    "第3.3.2条取，γ<sub>F</sub> 默认 1.35 为程序默认值。圆形截面的配筋本程序未计算。",
};
constexpr ValueUnit kLoadUnits[] = {{"E", "kN"}, {"q", "kN/m"}, {"q底", "kN/m"}, {"q顶", "kN/m"}};
constexpr ValueUnit kSectionUnits[] = {{"Ec", "N/mm²"}, {"I", "m⁴"}, {"EI", "kN·m²"}, {"Bp", "m"}};
constexpr ValueUnit kCharacteristicUnits[] = {{"α", "1/m"}, {"β", "1/m"}};
constexpr ValueUnit kResponseUnits[] = {{"y顶", "mm"},    {"y滑面", "mm"}, {"φ滑面", "rad"},
                                        {"Mmax", "kN·m"}, {"zMmax", "m"},  {"Vmax", "kN"},
                                        {"zVmax", "m"},   {"R底", "kN"}};
constexpr ValueUnit kBarsUnits[] = {
    {"Mmax", "kN·m"}, {"M", "kN·m"}, {"h0", "mm"}, {"As,min", "mm²"}, {"As", "mm²"}};
const Step kLoadStep{"pileLoad", "桩上推力", kLoadNotes, kLoadUnits};
const Step kSectionStep{"pileSection", "桩的刚度与计算宽度", kSectionNotes, kSectionUnits};
const Step kCharacteristicStep{"pileCharacteristic", "桩的换算深度与类别", kModelNotes,
                               kCharacteristicUnits};
const Step kResponseStep{"pileResponse", "桩的位移与内力", {}, kResponseUnits};
const Step kBarsStep{"rectangularSection", "桩截面配筋", kBarsNotes, kBarsUnits};
const Step* const kSteps[] = {&kLoadStep, &kSectionStep, &kCharacteristicStep, &kResponseStep,
                              &kBarsStep};
const Variant kOnly[] = {{0, "", "抗滑桩", kSteps}};

// Each stratum: its extent, coefficient, the greatest stress on it and the allowable.
std::optional<PartsTable> strataTable(int, const Form& form, const CalculationRecord& record) {
    std::vector<std::vector<double>> rows;
    try {
        rows = rowsOf(form.text(in::strata), 3);
    } catch (const CalcError&) {
        return std::nullopt;
    }
    const bool m = FoundationMethod(form.choice(in::method)) == FoundationMethod::M;
    PartsTable t{"滑面以下各层的横向压应力",
                 {"层", "厚度 (m)", m ? "m (kN/m⁴)" : "K (kN/m³)", "σ<sub>max</sub> (kPa)",
                  "深度 z (m)", "[σ] (kPa)"},
                 {},
                 "σ = k·y 为桩对地基的横向压应力，深度自桩顶量取；末层延至桩底。"};
    for (std::size_t j = 0; j < rows.size() && j < kMaxStrata; ++j) {
        const std::string sigma = record.written(out::sigma(j));
        const std::string z = record.written(out::zSigma(j));
        t.rows.push_back({std::to_string(j + 1), roundedText(rows[j][0]), roundedText(rows[j][1]),
                          sigma.empty() ? "—" : roundedText(textToDouble(sigma)),
                          z.empty() ? "—" : roundedText(textToDouble(z)), roundedText(rows[j][2])});
    }
    return t;
}

// z, y (mm), rotation, M, V and σ down the whole pile at equal steps.
std::optional<Profile> pileProfile(int, const Form& form, int steps) {
    try {
        const AntiSlidePile p = analyseAntiSlidePile(form);
        const PileResponse& r = *p.response;
        Profile out{{"z", "y", "rot", "M", "V", "sigma"}, {}};
        for (int i = 0; i <= steps; ++i) {
            const double z = i == steps ? r.length() : r.length() * i / steps;
            out.rows.push_back(
                {z, r.w(z) * 1000, r.rotation(z), r.moment(z), r.shear(z), r.stress(z)});
        }
        return out;
    } catch (const CalcError&) {
        return std::nullopt;
    }
}

std::string pileSketch(int, const Form& form, const CalculationRecord&, Sketch& sketch) {
    try {
        const AntiSlidePile p = analyseAntiSlidePile(form);
        sketch = drawPile(p.model, *p.response);
        return {};
    } catch (const CalcError&) {
        return "有输入无法读取，未绘出桩身图。";
    }
}

constexpr std::string_view kStrataFieldNames[] = {"strata"};
constexpr std::string_view kStrataHeader[] = {"厚度 (m)", "m (kN/m⁴) 或 K (kN/m³)",
                                              "横向容许应力 (kPa)"};
constexpr ListTable kTables[] = {{"滑面以下地层（自上而下）", kStrataFieldNames, kStrataHeader}};

} // namespace

const Calculator kAntiSlidePile{
    .command = "anti-slide-pile",
    .english = "anti-slide pile on an elastic foundation: the landslide's thrust on one pile, its "
               "displacements, moments and shears by the m or K method, the lateral stress on "
               "each stratum and the pile's bars",
    .window = "antislidepilefrm",
    .title = "抗滑桩",
    .introduction =
        "抗滑桩（桩板式挡墙的桩）：滑坡推力（可由折线滑动法的设计推力传来）扣除桩前抗力后按桩间距"
        "作用于每根桩滑面以上的受荷段，滑面以下按 m 法或 K 法的文克尔地基逐层计算，"
        "求桩的位移、转角、弯矩、剪力及各层的横向压应力并与其容许值比较，桩截面按 GB 50010-2010 "
        "配筋。",
    .reachedBy = "启动窗口的“抗滑桩”。",
    .fields = kFields,
    .results = kResults,
    .variants = kOnly,
    .defaultVariant = 0,
    .variantOption = {},
    .calculate = [](int, Form& form, Trace* trace) { calculateAntiSlidePile(form, trace); },
    .resultsHelp = "E_pile q_top q_bottom EI_used Bp_used alpha_h rigid y_head y_slip\n"
                   "rot_slip Mmax zMmax Vmax zVmax R_foot pile_As pile_xi, and for every stratum\n"
                   "i (1 at the slip surface): sigma_max<i> z_sigma<i>",
    .verdicts = kVerdicts,
    .checksHelp = "pile_ok y_ok; sigma_ok<i> per stratum",
    .judge = judgeAntiSlidePile,
    .warnings = pileWarnings,
    .describe = describeAntiSlidePile,
    .sketch = pileSketch,
    .profile = pileProfile,
    .parts = strataTable,
    .idle = idlePileFields,
    .listTables = kTables,
    .sketchTitle = "桩身荷载、位移、弯矩、剪力与横向压应力图",
};

} // namespace subprogram
