#include "calculators/earthpressure.h"
#include "calculators/wallpressure.h"

#include "core/record.h"
#include "failswith.h"
#include "mapform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

using namespace subprogram;

namespace {

FillStratum soil(double thickness, double gamma, double c, double phi, double gammaSat = 0) {
    return {thickness, gamma, c, phi, gammaSat > 0 ? gammaSat : gamma};
}

Backfill fillOf(std::vector<FillStratum> strata, double q = 0) {
    Backfill f;
    f.strata = std::move(strata);
    f.q = q;
    return f;
}

// One stratum without cohesion, water, local loads or earthquake is the earth-pressure
// calculator's Coulomb Ea for the same wall and fill, to 15 digits (sloping fill, leaning back,
// wall friction, surcharge): Coulomb's Ka(q) = Kq·Ka(0) and Ka(0)·(q′H + ½γH²) round apart in
// the last one or two units, never more.
TEST(GroundPressure, OneStratumIsCoulombsEa) {
    const struct {
        double H, gamma, phi, q, delta, beta, alpha;
    } cases[] = {
        {6, 18, 30, 0, 0, 0, 90},      {5, 18, 30, 1.5, 0, 0, 90},  {8, 19, 34, 12, 17, 10, 80},
        {4.5, 20, 28, 20, 14, 0, 100}, {10, 17, 38, 0, 20, 15, 95}, {3, 21, 25, 35, 10, 5, 85},
    };
    for (const auto& c : cases) {
        const double expected =
            coulombActive(c.H, c.gamma, c.phi, 0, c.q, c.delta, 0, c.beta, c.alpha).Ea;
        const LayeredPressure p = layeredPressure({c.H, c.alpha, c.beta, c.delta},
                                                  fillOf({soil(c.H, c.gamma, 0, c.phi)}, c.q));
        EXPECT_NEAR(p.Ea, expected, 2e-15 * expected) << c.H << ' ' << c.phi << ' ' << c.q;
        EXPECT_EQ(p.Pw, 0);
        EXPECT_FALSE(p.zw);
    }
    // the triangle acts at a third of the height, the surcharge's rectangle at a half
    const LayeredPressure dry = layeredPressure({6}, fillOf({soil(6, 18, 0, 30)}));
    EXPECT_NEAR(*dry.za, 2, 1e-14);
}

// Earth and water taken apart (水土分算): H = 8 m, water 4 m below the top, γ = 18 above and
// γsat = 20 below, φ = 30°. A published solution (土力学 exercise, Ka = 0.333): e = 23.976 kPa at
// the water table and 37.296 at the base, Ea = 170.496 kN/m, Pw = ½·10·4² = 80 kN/m; with Ka
// unrounded Ea = (½·72·4 + ½·(72 + 112)·4)·Ka = 512·Ka.
TEST(GroundPressure, WaterTakenApartFromTheEarth) {
    Backfill f = fillOf({soil(8, 18, 0, 30, 20)});
    f.water = 4;
    const LayeredPressure p = layeredPressure({8}, f);
    EXPECT_NEAR(p.Ea, 512 * p.Ka[0], 1e-12);
    EXPECT_NEAR(p.Ea, 170.496, 0.2);
    EXPECT_EQ(p.Pw, 80);
    EXPECT_NEAR(*p.zw, 4.0 / 3, 1e-15);
    EXPECT_NEAR(p.pieces.back().bottom, 37.296, 0.04);
    // the water table above the top of the wall's fill still splits at the top; below the base
    // nothing is water
    f.water = 8;
    EXPECT_EQ(layeredPressure({8}, f).Pw, 0);
    // water lowers the earth's part and adds its own: more in all
    EXPECT_LT(p.Ea, layeredPressure({8}, fillOf({soil(8, 18, 0, 30, 20)})).Ea);
    EXPECT_GT(p.Ea + p.Pw, layeredPressure({8}, fillOf({soil(8, 20, 0, 30)})).Ea);
}

// A cohesive stratum under a surcharge: a published solution (注册岩土 案例: h1 = 3 m, γ = 18.5,
// c = 5 kPa, φ = 15°, q = 5 kPa): z0 = 0.43 m, e = 28.0 kPa at the stratum's base, Ea1 = 36.0 kN/m
// acting 2.14 m below the surface (its Ka rounded to 0.589). Counted, the tension zone takes its
// (negative) area off: Ea = (q + ½γH)·H·Ka − 2cH√Ka.
TEST(GroundPressure, CohesiveStratumTensionZoneIgnoredOrCounted) {
    Backfill f = fillOf({soil(3, 18.5, 5, 15)}, 5);
    const LayeredPressure ignored = layeredPressure({3}, f);
    const double Ka = ignored.Ka[0], eBase = ignored.pieces.back().bottom;
    const double z0 = (2 * 5 / std::sqrt(Ka) - 5) / 18.5;
    EXPECT_NEAR(z0, 0.43, 0.005);
    EXPECT_NEAR(eBase, 28.0, 0.06);
    EXPECT_NEAR(ignored.Ea, eBase * (3 - z0) / 2, 1e-12);
    EXPECT_NEAR(ignored.Ea, 36.0, 0.15);
    EXPECT_NEAR(3 - *ignored.za, 2.14, 0.005);
    f.tensionCounted = true;
    const LayeredPressure counted = layeredPressure({3}, f);
    EXPECT_NEAR(counted.Ea, (5 + 18.5 * 3 / 2) * 3 * Ka - 2 * 5 * 3 * std::sqrt(Ka), 1e-12);
    EXPECT_LT(counted.Ea, ignored.Ea);
}

// Two strata of cohesionless fill, a published solution (Rankine's case, 注册岩土 案例: 3 m of
// γ = 18 over 5 m of γ = 19, Ka1 = 0.361, Ka2 = 0.307): e = 19.49 kPa at the first stratum's
// base, 16.58 at the second's top and 45.74 at its base, within its coefficients' rounding
// (half a unit of the third decimal: 0.03 and 0.07 kPa).
TEST(GroundPressure, TwoStrataMeetAPublishedSolution) {
    const LayeredPressure p =
        layeredPressure({8}, fillOf({soil(3, 18, 0, 28), soil(5, 19, 0, 32)}));
    EXPECT_NEAR(p.pieces[0].bottom, 19.49, 0.03);
    EXPECT_NEAR(p.pieces[1].top, 16.58, 0.03);
    EXPECT_NEAR(p.pieces[1].bottom, 45.74, 0.07);
    EXPECT_NEAR(p.Ea, 19.49 * 3 / 2 + (16.58 + 45.74) / 2 * 5, 0.3);
}

// Strata: a stratum's pressure jumps at its top where its coefficient changes; two strata of one
// soil are that soil uncut.
TEST(GroundPressure, StrataJumpAtTheirBoundaries) {
    const LayeredPressure p =
        layeredPressure({6}, fillOf({soil(2, 18, 0, 30), soil(4, 19, 0, 20)}, 10));
    ASSERT_EQ(p.Ka.size(), 2u);
    const PressurePiece& above = p.pieces[0];
    const PressurePiece& below = p.pieces[1];
    EXPECT_NEAR(above.bottom / p.Ka[0], 46, 1e-12); // q + 18·2 over both coefficients
    EXPECT_NEAR(below.top / p.Ka[1], 46, 1e-12);
    EXPECT_NEAR(p.Ea, (10 + 46) / 2 * 2 * p.Ka[0] + (46 + 122) / 2 * 4 * p.Ka[1], 1e-12);
    const LayeredPressure cut =
        layeredPressure({6}, fillOf({soil(2, 18, 0, 30), soil(4, 18, 0, 30)}));
    const LayeredPressure whole = layeredPressure({6}, fillOf({soil(6, 18, 0, 30)}));
    EXPECT_NEAR(cut.Ea, whole.Ea, 1e-13);
    EXPECT_NEAR(*cut.za, *whole.za, 1e-13);
    // a stratum below the base takes no part; the last stratum reaches the base
    EXPECT_EQ(layeredPressure({6}, fillOf({soil(8, 18, 0, 30), soil(1, 19, 0, 20)})).Ka.size(), 1u);
    EXPECT_EQ(layeredPressure({6}, fillOf({soil(1, 18, 0, 30)})).Ea, whole.Ea);
}

// Local loads (GB 50330-2013 附录B): a line load adds its triangle's area Q·√Ka, a strip its
// rectangle's Ka·q·b·tanβ (β = 45° + φ/2), when it lies within the height; one far enough adds
// nothing, to the bit.
TEST(GroundPressure, LocalLoadsNearAddTheirAreaFarNothing) {
    const double H = 10, Ka = layeredPressure({H}, fillOf({soil(H, 18, 0, 30)})).Ka[0];
    const double tanBeta = std::tan(60 * 3.1415926 / 180);
    const struct {
        LocalLoad load;
        double added;
    } cases[] = {
        {{LocalLoad::Kind::Line, 50, 2, 0}, 50 * std::sqrt(1.0 / 3)},
        {{LocalLoad::Kind::Strip, 20, 1, 2}, 20 * 2 * tanBeta / 3},
        {{LocalLoad::Kind::Strip, 20, 0, 1}, 20 * tanBeta / 3},
        {{LocalLoad::Kind::Line, 50, 20, 0}, 0}, // a·tanφ = 11.5 m: below the base
        {{LocalLoad::Kind::Strip, 20, 6, 3}, 0}, // a·tanβ = 10.4 m
    };
    const double bare = layeredPressure({H}, fillOf({soil(H, 18, 0, 30)})).Ea;
    for (const auto& c : cases) {
        Backfill f = fillOf({soil(H, 18, 0, 30)});
        f.loads = {c.load};
        const double Ea = layeredPressure({H}, f).Ea;
        if (c.added == 0) {
            EXPECT_EQ(Ea, bare) << c.load.a;
        } else {
            EXPECT_NEAR(Ea - bare, c.added, 1e-6 * c.added) << c.load.a;
        }
    }
    EXPECT_NEAR(Ka, 1.0 / 3, 1e-7);
}

// A line load over a cohesive stratum that lifts the pressure above nought only just, near its
// peak: the compressed part is the sliver about the peak and the soil's own below z0. By hand
// (γ = 18, c = 20, φ = 30°, Ka = 1/3, H = 6 m; Q = 16.6658 kN/m at a = 1 m: the triangle from
// a·tan30° = 0.577 m to a·tan60° = 1.732 m, its peak 2Q√Ka ÷ h = 16.666 kPa at 1.155 m, where
// the soil's own is −16.166, so the sum is 0.500 kPa): 0.009 kN/m about the peak and
// ½ × 12.906 × (6 − 3.849) below z0 = 2c ÷ (γ√Ka), 13.8894 kN/m in all.
TEST(GroundPressure, ALoadThatOnlyJustOvercomesTheTensionAddsItsSliver) {
    Backfill f = fillOf({soil(6, 18, 20, 30)});
    f.loads = {{LocalLoad::Kind::Line, 16.6658, 1, 0}};
    EXPECT_NEAR(layeredPressure({6}, f).Ea, 13.8894, 2e-3);
}

// Mononobe–Okabe's coefficient: the textbook closed form (Kramer, Geotechnical Earthquake
// Engineering, eq. 11.9; ψ the back's batter from the vertical, i the fill's slope),
//   KAE = cos²(φ − θ − ψ) ÷ {cosθ·cos²ψ·cos(δ + ψ + θ)·[1 + √(sin(δ + φ)sin(φ − θ − i) ÷
//         (cos(δ + ψ + θ)cos(i − ψ)))]²},  θ = arctan kh,
// and a published example (φ = 35°, δ = 17.5°, vertical wall, level fill, kh = 0.2: KAE = 0.3797,
// PAE = 123.04 kN/m for γ = 18, H = 6 m).
TEST(GroundPressure, MononobeOkabeMeetsItsClosedForm) {
    const double r = 3.14159265358979323846 / 180;
    const auto closed = [r](double phi, double delta, double i, double alpha, double kh) {
        const double f = phi * r, d = delta * r, s = i * r, psi = (90 - alpha) * r,
                     t = std::atan(kh);
        const double root = std::sqrt(std::sin(d + f) * std::sin(f - t - s) /
                                      (std::cos(d + psi + t) * std::cos(s - psi)));
        return std::pow(std::cos(f - t - psi), 2) / (std::cos(t) * std::pow(std::cos(psi), 2) *
                                                     std::cos(d + psi + t) * std::pow(1 + root, 2));
    };
    const struct {
        double phi, delta, beta, alpha, kh;
    } cases[] = {{35, 17.5, 0, 90, 0.2}, {30, 0, 0, 90, 0.1},    {32, 16, 10, 90, 0.15},
                 {36, 12, 0, 80, 0.2},   {30, 20, 5, 100, 0.05}, {40, 0, 20, 90, 0.3}};
    for (const auto& c : cases) {
        EXPECT_NEAR(seismicCoefficient(c.phi, c.delta, c.beta, c.alpha, c.kh),
                    closed(c.phi, c.delta, c.beta, c.alpha, c.kh), 2e-7)
            << c.phi << ' ' << c.kh;
    }
    EXPECT_NEAR(seismicCoefficient(35, 17.5, 0, 90, 0.2), 0.3797, 5e-5);
    Backfill f = fillOf({soil(6, 18, 0, 35)});
    f.kh = 0.2;
    const LayeredPressure p = layeredPressure({6, 90, 0, 17.5}, f);
    EXPECT_NEAR(p.Ea, 123.04, 0.01);
    EXPECT_NEAR(p.rho, 11.31, 0.005);
    // a seismic angle beyond φ − β leaves no wedge that holds: refused
    f.kh = 0.8;
    EXPECT_THROW(layeredPressure({6}, f), CalcError);
}

// Bad input stops the calculation naming its field.
TEST(GroundPressure, BadInputNamesItsField) {
    const struct {
        const char* control;
        const char* text;
        const char* named;
    } cases[] = {
        {"layersx", "3 18 0", "layers"},
        {"layersx", "0 18 0 30", "layers"},
        {"layersx", "3 18 0 90", "layers"},
        {"layersx", "3 18 0 30 20 1", "layers"},
        {"layersx", "3 18 0 30;x 19 0 20", "layers"},
        {"waterx", "-1", "water"},
        {"loadsx", "strip 1 2", "loads"},
        {"loadsx", "line 10", "loads"},
        {"loadsx", "point 10 2", "loads"},
        {"loadsx", "line 10 0", "loads"},
        {"khx", "-0.1", "kh"},
        {"khx", "1", "kh"},
        {"tensionx", "half", "tension"},
        // a stratum lighter than water below the water table
        {"waterx", "1", "layers"},
        // the physics refuses: a wall of no height, a negative surcharge, strength or weight,
        // angles beyond their domains, a comma that is no thousands grouping
        {"Hx", "0", "H"},
        {"qx", "-10", "q"},
        {"alphax", "180", "alpha"},
        {"betax", "-95", "beta"},
        {"deltax", "-5", "delta"},
        {"layersx", "3 18 -5 30", "layers"},
        {"layersx", "3 0 0 30", "layers"},
        {"gwx", "0", "gamma_water"},
        {"loadsx", "line -10 2", "loads"},
        {"loadsx", "strip 10 1 0", "loads"},
        {"loadsx", "line 10 1,5", "loads"},
    };
    for (const auto& c : cases) {
        MapForm form(kWallPressure);
        form.texts["layersx"] = "3 18 0 30 9";
        form.texts[c.control] = c.text;
        try {
            kWallPressure.calculate(0, form, nullptr);
            ADD_FAILURE() << c.control << " " << c.text << ": no failure";
        } catch (const FieldError& e) {
            EXPECT_EQ(kWallPressure[e.field()].name, c.named) << c.text;
            if (e.kind() == ErrorKind::InvalidArgument) { // what is wrong, in words
                EXPECT_FALSE(e.reason().empty()) << c.control << " " << c.text;
            }
        }
    }
    // no bound on a weight: a stratum of 0.5 (any consistent units) is read, and a thousands
    // grouping is a number where a comma in a wrong place is not
    for (const auto& [layers, good] : {std::pair{"3 0.5 0 30", true},
                                       {"3 18 20 0", true}, // a clay of φ = 0 at its edge
                                       {"1,500 18 0 30", true},
                                       {"1234,567 18 0 30", false},
                                       {"3 18 0 30,5", false}}) {
        MapForm form(kWallPressure);
        form.texts["layersx"] = layers;
        EXPECT_EQ(!FailsWith(ErrorKind::InvalidArgument,
                             [&] { kWallPressure.calculate(0, form, nullptr); }),
                  good)
            << layers;
    }
    // the words an engineer types for a load, in Chinese or in English in any case
    std::set<std::string> thrusts;
    for (const char* loads : {"line 20 1;strip 10 0.5 2", "线荷载 20 1;条形荷载 10 0.5 2",
                              "LINE 20 1;Strip 10 0.5 2"}) {
        MapForm form(kWallPressure);
        form.texts["loadsx"] = loads;
        kWallPressure.calculate(0, form, nullptr);
        thrusts.insert(form.texts.at("Eax"));
    }
    EXPECT_EQ(thrusts.size(), 1u);
}

// A diagram wholly in tension: a cohesive stratum that stands alone gives no thrust where the
// tension zone is ignored, and Rankine's net thrust ½γH²Ka − 2cH√Ka where it is counted.
TEST(GroundPressure, ADiagramWhollyInTensionPushesNothing) {
    Backfill f = fillOf({soil(3, 18, 50, 30)}, 0);
    const LayeredPressure ignored = layeredPressure({3}, f);
    EXPECT_EQ(ignored.Ea, 0);
    EXPECT_FALSE(ignored.za.has_value());
    f.tensionCounted = true;
    // Ka = tan²30° = 1/3 (to the tool's π): ½·18·9/3 − 2·50·3/√3 = 27 − 100√3
    EXPECT_NEAR(layeredPressure({3}, f).Ea, 27 - 100 * std::sqrt(3.0), 1e-5);
}

// The calculator writes what the routine gives, each stratum's Ka by its own name, and the
// diagram's rows give the water's pressure beside the earth's.
TEST(GroundPressure, ResultsAndDiagram) {
    MapForm form(kWallPressure);
    form.texts["Hx"] = "8";
    form.texts["layersx"] = "3 18 0 30;5 19 0 20 20";
    form.texts["waterx"] = "4";
    form.texts["qx"] = "0";
    form.texts["loadsx"] = "strip 10 0 0.5"; // at the back, down to 0.87 m: read, not refused
    CalculationRecord record;
    recordCalculation(form, record, [](Form& f, Trace* t) { kWallPressure.calculate(0, f, t); });
    EXPECT_EQ(form.texts["Pwx"], "80");
    EXPECT_EQ(form.texts["zwx"], "1.33333333333333");
    EXPECT_EQ(form.texts["Ka1"], "0.333333350522268");
    EXPECT_FALSE(form.texts["Ka2"].empty());
    EXPECT_TRUE(form.texts["Ka3"].empty() || form.texts["Ka3"] == "0");
    const auto setting = kWallPressure.pressure(
        0, form, WrittenTexts([&](ResultId r) { return record.written(r); }));
    ASSERT_TRUE(setting);
    const PressureDiagram d = pressureDiagram(setting->law, setting->height, 4);
    ASSERT_EQ(d.water.size(), 5u);
    EXPECT_EQ(d.water[1], 0);  // z = 2, above the water
    EXPECT_EQ(d.water[4], 40); // z = 8
    EXPECT_NEAR(d.values[1], 36 * 0.333333350522268, 1e-12);
    const auto table = kWallPressure.parts(0, form, record);
    ASSERT_TRUE(table);
    EXPECT_EQ(table->rows.size(), 2u);
}

} // namespace
