#include "routines/earthpressure.h"
#include "shell/numerictext.h"

#include <gtest/gtest.h>

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
    try {
        coulombActive(p.H, 18, 30, 0, p.q, 0, 45, p.beta, p.alpha);
        FAIL() << "no failure";
    } catch (const CalcError& e) {
        EXPECT_EQ(e.kind(), p.kind);
    }
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
    try {
        coulombActive(1e200, 1e200, 30, 0, 1.5, 0, 45, 0, 90);
        FAIL();
    } catch (const CalcError& e) {
        EXPECT_EQ(e.kind(), ErrorKind::Overflow);
    }
}

} // namespace
