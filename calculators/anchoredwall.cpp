#include "anchoredwall.h"
#include "anchoredwallinputs.h"

#include "calculators/anchorbar.h"
#include "calculators/angles.h"
#include "calculators/domains.h"
#include "calculators/ground.h"
#include "calculators/listtext.h"
#include "calculators/rcsection.h"
#include "calculators/ribsketch.h"
#include "calculators/slopegrade.h"
#include "core/numerictext.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <set>

namespace subprogram {

using namespace anchored;

namespace {

// Each row's results, by name on the command line and in words in the report.
constexpr std::size_t kNameSize = sizeof "第20排锚杆轴向拉力标准值";
constexpr auto kRNames = indexedNames<kMaxRows, kNameSize>("R");
constexpr auto kHtkNames = indexedNames<kMaxRows, kNameSize>("Htk");
constexpr auto kNakNames = indexedNames<kMaxRows, kNameSize>("Nak");
constexpr auto kAsNames = indexedNames<kMaxRows, kNameSize>("As");
constexpr auto kLaNames = indexedNames<kMaxRows, kNameSize>("la");
constexpr auto kLbNames = indexedNames<kMaxRows, kNameSize>("lb");
constexpr auto kLDesignNames = indexedNames<kMaxRows, kNameSize>("l_design");
constexpr auto kRCaptions = indexedNames<kMaxRows, kNameSize>("第", "排支承反力");
constexpr auto kHtkCaptions = indexedNames<kMaxRows, kNameSize>("第", "排锚杆水平拉力标准值");
constexpr auto kNakCaptions = indexedNames<kMaxRows, kNameSize>("第", "排锚杆轴向拉力标准值");
constexpr auto kAsCaptions = indexedNames<kMaxRows, kNameSize>("第", "排锚杆钢筋截面积");
constexpr auto kLaCaptions = indexedNames<kMaxRows, kNameSize>("第", "排锚杆锚固段长度");
constexpr auto kLbCaptions = indexedNames<kMaxRows, kNameSize>("第", "排锚杆锚筋锚固长度");
constexpr auto kLDesignCaptions = indexedNames<kMaxRows, kNameSize>("第", "排应设锚固段长度");
constexpr auto kRowOkNames = indexedNames<kMaxRows, kNameSize>("row_ok");
constexpr auto kAsOkNames = indexedNames<kMaxRows, kNameSize>("As_ok");
constexpr auto kLaOkNames = indexedNames<kMaxRows, kNameSize>("la_ok");
constexpr auto kRowOkWhat = indexedNames<kMaxRows, kNameSize>("第", "排锚杆受拉");
constexpr auto kAsOkWhat = indexedNames<kMaxRows, kNameSize>("第", "排锚杆钢筋截面");
constexpr auto kLaOkWhat = indexedNames<kMaxRows, kNameSize>("第", "排锚固段长度");

constexpr std::size_t kRowResults = 7, kFirstRow = 15;
constexpr std::string_view kNoRib = "不分析（受荷面积法）";
constexpr std::string_view kNoBars = "无（受荷面积法不分析肋柱，或截面超筋）";
constexpr auto kResults = [] {
    std::array<Result, kFirstRow + kRowResults * kMaxRows> r{};
    r[0] = {"", "Ea_h", "", "E<sub>ah</sub>", "kN/m", "0", "水平推力标准值"};
    r[1] = {"", "Ea_h_mod", "", "E′<sub>ah</sub>", "kN/m", "0", "修正后的水平推力"};
    r[2] = {"",    "e_h", "",    "e′<sub>ah</sub>",         "kPa", "0", "侧压力分布图的纵标",
            false, false, false, "（三角形或土压力图分布）"};
    r[3] = {"",
            "Rbase",
            "",
            "R<sub>底</sub>",
            "kN",
            "0",
            "柱底支承反力",
            false,
            false,
            false,
            "无（柱底自由或受荷面积法）"};
    r[4] = {
        "",    "Mmax", "",    "M<sub>max</sub>", "kN·m", "0", "肋柱最大正弯矩（外侧受拉）", false,
        false, false,  kNoRib};
    r[5] = {"",    "zMmax", "",    "z<sub>Mmax</sub>", "m", "0", "最大正弯矩的深度", false,
            false, false,   kNoRib};
    r[6] = {
        "",    "Mmin", "",    "M<sub>min</sub>", "kN·m", "0", "肋柱最大负弯矩（内侧受拉）", false,
        false, false,  kNoRib};
    r[7] = {"",    "zMmin", "",    "z<sub>Mmin</sub>", "m", "0", "最大负弯矩的深度", false,
            false, false,   kNoRib};
    r[8] = {"",    "Vmax", "",    "V<sub>max</sub>", "kN", "0", "肋柱最大剪力", false,
            false, false,  kNoRib};
    r[9] = {"", "As_provided", "", "A<sub>s,提供</sub>", "mm²", "0", "每根锚杆实配钢筋截面积"};
    r[10] = {
        "",    "As_rib_span", "",     "A<sub>s,跨中</sub>", "mm²", "0", "肋柱外侧受拉钢筋", false,
        false, false,         kNoBars};
    r[11] = {"",
             "As_rib_support",
             "",
             "A<sub>s,支座</sub>",
             "mm²",
             "0",
             "肋柱内侧受拉钢筋",
             false,
             false,
             false,
             kNoBars};
    r[12] = {"", "rib_over", "", "", "", "0", {}, true};
    r[13] = {"",
             "rib_xi",
             "",
             "ξ",
             "",
             "0",
             "肋柱截面相对受压区高度（两侧之大者）",
             false,
             false,
             false,
             "无（受荷面积法不分析肋柱，或截面超筋）"};
    r[14] = {"", "rib_xib", "", "", "", "0", {}, true};
    for (std::size_t i = 0; i < 14; ++i) { // in the report's results; the rows in their table
        r[i].reported = !r[i].hidden;
    }
    for (std::size_t j = 0; j < kMaxRows; ++j) {
        Result* row = &r[kFirstRow + kRowResults * j];
        row[0] = {"", kRNames.text[j], "", "R", "kN", "0", kRCaptions.text[j]};
        row[1] = {"", kHtkNames.text[j], "", "H<sub>tk</sub>", "kN", "0", kHtkCaptions.text[j]};
        row[2] = {"", kNakNames.text[j], "", "N<sub>ak</sub>", "kN", "0", kNakCaptions.text[j]};
        row[3] = {"", kAsNames.text[j], "", "A<sub>s</sub>", "mm²", "0", kAsCaptions.text[j]};
        row[4] = {"", kLaNames.text[j], "", "l<sub>a</sub>", "m", "0", kLaCaptions.text[j]};
        row[5] = {"", kLbNames.text[j], "", "l<sub>b</sub>", "m", "0", kLbCaptions.text[j]};
        row[6] = {"",  kLDesignNames.text[j],   "", "l<sub>a,设计</sub>", "m",
                  "0", kLDesignCaptions.text[j]};
    }
    return r;
}();

namespace out {
constexpr ResultId EaH = resultNamed(kResults, "Ea_h"), EaHmod = resultNamed(kResults, "Ea_h_mod"),
                   eh = resultNamed(kResults, "e_h"), Rbase = resultNamed(kResults, "Rbase"),
                   Mmax = resultNamed(kResults, "Mmax"), zMmax = resultNamed(kResults, "zMmax"),
                   Mmin = resultNamed(kResults, "Mmin"), zMmin = resultNamed(kResults, "zMmin"),
                   Vmax = resultNamed(kResults, "Vmax"),
                   AsProvided = resultNamed(kResults, "As_provided"),
                   AsSpan = resultNamed(kResults, "As_rib_span"),
                   AsSupport = resultNamed(kResults, "As_rib_support"),
                   ribOver = resultNamed(kResults, "rib_over"),
                   ribXi = resultNamed(kResults, "rib_xi"),
                   ribXiB = resultNamed(kResults, "rib_xib");
// Row j's (from 0) k-th result: R, Htk, Nak, As, la, lb, l_design.
constexpr ResultId row(std::size_t j, std::size_t k) {
    return {static_cast<std::uint16_t>(kFirstRow + kRowResults * j + k)};
}
enum RowResult : std::size_t { R, Htk, Nak, As, la, lb, lDesign };
static_assert(row(kMaxRows - 1, lDesign) == resultNamed(kResults, "l_design20"));
} // namespace out

constexpr std::string_view kBondClause = "GB 50330-2013 第8.4.1条";
constexpr auto kVerdicts = [] {
    std::array<Verdict, 1 + 3 * kMaxRows> v{};
    v[0] = {out::ribXi, "rib_ok", "ξ", "肋柱截面", "≤", "ξb", "GB 50010-2010 第6.2.7条"};
    for (std::size_t j = 0; j < kMaxRows; ++j) {
        v[1 + 3 * j] = {
            out::row(j, out::R), kRowOkNames.text[j], "R", kRowOkWhat.text[j], ">", "0", ""};
        v[2 + 3 * j] = {
            out::row(j, out::As),    kAsOkNames.text[j], "As,提供", kAsOkWhat.text[j], "≥", "As",
            "实配截面不小于所需截面"};
        v[3 + 3 * j] = {
            out::row(j, out::lDesign), kLaOkNames.text[j], "la,设计", kLaOkWhat.text[j], "≤",
            "min(45D, 6.5 m)",         kBondClause};
    }
    return v;
}();

} // namespace

namespace {

std::int16_t barCount(std::string_view text) {
    const double count = textToDouble(text);
    if (count != std::floor(count) || count < 1 || count > 1000) {
        throw CalcError(ErrorKind::InvalidArgument, "钢筋根数应为1至1000的整数");
    }
    return static_cast<std::int16_t>(count);
}

} // namespace

void calculateAnchoredWall(Form& form, Trace* trace) {
    beginStep(trace, kReadingStep);
    const AnchoredWallAnalysis w = analyseAnchoredWall(form, trace);
    // the anchors' inputs, then the rib's
    const double a = readWithin(form, in::a, kInclination);
    const double fy = readWithin(form, in::fy, kPositive);
    const double frbk = readWithin(form, in::frb, kPositive);
    const double D = readWithin(form, in::D, kPositive);
    const double d = readWithin(form, in::d, kPositive);
    const double fb = readWithin(form, in::fb, kPositive);
    const std::int16_t n = form.readWith(in::n, barCount);
    const auto grade = SlopeGrade(form.readWith(in::grade, chosenFrom(kSlopeGrades)));
    const auto service = AnchorKind(form.readWith(in::service, chosenFrom(kServices)));
    const auto bonded = AnchorGround(form.readWith(in::kind, chosenFrom(kAnchorGrounds)));
    struct Rib {
        double b, h, as, fy, gamma0, gammaF;
        ConcreteGrade grade;
    };
    std::optional<Rib> rib;
    if (w.forces) {
        Rib r{};
        r.b = readWithin(form, in::ribB, kPositive);
        r.h = readWithin(form, in::ribH, kPositive);
        r.grade = kConcreteGrades[static_cast<std::size_t>(
            form.readWith(in::concrete, chosenFrom(kConcreteChoices)))];
        r.fy = readWithin(form, in::ribFy, kPositive);
        r.as = readWithin(form, in::as, kPositive);
        if (!(r.as < r.h)) {
            throw FieldError(
                CalcError(ErrorKind::InvalidArgument, "受拉钢筋合力点应在截面之内（as < h）"),
                in::as);
        }
        r.gamma0 = importanceFactor(form, in::gamma0, grade);
        r.gammaF = readWithin(form, in::gammaF, kPositive);
        rib = r;
    }

    form.setDouble(out::EaH, w.EaH);
    form.setDouble(out::EaHmod, w.EaHmod);
    if (w.eh) {
        form.setDouble(out::eh, *w.eh);
    }
    if (trace) {
        trace->beginStep("ribForces");
        for (std::size_t j = 0; j < w.rows.size(); ++j) {
            trace->record(kRNames.text[j], w.reactions[j]);
        }
    }
    if (w.forces) {
        const RibForces& f = *w.forces;
        if (f.baseReaction()) {
            form.setDouble(out::Rbase, *f.baseReaction());
            if (trace) {
                trace->record("Rbase", *f.baseReaction());
            }
        }
        form.setDouble(out::Mmax, f.greatestMoment().value);
        form.setDouble(out::zMmax, f.greatestMoment().z);
        form.setDouble(out::Mmin, f.leastMoment().value);
        form.setDouble(out::zMmin, f.leastMoment().z);
        form.setDouble(out::Vmax, f.greatestShear().value);
    }
    const double provided = barSection(n, d, trace);
    form.setDouble(out::AsProvided, provided);
    if (rib) { // each face for γ0·γF times the characteristic moment that puts it in tension
        const SectionDesign span = rectangularSection(
            {std::max(w.forces->greatestMoment().value, 0.0), rib->gamma0, rib->gammaF, "Mk,跨中"},
            rib->b, rib->h, rib->as, rib->grade, rib->fy, trace);
        const SectionDesign support = rectangularSection(
            {std::max(-w.forces->leastMoment().value, 0.0), rib->gamma0, rib->gammaF, "Mk,支座"},
            rib->b, rib->h, rib->as, rib->grade, rib->fy, trace);
        if (!span.overReinforced) {
            form.setDouble(out::AsSpan, span.As);
        }
        if (!support.overReinforced) {
            form.setDouble(out::AsSupport, support.As);
        }
        form.setDouble(out::ribOver, span.overReinforced || support.overReinforced ? 1 : 0);
        form.setDouble(out::ribXiB, span.xiB);
        // the greater of the two faces' ξ, where both formed one (2αs ≥ 1 forms none)
        const bool unformed =
            (span.overReinforced && span.xi == 0) || (support.overReinforced && support.xi == 0);
        if (!unformed && (span.xi > 0 || support.xi > 0)) {
            form.setDouble(out::ribXi, std::max(span.xi, support.xi));
        }
    }
    // each row's anchor, by the anchor calculator's 2013 routine, the first one traced
    const AnchorSafetyFactors factors = anchorSafetyFactors(grade, service);
    bool traced = false;
    for (std::size_t j = 0; j < w.rows.size(); ++j) {
        const double R = w.reactions[j];
        form.setDouble(out::row(j, out::R), R);
        if (!(R > 0)) {
            continue; // the rib pushes on it: no anchor to design
        }
        // the anchor as the anchor window designs it for Htk as printed, digit for digit
        const double Htk = textToDouble(doubleToText(R));
        const AnchorBar bar =
            anchorBarDesign2013(n, D, Htk, a, fy, factors, frbk, fb, d, traced ? nullptr : trace);
        traced = true;
        form.setDouble(out::row(j, out::Htk), Htk);
        form.setDouble(out::row(j, out::Nak), bar.Nak);
        form.setDouble(out::row(j, out::As), bar.As);
        form.setDouble(out::row(j, out::la), bar.la);
        form.setDouble(out::row(j, out::lb), bar.lb);
        form.setDouble(out::row(j, out::lDesign),
                       std::max({bar.la, bar.lb, leastBondedLength(bonded)}));
    }
}

namespace {

void judgeAnchoredWall(int, const Form& fields, const Written& written, std::span<Judgement> out) {
    std::size_t rows = 0;
    try {
        rows = numberList(fields.text(in::rows)).size();
    } catch (const CalcError&) {
    }
    const bool area = Model(fields.choice(in::forces)) == Model::Area;
    if (area) {
        out[0] = {Outcome::Absent};
    } else if (const auto over = written.result(out::ribOver)) {
        // ξ against ξb; where 2αs ≥ 1 no ξ is formed at all
        const std::optional<double> xi = written.result(out::ribXi);
        const double xiB = written.result(out::ribXiB).value_or(0);
        out[0] = {*over != 0 ? Outcome::NotMet : Outcome::Met,
                  xi.value_or(0),
                  xiB,
                  *over != 0 ? "截面超筋，应加大截面或提高混凝土强度等级" : "",
                  {},
                  xi.has_value() && !(*over != 0 && *xi <= xiB)};
    }
    const auto bonded = AnchorGround(fields.choice(in::kind));
    const std::optional<double> provided = written.result(out::AsProvided);
    // of a calculation that succeeded: D was read
    const double greatest = greatestBondedLength(bonded, fields.readDouble(in::D));
    for (std::size_t j = 0; j < kMaxRows; ++j) {
        Judgement* row = &out[1 + 3 * j];
        if (j >= rows) {
            row[0] = row[1] = row[2] = {Outcome::Absent};
            continue;
        }
        const std::optional<double> R = written.result(out::row(j, out::R));
        if (!R) {
            continue;
        }
        if (*R == 0) { // nothing pushes on the wall: the anchor carries nothing, is not designed
            row[0] = {Outcome::NotChecked, 0, 0, "该排锚杆不受力（无侧压力），未设计锚杆"};
            continue;
        }
        if (!(*R > 0)) {
            row[0] = {Outcome::NotMet, *R, 0, "锚杆受压：相邻两排过近或肋柱推压该排，未设计锚杆"};
            continue;
        }
        row[0] = {Outcome::Met, *R, 0};
        const std::optional<double> needed = written.result(out::row(j, out::As));
        if (provided && needed) {
            row[1] = {*provided >= *needed ? Outcome::Met : Outcome::NotMet, *provided, *needed};
        }
        if (const auto length = written.result(out::row(j, out::lDesign))) {

            row[2] = {*length <= greatest ? Outcome::Met : Outcome::NotMet,
                      *length,
                      greatest,
                      {},
                      bonded == AnchorGround::Soil ? std::string_view("10 m") : std::string_view()};
        }
    }
}

std::vector<FieldId> idleAnchoredWallFields(int, const Form& form) {
    std::vector<FieldId> idle;
    if (!form.blank(in::Eah)) {
        idle.insert(idle.end(), {in::q, in::alpha, in::beta, in::delta, in::layers, in::water,
                                 in::gw, in::loads, in::kh, in::tension});
    }
    if (Shape(form.choice(in::shape)) != Shape::Trapezoid) {
        idle.push_back(in::slope);
    }
    if (Model(form.choice(in::forces)) == Model::Area) {
        idle.insert(idle.end(), {in::base, in::ribB, in::ribH, in::concrete, in::ribFy, in::as,
                                 in::gamma0, in::gammaF});
    }
    return idle;
}

std::string describeAnchoredWall(const Variant&, const Form& form) {
    std::string text;
    const auto word = [&](FieldId field, std::span<const Choice> choices) {
        const int value = form.choice(field);
        for (const Choice& c : choices) {
            if (c.value == value) {
                return std::string(c.text);
            }
        }
        return std::string();
    };
    text += form.blank(in::Eah) ? "土压力由土层计算" : "水平推力由设计者给定";
    const auto shape = Shape(form.choice(in::shape));
    text += "，侧压力按" + word(in::shape, kShapes) + "分布" +
            (shape == Shape::Trapezoid ? "（" + word(in::slope, kSlopeKinds) + "边坡）" : "");
    text += Model(form.choice(in::forces)) == Model::Beam
                ? "，肋柱按连续梁计算（柱底" + word(in::base, kFeet) + "）"
                : "，各排锚杆按受荷面积分担";
    return text + "，" + word(in::kind, kAnchorGrounds) + "，" + word(in::service, kServices) +
           "锚杆";
}

const std::string_view kLoadNotes[] = {
    "E′<sub>ah</sub> = β<sub>2</sub>·E<sub>ah</sub>（GB 50330-2013 第9.2.2条），E<sub>ah</sub> "
    "为岩土侧压力合力的水平分力标准值；由土层计算时 E<sub>ah</sub> = E<sub>a</sub>·sin(α − δ)，"
    "地下水的水压力按其自身分布另加于肋柱，不参与重分布。",
    "梯形分布（第9.2.5条所述逆作法施工的多层锚杆挡墙）：自坡顶按直线增至 "
    "e′<sub>ah</sub>，以下为常数；"
    "土质边坡在 0.25H 处达到 e′<sub>ah</sub> = E′<sub>ah</sub> ÷ 0.875H（与以往考题的取法一致），"
    "岩质边坡在 0.2H 处达到 e′<sub>ah</sub> = E′<sub>ah</sub> ÷ "
    "0.9H（程序默认值，未经与规范原文核对）。"
    "三角形分布 e = 2E′<sub>ah</sub>·z ÷ H²；均布 e′<sub>ah</sub> = E′<sub>ah</sub> ÷ H。",
    "肋柱按以各排锚杆为刚性支座的连续梁计算（坡顶以上为悬臂，柱底按所选支承），荷载为 "
    "(e + "
    "p<sub>w</sub>)·s<sub>x</"
    "sub>，按分段直线精确计算：支座弯矩由三弯矩方程求得，各段内力由静力平衡得出；"
    "受荷面积法则每排承担其上下各半排距范围内的荷载。R 为每根肋柱上该排的支承反力，即该排锚杆的 "
    "H<sub>tk</sub>。深度均沿墙高（竖向）量取；墙面倾斜时肋柱按其竖向投影计算（程序的处理）。",
};
const std::string_view kSectionNotes[] = {
    "肋柱截面按 GB 50010-2010 单筋矩形截面受弯计算：α<sub>s</sub> = M ÷ "
    "(α<sub>1</sub>f<sub>c</sub>bh<sub>0</sub>²)，"
    "ξ = 1 − √(1 − 2α<sub>s</sub>) ≤ ξ<sub>b</sub>（第6.2.7条），A<sub>s</sub> = "
    "α<sub>1</sub>f<sub>c</sub>bξh<sub>0</sub> ÷ f<sub>y</sub>，"
    "且不小于 ρ<sub>min</sub>bh，ρ<sub>min</sub> = max(0.2%, "
    "45f<sub>t</sub>/f<sub>y</sub>%)（第8.5.1条）。"
    "M = γ<sub>0</sub>γ<sub>F</sub>·M<sub>k</sub>：γ<sub>0</sub> 不填时按 GB 50330-2013 "
    "第3.3.2条取（一级 1.1，二、三级 1.0）；"
    "γ<sub>F</sub> 默认 1.35 为程序默认值。先为外侧（跨中正弯矩），后为内侧（支座负弯矩）。",
};
const std::string_view kAnchorNotes[] = {
    "每排锚杆按“锚杆计算”的 GB 50330-2013 方法设计（此处列出第一排受拉锚杆的计算，各排见下表）："
    "N<sub>ak</sub> = H<sub>tk</sub> ÷ cos a，A<sub>s</sub> = K<sub>b</sub>N<sub>ak</sub> ÷ "
    "f<sub>y</sub>，"
    "l<sub>a</sub> = KN<sub>ak</sub> ÷ (πDf<sub>rbk</sub>)，l<sub>b</sub> = KN<sub>ak</sub> ÷ "
    "(nπdf<sub>b</sub>)；"
    "应设锚固段长度不小于 3 m（岩石锚杆）或 4 m（土层锚杆），并不宜大于 min(45D, 6.5 m) 或 10 "
    "m（第8.4.1条）。",
};
constexpr ValueUnit kForceUnits[] = {{"Rbase", "kN"}};
constexpr ValueUnit kSectionUnits[] = {{"Mk,跨中", "kN·m"}, {"Mk,支座", "kN·m"}, {"M", "kN·m"},
                                       {"h0", "mm"},        {"As,min", "mm²"},   {"As", "mm²"}};
constexpr ValueUnit kAnchorUnits[] = {
    {"Nak", "kN"}, {"Na", "kN"}, {"As", "mm²"}, {"la", "m"}, {"lb", "m"}};
constexpr ValueUnit kLoadUnits[] = {
    {"Eah", "kN/m"}, {"E′ah", "kN/m"}, {"e′ah", "kPa"}, {"e(H)", "kPa"}};
const Step kLoadStep{"redistribution", "侧压力的修正与重分布", kLoadNotes, kLoadUnits};
const Step kForceStep{"ribForces", "各排支承反力", {}, kForceUnits};
const Step kSectionStep{"rectangularSection", "肋柱截面配筋", kSectionNotes, kSectionUnits};
const Step kAnchorStep{"anchorBarDesign2013", "锚杆设计（GB 50330-2013）", kAnchorNotes,
                       kAnchorUnits};
const Step kBarsStep{"barSection", "实配钢筋截面", {}, {}};
const Step* const kSteps[] = {&ground::kStep, &kLoadStep, &kForceStep,
                              &kSectionStep,  &kBarsStep, &kAnchorStep};
const Variant kOnly[] = {{0, "", "锚杆挡墙", kSteps}};

// Every row: its depth, reaction and anchor, as the calculation wrote them.
std::optional<PartsTable> rowsTable(int, const Form& form, const CalculationRecord& record) {
    std::vector<double> rows;
    try {
        rows = numberList(form.text(in::rows));
    } catch (const CalcError&) {
        return std::nullopt;
    }
    PartsTable t{"各排锚杆",
                 {"排", "z (m)", "R = H<sub>tk</sub> (kN)", "N<sub>ak</sub> (kN)",
                  "A<sub>s</sub> (mm²)", "l<sub>a</sub> (m)", "l<sub>b</sub> (m)",
                  "l<sub>a,设计</sub> (m)"},
                 {},
                 "R 为每根肋柱上该排的支承反力；R ≤ 0 的一排受压，未设计锚杆。"};
    for (std::size_t j = 0; j < rows.size() && j < kMaxRows; ++j) {
        std::vector<std::string> cells{std::to_string(j + 1), roundedText(rows[j])};
        for (const std::size_t k : {out::R, out::Nak, out::As, out::la, out::lb, out::lDesign}) {
            const std::string text = record.written(out::row(j, k));
            cells.push_back(text.empty() ? "—" : roundedText(textToDouble(text)));
        }
        t.rows.push_back(std::move(cells));
    }
    return t;
}

// The load, the shear and the moment down the rib, at equal steps (at a row, below it).
std::optional<Profile> ribProfile(int, const Form& form, int steps) {
    try {
        const AnchoredWallAnalysis w = analyseAnchoredWall(form);
        Profile p{{"z", "e", "q_rib", "V", "M"}, {}};
        const auto pressure = [&](double z) {
            double e = 0;
            for (const auto* pieces : {&w.earth, &w.water}) {
                for (const LoadPiece& piece : *pieces) {
                    if ((z >= piece.from && z < piece.to) || (z == w.H && piece.to == w.H)) {
                        e += piece.top + (piece.bottom - piece.top) * (z - piece.from) /
                                             (piece.to - piece.from);
                        break;
                    }
                }
            }
            return e;
        };
        for (int i = 0; i <= steps; ++i) {
            const double z = i == steps ? w.H : w.H * i / steps;
            const double e = pressure(z);
            p.rows.push_back({z, e, e * w.sx, w.forces ? w.forces->shear(z) : NAN,
                              w.forces ? w.forces->moment(z) : NAN});
        }
        return p;
    } catch (const CalcError&) {
        return std::nullopt;
    }
}

std::string ribSketch(int, const Form& form, const CalculationRecord&, Sketch& sketch) {
    try {
        const AnchoredWallAnalysis w = analyseAnchoredWall(form);
        sketch = drawRib(w.H, w.rows, w.rib, w.forces ? &*w.forces : nullptr, w.reactions);
        return {};
    } catch (const CalcError&) {
        return "有输入无法读取，未绘出肋柱。";
    }
}

} // namespace

const Calculator kAnchoredWall{
    .command = "anchored-wall",
    .english = "anchored rib wall: the ground's thrust redistributed, the rib on its anchor rows, "
               "each row's anchor and the rib's bars",
    .window = "anchoredwallfrm",
    .title = "锚杆挡墙",
    .introduction =
        "肋柱式锚杆挡墙：墙后岩土侧压力的水平分力（由土层计算，或由设计者给定、由折线滑动法的"
        "设计推力传来）按 GB 50330-2013 第9.2节修正并重分布（梯形、三角形、均布或土压力图），"
        "地下水压力另加；肋柱按以各排锚杆为支座的连续梁（柱底铰支、嵌固或自由）或按受荷面积法"
        "求各排支承反力，每排锚杆按“锚杆计算”的 2013 版方法设计并验算，肋柱截面按 GB 50010-2010 "
        "配筋。",
    .reachedBy = "启动窗口的“锚杆挡墙”。",
    .fields = kFields,
    .results = kResults,
    .variants = kOnly,
    .defaultVariant = 0,
    .variantOption = {},
    .calculate = [](int, Form& form, Trace* trace) { calculateAnchoredWall(form, trace); },
    .resultsHelp = "Ea_h Ea_h_mod e_h Rbase Mmax zMmax Mmin zMmin Vmax As_provided\n"
                   "As_rib_span As_rib_support rib_xi, and for every row j (1 at the top):\n"
                   "R<j> Htk<j> Nak<j> As<j> la<j> lb<j> l_design<j>",
    .verdicts = kVerdicts,
    .checksHelp = "rib_ok; row_ok<j> As_ok<j> la_ok<j> per row",
    .judge = judgeAnchoredWall,
    .describe = describeAnchoredWall,
    .sketch = ribSketch,
    .profile = ribProfile,
    .parts = rowsTable,
    .idle = idleAnchoredWallFields,
    .listTables = ground::kTables,
    .sketchTitle = "肋柱荷载、剪力与弯矩图",
};

} // namespace subprogram
