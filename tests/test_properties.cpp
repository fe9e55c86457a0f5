#include "routines/beam.h"
#include "routines/earthpressure.h"
#include "routines/gravitywall.h"
#include "shell/numerictext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

using namespace subprogram;

// Properties that any fault in the conversions or routines would break, checked on random
// inputs from fixed seeds so that every run sees the same cases.
namespace {

class Random {
  public:
    explicit Random(std::uint64_t seed) : engine_(seed) {}
    double real(double low, double high) {
        return std::uniform_real_distribution<>(low, high)(engine_);
    }
    int integer(int low, int high) { return std::uniform_int_distribution<>(low, high)(engine_); }
    bool coin() { return integer(0, 1) == 1; }

  private:
    std::mt19937_64 engine_;
};

constexpr int kCases = 2000;

TEST(Properties, WrittenDoublesReadBackTo15Digits) {
    Random random(1);
    for (int i = 0; i < kCases; ++i) {
        const double x = (random.coin() ? -1 : 1) * random.real(1, 10) *
                         std::pow(10.0, random.integer(-300, 300));
        const std::string text = doubleToText(x);
        const double back = textToDouble(text);
        EXPECT_EQ(doubleToText(back), text) << x;
        EXPECT_LE(std::fabs(back - x), std::fabs(x) * 5e-15) << text;
    }
}

// A random unsigned number text the fields accept: digits with thousands separators anywhere
// between them, a fraction, an exponent.
std::string randomNumberText(Random& random) {
    std::string text;
    const int whole = random.integer(0, 6);
    for (int d = 0; d < whole; ++d) {
        text += static_cast<char>('0' + random.integer(0, 9));
        if (d + 1 < whole && random.integer(0, 3) == 0) {
            text += ',';
        }
    }
    if (whole == 0 || random.coin()) {
        text += '.';
        const int fraction = random.integer(whole == 0 ? 1 : 0, 5);
        for (int d = 0; d < fraction; ++d) {
            text += static_cast<char>('0' + random.integer(0, 9));
        }
    }
    if (random.integer(0, 3) == 0) {
        text += random.coin() ? "E" : "e";
        text += random.coin() ? "-" : "";
        text += std::to_string(random.integer(0, 30));
    }
    return text;
}

TEST(Properties, AcceptedTextsTakeSpacesAndATrailingMinus) {
    Random random(2);
    for (int i = 0; i < kCases; ++i) {
        const std::string text = randomNumberText(random);
        const double value = textToDouble(text);
        EXPECT_EQ(textToDouble("  " + text + " "), value) << text;
        EXPECT_EQ(textToDouble(text + "-"), -value) << text;
        EXPECT_EQ(textToDouble("(" + text + ")"), -value) << text;
    }
}

struct Soil {
    double H, gamma, phi, c, q, delta, beta, alpha;
};

Soil randomSoil(Random& random) {
    Soil s;
    s.H = random.real(0.5, 20);
    s.gamma = random.real(15, 25);
    s.phi = random.real(15, 45);
    s.c = random.real(0, 30);
    s.q = random.real(0, 50);
    s.delta = random.real(0, s.phi / 2);
    s.beta = random.real(0, s.phi - 5);
    s.alpha = random.real(70, 110);
    return s;
}

TEST(Properties, TheResultantIsHalfGammaHSquaredKa) {
    Random random(3);
    for (int i = 0; i < kCases; ++i) {
        const Soil s = randomSoil(random);
        const double theta = random.real(10, 80);
        const auto coulomb =
            coulombActive(s.H, s.gamma, s.phi, s.c, s.q, s.delta, theta, s.beta, s.alpha);
        const double expected = 0.5 * s.gamma * s.H * s.H * coulomb.Ka;
        EXPECT_NEAR(coulomb.Ea, expected, 1e-12 * std::max(1.0, std::fabs(expected)));
        const auto fill = limitedFillEarthPressure(s.H, s.gamma, 12, s.c, s.q, s.delta, theta + 5,
                                                   s.beta, s.alpha);
        const double expectedFill = 0.5 * s.gamma * s.H * s.H * fill.Ka;
        EXPECT_NEAR(fill.Ea, expectedFill, 1e-12 * std::max(1.0, std::fabs(expectedFill)));
    }
}

TEST(Properties, TheSlipAngleNeverChangesCoulombNorTheLoadTheLimitedFill) {
    Random random(4);
    for (int i = 0; i < kCases; ++i) {
        const Soil s = randomSoil(random);
        const auto a = coulombActive(s.H, s.gamma, s.phi, s.c, s.q, s.delta, random.real(-360, 360),
                                     s.beta, s.alpha);
        const auto b = coulombActive(s.H, s.gamma, s.phi, s.c, s.q, s.delta, random.real(-360, 360),
                                     s.beta, s.alpha);
        EXPECT_EQ(a.Ka, b.Ka);
        EXPECT_EQ(a.Ea, b.Ea);
        const double theta = random.real(s.beta + 5, 89);
        const auto f = limitedFillEarthPressure(s.H, s.gamma, 12, s.c, random.real(0, 1e6), s.delta,
                                                theta, s.beta, s.alpha);
        const auto g = limitedFillEarthPressure(s.H, s.gamma, 12, s.c, random.real(0, 1e6), s.delta,
                                                theta, s.beta, s.alpha);
        EXPECT_EQ(f.Ka, g.Ka);
        EXPECT_EQ(f.Ea, g.Ea);
    }
}

TEST(Properties, DoublingTheWallsUnitWeightDoublesGAndKeepsX0) {
    Random random(5);
    for (int i = 0; i < kCases; ++i) {
        const float n = random.real(0.02, 0.4), Ht = random.real(2, 10);
        const float h1 = random.real(0.3, 0.45) * Ht, h4 = random.real(0.05, 0.15) * Ht;
        const float alpha0 = random.real(0, 15), b1 = random.real(0.3, 1.5);
        const float b2 = random.real(0.5, 2), b3 = random.real(0.5, 1.5),
                    b4 = random.real(0.1, 0.6);
        const float b5 = random.real(0.3, 1), b = random.real(1, 4), x2 = random.real(0.1, 0.5);
        const float x3 = random.real(0.1, 0.5);
        const float gammaW = static_cast<float>(random.integer(18, 26));
        const WallWeight u1 = uprightWallWeight(n, Ht, h1, alpha0, b1, b2, gammaW, b);
        const WallWeight u2 = uprightWallWeight(n, Ht, h1, alpha0, b1, b2, 2 * gammaW, b);
        EXPECT_EQ(u2.G, 2 * u1.G);
        EXPECT_EQ(u2.x0, u1.x0);
        const WallWeight s1 = shelfWallWeight(n, x2, x3, h1, Ht, h4, b1, b2, b3, b4, b5, b, gammaW);
        const WallWeight s2 =
            shelfWallWeight(n, x2, x3, h1, Ht, h4, b1, b2, b3, b4, b5, b, 2 * gammaW);
        EXPECT_EQ(s2.G, 2 * s1.G);
        EXPECT_EQ(s2.x0, s1.x0);
    }
}

TEST(Properties, AFreeEndIsAHingedEnd) {
    Random random(6);
    for (int i = 0; i < kCases / 10; ++i) {
        std::vector<double> lengths(random.integer(1, 12));
        for (double& L : lengths) {
            L = random.real(0.5, 6);
        }
        const double q = random.real(1, 100), b = random.real(150, 400), h = random.real(200, 800);
        const EndCondition other = random.coin() ? EndCondition::Fixed : EndCondition::Hinged;
        const auto hinged =
            solveContinuousBeam(lengths, b, h, q, 25500, EndCondition::Hinged, other);
        const auto freeEnd =
            solveContinuousBeam(lengths, b, h, q, 25500, EndCondition::Free, other);
        for (std::size_t s = 0; s < lengths.size(); ++s) {
            EXPECT_EQ(freeEnd[s].upper, hinged[s].upper);
            EXPECT_EQ(freeEnd[s].lower, hinged[s].lower);
        }
    }
}

TEST(Properties, TwoEqualSpansCarryQL2Over8) {
    Random random(7);
    for (int i = 0; i < kCases; ++i) {
        const double L = random.real(0.2, 12), q = random.real(0.1, 500);
        const auto m =
            solveContinuousBeam({L, L}, random.real(150, 400), random.real(200, 800), q,
                                modulusForGrade("C30"), EndCondition::Hinged, EndCondition::Hinged);
        const double expected = q * L * L / 8;
        EXPECT_NEAR(m[0].lower, expected, 1e-11 * expected) << L << ' ' << q;
        EXPECT_NEAR(m[1].upper, -expected, 1e-11 * expected) << L << ' ' << q;
    }
}

} // namespace
