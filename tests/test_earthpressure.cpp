#include "routines/earthpressure.h"
#include "shell/numerictext.h"

#include "failswith.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using namespace subprogram;

namespace {

struct CoulombCase {
    const char* name;
    double H, gamma, phi, c, q, delta, beta, alpha;
    const char* Ka;
    const char* Ea;
};

class CoulombActive : public testing::TestWithParam<CoulombCase> {};

TEST_P(CoulombActive, WritesTheExpectedTexts) {
    const auto& p = GetParam();
    const auto r = coulombActive(p.H, p.gamma, p.phi, p.c, p.q, p.delta, 45, p.beta, p.alpha);
    EXPECT_EQ(doubleToText(r.Ka), p.Ka);
    EXPECT_EQ(doubleToText(r.Ea), p.Ea);
}

TEST_P(CoulombActive, IgnoresTheSlipSurfaceAngle) {
    const auto& p = GetParam();
    const auto reference =
        coulombActive(p.H, p.gamma, p.phi, p.c, p.q, p.delta, 45, p.beta, p.alpha);
    for (double theta : {-90.0, 0.0, 12.5, 60.0, 1e300}) {
        const auto r =
            coulombActive(p.H, p.gamma, p.phi, p.c, p.q, p.delta, theta, p.beta, p.alpha);
        EXPECT_EQ(r.Ka, reference.Ka) << theta;
        EXPECT_EQ(r.Ea, reference.Ea) << theta;
    }
}

INSTANTIATE_TEST_SUITE_P(Examples, CoulombActive,
                         testing::Values(CoulombCase{"window_defaults", 5, 18, 30, 0, 1.5, 0, 0, 90,
                                                     "0.344444462206344", "77.5000039964273"},
                                         // one third and 75 but for the constant 3.1415926
                                         CoulombCase{"no_surcharge", 5, 18, 30, 0, 0, 0, 0, 90,
                                                     "0.333333350522268", "75.0000038675102"},
                                         CoulombCase{"leaning_back_cohesion_friction", 5, 18, 30,
                                                     10, 1.5, 10, 10, 80, "0.197232452104333",
                                                     "44.3773017234748"},
                                         CoulombCase{"strong_cohesion", 5, 18, 30, 20, 1.5, 0, 0,
                                                     90, "-0.168755774426915", "-37.9700492460558"},
                                         CoulombCase{"sloping_fill", 5, 18, 30, 0, 1.5, 0, 30, 90,
                                                     "0.775000031584667", "174.37500710655"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct CoulombFailure {
    const char* name;
    double H, q, beta, alpha;
    ErrorKind kind;
};

class CoulombActiveFails : public testing::TestWithParam<CoulombFailure> {};

TEST_P(CoulombActiveFails, WithItsKind) {
    const auto& p = GetParam();
    EXPECT_TRUE(
        FailsWith(p.kind, [&] { coulombActive(p.H, 18, 30, 0, p.q, 0, 45, p.beta, p.alpha); }));
}

INSTANTIATE_TEST_SUITE_P(
    Failures, CoulombActiveFails,
    testing::Values(
        CoulombFailure{"fill_steeper_than_friction", 5, 1.5, 40, 90, ErrorKind::InvalidArgument},
        CoulombFailure{"flat_back_sloping_fill", 5, 1.5, 10, 0, ErrorKind::DivisionByZero},
        CoulombFailure{"flat_back_flat_fill", 5, 1.5, 0, 0, ErrorKind::Overflow},
        CoulombFailure{"zero_height", 0, 1.5, 0, 90, ErrorKind::DivisionByZero},
        CoulombFailure{"zero_height_no_surcharge", 0, 0, 0, 90, ErrorKind::Overflow}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CoulombActive, HalfAngleCircleRaisesNothing) {
    // 180 degrees converted with 3.1415926 has a sine of about 5.4E-08, not zero
    EXPECT_NO_THROW(coulombActive(5, 18, 30, 0, 1.5, 0, 45, 10, 170));
}

TEST(CoulombActive, OverflowsBeyondTheDoubleRange) {
    EXPECT_TRUE(FailsWith(ErrorKind::Overflow,
                          [&] { coulombActive(1e200, 1e200, 30, 0, 1.5, 0, 45, 0, 90); }));
}

} // namespace

namespace {

// The tables below give 12 significant digits: compare at exactly that many.
std::string twelveDigits(double value) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.11e", value);
    return buffer;
}

::testing::AssertionResult SameTo12Digits(double actual, const char* expected) {
    const std::string a = twelveDigits(actual);
    const std::string e = twelveDigits(textToDouble(expected));
    if (a == e) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << a << " != " << e;
}

struct AtRestCase {
    const char* name;
    double phi, q, gamma, H;
    const char* K0;
    const char* E0;
};

class AtRestEarthPressure : public testing::TestWithParam<AtRestCase> {};

TEST_P(AtRestEarthPressure, HoldsTo12Digits) {
    const auto& p = GetParam();
    const auto r = atRestEarthPressure(p.phi, p.q, p.gamma, p.H);
    EXPECT_TRUE(SameTo12Digits(r.K0, p.K0));
    EXPECT_TRUE(SameTo12Digits(r.E0, p.E0));
}

INSTANTIATE_TEST_SUITE_P(
    Examples, AtRestEarthPressure,
    testing::Values(AtRestCase{"window_defaults", 30, 1.5, 18, 5, "0.500000007735",
                               "45.7500007078"},
                    AtRestCase{"no_load", 30, 0, 18, 5, "0.500000007735", "45.0000006962"},
                    AtRestCase{"no_friction", 0, 1.5, 18, 5, "1", "91.5"},
                    AtRestCase{"negative_angle", -10, 0, 18, 5, "1.17364817473", "105.628335726"},
                    AtRestCase{"steep", 45, 10, 20, 3, "0.292893228287", "20.5025259801"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AtRestEarthPressure, RightAngleLeavesATinyCoefficient) {
    // sin(90 × 3.1415926 ÷ 180) falls just short of 1
    const auto r = atRestEarthPressure(90, 1.5, 18, 5);
    EXPECT_GT(r.K0, 3.2e-16);
    EXPECT_LT(r.K0, 3.4e-16);
    EXPECT_GT(r.E0, 2.9e-14);
    EXPECT_LT(r.E0, 3.1e-14);
}

TEST(AtRestEarthPressure, OverflowsOnlyBeyondTheDoubleRange) {
    EXPECT_TRUE(FailsWith(ErrorKind::Overflow, [&] { atRestEarthPressure(30, 0, 1e300, 1e300); }));
}

struct LimitedFillCase {
    const char* name;
    double H, gamma, deltaR, c, q, delta, theta, beta, alpha;
    const char* Ka;
    const char* Ea;
};

class LimitedFillEarthPressure : public testing::TestWithParam<LimitedFillCase> {};

TEST_P(LimitedFillEarthPressure, HoldsTo12Digits) {
    const auto& p = GetParam();
    const auto r = limitedFillEarthPressure(p.H, p.gamma, p.deltaR, p.c, p.q, p.delta, p.theta,
                                            p.beta, p.alpha);
    EXPECT_TRUE(SameTo12Digits(r.Ka, p.Ka));
    EXPECT_TRUE(SameTo12Digits(r.Ea, p.Ea));
}

INSTANTIATE_TEST_SUITE_P(
    Examples, LimitedFillEarthPressure,
    testing::Values(LimitedFillCase{"window_defaults", 5, 18, 12, 0, 1.5, 0, 45, 0, 90,
                                    "0.649407602731", "146.116710614"},
                    LimitedFillCase{"load_has_no_effect", 5, 18, 12, 0, 100, 0, 45, 0, 90,
                                    "0.649407602731", "146.116710614"},
                    LimitedFillCase{"sloping_fill", 5, 18, 12, 0, 1.5, 0, 45, 10, 90,
                                    "0.788428893376", "177.39650101"},
                    LimitedFillCase{"leaning_back_cohesion", 5, 18, 12, 10, 1.5, 10, 60, 10, 80,
                                    "0.401871574086", "90.4211041694"},
                    LimitedFillCase{"strong_cohesion", 5, 18, 12, 20, 1.5, 0, 45, 0, 90,
                                    "-0.0836624316352", "-18.8240471179"},
                    LimitedFillCase{"frictionless_face", 5, 18, 0, 0, 0, 0, 45, 0, 90, "1", "225"},
                    LimitedFillCase{"vertical_face", 5, 18, 12, 0, 1.5, 0, 90, 0, 90,
                                    "2.52120093937E-07", "5.67270211359E-05"}),
    [](const auto& info) { return std::string(info.param.name); });

struct LimitedFillFailure {
    const char* name;
    double H, theta, beta, alpha, c;
    ErrorKind kind;
};

class LimitedFillFails : public testing::TestWithParam<LimitedFillFailure> {};

TEST_P(LimitedFillFails, WithItsKind) {
    const auto& p = GetParam();
    EXPECT_TRUE(FailsWith(p.kind, [&] {
        limitedFillEarthPressure(p.H, 18, 12, p.c, 1.5, 0, p.theta, p.beta, p.alpha);
    }));
}

INSTANTIATE_TEST_SUITE_P(
    Failures, LimitedFillFails,
    testing::Values(
        LimitedFillFailure{"face_parallel_to_fill", 5, 0, 0, 90, 0, ErrorKind::DivisionByZero},
        LimitedFillFailure{"face_equals_slope", 5, 20, 20, 90, 0, ErrorKind::DivisionByZero},
        LimitedFillFailure{"flat_back", 5, 45, 0, 0, 0, ErrorKind::DivisionByZero},
        LimitedFillFailure{"zero_height", 0, 45, 0, 90, 0, ErrorKind::Overflow},
        LimitedFillFailure{"zero_height_cohesion", 0, 45, 0, 90, 10, ErrorKind::DivisionByZero}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LimitedFillEarthPressure, SurfaceLoadNeverChangesTheResult) {
    const auto reference = limitedFillEarthPressure(5, 18, 12, 10, 0, 10, 60, 10, 80);
    for (double q : {-50.0, 1.5, 1e6, 1e300}) {
        const auto r = limitedFillEarthPressure(5, 18, 12, 10, q, 10, 60, 10, 80);
        EXPECT_EQ(r.Ka, reference.Ka) << q;
        EXPECT_EQ(r.Ea, reference.Ea) << q;
    }
}

} // namespace
