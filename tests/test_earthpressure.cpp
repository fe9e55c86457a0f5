#include "calculators/earthpressure.h"
#include "calculators/pressurediagram.h"

#include "failswith.h"
#include "uniform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <tuple>

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

// The resultant of the at-rest diagram by hand, K0 = 1 (φ = 0), H = 3 m: the soil's triangle
// ½·20·3² = 90 kN/m at H/3, the surcharge's rectangle 10·3 = 30 kN/m at H/2.
TEST(AtRestResultant, IsTheDiagramsAreaAtItsCentroid) {
    for (const auto& [gamma, q, P0, z0] :
         {std::tuple{20.0, 10.0, 120.0, 1.125}, {20.0, 0.0, 90.0, 1.0}, {0.0, 10.0, 30.0, 1.5}}) {
        const AtRestResultant r = atRestResultant(1, q, gamma, 3);
        EXPECT_DOUBLE_EQ(r.P0, P0) << "γ = " << gamma << ", q = " << q;
        EXPECT_DOUBLE_EQ(r.z0, z0) << "γ = " << gamma << ", q = " << q;
    }
    EXPECT_TRUE(FailsWith(ErrorKind::Overflow, [] { return atRestResultant(1, 0, 0, 3); }));
}

// The distribution's area by Simpson's rule over many steps: an integration of p(z) independent
// of the resultant formula it is derived from.
double simpsonArea(const PressureLaw& law, double H) {
    constexpr int kSteps = 4000;
    double sum = 0;
    for (int i = 0; i <= kSteps; ++i) {
        sum += (i == 0 || i == kSteps ? 1 : i % 2 ? 4 : 2) * law.at(H * i / kSteps);
    }
    return sum * H / kSteps / 3;
}

// Where the resultant acts, by the trapezoid's centroid for the straight diagrams (a vertical
// wall behind level fill without cohesion: p ∝ γz + q whatever δ), H·(2p_top + p_base) ÷
// (3·(p_top + p_base)) above the base; a curved one (c > 0, δ, β, α ≠ 90°) against Simpson's rule
// over many steps of p(z)·(H − z).
TEST(ResultantHeight, IsTheCentroidOfTheDiagram) {
    for (const auto& [q, delta, above] : {std::tuple{0.0, 0.0, 2.6 / 3},
                                          {10.0, 10.0, 2.6 * (2 * 10 + 62) / (3 * (10 + 62))},
                                          {10.0, 0.0, 2.6 * 82 / 216}}) {
        EXPECT_NEAR(*resultantHeight(PressureLaw::coulomb(20, 30, 0, q, delta, 0, 90), 2.6), above,
                    1e-14)
            << "q = " << q << ", δ = " << delta;
    }
    const PressureLaw curved = PressureLaw::coulomb(18, 28, 8, 15, 12, 10, 80);
    constexpr int kSteps = 20000;
    double moment = 0;
    for (int i = 0; i <= kSteps; ++i) {
        const double z = 6.0 * i / kSteps;
        moment += (i == 0 || i == kSteps ? 1 : i % 2 ? 4 : 2) * curved.at(z) * (6 - z);
    }
    moment *= 6.0 / kSteps / 3;
    EXPECT_NEAR(*resultantHeight(curved, 6), moment / curved.resultant(6), 1e-9);
    // no net thrust (cohesion holds the whole height): no point where it acts
    EXPECT_FALSE(resultantHeight(PressureLaw::coulomb(18, 30, 50, 0, 0, 0, 90), 2).has_value());
}

