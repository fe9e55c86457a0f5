#include "slopestability.h"

#include "calculators/domains.h"
#include "calculators/slopeinputs.h"
#include "core/numerictext.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace subprogram {

using namespace slope;

namespace {

constexpr std::string_view kStable = "稳定";

// T1 … T50, R1 …, psi1 …, P1 …, F1 …, Pst1 …: each block's forces on the command line
constexpr std::size_t kNameSize = sizeof "psi50";
using BlockNames = IndexedNames<kMaxBlocks, kNameSize>;
constexpr BlockNames kBlockNames[] = {
    indexedNames<kMaxBlocks, kNameSize>("T"),   indexedNames<kMaxBlocks, kNameSize>("R"),
    indexedNames<kMaxBlocks, kNameSize>("psi"), indexedNames<kMaxBlocks, kNameSize>("P"),
    indexedNames<kMaxBlocks, kNameSize>("F"),   indexedNames<kMaxBlocks, kNameSize>("Pst")};
constexpr std::size_t kBlockKinds = std::size(kBlockNames);

constexpr std::size_t kFirstBlockResult = 10;
constexpr auto kResults = [] {
    std::array<Result, kFirstBlockResult + kBlockKinds * kMaxBlocks> r{};
    r[0] = {"Fsx", "Fs", "稳定系数Fs:", "F<sub>s</sub>", ""};
    r[0].absent = "无下滑力";
    r[1] = {"Fstx", "Fst", "稳定安全系数Fst:", "F<sub>st</sub>", ""};
    r[2] = {"statex", "state", "稳定状态:", "", "", ""};
    r[3] = {"", "R", "", "R", "kN/m", "0", "抗滑力", false, true};
    r[4] = {"", "T", "", "T", "kN/m", "0", "下滑力", false, true};
    r[5] = {"",    "thrust", "", "P<sub>n</sub>", "kN/m", "0", "设计推力（末块剩余下滑推力）",
            false, true};
    r[6] = {"", "xc", "", "x<sub>c</sub>", "m", "0", "滑弧圆心横坐标", false, true};
    r[7] = {"", "yc", "", "y<sub>c</sub>", "m", "0", "滑弧圆心纵坐标", false, true};
    r[8] = {"", "Rc", "", "R<sub>c</sub>", "m", "0", "滑弧半径", false, true};
    r[9] = {"", "lambda", "", "λ", "", "0", "条间力函数的比例系数", false, true};
    for (std::size_t k = 0; k < kBlockKinds; ++k) {
        for (std::size_t i = 0; i < kMaxBlocks; ++i) {
            r[kFirstBlockResult + k * kMaxBlocks + i] = {"", kBlockNames[k].text[i], "", "",
                                                         k == 2 ? "" : "kN/m"};
        }
    }
    return r;
}();

namespace out {
constexpr ResultId Fs = resultNamed(kResults, "Fs"), Fst = resultNamed(kResults, "Fst"),
                   state = resultNamed(kResults, "state"), R = resultNamed(kResults, "R"),
                   T = resultNamed(kResults, "T"), thrust = resultNamed(kResults, "thrust"),
                   xc = resultNamed(kResults, "xc"), yc = resultNamed(kResults, "yc"),
                   Rc = resultNamed(kResults, "Rc"), lambda = resultNamed(kResults, "lambda");
// Block i's (from 0) result of kind k: T, R, ψ, P, F, Pst.
constexpr ResultId block(std::size_t k, std::size_t i) {
    return {static_cast<std::uint16_t>(kFirstBlockResult + k * kMaxBlocks + i)};
}
static_assert(block(5, kMaxBlocks - 1) == resultNamed(kResults, "Pst50"));
} // namespace out

void writeBlocks(Form& form, const BrokenLineSlide& s, bool explicitForces) {
    for (std::size_t i = 0; i < s.T.size(); ++i) {
        form.setDouble(out::block(0, i), s.T[i]);
        form.setDouble(out::block(1, i), s.R[i]);
        if (i < s.psi.size()) {
            form.setDouble(out::block(2, i), s.psi[i]);
        }
        if (i < s.P.size()) { // none where no factor was formed
            form.setDouble(out::block(explicitForces ? 4 : 3, i), s.P[i]);
        }
        if (i < s.Pst.size()) { // the thrusts at Fst as they are passed on (implicit)
            form.setDouble(out::block(5, i), s.Pst[i]);
        }
    }
}

// Writes the factor, where one was formed (none: nothing drives the mass).
void writeFactor(Form& form, std::optional<double> Fs) {
    if (Fs) {
        form.setDouble(out::Fs, *Fs);
    }
}

// The rigorous method's surface, solved: the circle or the polyline given, else the search's.
// What the surface, or the search over the section, cannot give names the field it came from.
RigorousSlide rigorousSlide(SlopeMethod method, const Form& form, const SlopeSection& section,
                            Trace* trace) {
    const Interslice function =
        method == SlopeMethod::Spencer
            ? Interslice::Constant
            : Interslice(form.readWith(in::function, chosenFrom(kFunctions)));
    const std::optional<Circle> circle = readCircle(form);
    const std::optional<std::vector<Point>> slip = readSlip(form);
    const bool given = circle || slip;
    const auto search = SlipSearch(form.readWith(in::search, chosenFrom(kSearches)));
    const SearchLimits limits = given ? SearchLimits{} : readLimits(form, section);
    try {
        return given ? rigorousFactor(section, {circle, slip.value_or(std::vector<Point>{})},
                                      function, trace)
               : search == SlipSearch::NonCircular
                   ? criticalPolyline(section, limits, function, trace)
                   : criticalRigorous(section, limits, function, trace);
    } catch (const CalcError& error) {
        throw FieldError(error, circle ? in::circle : slip ? in::slip : in::surface);
    }
}

} // namespace

