#include "wallpressure.h"

#include "calculators/domains.h"
#include "calculators/earthpressure.h"
#include "calculators/ground.h"
#include "core/numerictext.h"

#include <algorithm>
#include <array>
#include <memory>

namespace subprogram {

namespace {

// clang-format off
constexpr Field kOwnFields[] = {
    {"H",           "Hx",       "挡土墙高度H(m):",        "6",     "m",     "height of the wall", "H"},
    {"q",           "qx",       "地表均布荷载q(kPa):",    "10",    "kPa",   "uniform surcharge on the fill", "q"},
    {"alpha",       "alphax",   "墙背倾角α(度):",         "90",    "°",     "inclination of the wall's back to the horizontal (90: upright)", "α"},
    {"beta",        "betax",    "填土面坡角β(度):",       "0",     "°",     "inclination of the fill's surface", "β"},
    {"delta",       "deltax",   "墙背摩擦角δ(度):",       "0",     "°",     "friction angle between the wall's back and the fill", "δ"},
};
// clang-format on
constexpr ground::Use kGroundUse{.layers = "3 18 0 30;3 19 10 20 20"};
constexpr auto kGroundFields = ground::fields(kGroundUse);
constexpr auto kFields = ground::joined(
    kOwnFields, std::array{kGroundFields[0], kGroundFields[1], kGroundFields[2], kGroundFields[3],
                           kGroundFields[4], ground::tensionField(kGroundUse)});

namespace in {
constexpr FieldId H = fieldNamed(kFields, "H"), layers = fieldNamed(kFields, "layers"),
                  q = fieldNamed(kFields, "q"), alpha = fieldNamed(kFields, "alpha"),
                  beta = fieldNamed(kFields, "beta"), delta = fieldNamed(kFields, "delta"),
                  water = fieldNamed(kFields, "water"), gw = fieldNamed(kFields, "gamma_water"),
                  loads = fieldNamed(kFields, "loads"), kh = fieldNamed(kFields, "kh"),
                  tension = fieldNamed(kFields, "tension");
} // namespace in

// Ka1 … Ka20 on the command line, "第1层土的Ka" … in the report: each stratum's coefficient
constexpr std::size_t kNameSize = sizeof "第20层土的Ka";
constexpr auto kKaNames = indexedNames<kMaxStrata, kNameSize>("Ka");
constexpr auto kKaCaptions = indexedNames<kMaxStrata, kNameSize>("第", "层土的Ka");

constexpr std::size_t kFirstKa = 4;
constexpr auto kResults = [] {
    std::array<Result, kFirstKa + kMaxStrata> r{};
    r[0] = {"Eax", "Ea", "土压力合力Ea(kN/m):", "E<sub>a</sub>", "kN/m"};
    r[1] = {"zax", "za", "Ea距墙底za(m):", "z<sub>a</sub>", "m", "", {}, false, true};
    r[2] = {"Pwx", "Pw", "水压力合力Pw(kN/m):", "P<sub>w</sub>", "kN/m"};
    r[3] = {"zwx", "zw", "Pw距墙底zw(m):", "z<sub>w</sub>", "m", "", {}, false, true};
    for (std::size_t i = 0; i < kMaxStrata; ++i) {
        r[kFirstKa + i] = {"", kKaNames.text[i], "", "", "", "0", kKaCaptions.text[i]};
    }
    return r;
}();

namespace out {
constexpr ResultId Ea = resultNamed(kResults, "Ea"), za = resultNamed(kResults, "za"),
                   Pw = resultNamed(kResults, "Pw"), zw = resultNamed(kResults, "zw");
constexpr ResultId Ka(std::size_t i) {
    return {static_cast<std::uint16_t>(kFirstKa + i)};
}
static_assert(Ka(kMaxStrata - 1) == resultNamed(kResults, "Ka20"));
} // namespace out

struct Inputs {
    WallBack wall;
    Backfill fill;
};

Inputs readInputs(const Form& form) {
    Inputs i;
    i.wall.H = readWithin(form, in::H, kPositive);
    const double q = readWithin(form, in::q, kNonNegative);
    i.wall.alpha = readWithin(form, in::alpha, kWallBack);
    i.wall.beta = readWithin(form, in::beta, kInclination);
    i.wall.delta = readWithin(form, in::delta, kFriction);
    i.fill = readBackfill(form, {in::layers, in::water, in::gw, in::loads, in::kh}, q);
    if (i.fill.strata.empty()) {
        throw FieldError(CalcError(ErrorKind::InvalidArgument, "应至少有一层土"), in::layers);
    }
    i.fill.tensionCounted = form.readWith(in::tension, chosenFrom(ground::kTensionRules)) == 1;
    return i;
}

void calculateWallPressure(Form& form, Trace* trace) {
    beginStep(trace, kReadingStep);
    const Inputs i = readInputs(form);
    const LayeredPressure p = layeredPressure(i.wall, i.fill, trace);
    form.setDouble(out::Ea, p.Ea);
    if (p.za) {
        form.setDouble(out::za, *p.za);
    }
    form.setDouble(out::Pw, p.Pw);
    if (p.zw) {
        form.setDouble(out::zw, *p.zw);
    }
    for (std::size_t k = 0; k < p.Ka.size(); ++k) {
        form.setDouble(out::Ka(k), p.Ka[k]);
    }
}

const std::string_view kCoefficientNotes[] = {
    "第1层土按库仑公式（c = 0，q = 0）的主动土压力系数 K<sub>a</sub>（k<sub>h</sub> &gt; 0 时为以 "
    "α − ρ、β + ρ 代入的 K′<sub>a1</sub>）；"
    "其余各层同式，见分层计算表。式末 E<sub>a</sub> 为全高均为第1层土、无超载时的值，仅作对照",
};
constexpr ValueUnit kCoulombUnits[] = {{"Ea", "kN/m"}};
const Step kCoefficientStep{"coulombActive", "第1层土的库仑主动土压力系数", kCoefficientNotes,
                            kCoulombUnits};

} // namespace

namespace {

const Step* const kSteps[] = {&kCoefficientStep, &ground::kStep};
const Variant kOnly[] = {{0, "", "主动土压力与水压力（水土分算）", kSteps}};

std::optional<PressureSetting> distribution(int, const Form& form, const Written& written) {
    try {
        const Inputs i = readInputs(form);
        auto p = std::make_shared<const LayeredPressure>(layeredPressure(i.wall, i.fill));
        return PressureSetting{
            PressureLaw::layered(std::move(p)), i.wall.H, {"Ea", written.result(out::Ea), {}}};
    } catch (const CalcError&) {
        return std::nullopt;
    }
}

std::optional<PartsTable> strataTable(int, const Form& form, const CalculationRecord&) {
    try {
        const Inputs i = readInputs(form);
        const LayeredPressure p = layeredPressure(i.wall, i.fill);
        PartsTable t{"分层土压力计算表",
                     {"i", "顶深 (m)", "底深 (m)", "γ (kN/m³)", "c (kPa)", "φ (°)", "K<sub>a</sub>",
                      "e<sub>顶</sub> (kPa)", "e<sub>底</sub> (kPa)"},
                     {},
                     {}};
        double top = 0;
        for (std::size_t k = 0; k < p.bounds.size(); ++k) {
            const FillStratum& s = i.fill.strata[k];
            const auto first =
                std::ranges::find(p.pieces, static_cast<int>(k), &PressurePiece::stratum);
            const auto last = std::ranges::find(p.pieces.rbegin(), p.pieces.rend(),
                                                static_cast<int>(k), &PressurePiece::stratum);
            t.rows.push_back({std::to_string(k + 1), roundedText(top), roundedText(p.bounds[k]),
                              roundedText(s.gamma), roundedText(s.c), roundedText(s.phi),
                              roundedText(p.Ka[k]), roundedText(first->top),
                              roundedText(last->bottom)});
            top = p.bounds[k];
        }
        t.note = "e 含局部荷载的附加侧向压力；地下水位以下 γ 取 γ<sub>sat</sub> − γ<sub>w</sub>。";
        return t;
    } catch (const CalcError&) {
        return std::nullopt;
    }
}

} // namespace

const Calculator kWallPressure{
    .command = "wall-pressure",
    .english = "earth and water pressure on a wall: strata, water table, local loads, earthquake",
    .window = "wallpressurefrm",
    .title = "墙后土压力（分层土、地下水、局部荷载、地震）",
    .button = "墙后土压力",
    .introduction =
        "墙后为分层土、有地下水、坡顶有线荷载或条形荷载（GB 50330-2013 附录B）或有地震作用"
        "（Mononobe–Okabe 法，地震角 ρ = arctan k<sub>h</sub>）时的主动土压力合力 Ea 与水压力合力 "
        "Pw"
        "（水土分算）、两者距墙底的高度 za、zw 与各层的 Ka；粘性土的拉力区可计入或不计。"
        "单层、无黏聚力、无水、无局部荷载、k<sub>h</sub> = 0 时与“土压力计算”的库仑 Ea 相同。",
    .reachedBy = "启动窗口的“墙后土压力”。",
    .fields = kFields,
    .results = kResults,
    .variants = kOnly,
    .defaultVariant = 0,
    .variantOption = {},
    .calculate = [](int, Form& form, Trace* trace) { calculateWallPressure(form, trace); },
    .resultsHelp = "Ea za Pw zw, and Ka<i> for every stratum i that reaches the wall",
    .pressure = distribution,
    .parts = strataTable,
    .listTables = ground::kTables,
};

} // namespace subprogram