// Curved diagrams (cohesion, δ, β, α ≠ 90°): the compressed part is E(H) less the least value of
// E over the height (E′ = p, and the tension is above z₀), found here by a golden-section search;
// its centroid against Simpson's rule over p > 0; a diagram whose roots of Q nearly meet (φ just
// above β), where ∫E is taken by quadrature, against Simpson's rule; weak pressures stay pressures.
TEST(ResultantHeight, HoldsForCurvedDiagramsAndEveryWayToIntegrate) {
    const auto simpson = [](const PressureLaw& law, double H, bool compressed) {
        constexpr int kSteps = 20000;
        double area = 0, moment = 0;
        for (int i = 0; i <= kSteps; ++i) {
            const double z = H * i / kSteps, weight = i == 0 || i == kSteps ? 1 : i % 2 ? 4 : 2;
            const double p = compressed ? std::max(law.at(z), 0.0) : law.at(z);
            area += weight * p, moment += weight * p * (H - z);
        }
        return moment / area;
    };
    for (const PressureLaw& law : {PressureLaw::coulomb(18, 28, 8, 15, 12, 10, 80),
                                   PressureLaw::coulomb(19, 32, 12, 5, 15, 5, 95),
                                   PressureLaw::coulomb(18, 30, 8, 10, 10, 29.5, 85)}) {
        const double H = 6, EH = law.resultant(H);
        double low = 0, high = H; // the least value of E by golden sections
        for (int i = 0; i < 200; ++i) {
            const double a = high - (high - low) * 0.618033988749895,
                         b = low + (high - low) * 0.618033988749895;
            if (law.resultant(a) < law.resultant(b)) {
                high = b;
            } else {
                low = a;
            }
        }
        const double least = std::min(0.0, law.resultant((low + high) / 2));
        EXPECT_NEAR(compressedResultant(law, H, EH), EH - least, 1e-11 * std::fabs(EH));
        EXPECT_NEAR(resultantHeight(law, H).value_or(-1), simpson(law, H, false), 1e-9);
        EXPECT_NEAR(resultantHeight(law, H, true).value_or(-1), simpson(law, H, true), 1e-6);
    }
    // pressures under 1 kPa are pressures all the same: a light fill, nothing in tension
    const PressureLaw light = PressureLaw::coulomb(0.1, 30, 0, 0, 0, 0, 90);
    EXPECT_EQ(compressedResultant(light, 1, light.resultant(1)), light.resultant(1));
    EXPECT_TRUE(FailsWith(ErrorKind::InvalidArgument, [&] { return resultantHeight(light, 0); }));
}

// Rankine's cases, worked by hand for a vertical smooth wall behind level fill, H = 5 m,
// γ = 18 kN/m³, φ = 30° (Ka = 1/3, √Ka = 0.57735): p = γzKa + qKa − 2c√Ka.
struct Rankine {
    const char* name;
    double c, q;
    double top, base, area;       // kPa, kPa, kN/m (net, the tension zone counted)
    std::optional<double> z0;     // m
    double compressed, aboveBase; // the compressed part's area, its centroid above the base
};