void calculateSlopeStability(SlopeMethod method, Form& form, Trace* trace) {
    beginStep(trace, kReadingStep);
    const auto grade = SlopeGrade(form.readWith(in::grade, chosenFrom(kSlopeGrades)));
    const auto situation = SlopeCase(form.readWith(in::situation, chosenFrom(kCases)));
    const double Fst = readRequiredFactor(form, grade, situation).value;
    const double kh = readWithin(form, in::kh, kSeismic);
    const double gw = readWithin(form, in::gw, kPositive);
    std::optional<double> Fs;
    switch (method) {
    case SlopeMethod::Planar: {
        PlanarInputs p{readWithin(form, in::G, kNonNegative),
                       readWithin(form, in::theta, kInclination),
                       readWithin(form, in::L, kPositive), readWithin(form, in::c, kNonNegative),
                       readFriction(form)};
        p.hw = readWithin(form, in::hw, kNonNegative);
        p.gammaWater = gw;
        p.Gb = readWithin(form, in::Gb, kNonNegative);
        p.kh = kh;
        p.P = readWithin(form, in::P, kNonNegative);
        p.anchorAngle = readWithin(form, in::Pangle, kInclination);
        const PlanarSlide s = planarSlide(p, trace);
        Fs = s.Fs;
        writeFactor(form, s.Fs);
        form.setDouble(out::R, s.R);
        form.setDouble(out::T, s.T);
        break;
    }
    case SlopeMethod::BrokenLine:
    case SlopeMethod::BrokenLineExplicit: {
        const std::vector<SlidingBlock> blocks = readBlocks(form);
        const bool byThrust = method == SlopeMethod::BrokenLineExplicit;
        const double gammaT = byThrust ? readWithin(form, in::gammaT, kPositive) : 0;
        const BrokenLineSlide s = byThrust ? transferExplicit(blocks, kh, gammaT, trace)
                                           : transferImplicit(blocks, kh, Fst, trace);
        Fs = s.Fs;
        writeFactor(form, s.Fs);
        form.setDouble(out::thrust, s.thrust);
        writeBlocks(form, s, byThrust);
        break;
    }
    case SlopeMethod::Bishop: {
        const SlopeSection section = readSection(form, kh, gw);
        for (const FieldId field : {in::slip, in::search}) { // circles alone
            if (form.text(field) != kFields[field.index].defaultText) {
                throw FieldError(CalcError(ErrorKind::InvalidArgument,
                                           "简化毕肖普法只算圆弧滑面：任意形状的滑面请用斯宾塞法或"
                                           "摩根斯坦-普赖斯法"),
                                 field);
            }
        }
        const std::optional<Circle> circle = readCircle(form);
        const SearchLimits limits = circle ? SearchLimits{} : readLimits(form, section);
        CircularSlide s;
        try { // what the circle, or the search over the section, cannot give
            s = circle ? bishopFactor(section, *circle, trace)
                       : criticalCircle(section, limits, trace);
        } catch (const CalcError& error) {
            throw FieldError(error, circle ? in::circle : in::surface);
        }
        Fs = s.Fs;
        writeFactor(form, s.Fs);
        form.setDouble(out::xc, s.circle.xc);
        form.setDouble(out::yc, s.circle.yc);
        form.setDouble(out::Rc, s.circle.R);
        break;
    }
    case SlopeMethod::Spencer:
    case SlopeMethod::MorgensternPrice: {
        const RigorousSlide s = rigorousSlide(method, form, readSection(form, kh, gw), trace);
        Fs = s.Fs;
        writeFactor(form, s.Fs);
        if (s.Fs) {
            form.setDouble(out::lambda, s.lambda);
        }
        if (s.circle) {
            form.setDouble(out::xc, s.circle->xc);
            form.setDouble(out::yc, s.circle->yc);
            form.setDouble(out::Rc, s.circle->R);
        }
        break;
    }
    }
    form.setDouble(out::Fst, Fst);
    // nothing drives the mass: it does not slide
    form.setText(out::state, std::string(Fs ? stabilityState(*Fs, Fst) : kStable));
}

