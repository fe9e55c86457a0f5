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

enum class Routine { Coulomb, LimitedFill, AtRest };

// H, γ, φ (δr for the limited fill), c, q, δ, θ, β, α; the at-rest routine takes φ, q, γ, H.
struct Case {
    Routine routine;
    double H, gamma, phi, c, q, delta, theta, beta, alpha;
    const char* Ka; // Ka or K0: the written text (Coulomb) or 12 digits (the others)
    const char* Ea; // Ea or E0
    std::optional<ErrorKind> kind = {};
};

class EarthPressures : public testing::TestWithParam<Case> {};

TEST_P(EarthPressures, GiveTheWorkedValuesOrFailWithTheirKind) {
    const Case& p = GetParam();
    const auto run = [&] {
        if (p.routine == Routine::AtRest) {
            const AtRestPressure r = atRestEarthPressure(p.phi, p.q, p.gamma, p.H);
            return ActivePressure{r.K0, r.E0};
        }
        return p.routine == Routine::Coulomb
                   ? coulombActive(p.H, p.gamma, p.phi, p.c, p.q, p.delta, p.theta, p.beta, p.alpha)
                   : limitedFillEarthPressure(p.H, p.gamma, p.phi, p.c, p.q, p.delta, p.theta,
                                              p.beta, p.alpha);
    };
    if (p.kind) {
        EXPECT_TRUE(FailsWith(*p.kind, run));
        return;
    }
    const ActivePressure r = run();
    expectTexts(r.Ka, r.Ea, p.Ka, p.Ea, p.routine != Routine::Coulomb);
}

constexpr auto C = Routine::Coulomb;
constexpr auto L = Routine::LimitedFill;
constexpr auto R = Routine::AtRest;
constexpr auto DZ = ErrorKind::DivisionByZero;
constexpr auto OV = ErrorKind::Overflow;

INSTANTIATE_TEST_SUITE_P(
    Examples, EarthPressures,
    testing::Values(
        Case{C, 5, 18, 30, 0, 1.5, 0, 45, 0, 90, "0.344444462206344", "77.5000039964273"},
        // one third and 75 but for the constant 3.1415926
        Case{C, 5, 18, 30, 0, 0, 0, 45, 0, 90, "0.333333350522268", "75.0000038675102"},
        Case{C, 5, 18, 30, 10, 1.5, 10, 12.5, 10, 80, "0.197232452104333", "44.3773017234748"},
        Case{C, 5, 18, 30, 20, 1.5, 0, 45, 0, 90, "-0.168755774426915", "-37.9700492460558"},
        Case{C, 5, 18, 30, 0, 1.5, 0, -90, 30, 90, "0.775000031584667", "174.37500710655"},
        Case{L, 5, 18, 12, 0, 1.5, 0, 45, 0, 90, "0.649407602731", "146.116710614"},
        Case{L, 5, 18, 12, 0, 100, 0, 45, 0, 90, "0.649407602731", "146.116710614"},
        Case{L, 5, 18, 12, 0, 1.5, 0, 45, 10, 90, "0.788428893376", "177.39650101"},
        Case{L, 5, 18, 12, 10, 1.5, 10, 60, 10, 80, "0.401871574086", "90.4211041694"},
        Case{L, 5, 18, 12, 20, 1.5, 0, 45, 0, 90, "-0.0836624316352", "-18.8240471179"},
        Case{L, 5, 18, 0, 0, 0, 0, 45, 0, 90, "1", "225"},
        Case{L, 5, 18, 12, 0, 1.5, 0, 90, 0, 90, "2.52120093937E-07", "5.67270211359E-05"},
        Case{C, 5, 18, 30, 0, 1.5, 0, 45, 40, 90, "", "", ErrorKind::InvalidArgument},
        Case{C, 5, 18, 30, 0, 1.5, 0, 45, 10, 0, "", "", DZ},
        Case{C, 5, 18, 30, 0, 1.5, 0, 45, 0, 0, "", "", OV},
        Case{C, 0, 18, 30, 0, 1.5, 0, 45, 0, 90, "", "", DZ},
        Case{C, 0, 18, 30, 0, 0, 0, 45, 0, 90, "", "", OV},
        Case{C, 1e200, 1e200, 30, 0, 1.5, 0, 45, 0, 90, "", "", OV},
        Case{L, 5, 18, 12, 0, 1.5, 0, 0, 0, 90, "", "", DZ},
        Case{L, 5, 18, 12, 0, 1.5, 0, 20, 20, 90, "", "", DZ},
        Case{L, 5, 18, 12, 0, 1.5, 0, 45, 0, 0, "", "", DZ},
        Case{L, 0, 18, 12, 0, 1.5, 0, 45, 0, 90, "", "", OV},
        Case{L, 0, 18, 12, 10, 1.5, 0, 45, 0, 90, "", "", DZ},
        Case{R, 5, 18, 30, 0, 1.5, 0, 0, 0, 0, "0.500000007735", "45.7500007078"},
        Case{R, 5, 18, 30, 0, 0, 0, 0, 0, 0, "0.500000007735", "45.0000006962"},
        Case{R, 5, 18, 0, 0, 1.5, 0, 0, 0, 0, "1", "91.5"},
        Case{R, 5, 18, -10, 0, 0, 0, 0, 0, 0, "1.17364817473", "105.628335726"},
        Case{R, 3, 20, 45, 0, 10, 0, 0, 0, 0, "0.292893228287", "20.5025259801"},
        Case{R, 1e300, 1e300, 30, 0, 0, 0, 0, 0, 0, "", "", OV}));

TEST(CoulombActive, AHalfCircleRaisesNothing) {
    // 180 degrees converted with 3.1415926 has a sine of about 5.4E-08, not zero
    EXPECT_NO_THROW(coulombActive(5, 18, 30, 0, 1.5, 0, 45, 10, 170));
}

TEST(AtRestEarthPressure, ARightAngleLeavesATinyCoefficient) {
    const AtRestPressure r = atRestEarthPressure(90, 1.5, 18, 5); // sin falls short of 1
    EXPECT_NEAR(r.K0, 3.3e-16, 0.1e-16);
    EXPECT_NEAR(r.E0, 3.0e-14, 0.1e-14);
}

} // namespace