TEST(PressureDiagram, ReducesToRankinesDistributionsWorkedByHand) {
    const Rankine cases[] = {
        // a triangle: 30 kPa at the base, ½·18·25/3 = 75, at H/3
        {"triangle", 0, 0, 0, 30, 75, std::nullopt, 75, 5.0 / 3},
        // a trapezoid from qKa = 3.333 to 33.333: 75 + 10·5/3 = 91.667, at H(2a+b)/(3(a+b))
        {"trapezoid", 0, 10, 10.0 / 3, 100.0 / 3, 275.0 / 3, std::nullopt, 275.0 / 3,
         5 * (20.0 / 3 + 100.0 / 3) / (3 * 110.0 / 3)},
        // cohesion c = 10: −11.547 at the top, z0 = 2c/(γ√Ka) = 1.9245, 30 − 11.547 at the base;
        // the net area 75 − 2·10·5·0.57735 = 17.265, the compressed triangle ½·18.453·3.0755
        {"cohesion", 10, 0, -11.547005, 18.452995, 17.264973, 1.9245009, 28.376088,
         (5 - 1.9245009) / 3},
    };
    for (const Rankine& r : cases) {
        SCOPED_TRACE(r.name);
        const PressureLaw law = PressureLaw::coulomb(18, 30, r.c, r.q, 0, 0, 90);
        const PressureDiagram d = pressureDiagram(law, 5, 10);
        EXPECT_NEAR(d.top, r.top, 1e-5);
        EXPECT_NEAR(d.base, r.base, 1e-5);
        EXPECT_NEAR(d.area, r.area, 1e-5);
        ASSERT_EQ(d.zeroDepth.has_value(), r.z0.has_value());
        if (r.z0) {
            EXPECT_NEAR(*d.zeroDepth, *r.z0, 1e-6);
        }
        EXPECT_EQ(d.tension, r.c > 0);
        EXPECT_NEAR(d.compressedArea, r.compressed, 1e-5);
        EXPECT_NEAR(5 - d.actionDepth, r.aboveBase, 1e-6);
        // the results the program gives of them: the compressed part's area from Ea, where it acts
        const double Ea = coulombActive(5, 18, 30, r.c, r.q, 0, 45, 0, 90).Ea;
        EXPECT_NEAR(compressedResultant(law, 5, Ea), r.compressed, 1e-5);
        EXPECT_NEAR(resultantHeight(law, 5, true).value_or(-1), r.aboveBase, 1e-6);
        EXPECT_EQ(d.depths.size(), 11u);
        EXPECT_EQ(d.depths.back(), 5.0);
        // the area is Ea, as the routine gives it
        EXPECT_NEAR(d.area, coulombActive(5, 18, 30, r.c, r.q, 0, 45, 0, 90).Ea, 1e-9);
    }
    // cohesion holding the whole height: nothing is compressed
    EXPECT_EQ(compressedResultant(PressureLaw::coulomb(18, 30, 50, 0, 0, 0, 90), 5, -1), 0);
    // at rest: (γz + q)·K0 with K0 = 1 − sin 30° = 0.5, whose base value is E0
    const PressureDiagram rest = pressureDiagram(PressureLaw::atRest(30, 1.5, 18), 5, 4);
    EXPECT_NEAR(rest.top, 0.75, 1e-6);
    EXPECT_NEAR(rest.base, atRestEarthPressure(30, 1.5, 18, 5).E0, 1e-12);
    EXPECT_NEAR(rest.values[2], (18 * 2.5 + 1.5) * 0.5, 1e-6);
    // without a load it starts at exactly 0, which is no crossing: a triangle ½·18·25·0.5 at H/3
    const PressureDiagram bare = pressureDiagram(PressureLaw::atRest(30, 0, 18), 5, 4);
    EXPECT_EQ(bare.top, 0);
    EXPECT_FALSE(bare.zeroDepth || bare.tension);
    EXPECT_NEAR(bare.compressedArea, 112.5, 1e-5); // K0 from the program's π
    EXPECT_NEAR(5 - bare.actionDepth, 5.0 / 3, 1e-6);
    // limited fill: a straight line whose area is the routine's Ea
    const PressureLaw fill = PressureLaw::limitedFill(18, 12, 5, 10, 70, 0, 80);
    EXPECT_NEAR(fill.at(2) - fill.at(1), fill.at(5) - fill.at(4), 1e-9);
    EXPECT_NEAR(pressureDiagram(fill, 6, 3).area,
                limitedFillEarthPressure(6, 18, 12, 5, 0, 10, 70, 0, 80).Ea, 1e-9);
}