namespace {

// not checked against the code's own table: the program's default
constexpr std::string_view kRequiredClause = "程序默认值";
constexpr std::string_view kEngineersLimit = "设计者指定";

// clang-format off
const std::string_view kPlanarNotes[] = {
    "按 GB 50330-2013 附录A 第A.0.2条：F<sub>s</sub> = R ÷ T，"
    "R = [(G + G<sub>b</sub>)cosθ − Q·sinθ − V·sinθ − U]tanφ + cL，"
    "T = (G + G<sub>b</sub>)sinθ + Q·cosθ + V·cosθ；V = ½γ<sub>w</sub>h<sub>w</sub>²，U = ½γ<sub>w</sub>h<sub>w</sub>L，Q = k<sub>h</sub>G",
    "锚固力 P 作为作用于滑体的外力计入：倾角 β 为其向下偏离水平面的角度，沿滑面的分量 P·cos(θ + β) "
    "从下滑力 T 中扣除，垂直滑面的分量 P·sin(θ + β) 计入法向力（程序的处理）",
};
const std::string_view kImplicitNotes[] = {
    "按 GB 50330-2013 附录A 第A.0.3条（传递系数法隐式解），条块自后缘向前缘编号：P<sub>n</sub> = 0，"
    "P<sub>i</sub> = P<sub>i−1</sub>ψ<sub>i−1</sub> + T<sub>i</sub> − R<sub>i</sub> ÷ F<sub>s</sub>，"
    "ψ<sub>i−1</sub> = cos(θ<sub>i−1</sub> − θ<sub>i</sub>) − sin(θ<sub>i−1</sub> − θ<sub>i</sub>)tanφ<sub>i</sub> ÷ F<sub>s</sub>，"
    "T<sub>i</sub> = G<sub>i</sub>sinθ<sub>i</sub> + Q<sub>i</sub>cosθ<sub>i</sub>，"
    "R<sub>i</sub> = c<sub>i</sub>l<sub>i</sub> + (G<sub>i</sub>cosθ<sub>i</sub> − Q<sub>i</sub>sinθ<sub>i</sub> − U<sub>i</sub>)tanφ<sub>i</sub>，Q<sub>i</sub> = k<sub>h</sub>G<sub>i</sub>",
    "P<sub>i</sub> &lt; 0（i &lt; n）时取 P<sub>i</sub> = 0 传至下一块；设计推力为以 F<sub>st</sub> 代替 F<sub>s</sub>（ψ 中亦然）所得末块剩余下滑推力，不小于 0",
};
const std::string_view kExplicitNotes[] = {
    "按 GB 50007-2011 第6.4.3条（传递系数法显式解）：F<sub>i</sub> = F<sub>i−1</sub>ψ + γ<sub>t</sub>T<sub>i</sub> − R<sub>i</sub>，"
    "ψ = cos(θ<sub>i−1</sub> − θ<sub>i</sub>) − sin(θ<sub>i−1</sub> − θ<sub>i</sub>)tanφ<sub>i</sub>；F<sub>i</sub> 为负时以 0 传至下一块；"
    "T<sub>i</sub>、R<sub>i</sub> 同 GB 50330-2013 第A.0.3条（计入 Q<sub>i</sub> = k<sub>h</sub>G<sub>i</sub> 与 U<sub>i</sub>）",
    "稳定系数 F<sub>s</sub> = (Σ R<sub>i</sub>Πψ<sub>j</sub> + R<sub>n</sub>) ÷ (Σ T<sub>i</sub>Πψ<sub>j</sub> + T<sub>n</sub>)，"
    "ψ 不含 F<sub>s</sub>，连乘自第 i 块至第 n − 1 块的传递系数",
};
const std::string_view kBishopNotes[] = {
    "按 GB 50330-2013 附录A 第A.0.1条（简化毕肖普法），并计入坡面上的积水：F<sub>s</sub> = Σ[c<sub>i</sub>l<sub>i</sub>cosθ<sub>i</sub> + "
    "(G<sub>i</sub> + P<sub>wi</sub> − U<sub>i</sub>cosθ<sub>i</sub>)tanφ<sub>i</sub>] ÷ m<sub>θi</sub> ÷ "
    "Σ[(G<sub>i</sub> + P<sub>wi</sub>)sinθ<sub>i</sub> + Q<sub>i</sub>cosθ<sub>i</sub> + H<sub>wi</sub>z<sub>wi</sub> ÷ R]，"
    "m<sub>θi</sub> = cosθ<sub>i</sub> + tanφ<sub>i</sub>sinθ<sub>i</sub> ÷ F<sub>s</sub>，"
    "U<sub>i</sub> = ½γ<sub>w</sub>(h<sub>w,i−1</sub> + h<sub>wi</sub>)l<sub>i</sub>，Q<sub>i</sub> = k<sub>h</sub>G<sub>i</sub>",
    "条块等宽，滑面取条块两端圆弧点的弦；条块重量按条块中线处的土柱逐层计，浸润线以下取饱和重度 γ<sub>sat</sub>（未填时取 γ）；"
    "滑面跨越土层分界的条块，c 与 tanφ 按滑面在各层中的长度加权平均；浸润线以下孔隙水压力按滑面两端的水头计，"
    "浸润线两端以外取端点高程（程序的处理）",
    "浸润线高于地面处（坡脚或平台积水），水不计强度与重度，只以压力 p = γ<sub>w</sub>×（条块中线处水面与地面的高差）"
    "垂直作用于条块顶面：竖向分量 P<sub>wi</sub> = p·b<sub>i</sub> 计入条块的竖向平衡与对圆心的力矩，"
    "水平分量 H<sub>wi</sub> = p×（条块顶面两端的高差）以力臂 z<sub>wi</sub>（圆心至条块顶面的高差）计入对圆心的力矩；"
    "地震力 Q<sub>i</sub> = k<sub>h</sub>G<sub>i</sub> 只计土重，不计积水（程序的处理）",
    "坡面条形荷载 q 竖直作用于条块顶面（条块在荷载边界处分开），与 P<sub>wi</sub> 一样计入条块的竖向平衡与对圆心的力矩；"
    "张裂缝：滑体自滑弧在地面下深 z<sub>c</sub> 处起，裂缝内水深 h<sub>c</sub> 的水压力 H<sub>c</sub> = ½γ<sub>w</sub>h<sub>c</sub>² "
    "水平作用于第一条块后侧、裂缝底以上 h<sub>c</sub>/3 处，以力臂 z<sub>c</sub>（圆心至其作用点的高差）计入下滑力矩（程序的处理）",
    "F<sub>s</sub> 自 1 起迭代，至相邻两次之差小于 10<sup>−8</sup>（至多 500 次）；迭代值使某条块 m<sub>θi</sub> ≤ 0 "
    "或迭代不收敛时，改在 F<sub>s</sub> &gt; F<sub>min</sub> = max(−tanφ<sub>i</sub>sinθ<sub>i</sub> ÷ cosθ<sub>i</sub>) "
    "的范围内以二分法求根（各条块 c<sub>i</sub>l<sub>i</sub>cosθ<sub>i</sub> + … ≥ 0 时该范围内的根唯一）；该范围内无根的滑弧不予计算；"
    "ΣT = Σ[(G<sub>i</sub> + P<sub>wi</sub>)sinθ<sub>i</sub> + …] 不大于各项绝对值之和的 10<sup>−9</sup>（为零或负，"
    "或只是舍入误差）即没有使滑体滑出的力矩时，该滑弧无稳定系数（程序的处理）",
    "一个滑弧只切出一块滑体：穿出地面后又切入地面的滑弧、超出地面线两端的滑弧、半径超过地面线范围 10<sup>6</sup> 倍的滑弧"
    "不予计算；滑体在地面以下的最大竖向厚度须不小于最小滑体厚度 h<sub>min</sub>（默认 0.1 m，为程序默认值），"
    "更薄的滑弧不予计算，无黏性土中的最危险滑弧即由此限定（程序的处理）",
    "未给滑弧时搜索最危险滑弧：先以滑弧的入口（上端）、出口（下端）与弯曲程度布置网格，入口与出口沿地面线按水平长度与高差"
    "各半均布，并取地面线的转折点与土层顶面的出露点，弯曲程度另含各入口、出口间允许的最薄滑体；再自网格中较低的几个局部最小"
    "滑弧起，以步长成功后加倍、失败后减半的模式搜索细化，并在“入口、出口与弯曲程度”“圆心与最低点”“最低点与最大厚度”"
    "“入口或出口与最低点”“入口、出口与最大厚度”“滑体中点、半长与最大厚度”几种滑弧表示之间轮换，辅以固定种子的随机方向搜索，"
    "使落在折点（如过坡脚）或限制边缘上的最小值也能找到；一次搜索至多计算 12000 个滑弧，不予计算的滑弧与无稳定系数的滑弧均跳过；"
    "给出滑弧入口范围、出口范围或圆心范围时只在其内搜索；条块计算表下另列其余至多 4 个互不相邻的局部最小滑弧（程序的处理）",
};
// the rigorous methods' equations, assumptions and convergence, after each method's own line
#define RIGOROUS_NOTES \
    "各条块的水平、竖向力平衡与力矩平衡均满足。消去各条块底面法向力得 E<sub>i</sub>Φ<sub>i</sub> = Ψ<sub>i</sub>E<sub>i−1</sub> + F<sub>s</sub>T<sub>i</sub> − R<sub>i</sub>，" \
    "Φ<sub>i</sub> = (sinθ<sub>i</sub> − λf<sub>i</sub>cosθ<sub>i</sub>)tanφ<sub>i</sub> + (cosθ<sub>i</sub> + λf<sub>i</sub>sinθ<sub>i</sub>)F<sub>s</sub>，" \
    "Ψ<sub>i</sub> 同 Φ<sub>i</sub> 而取 f<sub>i−1</sub>；T<sub>i</sub> = V<sub>i</sub>sinθ<sub>i</sub> + H<sub>i</sub>cosθ<sub>i</sub>，" \
    "R<sub>i</sub> = c<sub>i</sub>l<sub>i</sub> + (V<sub>i</sub>cosθ<sub>i</sub> − H<sub>i</sub>sinθ<sub>i</sub> − U<sub>i</sub>)tanφ<sub>i</sub>；" \
    "V 为条块自重、坡面积水的竖向压力 P<sub>w</sub> 与条形荷载 q 之和，H 为地震力 k<sub>h</sub>G<sub>i</sub>、坡面积水的水平压力 H<sub>w</sub> 与张裂缝水压力 H<sub>c</sub> 之和。" \
    "各条块对其底面中点的力矩相加，推力线的项相消（两端 E<sub>0</sub> = E<sub>n</sub> = 0）：" \
    "Σb<sub>i</sub>[λ(f<sub>i−1</sub>E<sub>i−1</sub> + f<sub>i</sub>E<sub>i</sub>) − (E<sub>i−1</sub> + E<sub>i</sub>)tanθ<sub>i</sub>] = 2ΣM<sub>i</sub>，" \
    "M<sub>i</sub> 为 H 对条块底面中点的力矩（Zhu, Lee, Chen &amp; Jiang 2005, Can. Geotech. J. 42 的形式）", \
    "假定：滑体两端无条间力；条块自重与竖向荷载作用于条块中线，地震力作用于中线处土柱的重心，底面法向力与剪力作用于底面弦的中点；" \
    "张裂缝：滑体自滑面在地面下深 z<sub>c</sub> 处起，裂缝内水深 h<sub>c</sub> 的水压力 H<sub>c</sub> = ½γ<sub>w</sub>h<sub>c</sub>² 水平作用于第一条块后侧、裂缝底以上 h<sub>c</sub>/3 处；" \
    "条形荷载竖直作用于地面，条块在荷载边界与滑面线的转折点处分开；条块划分、重量、强度与水的处理同简化毕肖普法（程序的处理）", \
    "对每个 λ，由力的平衡求 F<sub>s</sub>（E<sub>n</sub> = 0，各 Φ<sub>i</sub> &gt; 0 的范围内自 1 起找到的最大根，试位法）；" \
    "再以割线法求使力矩平衡的 λ（自 λ = 0 起），相邻两步 λ 与 F<sub>s</sub> 的改变量均小于 10<sup>−12</sup>（相对）时收敛，至多 100 步。" \
    "各 Φ<sub>i</sub> &gt; 0 的范围内无根或迭代不收敛时，该滑面无解；" \
    "ΣT 不大于各项绝对值之和的 10<sup>−9</sup> 时无稳定系数（程序的处理）", \
    "未给滑弧与滑面线时，以简化毕肖普法的方式搜索最危险滑弧，每个滑弧按本方法计算；推力线高度为条间力合力作用点的高程，" \
    "由各条块的力矩平衡自上而下逐块求得（程序的处理）"
const std::string_view kSpencerNotes[] = {
    "斯宾塞法（Spencer 1967）：条间力的合力与水平面的夹角处处相同，条间剪力 X = λE，即 f(x) = 1",
    RIGOROUS_NOTES};
const std::string_view kPriceNotes[] = {
    "摩根斯坦-普赖斯法（Morgenstern &amp; Price 1965）：条间剪力 X = λf(x)E，f(x) 取半正弦 "
    "sin[π(x − x<sub>0</sub>) ÷ (x<sub>n</sub> − x<sub>0</sub>)]（x<sub>0</sub>、x<sub>n</sub> 为滑体两端）或常数 1",
    RIGOROUS_NOTES};
#undef RIGOROUS_NOTES
constexpr ValueUnit kForceUnits[] = {{"R", "kN/m"}, {"T", "kN/m"}, {"V", "kN/m"}, {"U", "kN/m"},
                                     {"Q", "kN/m"}, {"Q1", "kN/m"}, {"T1", "kN/m"}, {"R1", "kN/m"},
                                     {"P1", "kN/m"}, {"F1", "kN/m"}, {"ΣR", "kN/m"}, {"ΣT", "kN/m"},
                                     {"Pn,st", "kN/m"}, {"a1", "kN/m"}, {"M1", "kN·m/m"},
                                     {"Hc", "kN/m"}};
// clang-format on
const Step kPlanarStep{"planarSlide", "平面滑动法", kPlanarNotes, kForceUnits};
const Step kImplicitStep{"transferImplicit", "传递系数法隐式解", kImplicitNotes, kForceUnits};
const Step kExplicitStep{"transferExplicit", "传递系数法显式解（滑坡推力）", kExplicitNotes,
                         kForceUnits};
const Step kBishopStep{"bishopFactor", "简化毕肖普法", kBishopNotes, kForceUnits};
const Step* const kPlanarSteps[] = {&kPlanarStep};
const Step* const kImplicitSteps[] = {&kImplicitStep};
const Step* const kExplicitSteps[] = {&kExplicitStep};
const Step* const kBishopSteps[] = {&kBishopStep};
const Step kSpencerStep{"rigorousFactor", "斯宾塞法", kSpencerNotes, kForceUnits};
const Step kPriceStep{"rigorousFactor", "摩根斯坦-普赖斯法", kPriceNotes, kForceUnits};
const Step* const kSpencerSteps[] = {&kSpencerStep};
const Step* const kPriceSteps[] = {&kPriceStep};

const ResultId kPlanarResults[] = {out::Fs, out::Fst, out::state, out::R, out::T};
// Fs, Fst, the state, the thrust, then each block's T, R, ψ and P (or F), and for the implicit
// solution each block's thrust at Fst as it is passed on
template <std::size_t kKinds> constexpr auto blockResults(bool explicitForces) {
    std::array<ResultId, 4 + kKinds * kMaxBlocks> r{out::Fs, out::Fst, out::state, out::thrust};
    for (std::size_t k = 0; k < kKinds; ++k) {
        for (std::size_t i = 0; i < kMaxBlocks; ++i) {
            r[4 + k * kMaxBlocks + i] = out::block(k == 3 && explicitForces ? 4
                                                   : k == 4                 ? 5
                                                                            : k,
                                                   i);
        }
    }
    return r;
}
constexpr auto kImplicitResults = blockResults<5>(false);
constexpr auto kExplicitResults = blockResults<4>(true);
const ResultId kBishopResults[] = {out::Fs, out::Fst, out::state, out::xc, out::yc, out::Rc};
const ResultId kRigorousResults[] = {out::Fs, out::Fst, out::state, out::lambda,
                                     out::xc, out::yc,  out::Rc};

const FieldId kPlanarUnused[] = {
    in::l,        in::U,      in::gammaT,      in::surface, in::gamma, in::layers,  in::water,
    in::slices,   in::circle, in::minDepth,    in::entry,   in::exit,  in::centres, in::slip,
    in::function, in::crack,  in::crackFilled, in::loads,   in::search};
const FieldId kBlocksUnused[] = {
    in::L,       in::hw,    in::Gb,       in::P,      in::Pangle,      in::surface, in::gamma,
    in::layers,  in::water, in::slices,   in::circle, in::minDepth,    in::entry,   in::exit,
    in::centres, in::slip,  in::function, in::crack,  in::crackFilled, in::loads,   in::search};
const FieldId kImplicitUnused[] = {
    in::L,        in::hw,          in::Gb,     in::P,       in::Pangle, in::gammaT,
    in::surface,  in::gamma,       in::layers, in::water,   in::slices, in::circle,
    in::minDepth, in::entry,       in::exit,   in::centres, in::slip,   in::function,
    in::crack,    in::crackFilled, in::loads,  in::search};
const FieldId kBishopUnused[] = {in::G,    in::theta,    in::L,     in::hw, in::Gb,
                                 in::P,    in::Pangle,   in::l,     in::U,  in::gammaT,
                                 in::slip, in::function, in::search};
const FieldId kSpencerUnused[] = {in::G,      in::theta, in::L, in::hw,     in::Gb,      in::P,
                                  in::Pangle, in::l,     in::U, in::gammaT, in::function};
const FieldId kPriceUnused[] = {in::G, in::theta,  in::L, in::hw, in::Gb,
                                in::P, in::Pangle, in::l, in::U,  in::gammaT};

const Variant kMethods[] = {
    {int(SlopeMethod::Planar),
     "planar",
     "平面滑动法",
     kPlanarSteps,
     kPlanarResults,
     {},
     {},
     kPlanarUnused},
    {int(SlopeMethod::BrokenLine),
     "broken-line",
     "折线滑动法（传递系数法隐式解）",
     kImplicitSteps,
     kImplicitResults,
     {},
     {},
     kImplicitUnused},
    {int(SlopeMethod::BrokenLineExplicit),
     "broken-line-explicit",
     "传递系数法显式解（滑坡推力）",
     kExplicitSteps,
     kExplicitResults,
     {},
     {},
     kBlocksUnused},
    {int(SlopeMethod::Bishop),
     "bishop",
     "圆弧滑动法（简化毕肖普法）",
     kBishopSteps,
     kBishopResults,
     {},
     {},
     kBishopUnused},
    {int(SlopeMethod::Spencer),
     "spencer",
     "斯宾塞法（严格条分法）",
     kSpencerSteps,
     kRigorousResults,
     {},
     {},
     kSpencerUnused},
    {int(SlopeMethod::MorgensternPrice),
     "morgenstern-price",
     "摩根斯坦-普赖斯法（严格条分法）",
     kPriceSteps,
     kRigorousResults,
     {},
     {},
     kPriceUnused},
};

const Verdict kVerdicts[] = {
    {out::Fs, "Fs_ok", "Fs", "边坡稳定性", "≥", "Fst", kRequiredClause},
};

void judgeSlope(int, const Form& fields, const Written& written, std::span<Judgement> out) {
    const std::optional<double> Fs = written.result(out::Fs);
    try {
        const RequiredFactor Fst = readRequiredFactor(
            fields, SlopeGrade(fields.readWith(in::grade, chosenFrom(kSlopeGrades))),
            SlopeCase(fields.readWith(in::situation, chosenFrom(kCases))));
        const std::string_view basis = Fst.set ? kEngineersLimit : std::string_view();
        out[0] =
            Fs ? Judgement{*Fs >= Fst.value ? Outcome::Met : Outcome::NotMet,
                           *Fs,
                           Fst.value,
                           {},
                           {},
                           true,
                           basis}
               : Judgement{Outcome::Met, 0, Fst.value, "无下滑力，边坡不会滑动", {}, false, basis};
    } catch (const CalcError&) {
    }
}

std::string describeSlope(const Variant& method, const Form& form) {
    return std::string(method.title) + "，边坡工程安全等级" + form.text(in::grade) + "，" +
           form.text(in::situation) +
           (form.text(in::FstReq).empty() ? "" : "，稳定安全系数 Fst 由设计者指定");
}

std::string cell(double value) {
    return roundedText(value);
}

// The circle the calculation wrote, again: its slices, and where it was searched for, the
// search's next-lowest circles (the search, run again on the same inputs, finds the same).
std::optional<CircularSlide> writtenSlide(const Form& form, const CalculationRecord& record) {
    const std::string xc = record.written(out::xc);
    if (xc.empty() || record.failure) {
        return std::nullopt;
    }
    const SlopeSection section =
        readSection(form, form.readDouble(in::kh), form.readDouble(in::gw));
    CircularSlide slide =
        bishopFactor(section, {textToDouble(xc), textToDouble(record.written(out::yc)),
                               textToDouble(record.written(out::Rc))});
    if (!readCircle(form)) {
        slide.others = criticalCircle(section, readLimits(form, section)).others;
    }
    return slide;
}

// Under a slices' table: a crack's water, and a search's next-lowest circles (or the circle a
// search of any shape began from).
std::string crackAndOthers(const std::vector<Slice>& slices, std::span<const FoundCircle> others,
                           bool startedFrom = false) {
    std::string note;
    if (!slices.empty() && slices.front().Hc != 0) {
        note += "张裂缝水压力 H<sub>c</sub> = " + cell(slices.front().Hc) +
                " kN/m，作用于第 1 块后侧高程 " + cell(slices.front().yHc) + " m 处。";
    }
    if (!others.empty()) {
        note += startedFrom ? "搜索自最危险滑弧起：" : "其余较低的滑弧（互不相邻的局部最小）：";
        for (std::size_t i = 0; i < others.size(); ++i) {
            const FoundCircle& o = others[i];
            note += (i ? "；" : "") + (startedFrom ? "" : std::to_string(i + 2) + ". ") +
                    "x<sub>c</sub> = " + roundedText(o.circle.xc, 5) +
                    " m，y<sub>c</sub> = " + roundedText(o.circle.yc, 5) +
                    " m，R = " + roundedText(o.circle.R, 5) +
                    " m，F<sub>s</sub> = " + roundedText(o.Fs, 5);
        }
        note += "。";
    }
    return note;
}

// The slices' table, with the water over the ground where there is any; under it the
// iteration, the least depth, and a search's next-lowest circles.
PartsTable circularParts(const Form& form, const CircularSlide& s) {
    const bool ponded = std::any_of(s.slices.begin(), s.slices.end(),
                                    [](const Slice& c) { return c.Pw != 0 || c.Hw != 0; });
    PartsTable t{"条块计算表",
                 {"条块 i", "自重 G<sub>i</sub> (kN/m)", "底面倾角 θ<sub>i</sub> (°)",
                  "粘聚力 c<sub>i</sub> (kPa)", "内摩擦角 φ<sub>i</sub> (°)",
                  "底面长度 l<sub>i</sub> (m)", "底面水压力 U<sub>i</sub> (kN/m)"},
                 {},
                 {}};
    if (ponded) {
        t.header.insert(t.header.end(), {"坡面水压力竖向分力 P<sub>wi</sub> (kN/m)",
                                         "坡面水压力水平分力 H<sub>wi</sub> (kN/m)",
                                         "水平分力力臂 z<sub>wi</sub> (m)"});
    }
    const bool loaded =
        std::any_of(s.slices.begin(), s.slices.end(), [](const Slice& c) { return c.q != 0; });
    if (loaded) {
        t.header.emplace_back("条形荷载 q<sub>i</sub> (kN/m)");
    }
    t.header.insert(
        t.header.end(),
        {ponded ? "下滑项 (G<sub>i</sub> + P<sub>wi</sub>)sinθ<sub>i</sub> + "
                  "Q<sub>i</sub>cosθ<sub>i</sub> + H<sub>wi</sub>z<sub>wi</sub> ÷ R (kN/m)"
                : "下滑项 G<sub>i</sub>sinθ<sub>i</sub> + Q<sub>i</sub>cosθ<sub>i</sub> (kN/m)",
         "m<sub>θi</sub>", "抗滑项 […] ÷ m<sub>θi</sub> (kN/m)"});
    for (std::size_t i = 0; i < s.slices.size(); ++i) {
        const Slice& c = s.slices[i];
        std::vector<std::string> row{std::to_string(i + 1), cell(c.W), cell(c.theta), cell(c.c),
                                     cell(c.phi),           cell(c.l), cell(c.U)};
        if (ponded) {
            row.insert(row.end(), {cell(c.Pw), cell(c.Hw), cell(c.zw)});
        }
        if (loaded) {
            row.push_back(cell(c.q));
        }
        row.insert(row.end(), {cell(c.T), s.Fs ? cell(c.m) : "—", s.Fs ? cell(c.R) : "—"});
        t.rows.push_back(std::move(row));
    }
    std::string iterates;
    for (const double F : s.iterates) {
        iterates += (iterates.empty() ? "" : "，") + doubleToText(F);
    }
    if (!s.Fs) {
        t.note = "ΣT ≤ 0：没有使滑体滑出边坡的下滑力矩，无稳定系数。";
    } else {
        t.note = "m<sub>θi</sub> = cosθ<sub>i</sub> + tanφ<sub>i</sub>sinθ<sub>i</sub> ÷ "
                 "F<sub>s</sub>。F<sub>s</sub> 的迭代（自 1 起）：" +
                 (iterates.empty() ? "—" : iterates);
        if (s.bound) {
            t.note +=
                "；迭代值使某条块 m<sub>θi</sub> ≤ 0 或迭代未收敛，改在 F<sub>s</sub> &gt; "
                "F<sub>min</sub> = max(−tanφ<sub>i</sub>sinθ<sub>i</sub> ÷ cosθ<sub>i</sub>) = " +
                doubleToText(*s.bound) + " 内二分 " + std::to_string(s.bisections) +
                " 次，得 F<sub>s</sub> = " + doubleToText(*s.Fs);
        }
        t.note += "。";
    }
    const Field& least = kFields[in::minDepth.index];
    const std::string depth = form.text(in::minDepth);
    t.note += "滑体最大厚度不小于 h<sub>min</sub> = " + depth + " m" +
              (depth == least.defaultText ? "（程序默认值）" : "") + "。";
    t.note += crackAndOthers(s.slices, s.others);
    return t;
}

bool rigorousMethod(int method) {
    return SlopeMethod(method) == SlopeMethod::Spencer ||
           SlopeMethod(method) == SlopeMethod::MorgensternPrice;
}

// The surface the rigorous calculation solved, again: the one given, or the search's (which,
// run again on the same inputs, finds the same at once).
std::optional<RigorousSlide> writtenRigorous(int method, const Form& form,
                                             const CalculationRecord& record) {
    if (record.written(out::Fst).empty() || record.failure) {
        return std::nullopt;
    }
    return rigorousSlide(SlopeMethod(method), form,
                         readSection(form, form.readDouble(in::kh), form.readDouble(in::gw)),
                         nullptr);
}

// The slices' table of a rigorous method: each slice's loads and forces, and the forces between
// it and the next with the height of their line of thrust.
PartsTable rigorousParts(const RigorousSlide& s) {
    const bool ponded = std::any_of(s.slices.begin(), s.slices.end(),
                                    [](const Slice& c) { return c.Pw != 0 || c.Hw != 0; });
    const bool loaded =
        std::any_of(s.slices.begin(), s.slices.end(), [](const Slice& c) { return c.q != 0; });
    // the strength of each base is in its R (c and φ as the strata give them)
    PartsTable t{"条块计算表",
                 {"条块 i", "自重 G<sub>i</sub> (kN/m)", "底面倾角 θ<sub>i</sub> (°)",
                  "底面长度 l<sub>i</sub> (m)", "底面水压力 U<sub>i</sub> (kN/m)"},
                 {},
                 {}};
    if (ponded) {
        t.header.insert(t.header.end(), {"坡面水压力竖向分力 P<sub>wi</sub> (kN/m)",
                                         "坡面水压力水平分力 H<sub>wi</sub> (kN/m)"});
    }
    if (loaded) {
        t.header.emplace_back("条形荷载 q<sub>i</sub> (kN/m)");
    }
    t.header.insert(t.header.end(),
                    {"T<sub>i</sub> (kN/m)", "R<sub>i</sub> (kN/m)", "Φ<sub>i</sub>",
                     "条间法向力 E<sub>i</sub> (kN/m)", "条间剪力 X<sub>i</sub> (kN/m)",
                     "推力线相对高度 z<sub>i</sub> ÷ h<sub>i</sub>"});
    for (std::size_t i = 0; i < s.slices.size(); ++i) {
        const Slice& c = s.slices[i];
        std::vector<std::string> row{std::to_string(i + 1), cell(c.W), cell(c.theta), cell(c.l),
                                     cell(c.U)};
        if (ponded) {
            row.insert(row.end(), {cell(c.Pw), cell(c.Hw)});
        }
        if (loaded) {
            row.push_back(cell(c.q));
        }
        row.insert(row.end(), {cell(c.T), cell(c.R), s.Fs ? cell(c.m) : "—"});
        const bool last = i + 1 == s.slices.size();
        if (!s.Fs || last || s.sides.size() != s.slices.size() + 1) {
            row.insert(row.end(), {last && s.Fs ? "0" : "—", last && s.Fs ? "0" : "—", "—"});
        } else {
            const SideForce& side = s.sides[i + 1];
            const double height = s.slices[i + 1].top - side.base;
            row.insert(row.end(), {cell(side.E), cell(side.X),
                                   side.thrust && height > 0
                                       ? roundedText((*side.thrust - side.base) / height, 3)
                                       : "—"});
        }
        t.rows.push_back(std::move(row));
    }
    if (!s.Fs) {
        t.note = "ΣT ≤ 0：没有使滑体滑出边坡的下滑力，无稳定系数。";
        return t;
    }
    t.note =
        "E<sub>i</sub>、X<sub>i</sub> 为第 i 块作用于第 i + 1 块的条间力（X = λf(x)E），"
        "z<sub>i</sub> 为其合力作用点（推力线）在滑面以上的高度，h<sub>i</sub> 为该处滑体的高度；"
        "Φ<sub>i</sub> 为解处的法向力系数。F<sub>s</sub> = " +
        doubleToText(*s.Fs) + "，λ = " + doubleToText(s.lambda) + "，λ 的割线法迭代 " +
        std::to_string(s.iterations) + " 步收敛。";
    t.note += crackAndOthers(s.slices, s.others, !s.circle);
    return t;
}

std::optional<PartsTable> slopeParts(int method, const Form& form,
                                     const CalculationRecord& record) {
    try {
        if (rigorousMethod(method)) {
            const std::optional<RigorousSlide> found = writtenRigorous(method, form, record);
            return found ? std::optional<PartsTable>(rigorousParts(*found)) : std::nullopt;
        }
        if (SlopeMethod(method) == SlopeMethod::Bishop) {
            const std::optional<CircularSlide> found = writtenSlide(form, record);
            if (!found) {
                return std::nullopt;
            }
            return circularParts(form, *found);
        }
        if (SlopeMethod(method) == SlopeMethod::Planar) {
            return std::nullopt;
        }
        const std::vector<SlidingBlock> blocks = readBlocks(form);
        const bool byThrust = SlopeMethod(method) == SlopeMethod::BrokenLineExplicit;
        PartsTable t{"条块计算表",
                     {"i", "G<sub>i</sub> (kN/m)", "θ<sub>i</sub> (°)", "c<sub>i</sub> (kPa)",
                      "φ<sub>i</sub> (°)", "l<sub>i</sub> (m)", "U<sub>i</sub> (kN/m)",
                      "T<sub>i</sub> (kN/m)", "R<sub>i</sub> (kN/m)", "ψ<sub>i</sub>",
                      byThrust ? "F<sub>i</sub> (kN/m)" : "P<sub>i</sub> (kN/m)"},
                     {},
                     {}};
        if (!byThrust) {
            t.header.emplace_back("按 F<sub>st</sub> 传递的推力 P<sub>st,i</sub> (kN/m)");
        }
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            const SlidingBlock& b = blocks[i];
            const std::string psi = record.written(out::block(2, i));
            t.rows.push_back({std::to_string(i + 1), cell(b.G), cell(b.theta), cell(b.c),
                              cell(b.phi), cell(b.l), cell(b.U),
                              cell(textToDouble(record.written(out::block(0, i)))),
                              cell(textToDouble(record.written(out::block(1, i)))),
                              psi.empty() ? "—" : cell(textToDouble(psi)),
                              cell(textToDouble(record.written(out::block(byThrust ? 4 : 3, i))))});
            if (!byThrust) {
                const std::string passed = record.written(out::block(5, i));
                t.rows.back().push_back(passed.empty() ? "—" : cell(textToDouble(passed)));
            }
        }
        t.note = byThrust ? "ψ<sub>i</sub> 为第 i 块剩余下滑推力传至第 i + 1 "
                            "块的传递系数；F<sub>i</sub> 为负时以 0 传递。"
                          : "ψ<sub>i</sub> 为第 i 块剩余下滑推力传至第 i + 1 块的传递系数（按 "
                            "F<sub>s</sub>）；P<sub>i</sub> 为负时以 0 传递。P<sub>st,i</sub> 为以 "
                            "F<sub>st</sub> 代替 F<sub>s</sub> 时第 i 块传给下一块的推力（为负时取 "
                            "0），末块的即设计推力 P<sub>n</sub>。";
        return t;
    } catch (const CalcError&) {
        return std::nullopt;
    }
}

