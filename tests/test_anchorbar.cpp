#include "calculators/anchorbar.h"

#include "failswith.h"
#include "mapform.h"

#include <gtest/gtest.h>

#include <numbers>

#include <optional>
#include <tuple>
#include <utility>

using namespace subprogram;

namespace {

// The anchor window's defaults but for the parameters a case changes.
struct AnchorCase {
    double a;
    bool permanent;
    const char* Na;
    const char* As; // mm²
    const char* la; // metres
    const char* lb; // metres
    std::int16_t n = 3;
    double D = 140, Htk = 10, fy = 310, frb = 180, fb = 2700, d = 22;
    std::optional<ErrorKind> kind = {};
};

class AnchorBarDesign : public testing::TestWithParam<AnchorCase> {};

TEST_P(AnchorBarDesign, GivesTheWorkedTextsOrFailsWithItsKind) {
    const AnchorCase& c = GetParam();
    const auto run = [&] {
        return anchorBarDesign(c.n, c.D, c.Htk, c.a, c.fy, c.permanent, 1.1, c.frb, c.fb, c.d);
    };
    if (c.kind) {
        EXPECT_TRUE(FailsWith(*c.kind, run));
        return;
    }
    const AnchorBar r = run();
    for (const auto& [value, text] :
         {std::pair{r.Na, c.Na}, {r.As, c.As}, {r.la, c.la}, {r.lb, c.lb}}) {
        if (text) { // a case may check only the value its closed form gives
            EXPECT_EQ(doubleToText(value), text);
        }
    }
}

constexpr auto DZ = ErrorKind::DivisionByZero;

INSTANTIATE_TEST_SUITE_P(
    Examples, AnchorBarDesign,
    testing::Values(
        AnchorCase{0, true, "12.5", "64.2823749415615", "0.126313449053005", "0.0409349140449553"},
        AnchorCase{0, false, "12.5", "48.2117812061711", "0.094972518084966", "0.034112428370796"},
        AnchorCase{30, true, "14.4337566553104", "74.2268925705536", "0.145854206873921",
                   "0.0472675670424745"},
        // cos(90 × 3.1415926 ÷ 180) is about 2.68E-08, not zero
        AnchorCase{90, true, "466506745.429435", "2399052921.797", "4714086.08173472",
                   "1527713.08204366"},
        // la = Htk ÷ (π·D·frb) with D in metres: 1 m for a body of 1000 mm
        AnchorCase{0, true, "3.92699075", nullptr, "1", nullptr, 3, 1000, 3.1415926, 310, 1},
        AnchorCase{0, true, {}, {}, {}, {}, 3, 140, 10, 0, 180, 2700, 22, DZ},
        AnchorCase{0, true, {}, {}, {}, {}, 3, 0, 10, 310, 180, 2700, 22, DZ},
        AnchorCase{0, true, {}, {}, {}, {}, 3, 140, 10, 310, 0, 2700, 22, DZ},
        AnchorCase{0, true, {}, {}, {}, {}, 3, 140, 10, 310, 180, 2700, 0, DZ},
        AnchorCase{0, true, {}, {}, {}, {}, 3, 140, 10, 310, 180, 0, 22, DZ},
        AnchorCase{0, true, {}, {}, {}, {}, 0, 140, 10, 310, 180, 2700, 22, DZ},
        AnchorCase{0, true, {}, {}, {}, {}, 3, 140, 10, 1e-320, 180, 2700, 22, ErrorKind::Overflow},
        // zero tension over zero strength is an invalid operation
        AnchorCase{0, true, {}, {}, {}, {}, 3, 140, 0, 0, 180, 2700, 22, ErrorKind::Overflow}));

// The bars provided, n·π·d²/4 with π as 3.1415926, whatever the anchor carries.
TEST(BarSection, IsTheAreaOfNBarsOfDiameterD) {
    for (const auto& [n, d, provided] : {std::tuple{std::int16_t(3), 22.0, "1140.3981138"},
                                         {std::int16_t(1), 20.0, "314.15926"},
                                         {std::int16_t(4), 32.0, "3216.9908224"}}) {
        EXPECT_EQ(doubleToText(barSection(n, d)), provided) << n << " bars of " << d;
    }
}

} // namespace

