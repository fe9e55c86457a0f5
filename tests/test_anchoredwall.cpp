#include "calculators/anchorbar.h"
#include "calculators/anchoredwall.h"
#include "calculators/rcsection.h"
#include "calculators/rib.h"

#include "core/numerictext.h"
#include "failswith.h"
#include "mapform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace subprogram;

namespace {

constexpr double kNone = NAN;

void expectClose(double actual, double expected, const std::string& what) {
    EXPECT_NEAR(actual, expected, 1e-11 * std::max(1.0, std::fabs(expected))) << what;
}

std::vector<LoadPiece> uniform(double H, double q) {
    return {{0, H, q, q}};
}
// rising from nothing at the crest to q0 at `rise`, then level
std::vector<LoadPiece> trapezoid(double H, double rise, double q0) {
    return {{0, rise, 0, q0}, {rise, H, q0, q0}};
}

// The rib against an independent model: the force method with the row reactions as redundants,
// integrated in exact rational arithmetic (Python's Fraction), its extremes from the roots of
// V = 0 to 60 digits — a formulation apart from the three-moment equation the routine solves.
TEST(Rib, AgreesWithAnExactForceMethodModel) {
    const std::vector<LoadPiece> kinked{{0, 2, 0, 30}, {2, 5, 30, 30}, {5, 10, 40, 60}};
    const struct {
        const char* name;
        double H;
        std::vector<double> rows;
        RibFoot foot;
        std::vector<LoadPiece> load;
        std::vector<double> R;
        double Rbase, Mbase, Mmax, zMmax, Mmin, zMmin, Vmax;
    } cases[] = {
        {"A",
         10,
         {2, 5, 8},
         RibFoot::Hinged,
         trapezoid(10, 2, 200.0 / 9),
         {54.5712379045712, 68.8688688688689, 61.3947280613947},
         15.1651651651652,
         kNone,
         9.09243202161120,
         6.55480480480480,
         -17.7677677677678,
         5,
         34.5512178845512},
        {"B",
         10,
         {2, 5, 8},
         RibFoot::Fixed,
         trapezoid(10, 2, 200.0 / 9),
         {54.4893378226712, 69.3602693602694, 58.2210998877666},
         17.9292929292929,
         -4.54545454545455,
         9.48719801834280,
         6.57323232323232,
         -18.0134680134680,
         5,
         34.9607182940516},
        {"C",
         10,
         {2, 5, 8},
         RibFoot::Free,
         trapezoid(10, 2, 200.0 / 9),
         {57.0987654320988, 53.7037037037037, 89.1975308641975},
         kNone,
         kNone,
         12.5535836762689,
         3.56944444444444,
         -44.4444444444444,
         8,
         44.7530864197531},
        {"D",
         8,
         {3, 6},
         RibFoot::Hinged,
         {{0, 8, 0, 93.75}},
         {128.352864583333, 179.117838541667},
         67.529296875,
         kNone,
         25.1053071205956,
         7.24396300377080,
         -52.734375,
         3,
         96.533203125},
        {"E",
         9,
         {1, 4, 7},
         RibFoot::Fixed,
         uniform(9, 80.0 / 3),
         {63.5016835016835, 85.6565656565657, 69.0235690235690},
         21.8181818181818,
         -5.65656565656566,
         12.1070128898412,
         2.38131313131313,
         -22.8282828282828,
         4,
         43.1649831649832},
        {"F",
         10,
         {1.5, 4, 7.5},
         RibFoot::Hinged,
         kinked,
         {43.7843336044095, 106.058918696511, 167.925194206715},
         52.2315534923647,
         kNone,
         25.1743964540545,
         5.72015047237958,
         -46.5044496024216,
         7.5,
         85.2684465076353},
        {"G",
         10,
         {1.5, 4, 7.5},
         RibFoot::Free,
         kinked,
         {59.0185367063492, 42.6348894557823, 268.346573837868},
         kNone,
         kNone,
         23.5438595628035,
         2.96728455687831,
         -177.083333333333,
         7.5,
         137.5},
        {"H",
         6,
         {1, 3, 5},
         RibFoot::Hinged,
         uniform(6, 20),
         {41.9318181818182, 38.4090909090909, 35.1136363636364},
         4.54545454545455,
         kNone,
         4.20745092975207,
         4.01704545454545,
         -10,
         1,
         21.9318181818182},
        {"I",
         12,
         {2, 4, 6, 8, 10},
         RibFoot::Hinged,
         trapezoid(12, 3, 440.0 / 7),
         {100.942355889724, 117.072055137845, 129.116541353383, 120.616541353383, 142.703007518797},
         49.5494987468672,
         kNone,
         19.5296247527961,
         11.2117125199362,
         -27.9365079365079,
         2,
         76.1647869674185},
        {"J",
         10,
         {4},
         RibFoot::Hinged,
         uniform(10, 10),
         {250.0 / 3},
         50.0 / 3,
         kNone,
         125.0 / 9,
         25.0 / 3,
         -80,
         4,
         130.0 / 3},
    };
    for (const auto& c : cases) {
        const RibForces f(c.rows, c.H, c.foot, c.load);
        ASSERT_EQ(f.reactions().size(), c.R.size()) << c.name;
        for (std::size_t j = 0; j < c.R.size(); ++j) {
            expectClose(f.reactions()[j], c.R[j],
                        std::string(c.name) + " R" + std::to_string(j + 1));
        }
        EXPECT_EQ(f.baseReaction().has_value(), !std::isnan(c.Rbase)) << c.name;
        if (f.baseReaction()) {
            expectClose(*f.baseReaction(), c.Rbase, std::string(c.name) + " Rbase");
        }
        EXPECT_EQ(f.baseMoment().has_value(), !std::isnan(c.Mbase)) << c.name;
        if (f.baseMoment()) {
            expectClose(*f.baseMoment(), c.Mbase, std::string(c.name) + " Mbase");
        }
        expectClose(f.greatestMoment().value, c.Mmax, std::string(c.name) + " Mmax");
        expectClose(f.greatestMoment().z, c.zMmax, std::string(c.name) + " zMmax");
        expectClose(f.leastMoment().value, c.Mmin, std::string(c.name) + " Mmin");
        expectClose(f.leastMoment().z, c.zMmin, std::string(c.name) + " zMmin");
        expectClose(f.greatestShear().value, c.Vmax, std::string(c.name) + " Vmax");
    }
}

// Closed forms (a row at the crest stands for an end support): two equal spans under a uniform
// load, 3/8, 10/8, 3/8 of qL and −qL²/8 over the middle; a propped cantilever, 3qL/8, 5qL/8,
// −qL²/8 at the fixed end, 9qL²/128 at 3L/8; an overhang of 2 m, −q·2²/2 over its row.
TEST(Rib, GivesTheClosedForms) {
    const RibForces spans(std::vector<double>{0, 4}, 8, RibFoot::Hinged, uniform(8, 10));
    EXPECT_NEAR(spans.reactions()[0], 15, 1e-12);
    EXPECT_NEAR(spans.reactions()[1], 50, 1e-12);
    EXPECT_NEAR(*spans.baseReaction(), 15, 1e-12);
    EXPECT_NEAR(spans.moment(4), -20, 1e-12);
    EXPECT_NEAR(spans.greatestMoment().value, 11.25, 1e-12);

    const RibForces propped(std::vector<double>{0}, 5, RibFoot::Fixed, uniform(5, 8));
    EXPECT_NEAR(propped.reactions()[0], 15, 1e-12);
    EXPECT_NEAR(*propped.baseReaction(), 25, 1e-12);
    EXPECT_NEAR(*propped.baseMoment(), -25, 1e-12);
    EXPECT_NEAR(propped.greatestMoment().value, 14.0625, 1e-12);
    EXPECT_NEAR(propped.greatestMoment().z, 1.875, 1e-12);

    const RibForces overhang(std::vector<double>{2}, 6, RibFoot::Hinged, uniform(6, 10));
    EXPECT_NEAR(overhang.moment(2), -20, 1e-12);
    EXPECT_NEAR(overhang.reactions()[0], 45, 1e-12);
    EXPECT_NEAR(*overhang.baseReaction(), 15, 1e-12);
}

// Any rows, any load of straight pieces with jumps, any foot: the reactions carry the whole load
// to 1e-12 of it, and the free ends carry nothing (M and V vanish at the crest and a free foot,
// M at a hinged foot).
TEST(Rib, CarriesItsWholeLoadWhateverItsRows) {
    std::mt19937 rng(45);
    std::uniform_real_distribution<double> unit(0, 1);
    for (int trial = 0; trial < 300; ++trial) {
        const double H = 3 + 17 * unit(rng);
        std::vector<double> rows;
        for (double z = 0.05 + unit(rng) * 2; z < H - 0.05 && rows.size() < 8;
             z += 0.1 + unit(rng) * 4) {
            rows.push_back(z);
        }
        const auto foot = RibFoot(trial % 3);
        if (rows.empty() || (rows.size() == 1 && foot == RibFoot::Free)) {
            continue;
        }
        std::vector<LoadPiece> load;
        for (double from = 0; from < H;) {
            const double to = std::min(H, from + 0.3 + unit(rng) * 5);
            load.push_back({from, to, 100 * unit(rng), 100 * unit(rng)});
            from = to;
        }
        const RibForces f(rows, H, foot, load);
        double carried = f.baseReaction().value_or(0);
        for (const double R : f.reactions()) {
            carried += R;
        }
        EXPECT_NEAR(carried, f.totalLoad(), 1e-12 * f.totalLoad()) << trial;
        const double scale = f.totalLoad() * H;
        EXPECT_NEAR(f.moment(0), 0, 1e-12 * scale) << trial;
        if (foot != RibFoot::Fixed) {
            EXPECT_NEAR(f.moment(H), 0, 1e-11 * scale) << trial;
        }
        if (foot == RibFoot::Free) {
            EXPECT_NEAR(f.shear(H), 0, 1e-11 * f.totalLoad()) << trial;
        }
    }
}

// GB 50010-2010's rectangular section by hand: b × h = 300 × 500, as = 40 (h0 = 460), C30
// (fc = 14.3), fy = 360, M = 150 kN·m: αs = 150×10⁶ ÷ (14.3 × 300 × 460²) = 0.16524,
// ξ = 1 − √(1 − 2αs) = 0.18176 < ξb = 0.8 ÷ (1 + 360 ÷ (2×10⁵ × 0.0033)) = 0.5176,
// As = 14.3 × 300 × 0.18176 × 460 ÷ 360 = 996.3 mm² > ρmin·bh = 0.2% × 150000 = 300 mm².
TEST(RectangularSection, GivesTheHandCalculation) {
    const ConcreteGrade c30 = kConcreteGrades[2];
    const SectionDesign s = rectangularSection({150, 1, 1}, 300, 500, 40, c30, 360);
    EXPECT_NEAR(s.alphaS, 0.16524, 1e-5);
    EXPECT_NEAR(s.xi, 0.18176, 1e-5);
    EXPECT_NEAR(s.xiB, 0.5176, 1e-4);
    EXPECT_NEAR(s.As, 996.3, 0.1);
    EXPECT_FALSE(s.overReinforced);
    // no tension on the face: the least ratio; HPB300 bars: Es = 2.1×10⁵, ξb = 0.576
    EXPECT_DOUBLE_EQ(rectangularSection({0, 1, 1}, 300, 500, 40, c30, 360).As, 300);
    EXPECT_NEAR(rectangularSection({10, 1, 1}, 300, 500, 40, c30, 270).xiB, 0.576, 1e-3);
    // 45ft/fy above 0.2%: C50 on fy = 270, 45 × 1.89 ÷ 270 % = 0.315%
    EXPECT_NEAR(rectangularSection({0, 1, 1}, 300, 500, 40, kConcreteGrades[6], 270).AsMin, 472.5,
                1e-9);
    // beyond ξb, and beyond 2αs = 1: refused as a section, not a failure
    EXPECT_TRUE(rectangularSection({600, 1, 1}, 300, 500, 40, c30, 360).overReinforced);
    EXPECT_TRUE(rectangularSection({5000, 1, 1}, 300, 500, 40, c30, 360).overReinforced);
}

// The wall's fields by window field.
MapForm wall(std::initializer_list<std::pair<const char*, const char*>> texts) {
    MapForm form(kAnchoredWall);
    for (const auto& [field, text] : texts) {
        form.texts[field] = text;
    }
    return form;
}

double number(const MapForm& form, const std::string& name) {
    return textToDouble(form.texts.at(name));
}

// Tributary bands against published exam cases: a 25 m rock slope under 2000 kN/m spread
// uniformly, anchors 4.0 m apart in rows 2.5 m apart: 800 kN each (注册岩土工程师 专业案例,
// ti.zuoweng.com/ti/K2VNKKKQ); 18 kPa on bands of 2.2 m with ribs 2 m apart: Htk = 79.2 kN, and
// at 15°, D = 130 mm, frbk = 60 kPa, K = 2.4 (a permanent anchor of a 二级 slope) a bonded length
// of 8.03–8.04 m (kaotiyun.com/show/s8Mf777K).
TEST(AnchoredWall, SharesByBandsAsTheExamsDo) {
    MapForm tall = wall({{"Eahx", "2000"},
                         {"Hx", "25"},
                         {"distributionx", "均布"},
                         {"forcesx", "受荷面积"},
                         {"sxx", "4"},
                         {"rowsx", "1.25;3.75;6.25;8.75;11.25;13.75;16.25;18.75;21.25;23.75"}});
    calculateAnchoredWall(tall);
    for (int j = 1; j <= 10; ++j) {
        EXPECT_NEAR(number(tall, "R" + std::to_string(j)), 800, 1e-9) << j;
    }
    EXPECT_EQ(number(tall, "e_h"), 80);
    EXPECT_EQ(tall.texts.at("Mmax"), "0"); // no rib analysed: left as it was

    MapForm exam = wall({{"Eahx", "118.8"},
                         {"Hx", "6.6"},
                         {"distributionx", "均布"},
                         {"forcesx", "受荷面积"},
                         {"sxx", "2"},
                         {"rowsx", "1.1;3.3;5.5"},
                         {"ax", "15"},
                         {"Dx", "130"},
                         {"frbx", "60"}});
    calculateAnchoredWall(exam);
    EXPECT_NEAR(number(exam, "Htk2"), 79.2, 1e-12);
    EXPECT_GE(number(exam, "la2"), 8.03);
    EXPECT_LE(number(exam, "la2"), 8.04);
}

// The trapezoid of a soil slope reaches E′ah ÷ 0.875H at 0.25H: an 8 m wall under 200 kN/m,
// e′ah = 28.57 kPa (a 注册岩土工程师 case's 2 m ramp, its solution rounding it to 30); a rock
// slope's E′ah ÷ 0.9H; β2 scales the thrust first.
TEST(AnchoredWall, ShapesTheThrustOverTheHeight) {
    MapForm soil = wall({{"Eahx", "200"}, {"Hx", "8"}, {"slopex", "土质"}, {"rowsx", "1;3;5;7"}});
    calculateAnchoredWall(soil);
    EXPECT_NEAR(number(soil, "e_h"), 200 / 7.0, 1e-12);
    MapForm rock = wall({{"Eahx", "200"}, {"Hx", "8"}, {"beta2x", "1.2"}, {"rowsx", "1;3;5;7"}});
    calculateAnchoredWall(rock);
    EXPECT_NEAR(number(rock, "Ea_h_mod"), 240, 1e-12);
    EXPECT_NEAR(number(rock, "e_h"), 240 / 7.2, 1e-12);
    // the whole of (E′ah + the water's) × sx reaches the rows and the foot, for every shape
    for (const char* shape : {"梯形", "三角形", "均布", "土压力图"}) {
        MapForm w = wall({{"distributionx", shape}, {"waterx", "2"}, {"khx", "0.1"}});
        calculateAnchoredWall(w);
        double carried = number(w, "Rbase");
        for (int j = 1; j <= 3; ++j) {
            carried += number(w, "R" + std::to_string(j));
        }
        const double water = 10 * 4.0 * 4.0 / 2; // γw·(H − 2)²/2
        EXPECT_NEAR(carried, (number(w, "Ea_h_mod") + water) * 2.5, 1e-10) << shape;
    }
    // the ground's own diagram of a cohesive top stratum: its tension zone left out where the
    // ground's rule ignores it, counted against the thrust where it counts it — as Ea is formed
    for (const auto& [layers, q, rule] :
         {std::tuple{"3 18 10 15;3 19 10 20 20", "0", "不计拉力区"},
          {"3 18 10 15;3 19 10 20 20", "0", "计入拉力区"},
          {"3 18 0 30;3 19 10 20 20", "0.5", "不计拉力区"}}) { // a top ordinate below 1 kPa
        MapForm w = wall({{"distributionx", "土压力图"},
                          {"layersx", layers},
                          {"qx", q},
                          {"tensionx", rule},
                          {"alphax", "95"},
                          {"deltax", "10"}});
        calculateAnchoredWall(w);
        double carried = number(w, "Rbase");
        for (int j = 1; j <= 3; ++j) {
            carried += number(w, "R" + std::to_string(j));
        }
        EXPECT_NEAR(carried, number(w, "Ea_h_mod") * 2.5, 1e-10) << rule;
    }
}

// The rib's bars for its own moments, by the grade of concrete chosen (each grade its strengths).
TEST(AnchoredWall, DesignsTheRibForTheGradeChosen) {
    for (std::size_t g = 0; g < std::size(kConcreteGrades); ++g) {
        MapForm w = wall({{"concretex", kConcreteGrades[g].name.data()}, {"ribhx", "350"}});
        calculateAnchoredWall(w);
        const SectionDesign expected = rectangularSection({-number(w, "Mmin"), 1.0, 1.35}, 300, 350,
                                                          40, kConcreteGrades[g], 360);
        EXPECT_NEAR(number(w, "As_rib_support"), expected.As, 1e-9) << kConcreteGrades[g].name;
        // the support's face the more stressed: its ξ is the rib's
        EXPECT_NEAR(number(w, "rib_xi"), expected.xi, 1e-12) << kConcreteGrades[g].name;
    }
}

// Each row's anchor is the anchor calculator's, by its 2013 method, for that row's Htk.
TEST(AnchoredWall, DesignsEachRowAsTheAnchorCalculatorDoes) {
    MapForm w = wall({{"gradex", "一级"}, {"servicex", "临时"}});
    calculateAnchoredWall(w);
    for (int j = 1; j <= 3; ++j) {
        const std::string row = std::to_string(j);
        MapForm anchor(kAnchorBar);
        anchor.texts["editionx"] = "2013";
        anchor.texts["gradex"] = "一级";
        anchor.texts["Text1"] = "15";
        anchor.texts["Text2"] = w.texts.at("Htk" + row);
        calculateAnchorBar(AnchorKind::Temporary, anchor);
        EXPECT_EQ(w.texts.at("As" + row), anchor.texts.at("Text6")) << j;
        EXPECT_EQ(w.texts.at("la" + row), anchor.texts.at("Text7")) << j;
        EXPECT_EQ(w.texts.at("lb" + row), anchor.texts.at("Text8")) << j;
        EXPECT_EQ(w.texts.at("l_design" + row), anchor.texts.at("l_design")) << j;
    }
}

// What cannot be a wall is refused, naming the field that makes it so; nothing is written.
TEST(AnchoredWall, RefusesWhatCannotBeAWall) {
    const struct {
        std::vector<std::pair<const char*, const char*>> texts;
        const char* field;
    } cases[] = {
        {{{"rowsx", "0;3"}}, "rows"},
        {{{"rowsx", "2;6"}}, "rows"},
        {{{"rowsx", "3;2"}}, "rows"},
        {{{"rowsx", "2;2.05"}}, "rows"},
        {{{"rowsx", ""}}, "rows"},
        {{{"rowsx", "1;x"}}, "rows"},
        {{{"sxx", "0"}}, "sx"},
        {{{"rowsx", "3"}, {"basex", "自由"}}, "base"},
        {{{"asx", "400"}}, "a_s"},
        {{{"Eahx", "100"}, {"distributionx", "土压力图"}}, "distribution"},
        {{{"Eahx", "-1"}}, "Eah"},
        {{{"beta2x", "0"}}, "beta2"},
        {{{"layersx", ""}}, "layers"},
        {{{"concretex", "C60"}}, "concrete"},
    };
    for (const auto& c : cases) {
        MapForm form(kAnchoredWall);
        for (const auto& [field, text] : c.texts) {
            form.texts[field] = text;
        }
        try {
            calculateAnchoredWall(form);
            ADD_FAILURE() << c.field << ": calculated";
        } catch (const FieldError& e) {
            EXPECT_EQ(kAnchoredWall[e.field()].name, c.field);
        }
        EXPECT_EQ(form.texts.at("R1"), "0") << c.field;
    }
    MapForm many(kAnchoredWall);
    many.texts["Hx"] = "30";
    std::string rows;
    for (int j = 1; j <= 21; ++j) {
        rows += (j > 1 ? ";" : "") + std::to_string(j);
    }
    many.texts["rowsx"] = rows;
    EXPECT_TRUE(FailsWith(ErrorKind::InvalidArgument, [&] { calculateAnchoredWall(many); }));
}

// Rows too close for the rib's shape push on it: the row is printed as it is, no anchor is
// designed, and its check says why; a section too small for its moment is a check not met.
TEST(AnchoredWall, JudgesARowInCompressionAndASectionTooSmall) {
    MapForm w = wall({{"Hx", "10"}, {"rowsx", "0.5;0.65;9.8"}, {"distributionx", "均布"}});
    calculateAnchoredWall(w);
    const std::vector<Judgement> j = judge(
        kAnchoredWall, 0, w,
        WrittenTexts([&](ResultId r) { return w.texts.at(std::string(kAnchoredWall[r].name)); }));
    EXPECT_LT(number(w, "R1"), 0); // the long span below lifts the rib off the top row
    EXPECT_EQ(w.texts.at("Htk1"), "0");
    EXPECT_EQ(j[1].outcome, Outcome::NotMet); // row_ok1
    EXPECT_EQ(j[4].outcome, Outcome::Met);    // row_ok2
    EXPECT_EQ(j[10].outcome, Outcome::Absent);
    // nothing driving: no anchor carries anything, and none is said to be in compression
    MapForm idle = wall({{"Eahx", "0"}});
    calculateAnchoredWall(idle);
    const Judgement none = judge(kAnchoredWall, 0, idle, WrittenTexts([&](ResultId r) {
                                     return idle.texts.at(std::string(kAnchoredWall[r].name));
                                 }))[1];
    EXPECT_EQ(none.outcome, Outcome::NotChecked);
    EXPECT_EQ(idle.texts.at("Htk1"), "0");
    EXPECT_EQ(j[0].outcome, Outcome::NotMet); // 9.3 m of span on a 300 × 400 rib
    EXPECT_EQ(w.texts.at("rib_over"), "1");
    // the default wall on shallower ribs: ξ beyond ξb, then 2αs beyond 1 on a face (no ξ there,
    // none shown); a rib deep enough holds, ξ the greater of its faces'
    for (const auto& [depth, outcome, valued] : {std::tuple{"400", Outcome::Met, true},
                                                 {"190", Outcome::NotMet, true},
                                                 {"175", Outcome::NotMet, false}}) {
        MapForm rib = wall({{"ribhx", depth}});
        rib.texts["rib_xi"] = "";
        calculateAnchoredWall(rib);
        const Judgement k = judge(kAnchoredWall, 0, rib, WrittenTexts([&](ResultId r) {
                                      return rib.texts.at(std::string(kAnchoredWall[r].name));
                                  }))[0];
        EXPECT_EQ(k.outcome, outcome) << depth;
        EXPECT_EQ(k.valued, valued) << depth;
        EXPECT_EQ(rib.texts.at("rib_xi").empty(), !valued) << depth;
        if (valued) {
            EXPECT_EQ(k.value > k.limit, outcome == Outcome::NotMet) << depth;
            EXPECT_NEAR(k.limit, 0.5176, 1e-4);
        }
    }
}

} // namespace