std::string slopeSketch(int method, const Form& form, const CalculationRecord& record,
                        Sketch& sketch) {
    try {
        if (SlopeMethod(method) == SlopeMethod::Bishop) {
            const SlopeSection section =
                readSection(form, form.readDouble(in::kh), form.readDouble(in::gw));
            const std::optional<CircularSlide> slide = writtenSlide(form, record);
            std::optional<DrawnSlip> drawn;
            if (slide) {
                drawn = DrawnSlip{slide->slices, slide->circle, slide->Fs, slide->others, {}};
            }
            drawSlopeSection(section, drawn ? &*drawn : nullptr,
                             readCircle(form) ? SearchLimits{} : readLimits(form, section), sketch);
        } else if (rigorousMethod(method)) {
            const SlopeSection section =
                readSection(form, form.readDouble(in::kh), form.readDouble(in::gw));
            const std::optional<RigorousSlide> slide = writtenRigorous(method, form, record);
            std::optional<DrawnSlip> drawn;
            if (slide) {
                drawn =
                    DrawnSlip{slide->slices, slide->circle, slide->Fs, slide->others, slide->sides};
            }
            const bool given = readCircle(form) || readSlip(form);
            drawSlopeSection(section, drawn ? &*drawn : nullptr,
                             given ? SearchLimits{} : readLimits(form, section), sketch);
        } else if (SlopeMethod(method) == SlopeMethod::Planar) {
            PlanarInputs p{form.readDouble(in::G), form.readDouble(in::theta),
                           form.readDouble(in::L), 0, 0};
            p.hw = form.readDouble(in::hw);
            p.P = form.readDouble(in::P);
            p.anchorAngle = form.readDouble(in::Pangle);
            drawPlanarBlock(p, sketch);
        } else {
            drawBlocks(readBlocks(form), sketch);
        }
    } catch (const CalcError&) {
        return "输入无法读取，未绘出剖面图。";
    }
    return {};
}