namespace {

// The program's default factors, Kb on the tendon and K on the anchorage, by the slope's grade;
// a permanent anchor of a 三级 slope takes Kb = 2.0, the safe side of the code's two readings.
TEST(AnchorSafetyFactors, AreTheProgramsDefaults) {
    constexpr AnchorKind P = AnchorKind::Permanent, T = AnchorKind::Temporary;
    for (const auto& [grade, kind, Kb, K] : {std::tuple{SlopeGrade::First, P, 2.2, 2.6},
                                             {SlopeGrade::First, T, 1.8, 2.0},
                                             {SlopeGrade::Second, P, 2.0, 2.4},
                                             {SlopeGrade::Second, T, 1.6, 1.8},
                                             {SlopeGrade::Third, P, 2.0, 2.2},
                                             {SlopeGrade::Third, T, 1.4, 1.6}}) {
        const AnchorSafetyFactors f = anchorSafetyFactors(grade, kind);
        EXPECT_EQ(f.Kb, Kb) << int(grade) << (kind == P ? " permanent" : " temporary");
        EXPECT_EQ(f.K, K) << int(grade) << (kind == P ? " permanent" : " temporary");
    }
}

TEST(AnchorBarDesign2013, GivesTheHandAndThePublishedResults) {
    // By hand: a temporary anchor of a 三级 slope (Kb = 1.4, K = 1.6), Nak = 200 kN level:
    // As = 1.4 × 200 ÷ 280 = 1 kN·mm²/N = 1000 mm²; la = 1.6 × 200 ÷ (π × 0.1 × 400) = 8/π;
    // lb = 1.6 × 200 ÷ (4 × π × 0.025 × 2000) = 1.6/π, π itself.
    const AnchorBar r = anchorBarDesign2013(4, 100, 200, 0, 280, {1.4, 1.6}, 400, 2000, 25);
    EXPECT_EQ(doubleToText(r.As), "1000");
    EXPECT_EQ(doubleToText(r.la), doubleToText(8 / std::numbers::pi));
    EXPECT_EQ(doubleToText(r.lb), doubleToText(1.6 / std::numbers::pi));
    EXPECT_EQ(doubleToText(r.Na), "250"); // listed as always, 1.25·Nak

    // 注册岩土工程师 专业案例 (GB 50330-2013 8.2 节; kaotiyun.com/show/s8Mf777K): a permanent
    // anchor of a 二级 slope, K = 2.4 by 表8.2.3-1, Htk = 2 × 2.2 × 18 = 79.2 kN at 15°,
    // D = 130 mm, frbk = 60 kPa: la = 8.04 m in the solution's rounding.
    const AnchorSafetyFactors f = anchorSafetyFactors(SlopeGrade::Second, AnchorKind::Permanent);
    EXPECT_NEAR(anchorBarDesign2013(3, 130, 79.2, 15, 360, f, 60, 2400, 25).la, 8.04, 0.01);
}

// By the 2013 method the factors are the engineer's where set, and the inputs are held to their
// physical range, naming the field; by the working-condition factors every input enters the
// formulas as typed, as it always has.
TEST(AnchorBarDesign2013, TakesTheEngineersFactorsAndRefusesTheImpossible) {
    MapForm set(kAnchorBar);
    set.texts["editionx"] = "2013";
    set.texts["Kbreqx"] = "3";
    set.texts["Kreqx"] = "2.5";
    calculateAnchorBar(AnchorKind::Permanent, set);
    EXPECT_EQ(set.texts.at("Kb"), "3");
    EXPECT_EQ(set.texts.at("K"), "2.5");
    // As = Kb·Nak ÷ fy = 3 × 10 ÷ 310 kN·mm²/N
    EXPECT_EQ(set.texts.at("Text6"), "96.7741935483871");
    for (const auto& [control, text, named] : {std::tuple{"Text10", "0", "D"},
                                               {"Text11", "-22", "d"},
                                               {"Text1", "90", "a"},
                                               {"Text2", "-10", "Htk"},
                                               {"Text3", "0", "fy"},
                                               {"Kbreqx", "0", "Kb_req"}}) {
        MapForm form(kAnchorBar);
        form.texts["editionx"] = "2013";
        form.texts[control] = text;
        try {
            calculateAnchorBar(AnchorKind::Permanent, form);
            ADD_FAILURE() << control << " " << text << ": no failure";
        } catch (const FieldError& e) {
            EXPECT_EQ(kAnchorBar[e.field()].name, named);
            EXPECT_FALSE(e.reason().empty());
        }
    }
    MapForm classic(kAnchorBar);
    classic.texts["Text10"] = "0";
    EXPECT_TRUE(FailsWith(ErrorKind::DivisionByZero,
                          [&] { calculateAnchorBar(AnchorKind::Permanent, classic); }));
}

// GB 50330-2013 第8.4.1条: a rock anchor's bonded length from 3 m to the lesser of 45D and 6.5 m;
// a soil anchor's from 4 m to 10 m, which the window's anchor takes when told it is one.
TEST(GreatestBondedLength, IsTheLesserOf45DAnd6Point5Metres) {
    const auto rock = AnchorGround::Rock, soil = AnchorGround::Soil;
    EXPECT_DOUBLE_EQ(greatestBondedLength(rock, 100), 4.5);
    EXPECT_DOUBLE_EQ(greatestBondedLength(rock, 140), 6.3);
    EXPECT_DOUBLE_EQ(greatestBondedLength(rock, 150), 6.5);
    EXPECT_DOUBLE_EQ(greatestBondedLength(soil, 150), 10);
    MapForm anchor(kAnchorBar);
    anchor.texts["kindx"] = "土层锚杆";
    anchor.texts["Text2"] = "600"; // la = 7.58 m: beyond a rock anchor's 6.3 m, within a soil one's
    calculateAnchorBar(AnchorKind::Permanent, anchor);
    EXPECT_EQ(anchor.texts.at("l_design"), anchor.texts.at("Text7"));
    anchor.texts["Text2"] = "10";
    calculateAnchorBar(AnchorKind::Permanent, anchor);
    EXPECT_EQ(anchor.texts.at("l_design"), "4");
}

} // namespace
