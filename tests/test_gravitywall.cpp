#include "calculators/gravitywall.h"
#include "calculators/wallsection.h"

#include "core/record.h"
#include "failswith.h"
#include "mapform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

using namespace subprogram;

namespace {

using Texts = std::vector<std::pair<const char*, const char*>>;

// Each named value the routines formed, as singleToText writes it.
void expectTrace(const Trace& trace, const Texts& expected) {
    for (const auto& [name, text] : expected) {
        const auto value = trace.value(name);
        ASSERT_TRUE(value.has_value()) << name;
        EXPECT_EQ(singleToText(static_cast<float>(*value)), text) << name;
    }
}

// The default texts of the gravity-wall window, read as singles.
const float n = 0.05f, Ht = 4, h1 = 2, alpha0 = 11.3f, b1 = 0.5f, b2 = 1.30f, gammaW = 24,
            b = 1.49f, x2 = 0.35f, x3 = 0.25f, h4 = 0.65f, b3 = 1.03f, b4 = 0.45f, b5 = 0.5f;
const UprightWall kUpright{
    .n = n, .Ht = Ht, .h1 = h1, .b2 = b2, .alpha0 = alpha0, .b1 = b1, .gammaW = gammaW, .b = b};
const ShelfWall kShelf{.n = n,
                       .x2 = x2,
                       .x3 = x3,
                       .h1 = h1,
                       .Ht = Ht,
                       .h4 = h4,
                       .b1 = b1,
                       .b2 = b2,
                       .b3 = b3,
                       .b4 = b4,
                       .b5 = b5,
                       .b = b,
                       .gammaW = gammaW};

// The default wall with some sizes changed.
template <typename Wall>
Wall with(Wall wall, std::initializer_list<std::pair<float Wall::*, float>> sizes) {
    for (const auto& [size, value] : sizes) {
        wall.*size = value;
    }
    return wall;
}
using U = UprightWall;
using S = ShelfWall;

struct Worked {
    const char* name;
    std::function<void(Trace&)> run;
    Texts values; // every value the worked example gives on the way
};

class WorkedExamples : public testing::TestWithParam<Worked> {};

TEST_P(WorkedExamples, FormEveryValueOnTheWay) {
    Trace trace;
    GetParam().run(trace);
    expectTrace(trace, GetParam().values);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Routines, WorkedExamples, testing::Values(
    Worked{"upright_wall", [](Trace& t) { uprightWallWeight(kUpright, &t); },
           {{"G", "118.8367"}, {"x0", "0.9329683"}, {"r0", "0.1972222"}, {"A", "0.1930755"},
            {"B", "3.90009"}, {"W1", "9.036142"}, {"W2", "47.40054"}, {"W3", "62.4"}, {"L3", "0.7"},
            {"m1", "0.128717"}, {"m2", "0.2510539"}, {"c0", "0.7969245"}}},
    Worked{"shelf_wall", [](Trace& t) { shelfWallWeight(kShelf, &t); },
           {{"G", "112.212"}, {"x0", "1.011601"}, {"A1", "0.1"}, {"L1", "1.084167"}, {"A2", "1"},
            {"L2", "0.8175"}, {"A3", "0.7"}, {"L3", "1.350833"}, {"A4", "1.3905"}, {"L4", "0.99875"},
            {"A5", "0.51975"}, {"L5", "1.448333"}, {"A6", "0.9685"}, {"L6", "0.745"},
            {"A7", "-0.003250016"}, {"L7", "1.485"}, {"A", "4.6755"}}},
    Worked{"sliding", [](Trace& t) { antiSlidingFactor(100, 30, 0, 90, 0, 0.5f, &t); }, {{"Ks", "1.666667"}}},
    Worked{"overturning", [](Trace& t) { antiOverturningFactor(100, 30, 0, 1, 90, 0, 2, 1, &t); }, {{"Kt", "3.333333"}}},
    Worked{"sliding_default_wall", [](Trace& t) { antiSlidingFactor(118.8367f, 28.8724f, 11.3f, 90, 10, 0.3f, &t); },
           {{"Ks", "10.54242"}}},
    Worked{"overturning_default_wall",
           [](Trace& t) { antiOverturningFactor(118.8367f, 28.8724f, 11.3f, 2.266667f, 90, 10, 1.49f, 0.9329683f, &t); },
           {{"Kt", "2.11383"}}},
    Worked{"base_middle_third", [](Trace& t) { baseStress(100, 3, 3, 0, 1, 0, 90, 30, 2, &t); },
           {{"zE", "1"}, {"N", "99.99996"}, {"c", "0.6999995"}, {"e", "0.3000005"}, {"pmax", "95.00004"},
            {"pmin", "4.999925"}}},
    Worked{"base_beyond_middle_third", [](Trace& t) { baseStress(100, 3, 3, 0, 0.5f, 0, 90, 30, 2, &t); },
           {{"e", "0.8000007"}, {"pmax", "333.3343"}, {"pmin", "0"}}},
    Worked{"base_behind_the_middle", [](Trace& t) { baseStress(100, 3, 3, 0, 1.5f, 0, 90, 30, 2, &t); },
           {{"e", "-0.1999997"}, {"pmax", "20.00004"}, {"pmin", "79.99992"}}},
    Worked{"base_default_wall",
           [](Trace& t) { baseStress(118.8367f, 2.6f, 4, 0.298f, 0.9329683f, 10, 90, 28.8724f, 1.49f, &t); },
           {{"zE", "1.968667"}, {"N", "123.8503"}, {"c", "0.5035477"}, {"e", "0.2414523"},
            {"pmax", "163.9388"}, {"pmin", "2.303177"}}},
    Worked{"base_no_wall", [](Trace& t) { baseStress(0, 2.6f, 4, 0.298f, 0, 10, 90, 28.8724f, 1.49f, &t); },
           {{"N", "5.013604"}, {"c", "-9.674945"}, {"e", "10.41994"}, {"pmax", "-0.34547"}, {"pmin", "0"}}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

struct Failure {
    const char* name;
    std::function<void()> call;
    ErrorKind kind;
};

class WallRoutinesFail : public testing::TestWithParam<Failure> {};

TEST_P(WallRoutinesFail, WithItsKind) {
    EXPECT_TRUE(FailsWith(GetParam().kind, [] { GetParam().call(); }));
}

constexpr auto DZ = ErrorKind::DivisionByZero;
constexpr auto OV = ErrorKind::Overflow;

// clang-format off
INSTANTIATE_TEST_SUITE_P(Failures, WallRoutinesFail, testing::Values(
    Failure{"upright_no_batter", [] { uprightWallWeight(with(kUpright, {{&U::n, 0}})); }, DZ},
    Failure{"upright_weightless", [] { uprightWallWeight(with(kUpright, {{&U::gammaW, 0}})); }, OV},
    Failure{"upright_beyond_single_range", [] { uprightWallWeight(with(kUpright, {{&U::Ht, 3e38f}, {&U::gammaW, 1e30f}})); }, OV},
    Failure{"shelf_no_lower_wall", [] { shelfWallWeight(with(kShelf, {{&S::Ht, 4}, {&S::h4, 2}})); }, OV},
    // b1 + b2 = b3: both A5 and M5 are zero
    Failure{"shelf_empty_back_wedge", [] { shelfWallWeight(with(kShelf, {{&S::b1, 0.5f}, {&S::b2, 0.53f}, {&S::b3, 1.03f}})); }, OV},
    Failure{"sliding_nothing_pushes", [] { antiSlidingFactor(0, 0, 0, 90, 0, 0.5f); }, OV},
    Failure{"overturning_back_equals_friction", [] { antiOverturningFactor(100, 30, 0, 1, 30, 30, 2, 1); }, DZ},
    Failure{"overturning_flat_back", [] { antiOverturningFactor(100, 30, 0, 1, 0, 0, 2, 1); }, DZ},
    Failure{"base_nothing_bears", [] { baseStress(0, 3, 3, 0, 1, 0, 90, 0, 2); }, OV},
    Failure{"base_zero_width", [] { baseStress(100, 3, 3, 0, 1, 0, 90, 30, 0); }, DZ}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(WallWeight, DoublingTheUnitWeightDoublesGAndKeepsX0) {
    const WallWeight u1 = uprightWallWeight(kUpright);
    const WallWeight u2 = uprightWallWeight(with(kUpright, {{&U::gammaW, 2 * gammaW}}));
    EXPECT_EQ(u2.G, 2 * u1.G);
    EXPECT_EQ(u2.x0, u1.x0);
    const WallWeight s0 = shelfWallWeight(with(kShelf, {{&S::gammaW, 0}}));
    const WallWeight s1 = shelfWallWeight(kShelf);
    EXPECT_EQ(s0.G, 0);
    EXPECT_EQ(s0.x0, s1.x0);
}

// The wall's pressure diagram: Coulomb's over the soil's height H = 2.6 m, its area the Ea the
// calculation wrote, with the lever its checks take, H/3 above the base.
// The default upright wall by hand: the face's batter spans A = (Ht − b1·tan α0) ÷ (1/n + tan α0)
// = 3.90009 ÷ 20.19982 = 0.19308 m, so the room before the face is c0 = b − A − b1 = 0.79692 m.
// The toe block typed 1.30 m wide overlaps it, said beyond a size typed to the millimetre; with
// b2 inferred it takes c0, and G loses the overlap's weight, (1.30 − 0.79692)·h1·γw = 24.15 kN/m.
TEST(WallSection, TheToeBlockEndsAtTheFootOfTheFaceWhenInferred) {
    for (const auto& [b2, section, used, G, said] :
         {std::tuple{"1.30", "按输入", 1.3, 118.8367, true},
          {"0.798", "按输入", 0.798, 118.8367 - 0.502 * 2 * 24, true},
          {"0.797", "按输入", 0.797, 118.8367 - 0.503 * 2 * 24, false},
          {"1.30", "推定b2", 0.79692, 118.8367 - 0.50308 * 2 * 24, false}}) {
        MapForm form(kGravityWall);
        form.texts["Text22"] = b2;
        form.texts["sectionx"] = section;
        calculateGravityWall(WallType::Upright, form);
        const WrittenTexts written([&](ResultId r) {
            const Result& result = kGravityWall[r];
            return form.texts.at(
                std::string(result.control.empty() ? result.name : result.control));
        });
        const auto value = [&](const char* name) {
            const auto r =
                std::ranges::find(kGravityWall.results, std::string_view(name), &Result::name);
            return written.result(kGravityWall.id(*r)).value_or(-1);
        };
        EXPECT_NEAR(value("b2_used"), used, 1e-5) << b2 << " " << section;
        EXPECT_NEAR(value("G"), G, 2e-3) << b2 << " " << section;
        const auto warnings = kGravityWall.warnings(int(WallType::Upright), form, written);
        EXPECT_EQ(std::ranges::any_of(
                      warnings,
                      [](const std::string& w) { return w.find("重叠部分") != std::string::npos; }),
                  said)
            << b2 << " " << section;
    }
    // the shelf wall's upper wall: b2 = b5 + (n + x2)·h1 = 0.6 + 0.4 × 2 = 1.4 m
    EXPECT_FLOAT_EQ(upperWallFootWidth(0.6f, 0.05f, 0.35f, 2), 1.4f);
}

TEST(WallPressure, IsTheCalculationsOverTheSoilsHeightWithTheChecksLever) {
    MapForm form(kGravityWall);
    calculateGravityWall(WallType::Upright, form);
    const WrittenTexts written([&](ResultId r) {
        const Result& result = kGravityWall[r];
        return form.texts.at(std::string(result.control.empty() ? result.name : result.control));
    });
    const auto setting = kGravityWall.pressure(int(WallType::Upright), form, written);
    ASSERT_TRUE(setting);
    EXPECT_EQ(setting->height, 2.6);
    EXPECT_NEAR(setting->labels.checkLever.value_or(0), 2.6 / 3, 1e-12);
    EXPECT_NEAR(setting->law.resultant(2.6), setting->labels.resultantValue.value_or(0), 1e-3);
    // at the centroid of the diagram, when the checks take Ea there
    form.texts["leverx"] = "centroid";
    calculateGravityWall(WallType::Upright, form);
    EXPECT_NEAR(
        kGravityWall.pressure(int(WallType::Upright), form, written)->labels.checkLever.value_or(0),
        2.6 * 82 / 216, 1e-6);
}

} // namespace

namespace {

// The ground's loads beside Ea by hand, on a level base (α0 = 0) behind an upright smooth back:
// G = 100, Ea = 20, Pw = 10 at 0.5 m, Fi = 5 at 2 m, U = 30 at 1 m from the toe, μ = 0.5.
// Ks = (G − U)·μ ÷ (Ea + Pw + Fi) = 1; Kt = G·x0 ÷ (Ea·z + Pw·zw + Fi·zi + U·xU) = 100 ÷ 65;
// the base: N = G − U = 70, c = (100 − 20 − 5 − 10 − 30) ÷ 70 = 0.5, e = b/2 − c = 0.5.
TEST(GroundLoads, EnterEachCheckAsWorkedByHand) {
    const GroundLoads g{.Pw = 10, .zw = 0.5f, .U = 30, .xU = 1, .Fi = 5, .zi = 2};
    EXPECT_NEAR(antiSlidingFactor(100, 20, 0, 90, 0, 0.5f, nullptr, nullptr, &g), 1, 1e-6);
    EXPECT_NEAR(antiOverturningFactor(100, 20, 0, 1, 90, 0, 2, 1, nullptr, &g), 100.0 / 65, 1e-6);
    const BaseStress base = baseStress(100, 4, 4, 0, 1, 0, 90, 20, 2, nullptr, 1.0f, &g);
    EXPECT_NEAR(base.N, 70, 1e-4);
    EXPECT_NEAR(base.e, 0.5, 1e-5);
    EXPECT_NEAR(base.pmax, 2 * 70 / (3 * 0.5), 1e-3); // outside the middle third
    // a 4 m wall, water 1 m down, b = 2 m: the water behind it to the heel, hw = 3 m, pushes
    // Pw = ½·10·3² = 45 at 1 m above the heel and lifts the base with u = 10·3 = 30 kPa at the
    // heel, U = ½·30·2 = 30 at 4/3 m from the toe: one water
    const GroundLoads w = groundLoads(10, 1.0f, 4, 2, 0.1f, 100, 1.2f);
    EXPECT_FLOAT_EQ(w.Pw, 45);
    EXPECT_FLOAT_EQ(w.zw, 1);
    EXPECT_FLOAT_EQ(w.u, 30);
    EXPECT_FLOAT_EQ(w.U, 30);
    EXPECT_FLOAT_EQ(w.xU, 4.0f / 3);
    EXPECT_NEAR(w.Fi, 10, 1e-5);
    EXPECT_FLOAT_EQ(w.zi, 1.2f);
    // a water table at or below the heel gives neither
    const GroundLoads dry = groundLoads(10, 4.0f, 4, 2, 0, 100, 0);
    EXPECT_EQ(dry.Pw, 0);
    EXPECT_EQ(dry.U, 0);
}

// The three checks on a base inclined at α0 = 10° with water and an earthquake, worked by hand
// (π as 3.1415926 in the angles, 3.14159 in the base stress's right angle): G = 200, Ea = 50 on
// a back at 80° with δ = 15°, μ = 0.4; Pw = 20 at 1 m, Fi = 10 at 2 m, U = 30 at 1.5 m; b = 2.5,
// x0 = 1.2, z = 1.5; H = 3, Ht = 4, h2 = 0.44.
// Sliding: Gn = 196.9616, Gt = 34.72963, Eat = 40.95760, Ean = 28.67882, Nx = −24.33479,
// Tx = 34.75368: Ks = (Gn + Ean + Nx)·0.4 ÷ (Eat − Gt + Tx) = 1.964837.
// Overturning: Mx = 71.77548 beside zf·Eax = 48.0, Kt = 2.398195.
// Base: zE = 1.56, N = 191.1309, c = 0.7865558, e = 0.4634442 > b/6: pmax = 2N ÷ 3c = 161.9981.
TEST(GroundLoads, TheThreeChecksOnAnInclinedBaseByHand) {
    const GroundLoads g{.Pw = 20, .zw = 1, .U = 30, .xU = 1.5f, .Fi = 10, .zi = 2};
    double drive = 0, tip = 0;
    EXPECT_NEAR(antiSlidingFactor(200, 50, 10, 80, 15, 0.4f, nullptr, &drive, &g), 1.964837, 2e-6);
    EXPECT_NEAR(drive, 40.95760 - 34.72963 + 34.75368, 1e-4);
    EXPECT_NEAR(antiOverturningFactor(200, 50, 10, 1.5f, 80, 15, 2.5f, 1.2f, nullptr, &g, &tip),
                2.398195, 2e-6);
    EXPECT_NEAR(tip, 119.7727, 1e-3);
    const BaseStress base = baseStress(200, 3, 4, 0.44f, 1.2f, 15, 80, 50, 2.5f, nullptr, {}, &g);
    EXPECT_NEAR(base.N, 191.1309, 1e-3);
    EXPECT_NEAR(base.e, 0.4634442, 1e-6);
    EXPECT_NEAR(base.pmax, 161.9981, 1e-3);
    EXPECT_EQ(base.pmin, 0);
}

// Run the wall on the window's defaults with some texts changed.
MapForm wallWith(WallType type, const Texts& texts) {
    MapForm form(kGravityWall);
    for (const auto& [control, text] : texts) {
        form.texts[control] = text;
    }
    kGravityWall.calculate(int(type), form, nullptr);
    return form;
}
std::vector<Judgement> judged(WallType type, const MapForm& form) {
    return judge(kGravityWall, int(type), form, WrittenTexts([&](ResultId r) {
                     const Result& res = kGravityWall[r];
                     const auto at =
                         form.texts.find(std::string(res.control.empty() ? res.name : res.control));
                     return at == form.texts.end() ? std::string() : at->second;
                 }));
}

// One water for the thrust on the back and the uplift: water at the top of a 4 m wall on a base
// 1.49 m wide pushes ½·10·4² = 80 kN/m at 4/3 m above the heel and lifts it with 40 kPa at the
// heel, U = ½·40·1.49 = 29.8 kN/m.
TEST(GroundLoads, TheWaterPushesAndLiftsAsOne) {
    const MapForm f = wallWith(WallType::Upright, {{"waterx", "0"}});
    EXPECT_EQ(f.texts.at("Pw"), "80");
    EXPECT_EQ(f.texts.at("zw"), "1.333333");
    EXPECT_EQ(f.texts.at("u_heel"), "40");
    EXPECT_EQ(f.texts.at("U"), "29.8");
}

// A section that cannot be formed is named, never judged met: under 推定b2 the calculation
// fails naming the size to blame; typed as it stands, every check fails for that reason.
TEST(WallSection, ASectionThatCannotBeFormedIsNamedNotJudged) {
    const struct {
        WallType type;
        Texts texts;
        const char* named;
    } refused[] = {
        {WallType::Upright, {{"Text8", "0.5"}}, "b"},     // the face does not fit on the base
        {WallType::Upright, {{"Text12", "0"}}, "b1"},     // no top
        {WallType::Upright, {{"Text19", "3.8"}}, "h1"},   // the toe block above the toe's wall
        {WallType::Upright, {{"Text2", "70"}}, "alpha0"}, // the base cuts the back away
        {WallType::Shelf, {{"Text24", "-2"}}, "b5"},      // the upper wall's foot follows b5
        {WallType::Shelf, {{"Text25", "2"}}, "Ht"},       // no lower wall
        {WallType::Shelf, {{"Text21", "2"}}, "b3"},       // b3 beyond b1 + b2
    };
    for (const auto& c : refused) {
        Texts texts = c.texts;
        texts.emplace_back("sectionx", "推定b2");
        try {
            wallWith(c.type, texts);
            ADD_FAILURE() << c.named << ": no failure";
        } catch (const FieldError& e) {
            EXPECT_EQ(e.kind(), ErrorKind::InvalidArgument);
            EXPECT_EQ(kGravityWall[e.field()].name, c.named);
            EXPECT_FALSE(e.reason().empty());
        }
        // as typed, the calculation stands and no check is met
        if (c.type == WallType::Upright && std::string_view(c.named) == "b") {
            const MapForm typed = wallWith(c.type, c.texts);
            for (const Judgement& j : judged(c.type, typed)) {
                EXPECT_EQ(j.outcome, Outcome::NotMet);
                EXPECT_FALSE(j.reason.empty());
            }
        }
    }
    // the base's rise follows b, h2 = b·tanα0 = 2·tan11.3° = 0.39964: the same wall as with
    // that h2 and that b2 typed
    MapForm following(kGravityWall);
    following.texts["Text8"] = "2";
    following.texts["sectionx"] = "推定b2";
    CalculationRecord record;
    recordCalculation(following, record, [](Form& f, Trace* t) {
        kGravityWall.calculate(int(WallType::Upright), f, t);
    });
    const double h2 = record.trace.value("h2").value_or(0);
    EXPECT_NEAR(h2, 0.39964, 1e-5);
    const MapForm typed =
        wallWith(WallType::Upright, {{"Text8", "2"},
                                     {"Text20", doubleToText(h2).c_str()},
                                     {"Text22", doubleToText(*record.trace.value("c0")).c_str()}});
    EXPECT_EQ(typed.texts.at("Text16"), following.texts.at("Text16"));
    EXPECT_EQ(typed.texts.at("Text17"), following.texts.at("Text17"));
}

// A cohesive fill that stands alone holds itself: nothing drives or tips the wall, both checks
// are met with no factor, and the base carries the wall's weight alone (pk = G ÷ b).
TEST(GroundLoads, AWallWithNothingToHold) {
    for (const auto& [type, texts] :
         {std::pair{WallType::Upright, Texts{{"Cx", "50"}, {"tensionx", "ignored"}}},
          std::pair{WallType::Shelf, Texts{{"layersx", "2.6 20 30 30"}}}}) {
        const MapForm f = wallWith(type, texts);
        EXPECT_FALSE(f.texts.contains("Text9") && f.texts.at("Text9") != "0");
        const std::vector<Judgement> j = judged(type, f);
        EXPECT_EQ(j[0].outcome, Outcome::Met);
        EXPECT_EQ(j[1].outcome, Outcome::Met);
        EXPECT_NEAR(textToDouble(f.texts.at("pkx")), textToDouble(f.texts.at("Text7")) / 1.49,
                    1e-4);
    }
    // the program's own rule prints its negative factor, and a moment that does not tip is met
    const MapForm counted = wallWith(WallType::Upright, {{"Cx", "50"}});
    EXPECT_LT(textToDouble(counted.texts.at("Text10")), 0);
    EXPECT_EQ(judged(WallType::Upright, counted)[1].outcome, Outcome::Met);
}

// The limits are the engineer's where set: the verdicts hold the factors against them.
TEST(GroundLoads, TheEngineersLimitsHoldTheChecks) {
    const MapForm f =
        wallWith(WallType::Upright, {{"Ksreqx", "20"}, {"Ktreqx", "1.5"}, {"ereqx", "b/10"}});
    const std::vector<Judgement> j = judged(WallType::Upright, f);
    EXPECT_EQ(j[0].outcome, Outcome::NotMet); // Ks = 10.5 < 20
    EXPECT_EQ(j[1].outcome, Outcome::Met);    // Kt = 2.1 ≥ 1.5
    EXPECT_NEAR(j[2].limit, 0.149, 1e-6);     // b/10
    EXPECT_EQ(basisOf(kGravityWall.verdicts[0], j[0]), "设计者指定");
    EXPECT_EQ(judged(WallType::Upright, wallWith(WallType::Upright, {{"ereqx", "0.3"}}))[2].limit,
              0.3);
    // in an earthquake the seismic limits, the engineer's too
    const MapForm shaken = wallWith(WallType::Upright, {{"khx", "0.1"}, {"Ksreqsx", "1.2"}});
    EXPECT_EQ(judged(WallType::Upright, shaken)[0].limit, 1.2);
    for (const auto& [control, text] :
         {std::pair{"Ksreqx", "0"}, {"ereqx", "b/0"}, {"ereqx", "-1"}}) {
        EXPECT_TRUE(FailsWith(ErrorKind::InvalidArgument,
                              [&] {
                                  return wallWith(WallType::Upright, {{control, text}});
                              }))
            << control << " " << text;
    }
}

// An upright wall on a level base, Ht = 4, face 1:0.25 (A = 1), top 0.5, toe block 0.5 × 1:
// areas 0.5, 2 and 2 at heights 0.5, 4/3 and 2, y0 = 6.9166… ÷ 4.5.
TEST(GroundLoads, TheInertiaActsAtTheSectionsCentroid) {
    WallSizes s{};
    s.alpha0 = 0, s.alpha = 90, s.b = 2, s.b1 = 0.5f, s.Ht = 4, s.n = 0.25f, s.h1 = 1, s.b2 = 0.5f;
    s.H = 4;
    EXPECT_NEAR(*sectionCentroidHeight(WallType::Upright, s), (0.25 + 8.0 / 3 + 4) / 4.5, 1e-12);
    s.b = 0.5f; // no room for the face: no wall
    EXPECT_FALSE(sectionCentroidHeight(WallType::Upright, s));
}

// The wall with the ground's inputs: none given (kh 0) is today's calculation to the text; water
// rising behind it lowers both factors, step by step; an earthquake holds them to the seismic
// limits.
TEST(GroundLoads, WaterLowersBothFactorsAndNothingGivenChangesNothing) {
    const auto run = [](std::vector<std::pair<const char*, const char*>> texts) {
        MapForm form(kGravityWall);
        for (const auto& [control, text] : texts) {
            form.texts[control] = text;
        }
        kGravityWall.calculate(int(WallType::Upright), form, nullptr);
        return form;
    };
    const MapForm plain = run({});
    MapForm quiet = run({{"khx", "0"}, {"gwx", "12"}});
    quiet.texts.erase("gwx");
    quiet.texts.erase("khx");
    MapForm defaults = plain;
    defaults.texts.erase("gwx");
    defaults.texts.erase("khx");
    EXPECT_EQ(quiet.texts, defaults.texts);
    double Ks = 1e300, Kt = 1e300;
    for (const char* water : {"2.6", "2", "1", "0"}) {
        const MapForm f = run({{"waterx", water}});
        const double ks = textToDouble(f.texts.at("Text9")),
                     kt = textToDouble(f.texts.at("Text10"));
        EXPECT_LT(ks, Ks) << water;
        EXPECT_LT(kt, Kt) << water;
        Ks = ks, Kt = kt;
    }
    EXPECT_LT(Ks, textToDouble(plain.texts.at("Text9")));
    MapForm seismic = run({{"khx", "0.1"}});
    EXPECT_EQ(seismic.texts.at("Fi"), singleToText(0.1f * textToDouble(plain.texts.at("Text7"))));
    const auto judged = judge(
        kGravityWall, int(WallType::Upright), seismic, WrittenTexts([&](ResultId r) {
            return seismic.texts.at(std::string(
                kGravityWall[r].control.empty() ? kGravityWall[r].name : kGravityWall[r].control));
        }));
    EXPECT_EQ(judged[0].limit, 1.1);
    EXPECT_EQ(judged[1].limit, 1.3);
}

} // namespace