// The list inputs as the window's tables and the report show them: the blocks (their lists
// side by side), the ground line, the strata, the phreatic line.
constexpr std::string_view kBlockFields[] = {"G", "theta", "c", "phi", "l", "U"};
constexpr std::string_view kBlockHeader[] = {"G (kN/m)", "θ (°)", "c (kPa)",
                                             "φ (°)",    "l (m)", "U (kN/m)"};
constexpr std::string_view kSurfaceFields[] = {"surface"};
constexpr std::string_view kLayersFields[] = {"layers"};
constexpr std::string_view kWaterFields[] = {"water"};
constexpr std::string_view kPointHeader[] = {"x (m)", "y (m)"};
constexpr std::string_view kLayersHeader[] = {"顶高 (m) 或\n顶面 (x y, …)", "γ (kN/m³)", "c (kPa)",
                                              "φ (°)", "γsat (kN/m³)"};

// Bishop's one soil (γ, c, φ) is not read where strata are given: greyed, and left out of the
// report.
std::vector<FieldId> idleSlopeFields(int method, const Form& form) {
    if ((SlopeMethod(method) == SlopeMethod::Bishop || rigorousMethod(method)) &&
        !form.text(in::layers).empty()) {
        return {in::gamma, in::c, in::phi};
    }
    return {};
}

