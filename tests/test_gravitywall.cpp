#include "routines/gravitywall.h"
#include "shell/numerictext.h"

#include "failswith.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

using namespace subprogram;

namespace {

using Texts = std::vector<std::pair<const char*, const char*>>;

// Each named value of the trace, as singleToText writes it.
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

TEST(UprightWallWeight, DefaultWall) {
    Trace trace;
    const WallWeight w = uprightWallWeight(n, Ht, h1, alpha0, b1, b2, gammaW, b, &trace);
    EXPECT_EQ(singleToText(w.G), "118.8367");
    EXPECT_EQ(singleToText(w.x0), "0.9329683");
    expectTrace(trace, {{"r0", "0.1972222"},
                        {"A", "0.1930755"},
                        {"B", "3.90009"},
                        {"W1", "9.036142"},
                        {"W2", "47.40054"},
                        {"W3", "62.4"},
                        {"L3", "0.7"},
                        {"m1", "0.128717"},
                        {"m2", "0.2510539"},
                        {"c0", "0.7969245"}});
}

TEST(ShelfWallWeight, DefaultWall) {
    Trace trace;
    const WallWeight w =
        shelfWallWeight(n, x2, x3, h1, Ht, h4, b1, b2, b3, b4, b5, b, gammaW, &trace);
    EXPECT_EQ(singleToText(w.G), "112.212");
    EXPECT_EQ(singleToText(w.x0), "1.011601");
    expectTrace(trace, {{"A1", "0.1"},
                        {"L1", "1.084167"},
                        {"A2", "1"},
                        {"L2", "0.8175"},
                        {"A3", "0.7"},
                        {"L3", "1.350833"},
                        {"A4", "1.3905"},
                        {"L4", "0.99875"},
                        {"A5", "0.51975"},
                        {"L5", "1.448333"},
                        {"A6", "0.9685"},
                        {"L6", "0.745"},
                        {"A7", "-0.003250016"},
                        {"L7", "1.485"},
                        {"A", "4.6755"}});
}

TEST(WallWeight, DoublingTheUnitWeightDoublesGAndKeepsX0) {
    const WallWeight u1 = uprightWallWeight(n, Ht, h1, alpha0, b1, b2, gammaW, b);
    const WallWeight u2 = uprightWallWeight(n, Ht, h1, alpha0, b1, b2, 2 * gammaW, b);
    EXPECT_EQ(u2.G, 2 * u1.G);
    EXPECT_EQ(u2.x0, u1.x0);
    const WallWeight s1 = shelfWallWeight(n, x2, x3, h1, Ht, h4, b1, b2, b3, b4, b5, b, gammaW);
    const WallWeight s2 = shelfWallWeight(n, x2, x3, h1, Ht, h4, b1, b2, b3, b4, b5, b, 2 * gammaW);
    EXPECT_EQ(s2.G, 2 * s1.G);
    EXPECT_EQ(s2.x0, s1.x0);
}

TEST(ShelfWallWeight, AcceptsAnUprightFaceAndAWeightlessWall) {
    const WallWeight noBatter =
        shelfWallWeight(0, x2, x3, h1, Ht, h4, b1, b2, b3, b4, b5, b, gammaW);
    EXPECT_GT(noBatter.G, 0);
    const WallWeight weightless = shelfWallWeight(n, x2, x3, h1, Ht, h4, b1, b2, b3, b4, b5, b, 0);
    const WallWeight reference =
        shelfWallWeight(n, x2, x3, h1, Ht, h4, b1, b2, b3, b4, b5, b, gammaW);
    EXPECT_EQ(weightless.G, 0);
    EXPECT_EQ(weightless.x0, reference.x0);
}

struct WallFailure {
    const char* name;
    std::function<void()> call;
    ErrorKind kind;
};

class WallRoutinesFail : public testing::TestWithParam<WallFailure> {};

TEST_P(WallRoutinesFail, WithItsKind) {
    EXPECT_TRUE(FailsWith(GetParam().kind, [] { GetParam().call(); }));
}

INSTANTIATE_TEST_SUITE_P(
    Failures, WallRoutinesFail,
    testing::Values(
        WallFailure{"upright_no_batter",
                    [] { uprightWallWeight(0, Ht, h1, alpha0, b1, b2, gammaW, b); },
                    ErrorKind::DivisionByZero},
        WallFailure{"upright_weightless",
                    [] { uprightWallWeight(n, Ht, h1, alpha0, b1, b2, 0, b); },
                    ErrorKind::Overflow},
        WallFailure{"shelf_no_lower_wall",
                    [] { shelfWallWeight(n, x2, x3, h1, 4, 2, b1, b2, b3, b4, b5, b, gammaW); },
                    ErrorKind::Overflow},
        WallFailure{
            "shelf_empty_back_wedge",
            [] { shelfWallWeight(n, x2, x3, h1, Ht, h4, 0.5f, 0.53f, 1.03f, b4, b5, b, gammaW); },
            ErrorKind::Overflow}, // b1 + b2 = b3: both A5 and M5 are zero
        WallFailure{"upright_beyond_single_range",
                    [] { uprightWallWeight(n, 3e38f, h1, alpha0, b1, b2, 1e30f, b); },
                    ErrorKind::Overflow},
        WallFailure{"sliding_nothing_pushes", [] { antiSlidingFactor(0, 0, 0, 90, 0, 0.5f); },
                    ErrorKind::Overflow},
        WallFailure{"overturning_back_equals_friction",
                    [] { antiOverturningFactor(100, 30, 0, 1, 30, 30, 2, 1); },
                    ErrorKind::DivisionByZero},
        WallFailure{"overturning_flat_back",
                    [] { antiOverturningFactor(100, 30, 0, 1, 0, 0, 2, 1); },
                    ErrorKind::DivisionByZero},
        WallFailure{"base_nothing_bears", [] { baseStress(0, 3, 3, 0, 1, 0, 90, 0, 2); },
                    ErrorKind::Overflow},
        WallFailure{"base_zero_width", [] { baseStress(100, 3, 3, 0, 1, 0, 90, 30, 0); },
                    ErrorKind::DivisionByZero}),
    [](const auto& info) { return std::string(info.param.name); });

struct StabilityCase {
    const char* name;
    std::function<float()> call;
    const char* text;
};

class StabilityFactors : public testing::TestWithParam<StabilityCase> {};

TEST_P(StabilityFactors, WriteTheExpectedText) {
    EXPECT_EQ(singleToText(GetParam().call()), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, StabilityFactors,
    testing::Values(
        StabilityCase{"sliding_simple", [] { return antiSlidingFactor(100, 30, 0, 90, 0, 0.5f); },
                      "1.666667"},
        StabilityCase{"overturning_simple",
                      [] { return antiOverturningFactor(100, 30, 0, 1, 90, 0, 2, 1); }, "3.333333"},
        StabilityCase{"sliding_default_wall",
                      [] { return antiSlidingFactor(118.8367f, 28.8724f, 11.3f, 90, 10, 0.3f); },
                      "10.54242"},
        StabilityCase{"overturning_default_wall",
                      [] {
                          return antiOverturningFactor(118.8367f, 28.8724f, 11.3f, 2.266667f, 90,
                                                       10, 1.49f, 0.9329683f);
                      },
                      "2.11383"},
        StabilityCase{"sliding_no_wall",
                      [] { return antiSlidingFactor(0, 28.8724f, 11.3f, 90, 10, 0.3f); },
                      "0.1169651"},
        StabilityCase{
            "overturning_no_wall",
            [] { return antiOverturningFactor(0, 28.8724f, 11.3f, 2.266667f, 90, 10, 1.49f, 0); },
            "0.1334362"}),
    [](const auto& info) { return std::string(info.param.name); });

struct BaseCase {
    const char* name;
    float G, H, Ht, h2, x0, delta, alpha, Ea, b;
    Texts trace; // zE, N, c, e, pmax, pmin as written
};

class BaseStressCases : public testing::TestWithParam<BaseCase> {};

TEST_P(BaseStressCases, WriteTheExpectedTexts) {
    const auto& c = GetParam();
    Trace trace;
    const BaseStress r =
        baseStress(c.G, c.H, c.Ht, c.h2, c.x0, c.delta, c.alpha, c.Ea, c.b, &trace);
    expectTrace(trace, c.trace);
    // the results are the values the trace shows
    EXPECT_EQ(r.pmax, *trace.value("pmax"));
    EXPECT_EQ(r.pmin, *trace.value("pmin"));
    EXPECT_EQ(r.e, *trace.value("e"));
}

INSTANTIATE_TEST_SUITE_P(
    Examples, BaseStressCases,
    testing::Values(BaseCase{"middle_third",
                             100,
                             3,
                             3,
                             0,
                             1,
                             0,
                             90,
                             30,
                             2,
                             {{"zE", "1"},
                              {"N", "99.99996"},
                              {"c", "0.6999995"},
                              {"e", "0.3000005"},
                              {"pmax", "95.00004"},
                              {"pmin", "4.999925"}}},
                    BaseCase{"beyond_middle_third",
                             100,
                             3,
                             3,
                             0,
                             0.5f,
                             0,
                             90,
                             30,
                             2,
                             {{"e", "0.8000007"}, {"pmax", "333.3343"}, {"pmin", "0"}}},
                    BaseCase{"behind_the_middle",
                             100,
                             3,
                             3,
                             0,
                             1.5f,
                             0,
                             90,
                             30,
                             2,
                             {{"e", "-0.1999997"}, {"pmax", "20.00004"}, {"pmin", "79.99992"}}},
                    BaseCase{"default_wall",
                             118.8367f,
                             2.6f,
                             4,
                             0.298f,
                             0.9329683f,
                             10,
                             90,
                             28.8724f,
                             1.49f,
                             {{"zE", "1.968667"},
                              {"N", "123.8503"},
                              {"c", "0.5035477"},
                              {"e", "0.2414523"},
                              {"pmax", "163.9388"},
                              {"pmin", "2.303177"}}},
                    BaseCase{"no_wall",
                             0,
                             2.6f,
                             4,
                             0.298f,
                             0,
                             10,
                             90,
                             28.8724f,
                             1.49f,
                             {{"N", "5.013604"},
                              {"c", "-9.674945"},
                              {"e", "10.41994"},
                              {"pmax", "-0.34547"},
                              {"pmin", "0"}}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
