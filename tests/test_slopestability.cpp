#include "calculators/slopestability.h"

#include "core/record.h"
#include "failswith.h"
#include "mapform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace subprogram;

namespace {

// The program's default required factors and state bounds.
TEST(SlopeStability, RequiredFactorAndStateFollowTheCodesTables) {
    const struct {
        SlopeGrade grade;
        SlopeCase situation;
        double Fst;
    } factors[] = {
        {SlopeGrade::First, SlopeCase::Permanent, 1.35},
        {SlopeGrade::Second, SlopeCase::Permanent, 1.30},
        {SlopeGrade::Third, SlopeCase::Permanent, 1.25},
        {SlopeGrade::First, SlopeCase::Seismic, 1.15},
        {SlopeGrade::Second, SlopeCase::Seismic, 1.10},
        {SlopeGrade::Third, SlopeCase::Seismic, 1.05},
        {SlopeGrade::First, SlopeCase::Temporary, 1.25},
        {SlopeGrade::Second, SlopeCase::Temporary, 1.20},
        {SlopeGrade::Third, SlopeCase::Temporary, 1.15},
    };
    for (const auto& f : factors) {
        EXPECT_EQ(requiredStabilityFactor(f.grade, f.situation), f.Fst);
    }
    const struct {
        double Fs;
        std::string_view state;
    } states[] = {{0.999, "不稳定"},  {1.0, "欠稳定"},     {1.049, "欠稳定"},
                  {1.05, "基本稳定"}, {1.299, "基本稳定"}, {1.3, "稳定"}};
    for (const auto& s : states) {
        EXPECT_EQ(stabilityState(s.Fs, 1.3), s.state) << s.Fs;
    }
}

// A cohesionless block: Fs = tanφ ÷ tanθ, then with each external force by hand
// (G = 1000 kN/m, θ = 30°, φ = 45°, L = 10 m).
TEST(SlopeStability, PlanarSlideMeetsItsHandCalculations) {
    const struct {
        const char* what;
        PlanarInputs in;
        double Fs;
    } cases[] = {
        {"dry, Fs = tan45° ÷ tan30° = √3", {1000, 30, 10, 0, 45}, std::sqrt(3.0)},
        // V = 20, U = 100: (866.025 − 10 − 100) ÷ (500 + 17.321)
        {"water 2 m in the crack", {1000, 30, 10, 0, 45, 2}, 1.4614255417723},
        // Q = 100: (866.025 − 50) ÷ (500 + 86.603)
        {"kh = 0.1", {1000, 30, 10, 0, 45, 0, 10, 0, 0.1}, 1.3911044491181},
        // an anchor normal to the plane (θ + β = 90°) only presses it: (866.025 + 100) ÷ 500
        {"P = 100 normal to the plane",
         {1000, 30, 10, 0, 45, 0, 10, 0, 0, 100, 60},
         1.9320508075689},
        // c·L alone resists: 10 × 10 ÷ 500
        {"φ = 0, c = 10", {1000, 30, 10, 10, 0}, 0.2},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(*planarSlide(c.in).Fs, c.Fs, 1e-12) << c.what;
    }
}

const SlidingBlock kOneBlock[] = {{1000, 30, 10, 20, 20}};
const PlanarInputs kSameBlock{1000, 30, 20, 10, 20};

TEST(SlopeStability, OneBlockIsThePlanarSlide) {
    const double planar = *planarSlide(kSameBlock).Fs;
    EXPECT_NEAR(*transferImplicit(kOneBlock, 0, 1.3).Fs, planar, 1e-15 * planar);
    const BrokenLineSlide thrust = transferExplicit(kOneBlock, 0, 1.2);
    EXPECT_EQ(*thrust.Fs, planar);
    const PlanarSlide p = planarSlide(kSameBlock);
    EXPECT_NEAR(thrust.thrust, 1.2 * p.T - p.R, 1e-12);
}

// 注册岩土工程师 案例 (GB 50007 第6.4.3条, γt = 1.15, c = 10 kPa, φ = 10°): blocks of 500, 900
// and 700 kN/m on bases at 25°, 10° and 22° of 11.03, 10.15 and 10.79 m; the published solution
// gives ψ2 = 0.920, ψ3 = 1.015, F1 = 52.8, F2 = −29.5 (stable above: 0 passes on), F3 = 79.2 kN/m.
const SlidingBlock kPublished[] = {
    {500, 25, 10, 10, 11.03}, {900, 10, 10, 10, 10.15}, {700, 22, 10, 10, 10.79}};

TEST(SlopeStability, TransferThrustMeetsThePublishedSolution) {
    const BrokenLineSlide s = transferExplicit(kPublished, 0, 1.15);
    ASSERT_EQ(s.psi.size(), 2u);
    EXPECT_NEAR(s.psi[0], 0.920, 5e-4);
    EXPECT_NEAR(s.psi[1], 1.015, 5e-4);
    EXPECT_NEAR(s.P[0], 52.8, 0.05);
    EXPECT_NEAR(s.P[1], -29.5, 0.05);
    EXPECT_NEAR(s.P[2], 79.2, 0.05);
    EXPECT_EQ(s.thrust, s.P[2]);
    // the report's formulas name the first block's values by its number
    Trace trace;
    transferExplicit(kPublished, 0, 1.15, &trace);
    EXPECT_NEAR(trace.value("F1").value_or(0), 52.8, 0.05);
    EXPECT_FALSE(trace.value("F2"));
}

// The report's table of the same blocks, as the published solution lists them (rounded).
TEST(SlopeStability, TheReportsTableListsEveryBlock) {
    MapForm form(kSlopeStability);
    form.texts["Gx"] = "500;900;700";
    form.texts["thetax"] = "25;10;22";
    form.texts["lx"] = "11.03;10.15;10.79";
    form.texts["phix"] = "10";
    form.texts["gtx"] = "1.15";
    const int method = int(SlopeMethod::BrokenLineExplicit);
    CalculationRecord record;
    recordCalculation(form, record,
                      [&](Form& f, Trace* t) { kSlopeStability.calculate(method, f, t); });
    const auto table = kSlopeStability.parts(method, form, record);
    ASSERT_TRUE(table);
    ASSERT_EQ(table->rows.size(), 3u);
    // i, G, θ, c, φ, l, U, T, R, ψ, F
    EXPECT_EQ(table->rows[0][7], "211.3"); // G1·sin25°
    EXPECT_EQ(table->rows[0][9], "0.9203");
    EXPECT_EQ(table->rows[1][9], "1.015");
    EXPECT_EQ(table->rows[2][9], "—");
    EXPECT_EQ(table->rows[1][10], "-29.46");
    EXPECT_EQ(table->rows[2][10], "79.22");
    // a circle's table: a row for every slice, numbered from the first
    MapForm circle(kSlopeStability);
    circle.texts["circlex"] = "13 23 23";
    circle.texts["slicesx"] = "4";
    const int bishop = int(SlopeMethod::Bishop);
    CalculationRecord slices;
    recordCalculation(circle, slices,
                      [&](Form& f, Trace* t) { kSlopeStability.calculate(bishop, f, t); });
    const auto sliceTable = kSlopeStability.parts(bishop, circle, slices);
    ASSERT_TRUE(sliceTable);
    ASSERT_EQ(sliceTable->rows.size(), 4u);
    EXPECT_EQ(sliceTable->rows[0][0], "1");
    // mθ = cos 45.85° + tan 20°·sin 45.85° ÷ 1.3253 by hand (θ and Fs as the table gives them)
    ASSERT_EQ(sliceTable->header[8], "m<sub>θi</sub>");
    EXPECT_EQ(sliceTable->rows[0][8], "0.8936");
}

// Another published back-analysis (GB 50007, γt = 1): two blocks of 600 and 1000 kN/m at 30° and
// 10°, φ = 10°, l = 11.55 and 10.15 m; F2 = 183.7 − 20.31c, so c = 9.04 kPa holds the slope at
// the limit, F2 ≈ 0 and Fs ≈ 1.
TEST(SlopeStability, TheBackAnalysedCohesionHoldsTheSlopeAtItsLimit) {
    const double c = 183.7 / 20.31;
    const SlidingBlock blocks[] = {{600, 30, c, 10, 11.55}, {1000, 10, c, 10, 10.15}};
    const BrokenLineSlide s = transferExplicit(blocks, 0, 1);
    EXPECT_NEAR(s.P[1], 0, 1.0);
    EXPECT_NEAR(*s.Fs, 1, 0.005);
    EXPECT_NEAR(*transferImplicit(blocks, 0, 1.3).Fs, 1, 0.01);
}

// The implicit Fs leaves the last block no thrust; a required factor above it needs a support,
// one below it none.
TEST(SlopeStability, ImplicitFactorIsWhereTheLastThrustVanishes) {
    const SlidingBlock blocks[] = {{800, 35, 8, 15, 9}, {1200, 18, 8, 15, 12}, {600, 5, 8, 15, 8}};
    const BrokenLineSlide s = transferImplicit(blocks, 0, 1.3);
    const double Fs = *s.Fs;
    EXPECT_EQ(s.P.back(), 0); // nought at its zero, not the rounding left there
    EXPECT_GT(s.P[1], 0);
    // the thrusts at Fst as they are passed on: at Fst = Fs those at Fs, clipped at 0; the last
    // is the design thrust
    EXPECT_EQ(s.Pst.back(), s.thrust);
    const BrokenLineSlide atFs = transferImplicit(blocks, 0, Fs);
    ASSERT_EQ(atFs.Pst.size(), 3u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_NEAR(atFs.Pst[i], std::max(0.0, s.P[i]), 1e-9) << i;
    }
    EXPECT_NEAR(transferImplicit(blocks, 0, Fs).thrust, 0, 1e-9);
    EXPECT_GT(transferImplicit(blocks, 0, Fs + 0.1).thrust, 10);
    EXPECT_EQ(transferImplicit(blocks, 0, Fs - 0.1).thrust, 0);
    EXPECT_LT(*transferImplicit(blocks, 0.1, 1.3).Fs, Fs); // an earthquake lowers it
    EXPECT_TRUE(FailsWith(ErrorKind::InvalidArgument, [] {
        const SlidingBlock frictionless[] = {{800, 35, 0, 0, 9}};
        return transferImplicit(frictionless, 0, 1.3);
    }));
}

// ACADS (Giam & Donald, 1989) problem 1(a): a 2:1 slope 10 m high, γ = 20 kN/m³, c = 3 kPa,
// φ = 19.6°; referee factor 1.00, the simplified Bishop method about 0.99.
SlopeSection acads() {
    SlopeSection s;
    s.surface = {{20, 25}, {30, 25}, {50, 35}, {70, 35}};
    s.strata = {{35, 20, 3, 19.6, 20}};
    return s;
}

TEST(SlopeStability, CriticalCircleMeetsTheAcadsBenchmark) {
    const CircularSlide critical = criticalCircle(acads());
    EXPECT_GT(critical.Fs.value(), 0.97);
    EXPECT_LT(critical.Fs.value(), 1.0);
    // no circle of a fine grid over the slope does better
    double least = std::numeric_limits<double>::infinity();
    for (double xc = 20; xc <= 60; xc += 2) {
        for (double yc = 36; yc <= 70; yc += 2) {
            for (double bottom = 12; bottom <= 34; bottom += 1) {
                try {
                    const CircularSlide s = bishopFactor(acads(), {xc, yc, yc - bottom});
                    least = std::min(least, s.Fs.value_or(least));
                } catch (const CalcError&) {
                }
            }
        }
    }
    EXPECT_LE(critical.Fs.value(), least + 1e-12);
    // the slope seen from behind is as stable, its circle mirrored
    SlopeSection mirrored = acads();
    mirrored.surface = {{-70, 35}, {-50, 35}, {-30, 25}, {-20, 25}};
    const CircularSlide back = criticalCircle(mirrored);
    EXPECT_EQ(back.Fs, critical.Fs);
    EXPECT_EQ(back.circle.xc, -critical.circle.xc);
}

TEST(SlopeStability, WaterAndEarthquakeLowerTheCircularFactor) {
    const Circle circle{35, 50, 26};
    const double dry = bishopFactor(acads(), circle).Fs.value();
    // the soil cut into strata of the same soil weighs and holds the same
    SlopeSection cut = acads();
    cut.strata = {{35, 20, 3, 19.6, 20}, {30, 20, 3, 19.6, 20}, {26, 20, 3, 19.6, 20}};
    EXPECT_NEAR(bishopFactor(cut, circle).Fs.value(), dry, 1e-12);
    // a circle through the crest's end point enters there; one larger passes under that end
    EXPECT_NO_THROW(bishopFactor(acads(), {50, 60, std::hypot(20.0, 25.0)}));
    EXPECT_TRUE(FailsWith(ErrorKind::InvalidArgument, [] {
        return bishopFactor(acads(), {50, 60, 34});
    }));
    SlopeSection wet = acads();
    wet.water = {{20, 25}, {70, 32}};
    EXPECT_LT(bishopFactor(wet, circle).Fs.value(), dry);
    SlopeSection shaken = acads();
    shaken.kh = 0.05;
    EXPECT_LT(bishopFactor(shaken, circle).Fs.value(), dry);
    // φ = 0: the moment of c·l about the centre over that of the weight, Σc·l ÷ Σ W·sinθ
    SlopeSection clay = acads();
    clay.strata = {{35, 20, 30, 0, 20}};
    const CircularSlide s = bishopFactor(clay, circle);
    double resisting = 0, driving = 0;
    for (const Slice& slice : s.slices) {
        resisting += 30 * slice.l;
        driving += slice.T;
    }
    EXPECT_NEAR(s.Fs.value(), resisting / driving, 1e-9);
}

// Bad input names its field through the calculation the window and slopecalc run.
TEST(SlopeStability, BadInputNamesItsField) {
    const struct {
        SlopeMethod method;
        const char* control;
        const char* text;
        ErrorKind kind;
        const char* named;
    } cases[] = {
        {SlopeMethod::BrokenLine, "thetax", "25;10", ErrorKind::InvalidArgument, "theta"},
        {SlopeMethod::BrokenLine, "Gx", "500;abc", ErrorKind::TypeMismatch, "G"},
        {SlopeMethod::Planar, "phix", "95", ErrorKind::InvalidArgument, "phi"},
        {SlopeMethod::Bishop, "surfacex", "0 0;10 0;10 5", ErrorKind::InvalidArgument, "surface"},
        {SlopeMethod::Bishop, "surfacex", "0 0;10", ErrorKind::InvalidArgument, "surface"},
        {SlopeMethod::Bishop, "circlex", "100 100 5", ErrorKind::InvalidArgument, "circle"},
        {SlopeMethod::Bishop, "layersx", "10 19 8;0 20 10 20", ErrorKind::InvalidArgument,
         "layers"},
        // the physics refuses: water, strength, weight, angles, lengths, kh, a factor
        {SlopeMethod::Planar, "hwx", "-3", ErrorKind::InvalidArgument, "hw"},
        {SlopeMethod::Planar, "cx", "-50", ErrorKind::InvalidArgument, "c"},
        {SlopeMethod::Planar, "Gx", "-1000", ErrorKind::InvalidArgument, "G"},
        {SlopeMethod::Planar, "thetax", "120", ErrorKind::InvalidArgument, "theta"},
        {SlopeMethod::Planar, "thetax", "-90", ErrorKind::InvalidArgument, "theta"},
        {SlopeMethod::Planar, "Lx", "0", ErrorKind::InvalidArgument, "L"},
        {SlopeMethod::Planar, "phix", "90", ErrorKind::InvalidArgument, "phi"},
        {SlopeMethod::Planar, "Pax", "90", ErrorKind::InvalidArgument, "P_angle"},
        {SlopeMethod::Planar, "khx", "5", ErrorKind::InvalidArgument, "kh"},
        {SlopeMethod::Planar, "khx", "-1", ErrorKind::InvalidArgument, "kh"},
        {SlopeMethod::Planar, "gwx", "0", ErrorKind::InvalidArgument, "gamma_water"},
        {SlopeMethod::Planar, "Fstreqx", "0", ErrorKind::InvalidArgument, "Fst_req"},
        {SlopeMethod::BrokenLine, "thetax", "95;-100;400", ErrorKind::InvalidArgument, "theta"},
        {SlopeMethod::BrokenLine, "lx", "11;0;10", ErrorKind::InvalidArgument, "l"},
        {SlopeMethod::BrokenLine, "Ux", "0;-5;0", ErrorKind::InvalidArgument, "U"},
        // a comma stands only in a thousands grouping: "10,5" is no number of the list
        {SlopeMethod::BrokenLine, "lx", "11;10,5;10", ErrorKind::InvalidArgument, "l"},
        {SlopeMethod::BrokenLineExplicit, "gtx", "0", ErrorKind::InvalidArgument, "gamma_t"},
    };
    for (const auto& c : cases) {
        MapForm form(kSlopeStability);
        if (c.method == SlopeMethod::BrokenLine) {
            form.texts["Gx"] = "500;900;700";
            form.texts["thetax"] = "25;10;22";
            form.texts["lx"] = "11;10;10";
        }
        form.texts[c.control] = c.text;
        try {
            kSlopeStability.calculate(int(c.method), form, nullptr);
            ADD_FAILURE() << c.control << " " << c.text << ": no failure";
        } catch (const FieldError& e) {
            EXPECT_EQ(e.kind(), c.kind) << c.text;
            EXPECT_EQ(kSlopeStability[e.field()].name, c.named) << c.text;
            if (c.kind == ErrorKind::InvalidArgument) { // what is wrong, in words
                EXPECT_FALSE(e.reason().empty()) << c.control << " " << c.text;
            }
        }
    }
    // a thousands grouping is a number: 1,500 kN/m of the first block is 1500
    std::string T1[2];
    for (const int i : {0, 1}) {
        MapForm grouped(kSlopeStability);
        grouped.texts["Gx"] = i ? "1500;900" : "1,500;900";
        grouped.texts["thetax"] = "25;10";
        grouped.texts["lx"] = "11;10";
        kSlopeStability.calculate(int(SlopeMethod::BrokenLineExplicit), grouped, nullptr);
        T1[i] = grouped.texts.at("T1");
    }
    EXPECT_EQ(T1[0], T1[1]);
    // under strata Bishop's one soil is not read: a bad c there is greyed, not refused
    MapForm strata(kSlopeStability);
    strata.texts["cx"] = "-10";
    const int bishop = int(SlopeMethod::Bishop);
    EXPECT_EQ(kSlopeStability.idle(bishop, strata).size(), 0u);
    strata.texts["layersx"] = "10 20 10 20";
    strata.texts["circlex"] = "13 23 23";
    EXPECT_EQ(kSlopeStability.idle(bishop, strata).size(), 3u);
    EXPECT_EQ(kSlopeStability.idle(int(SlopeMethod::Planar), strata).size(), 0u);
    kSlopeStability.calculate(bishop, strata, nullptr);
    EXPECT_FALSE(strata.texts.at("Fsx").empty());
}

// Where nothing drives the mass down there is no factor to form: it is stable, whatever the
// method (an anchor pulling harder than the block slides, a block whose base slopes back); a
// sliding sum that is not positive beside a thrust left at the last block has no factor that
// means anything.
TEST(SlopeStability, NothingDrivingIsStableWithNoFactor) {
    const struct {
        SlopeMethod method;
        std::vector<std::pair<const char*, const char*>> texts;
    } cases[] = {
        {SlopeMethod::Planar, {{"Px", "600"}}},
        {SlopeMethod::Planar, {{"thetax", "-10"}}},
        {SlopeMethod::Planar, {{"thetax", "0"}}}, // a level base: T = 0 exactly
        {SlopeMethod::BrokenLineExplicit, {{"thetax", "-10"}, {"Gx", "1000"}, {"lx", "20"}}},
        {SlopeMethod::BrokenLine, {{"thetax", "-10"}, {"Gx", "1000"}, {"lx", "20"}}},
        {SlopeMethod::BrokenLine, {{"thetax", "-20;-5"}, {"Gx", "1000;200"}, {"lx", "20;10"}}},
    };
    for (const auto& c : cases) {
        MapForm form(kSlopeStability);
        for (const auto& [control, text] : c.texts) {
            form.texts[control] = text;
        }
        form.texts.erase("Fsx");
        kSlopeStability.calculate(int(c.method), form, nullptr);
        EXPECT_FALSE(form.texts.contains("Fsx")) << c.texts.front().second;
        EXPECT_EQ(form.texts.at("statex"), "稳定");
        const auto judged =
            judge(kSlopeStability, int(c.method), form, WrittenTexts([&](ResultId r) {
                      const auto at = form.texts.find(std::string(
                          kSlopeStability[r].control.empty() ? kSlopeStability[r].name
                                                             : kSlopeStability[r].control));
                      return at == form.texts.end() ? std::string() : at->second;
                  }));
        EXPECT_EQ(judged[0].outcome, Outcome::Met);
        if (c.method != SlopeMethod::Planar) {
            EXPECT_EQ(form.texts.at("thrust"), "0");
        }
    }
    // a heavy block sloping back above one that slides: ΣT·Πψ < 0, yet a thrust is left (of
    // under 1 kN/m: any thrust at all)
    const SlidingBlock backAndDown[] = {{5000, -30, 0, 0, 10}, {1, 40, 0, 0, 10}};
    EXPECT_TRUE(FailsWith(ErrorKind::InvalidArgument,
                          [&] { return transferExplicit(backAndDown, 0, 1.2); }));
    // a block driven by half a kilonewton against 10⁷ of strength: driven, but held beyond any
    // factor the search looks for — refused, not taken for a block nothing drives
    const SlidingBlock barelyDriven[] = {{1, 30, 1e6, 0, 10}};
    EXPECT_TRUE(FailsWith(ErrorKind::InvalidArgument,
                          [&] { return transferImplicit(barelyDriven, 0, 1.3); }));
    // a thrust just above nothing is not clamped away: the required factor a hair above Fs
    const SlidingBlock blocks[] = {{800, 35, 8, 15, 9}, {1200, 18, 8, 15, 12}};
    const double Fs = *transferImplicit(blocks, 0, 1.3).Fs;
    const double small = transferImplicit(blocks, 0, Fs * (1 + 1e-4)).thrust;
    EXPECT_GT(small, 0);
    EXPECT_LT(small, 1);
}

// The required factor is the engineer's where set: the verdict says so.
TEST(SlopeStability, TheEngineersRequiredFactorHoldsTheVerdict) {
    MapForm form(kSlopeStability);
    form.texts["Fstreqx"] = "2";
    kSlopeStability.calculate(int(SlopeMethod::Planar), form, nullptr);
    EXPECT_EQ(form.texts.at("Fstx"), "2");
    const auto judged =
        judge(kSlopeStability, int(SlopeMethod::Planar), form, WrittenTexts([&](ResultId r) {
                  const auto& res = kSlopeStability[r];
                  const auto at =
                      form.texts.find(std::string(res.control.empty() ? res.name : res.control));
                  return at == form.texts.end() ? std::string() : at->second;
              }));
    EXPECT_EQ(judged[0].limit, 2);
    EXPECT_EQ(basisOf(kSlopeStability.verdicts[0], judged[0]), "设计者指定");
    // the hand calculation's 500 for T = 1000·sin30°, with π itself
    EXPECT_EQ(form.texts.at("T"), "500");
}

} // namespace