constexpr std::string_view kSlipFields[] = {"slip"};
constexpr std::string_view kLoadsFields[] = {"loads"};
constexpr std::string_view kLoadsHeader[] = {"q (kPa)", "x1 (m)", "x2 (m)"};
const ListTable kSlopeLists[] = {{"条块（自后缘起）", kBlockFields, kBlockHeader},
                                 {"地面线", kSurfaceFields, kPointHeader},
                                 {"分层土", kLayersFields, kLayersHeader},
                                 {"浸润线", kWaterFields, kPointHeader},
                                 {"滑面线", kSlipFields, kPointHeader},
                                 {"条形荷载", kLoadsFields, kLoadsHeader}};

} // namespace

const Calculator kSlopeStability{
    .command = "slope-stability",
    .english = "slope stability: planar, broken-line (implicit and explicit) and circular (Bishop) "
               "slides, and Spencer's and Morgenstern-Price's methods on any slip surface",
    .window = "slopestabilityfrm",
    .title = "边坡稳定性计算",
    .introduction =
        "按 GB 50330-2013 附录A 计算边坡稳定系数 Fs：平面滑动法（A.0.2，可计后缘裂隙水、竖向荷载、"
        "地震力与锚固力）、折线滑动的传递系数法隐式解（A.0.3，并给出以 Fst 计的设计推力）、"
        "GB 50007-2011 第6.4.3条的滑坡推力（显式解）与圆弧滑动的简化毕肖普法（A.0.1，可分层、"
        "可计浸润线，未给滑弧时搜索最危险滑弧），以及同时满足力与力矩平衡的斯宾塞法与摩根斯坦-"
        "普赖斯法"
        "（圆弧或任意形状的滑面，可计张裂缝与坡面条形荷载）；稳定安全系数 "
        "Fst（按边坡工程安全等级与工况）"
        "及稳定状态的界限（1.00、1.05）为程序默认值。",
    .reachedBy = "启动窗口的“边坡稳定性计算”。",
    .fields = kFields,
    .results = kResults,
    .variants = kMethods,
    .defaultVariant = int(SlopeMethod::Planar),
    .variantOption = "--method",
    .calculate = [](int method, Form& form,
                    Trace* trace) { calculateSlopeStability(SlopeMethod(method), form, trace); },
    .resultsHelp = "Fs Fst state, and by method:\n"
                   "  planar                R T\n"
                   "  broken-line           thrust T<i> R<i> psi<i> P<i> Pst<i> for every block i\n"
                   "  broken-line-explicit  thrust T<i> R<i> psi<i> F<i>\n"
                   "  bishop                xc yc Rc\n"
                   "  spencer, morgenstern-price  lambda, and xc yc Rc on a circle",
    .verdicts = kVerdicts,
    .judge = judgeSlope,
    .describe = describeSlope,
    .sketch = slopeSketch,
    .parts = slopeParts,
    .idle = idleSlopeFields,
    .listTables = kSlopeLists,
};

} // namespace subprogram