// On any wall the routine accepts, the diagram's area, integrated, is the routine's Ea: the
// distribution is the derivative of the very formula, curved where c > 0 and δ or β ≠ 0; so for
// a limited fill too, and at rest the line ends at the routine's E0.
TEST(PressureDiagram, ItsAreaIsTheRoutinesResultantOnRandomWalls) {
    Uniform uniform(29);
    int checked = 0, filled = 0;
    for (int i = 0; i < 400; ++i) {
        const double H = uniform(1, 12), gamma = uniform(16, 22), phi = uniform(15, 40);
        const double c = uniform(0, 1) < 0.3 ? 0 : uniform(0, 30);
        const double q = uniform(0, 1) < 0.3 ? 0 : uniform(0, 40);
        const double delta = uniform(0, phi / 2), beta = uniform(0, phi * 0.8);
        const double alpha = uniform(70, 110);
        ActivePressure r{};
        try {
            r = coulombActive(H, gamma, phi, c, q, delta, 45, beta, alpha);
        } catch (const CalcError&) {
            continue;
        }
        const PressureLaw law = PressureLaw::coulomb(gamma, phi, c, q, delta, beta, alpha);
        const double tolerance = 1e-7 * (std::abs(r.Ea) + gamma * H * H);
        EXPECT_NEAR(law.resultant(H), r.Ea, tolerance) << i;
        EXPECT_NEAR(simpsonArea(law, H), r.Ea, tolerance) << i;
        const PressureDiagram d = pressureDiagram(law, H, 50);
        if (d.zeroDepth) {
            EXPECT_NEAR(law.at(*d.zeroDepth), 0, 1e-6) << i;
        }
        // the fill limited by a rock face at θ, as steep as a rock slope stands
        const double deltaR = uniform(0, phi), theta = uniform(55, 85);
        try {
            const double Ea =
                limitedFillEarthPressure(H, gamma, deltaR, c, q, delta, theta, beta, alpha).Ea;
            const PressureLaw fill =
                PressureLaw::limitedFill(gamma, deltaR, c, delta, theta, beta, alpha);
            EXPECT_NEAR(simpsonArea(fill, H), Ea, 1e-7 * (std::abs(Ea) + gamma * H * H)) << i;
            ++filled;
        } catch (const CalcError&) {
        }
        // at rest: a straight line from q·K0 to the routine's base pressure E0
        const AtRestPressure rest = atRestEarthPressure(phi, q, gamma, H);
        const PressureLaw restLaw = PressureLaw::atRest(phi, q, gamma);
        EXPECT_NEAR(restLaw.at(H), rest.E0, 1e-9 * rest.E0) << i;
        EXPECT_NEAR(simpsonArea(restLaw, H), (restLaw.at(0) + rest.E0) / 2 * H, 1e-9 * rest.E0 * H)
            << i;
        ++checked;
    }
    EXPECT_GT(checked, 300);
    EXPECT_GT(filled, 200);
}

TEST(PressureDiagram, TheDrawingHatchesAndLabelsATensionZone) {
    const PressureDiagram d = pressureDiagram(PressureLaw::coulomb(18, 30, 10, 0, 0, 0, 90), 5, 40);
    const Sketch s = drawPressureDiagram(d, {"Ea", 17.265, 5.0 / 3});
    std::vector<std::string> texts;
    for (const SketchText& t : s.texts) {
        texts.push_back(t.text);
    }
    for (const char* label : {"拉力区", "-11.55 kPa", "18.45 kPa", "z₀ = 1.925 m",
                              "Ea = 17.27 kN/m", "距墙底 1.025 m", "H/3 = 1.667 m", "H = 5 m"}) {
        EXPECT_NE(std::find(texts.begin(), texts.end(), label), texts.end()) << label;
    }
    // a triangle starts at nothing
    const Sketch triangle = drawPressureDiagram(
        pressureDiagram(PressureLaw::coulomb(18, 30, 0, 0, 0, 0, 90), 5, 4), {});
    EXPECT_TRUE(std::any_of(triangle.texts.begin(), triangle.texts.end(),
                            [](const SketchText& t) { return t.text == "0 kPa"; }));
    ASSERT_EQ(s.polygons.size(), 1u); // the compressed part, below z0
    for (const auto& [x, y] : s.polygons[0].points) {
        (void)y;
        EXPECT_GE(x, s.polygons[0].points[0].first - 1e-9); // right of the wall's back
    }
}

} // namespace
