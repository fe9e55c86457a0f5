#include "calculators/earthpressure.h"

#include "failswith.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>

using namespace subprogram;

namespace {

// The worked tables give 12 significant digits where they do not give the written text.
std::string twelveDigits(double value) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.11e", value);
    return buffer;
}

void expectTexts(double Ka, double Ea, const char* expectedKa, const char* expectedEa,
                 bool twelve) {
    if (twelve) {
        EXPECT_EQ(twelveDigits(Ka), twelveDigits(textToDouble(expectedKa)));
        EXPECT_EQ(twelveDigits(Ea), twelveDigits(textToDouble(expectedEa)));
    } else {
        EXPECT_EQ(doubleToText(Ka), expectedKa);
        EXPECT_EQ(doubleToText(Ea), expectedEa);
    }
}

enum class Routine { Coulomb, LimitedFill };

// H, γ, φ (δr for the limited fill), c, q, δ, θ, β, α.
struct ActiveCase {
    Routine routine;
    double H, gamma, phi, c, q, delta, theta, beta, alpha;
    const char* Ka; // the written text (Coulomb) or 12 digits (limited fill)
    const char* Ea;
    std::optional<ErrorKind> kind = {};
};

class ActivePressures : public testing::TestWithParam<ActiveCase> {};

TEST_P(ActivePressures, GiveTheWorkedValuesOrFailWithTheirKind) {
    const ActiveCase& p = GetParam();
    const auto run = [&] {
        return p.routine == Routine::Coulomb
                   ? coulombActive(p.H, p.gamma, p.phi, p.c, p.q, p.delta, p.theta, p.beta,
                                   p.alpha)
                   : limitedFillEarthPressure(p.H, p.gamma, p.phi, p.c, p.q, p.delta, p.theta,
                                              p.beta, p.alpha);
    };
    if (p.kind) {
        EXPECT_TRUE(FailsWith(*p.kind, run));
        return;
    }
    const ActivePressure r = run();
    expectTexts(r.Ka, r.Ea, p.Ka, p.Ea, p.routine == Routine::LimitedFill);
}

constexpr auto C = Routine::Coulomb;
constexpr auto L = Routine::LimitedFill;
constexpr auto DZ = ErrorKind::DivisionByZero;
constexpr auto OV = ErrorKind::Overflow;

INSTANTIATE_TEST_SUITE_P(
    Examples, ActivePressures,
    testing::Values(
        ActiveCase{C, 5, 18, 30, 0, 1.5, 0, 45, 0, 90, "0.344444462206344", "77.5000039964273"},
        // one third and 75 but for the constant 3.1415926
        ActiveCase{C, 5, 18, 30, 0, 0, 0, 45, 0, 90, "0.333333350522268", "75.0000038675102"},
        ActiveCase{C, 5, 18, 30, 10, 1.5, 10, 12.5, 10, 80, "0.197232452104333",
                   "44.3773017234748"},
        ActiveCase{C, 5, 18, 30, 20, 1.5, 0, 45, 0, 90, "-0.168755774426915",
                   "-37.9700492460558"},
        ActiveCase{C, 5, 18, 30, 0, 1.5, 0, -90, 30, 90, "0.775000031584667", "174.37500710655"},
        ActiveCase{L, 5, 18, 12, 0, 1.5, 0, 45, 0, 90, "0.649407602731", "146.116710614"},
        ActiveCase{L, 5, 18, 12, 0, 100, 0, 45, 0, 90, "0.649407602731", "146.116710614"},
        ActiveCase{L, 5, 18, 12, 0, 1.5, 0, 45, 10, 90, "0.788428893376", "177.39650101"},
        ActiveCase{L, 5, 18, 12, 10, 1.5, 10, 60, 10, 80, "0.401871574086", "90.4211041694"},
        ActiveCase{L, 5, 18, 12, 20, 1.5, 0, 45, 0, 90, "-0.0836624316352", "-18.8240471179"},
        ActiveCase{L, 5, 18, 0, 0, 0, 0, 45, 0, 90, "1", "225"},
        ActiveCase{L, 5, 18, 12, 0, 1.5, 0, 90, 0, 90, "2.52120093937E-07",
                   "5.67270211359E-05"},
        ActiveCase{C, 5, 18, 30, 0, 1.5, 0, 45, 40, 90, "", "", ErrorKind::InvalidArgument},
        ActiveCase{C, 5, 18, 30, 0, 1.5, 0, 45, 10, 0, "", "", DZ},
        ActiveCase{C, 5, 18, 30, 0, 1.5, 0, 45, 0, 0, "", "", OV},
        ActiveCase{C, 0, 18, 30, 0, 1.5, 0, 45, 0, 90, "", "", DZ},
        ActiveCase{C, 0, 18, 30, 0, 0, 0, 45, 0, 90, "", "", OV},
        ActiveCase{C, 1e200, 1e200, 30, 0, 1.5, 0, 45, 0, 90, "", "", OV},
        ActiveCase{L, 5, 18, 12, 0, 1.5, 0, 0, 0, 90, "", "", DZ},
        ActiveCase{L, 5, 18, 12, 0, 1.5, 0, 20, 20, 90, "", "", DZ},
        ActiveCase{L, 5, 18, 12, 0, 1.5, 0, 45, 0, 0, "", "", DZ},
        ActiveCase{L, 0, 18, 12, 0, 1.5, 0, 45, 0, 90, "", "", OV},
        ActiveCase{L, 0, 18, 12, 10, 1.5, 0, 45, 0, 90, "", "", DZ}));

TEST(CoulombActive, AHalfCircleRaisesNothing) {
    // 180 degrees converted with 3.1415926 has a sine of about 5.4E-08, not zero
    EXPECT_NO_THROW(coulombActive(5, 18, 30, 0, 1.5, 0, 45, 10, 170));
}

struct AtRestCase {
    double phi, q, gamma, H;
    const char* K0; // 12 digits
    const char* E0;
};

class AtRestEarthPressure : public testing::TestWithParam<AtRestCase> {};

TEST_P(AtRestEarthPressure, HoldsTo12Digits) {
    const AtRestCase& p = GetParam();
    const AtRestPressure r = atRestEarthPressure(p.phi, p.q, p.gamma, p.H);
    expectTexts(r.K0, r.E0, p.K0, p.E0, true);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, AtRestEarthPressure,
    testing::Values(AtRestCase{30, 1.5, 18, 5, "0.500000007735", "45.7500007078"},
                    AtRestCase{30, 0, 18, 5, "0.500000007735", "45.0000006962"},
                    AtRestCase{0, 1.5, 18, 5, "1", "91.5"},
                    AtRestCase{-10, 0, 18, 5, "1.17364817473", "105.628335726"},
                    AtRestCase{45, 10, 20, 3, "0.292893228287", "20.5025259801"}));

TEST(AtRestEarthPressure, ARightAngleLeavesATinyCoefficientAndOnlyHugeValuesFail) {
    const AtRestPressure r = atRestEarthPressure(90, 1.5, 18, 5); // sin falls short of 1
    EXPECT_NEAR(r.K0, 3.3e-16, 0.1e-16);
    EXPECT_NEAR(r.E0, 3.0e-14, 0.1e-14);
    EXPECT_TRUE(FailsWith(OV, [] { atRestEarthPressure(30, 0, 1e300, 1e300); }));
}

} // namespace
