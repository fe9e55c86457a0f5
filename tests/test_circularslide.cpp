#include "calculators/circlecharts.h"
#include "calculators/slicing.h"
#include "calculators/slopeinputs.h"
#include "calculators/slopestability.h"

#include "mapform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>

using namespace subprogram;

namespace {

SlopeSection section(std::vector<Point> surface, std::vector<Stratum> strata,
                     std::vector<Point> water = {}, double kh = 0) {
    SlopeSection s;
    s.surface = std::move(surface);
    s.strata = std::move(strata);
    s.water = std::move(water);
    s.kh = kh;
    return s;
}

double drivingSum(const CircularSlide& s) {
    double sum = 0;
    for (const Slice& slice : s.slices) {
        sum += slice.T;
    }
    return sum;
}

// Worked independently in Python from the method as the report states it (slices of equal width
// on chords, each column weighed at its centre line with γsat under the phreatic line, U from the
// heads at the base's ends, water over the ground pressing on the slice's top, c and tanφ of a
// base that crosses a stratum's top averaged over its width in each), its entry and exit found by
// bisection on ground − arc: two strata (γsat 20 and 21 under the line), the circle (13.4, 22.7,
// 22.9) through the slope 0 0;10 0;30 10;40 10.
TEST(CircularSlide, AFewSlicesMeetTheHandCalculation) {
    const std::vector<Point> slope{{0, 0}, {10, 0}, {30, 10}, {40, 10}};
    const std::vector<Point> mirrored{{-40, 10}, {-30, 10}, {-10, 0}, {0, 0}};
    const std::vector<Stratum> two{{10, 19, 12, 22, 20}, {5, 20, 20, 30, 21}};
    const struct {
        const char* what;
        SlopeSection section;
        int slices;
        Circle circle;
        double Fs, sumT;
    } cases[] = {
        {"phreatic line under the ground, 4 slices",
         section(slope, two, {{0, -2}, {40, 5}}),
         4,
         {13.4, 22.7, 22.9},
         2.0593541691910,
         579.5025646127},
        {"the same in 6 slices",
         section(slope, two, {{0, -2}, {40, 5}}),
         6,
         {13.4, 22.7, 22.9},
         2.1300573515464,
         551.9656465823},
        // the two slices at the toe under 0.1 and 1.7 m of water: Pw 5.45 and 75.5 kN/m
        {"a pond at the toe, kh = 0.1, 5 slices",
         section(slope, two, {{0, 1}, {40, 7}}, 0.1),
         5,
         {13.4, 22.7, 22.9},
         1.4843148315152,
         664.8246886648},
        {"the same seen from behind",
         section(mirrored, two, {{-40, 7}, {0, 1}}, 0.1),
         5,
         {-13.4, 22.7, 22.9},
         1.4843148315152,
         664.8246886648},
    };
    for (auto c : cases) {
        c.section.slices = c.slices;
        const CircularSlide s = bishopFactor(c.section, c.circle);
        ASSERT_TRUE(s.Fs) << c.what;
        EXPECT_NEAR(*s.Fs, c.Fs, 1e-8 * c.Fs) << c.what; // the iteration stops within 1e-8
        EXPECT_NEAR(drivingSum(s), c.sumT, 1e-9 * c.sumT) << c.what;
    }
}

// Under still water over the whole slope the water's pressure on the ground and on the slip
// surface makes the buoyancy: the factor is that of the dry slope weighing γsat − γw, but for
// the slices' discretisation (the sagitta between a slice's chord and its arc).
TEST(CircularSlide, ASubmergedSlopeIsTheDrySlopeOfBuoyantWeight) {
    const std::vector<Point> slope{{0, 0}, {10, 0}, {30, 10}, {40, 10}};
    SlopeSection wet = section(slope, {{10, 18, 10, 25, 20}}, {{0, 14}, {40, 14}});
    SlopeSection dry = section(slope, {{10, 10, 10, 25, 10}});
    for (const auto& [slices, within] : {std::pair{50, 1e-3}, std::pair{1000, 2e-5}}) {
        wet.slices = dry.slices = slices;
        for (const Circle& c : {Circle{13.4, 22.7, 22.9}, Circle{12, 30, 31}, Circle{20, 16, 14}}) {
            const double under = bishopFactor(wet, c).Fs.value();
            const double buoyant = bishopFactor(dry, c).Fs.value();
            EXPECT_NEAR(under, buoyant, within * buoyant) << slices << " slices, R = " << c.R;
        }
    }
}

// A circle whose iterates from 1 make mθ ≤ 0 at the toe: its factor is the root above the bound
// of mθ > 0, max(−tanφ·sinθ ÷ cosθ). Worked independently in Python by bisecting
// Σ[…] ÷ mθ − F·ΣT above the bound: 7.430916163293 over a bound of 1.1678 (with each base's
// strength taken at its middle instead of averaged, 7.41007), and with φ 30° and 2° over a bound
// of 0.8689, 0.947480638852 — not 0.49986, where the plain iteration from 1 settles with mθ < 0.
TEST(CircularSlide, AFactorBeyondAnIterateOutsideTheDomainIsSolved) {
    SlopeSection s = section({{0, 0}, {12.971, 0}, {26.254, 4.5153}, {52.3929, 4.5153}},
                             {{4.515265094901428, 17.6956, 25.1838, 37.8105, 17.6956},
                              {-0.181, 21.7028, 0, 31.4296, 21.7028}});
    const Circle circle{24.4518, 6.2816, 10.0676};
    const struct {
        double c, phi1, phi2, bound, Fs;
    } cases[] = {{25.1838, 37.8105, 31.4296, 1.167817388538, 7.430916163293},
                 {0, 30, 2, 0.868895719091, 0.947480638852},
                 // a root just above a doubling of the bracket (4 × Fmin = 4.2152): between the
                 // factors of φ2 = 20.1° (4.2190) and 20.3° (4.2585)
                 {0, 35, 20.2, 1.053792411458, 4.238708927660}};
    for (const auto& c : cases) {
        s.strata[0].c = c.c;
        s.strata[0].phi = c.phi1;
        s.strata[1].phi = c.phi2;
        const CircularSlide slide = bishopFactor(s, circle);
        ASSERT_TRUE(slide.Fs && slide.bound) << c.Fs;
        EXPECT_NEAR(*slide.Fs, c.Fs, 5e-9); // bisected to a bracket 1e-8 wide
        EXPECT_NEAR(*slide.bound, c.bound, 1e-9);
        // the trace says so, and gives the bound
        Trace trace;
        EXPECT_EQ(bishopFactor(s, circle, &trace).Fs, slide.Fs);
        EXPECT_EQ(trace.value("Fmin"), slide.bound);
        EXPECT_TRUE(std::ranges::any_of(trace.entries(), [](const Trace::Entry& e) {
            return e.remark.find("mθ ≤ 0") != std::string::npos;
        }));
    }
    // the toe's friction lowered below the bound's reach, it iterates as before
    s.strata[0].phi = s.strata[1].phi = 5;
    const CircularSlide plain = bishopFactor(s, circle);
    EXPECT_FALSE(plain.bound);
    EXPECT_EQ(plain.bisections, 0);
    EXPECT_EQ(plain.Fs, plain.iterates.back());
}

// What is no slip surface of one mass is refused, saying why; what nothing drives has no factor.
TEST(CircularSlide, CirclesThatCutNoSingleMassAreRefused) {
    const SlopeSection acads =
        section({{20, 25}, {30, 25}, {50, 35}, {70, 35}}, {{35, 20, 3, 19.6, 20}});
    const SlopeSection plain =
        section({{0, 0}, {10, 0}, {30, 10}, {40, 10}}, {{10, 20, 10, 20, 20}});
    const struct {
        const char* what;
        const SlopeSection& section;
        Circle circle;
        std::string_view reason;
    } cases[] = {
        // the search's circle before masses were counted: 2 mm under the ground before the toe
        {"out of the ground and into it again",
         acads,
         {29.6327236720494, 53.4468732561384, 28.4492402757917},
         "滑弧穿出地面后又切入地面，滑体不止一块"},
        {"grazing the crest", plain, {35, 20, 10.0000001}, "滑体最大厚度小于最小滑体厚度"},
        {"above the ground", plain, {35, 30, 10}, "滑弧未切入地面"},
        {"past the section's end", plain, {30, 25, 20}, "滑弧超出地面线两端"},
    };
    for (const auto& c : cases) {
        try {
            bishopFactor(c.section, c.circle);
            ADD_FAILURE() << c.what << ": not refused";
        } catch (const CalcError& e) {
            EXPECT_EQ(e.kind(), ErrorKind::InvalidArgument) << c.what;
            EXPECT_EQ(e.reason(), c.reason) << c.what;
        }
    }
    // 3 mm smaller it is one mass
    EXPECT_TRUE(bishopFactor(acads, {29.6327236720494, 53.4468732561384, 28.4462402757917}).Fs);
    // a sliver 9 cm thick under the toe's pond is refused, one of 11 cm is not (the least
    // depth), but under level ground it drives nothing
    SlopeSection pond = plain;
    pond.water = {{0, 2}, {40, 2}};
    EXPECT_THROW(bishopFactor(pond, {7, 10, 10.09}), CalcError);
    EXPECT_FALSE(bishopFactor(pond, {7, 10, 10.11}).Fs);
    pond.minDepth = 0.05;
    EXPECT_NO_THROW(bishopFactor(pond, {7, 10, 10.09}));
    const CircularSlide critical = criticalCircle(pond);
    EXPECT_GT(critical.Fs.value(), 0.5); // not a sliver's -2.35E+18
}

// Level ground with a mound to the right of the centre: the mass would turn into the ground, not
// out of it (ΣT < 0), and has no factor; the mirror image drives by as much and has one.
TEST(CircularSlide, NothingDrivingMeansNoFactor) {
    const SlopeSection mound =
        section({{0, 0}, {10, 0}, {12, 1}, {14, 0}, {30, 0}}, {{1, 20, 10, 20, 20}});
    const CircularSlide held = bishopFactor(mound, {9, 5, 5.5});
    EXPECT_FALSE(held.Fs);
    EXPECT_EQ(held.slices.size(), 50u);
    EXPECT_LT(drivingSum(held), 0);
    const CircularSlide driven = bishopFactor(mound, {15, 5, 5.5});
    EXPECT_TRUE(driven.Fs);
    EXPECT_NEAR(drivingSum(driven), -drivingSum(held), 1e-9);
    // a mass symmetric under level ground drives by its terms' rounding alone
    EXPECT_FALSE(bishopFactor(mound, {22, 5, 5.5}).Fs);
}

// The section drawn to scale: a bar of a round length, and a stratum's top dashed only where
// there is ground above it (the slope reaches y = 4 at x = 18 of its 40 m).
TEST(CircularSlide, TheSectionShowsItsScaleAndStrataUnderTheGround) {
    const SlopeSection s =
        section({{0, 0}, {10, 0}, {30, 10}, {40, 10}}, {{10, 20, 10, 20, 20}, {4, 19, 15, 25, 19}});
    Sketch sketch;
    drawSlopeSection(s, nullptr, {}, sketch);
    EXPECT_TRUE(std::ranges::any_of(sketch.texts, [](const SketchText& t) {
        return t.text == "5 m"; // a fifth of 40 m, rounded down to 1, 2 or 5 times ten's power
    }));
    std::map<double, std::vector<SketchLine>> level; // the horizontal lines by height
    for (const SketchLine& l : sketch.lines) {
        if (l.y1 == l.y2) {
            level[l.y1].push_back(l);
        }
    }
    const auto dashes = std::ranges::max_element(
        level, [](const auto& a, const auto& b) { return a.second.size() < b.second.size(); });
    ASSERT_NE(dashes, level.end());
    EXPECT_GT(dashes->second.size(), 15u);
    for (const SketchLine& l : dashes->second) {
        EXPECT_GE(std::min(l.x1, l.x2), 17.9 / 40 * sketch.width);
    }
}

// The ways the search names circles, on ground falling to the right (crest 10 m up to x = 10, toe
// at x = 30): each circle has the property its numbers name, and gives its numbers back.
TEST(CircularSlide, EachWayToNameACircleNamesIt) {
    using namespace charts;
    const std::vector<Point> g{{0, 10}, {10, 10}, {30, 0}, {40, 0}};
    const auto through = [](const Circle& c, double x, double y) {
        return std::abs(std::hypot(x - c.xc, y - c.yc) - c.R) < 1e-9 * c.R;
    };
    // the greatest depth under the ground, by sampling
    const auto depth = [](const Circle& c) {
        double deepest = -INFINITY;
        for (double x = std::max(0.0, c.xc - c.R); x <= std::min(40.0, c.xc + c.R); x += 1e-4) {
            const double ground = x < 10 ? 10 : x < 30 ? 10 - (x - 10) / 2 : 0;
            const double d = x - c.xc;
            deepest = std::max(deepest, ground - c.yc + std::sqrt(c.R * c.R - d * d));
        }
        return deepest;
    };
    // from the centre (20, 20): the face x + 2y = 30 at 30 ÷ √5, the crest's end at √500
    const double nearest = 30 / std::sqrt(5.0), farthest = std::sqrt(500.0);
    const struct {
        const char* what;
        const Way& way;
        Numbers n;
        double R; // where it is known in closed form, else the depth n[2] is checked
    } cases[] = {
        // bent all it may: the higher point (12, 9) level with the centre,
        // (30 − xc)² + 9² = (xc − 12)²
        {"through the crest at 12 and the toe", kEndsAndBend, {12, 30, 1}, 11.25},
        {"centre and lowest point", kCentreAndLowest, {20, 25, 3}, 22},
        // through (12, 9) with its lowest point at (25, −1): (13² + 10²) ÷ 20
        {"entry and lowest point", kEntryAndLowest, {12, 25, -1}, 13.45},
        // through (34, 0) with its lowest point at (28, −1): (6² + 1²) ÷ 2
        {"exit and lowest point", kExitAndLowest, {34, 28, -1}, 18.5},
        {"centre and reach",
         kCentreAndReach,
         {20, 20, 0.25},
         nearest + 0.25 * (farthest - nearest)},
        {"lowest point and depth", kLowestAndDepth, {25, 1.5, 1.5}, 0},
        {"ends and depth", kEndsAndDepth, {12, 28, 1.2}, 0},
        {"place and depth", kPlaceAndDepth, {20, 8, 1.2}, 0},
    };
    for (const auto& c : cases) {
        const std::optional<Circle> circle = c.way.circle(g, c.n);
        ASSERT_TRUE(circle) << c.what;
        if (c.R > 0) {
            EXPECT_NEAR(circle->R, c.R, 1e-9 * c.R) << c.what;
        } else {
            EXPECT_NEAR(depth(*circle), c.n[2], 1e-6) << c.what;
        }
        const std::optional<Numbers> back = c.way.numbers(g, *circle);
        ASSERT_TRUE(back) << c.what;
        for (std::size_t k = 0; k < 3; ++k) {
            EXPECT_NEAR((*back)[k], c.n[k], 1e-7) << c.what << ", number " << k;
        }
    }
    for (const double t : {0.4, 0.7}) { // on the face, from 12 to 28
        const Circle bent = *kEndsAndBend.circle(g, {12, 28, t});
        EXPECT_TRUE(through(bent, 12, 9) && through(bent, 28, 1)) << t;
        EXPECT_NEAR(kEndsAndBend.numbers(g, bent).value()[2], t, 1e-9) << t;
    }
    const Circle ends = *kEndsAndDepth.circle(g, {12, 28, 1.2});
    EXPECT_TRUE(through(ends, 12, 9) && through(ends, 28, 1));
    EXPECT_TRUE(through(*kEntryAndLowest.circle(g, {12, 25, -1}), 12, 9));
    EXPECT_TRUE(through(*kExitAndLowest.circle(g, {34, 28, -1}), 34, 0));
    EXPECT_NEAR(kLowestAndDepth.circle(g, {25, 1.5, 1.5})->yc -
                    kLowestAndDepth.circle(g, {25, 1.5, 1.5})->R,
                1.5, 1e-12);
    // what no circle fits: crossed ends, a lowest point over the ground, a depth beyond reach
    EXPECT_FALSE(kEndsAndBend.circle(g, {30, 12, 0.5}));
    EXPECT_FALSE(kEndsAndBend.circle(g, {12, 30, 1.5}));
    EXPECT_FALSE(kEntryAndLowest.circle(g, {12, 25, 9.5}));
    EXPECT_FALSE(kEndsAndDepth.circle(g, {12, 14, 5}));
    EXPECT_FALSE(kCentreAndLowest.circle(g, {20, 2, 3}));
    EXPECT_FALSE(kCentreAndReach.circle(g, {20, 20, 1.5}));
    // 1 m under the crest, the arc's lowest point; spread by run and rise, x/80 + (x − 10)/40 on
    // the face at a quarter, a half and three quarters
    EXPECT_NEAR(slicing::greatestDepth(g, {5, 12, 3}, 5 - std::sqrt(5.0), 5 + std::sqrt(5.0)), 1,
                1e-12);
    const std::vector<double> xs = spread(g, 0, 40, 5), hand{0, 40.0 / 3, 20, 80.0 / 3, 40};
    ASSERT_EQ(xs.size(), hand.size());
    for (std::size_t k = 0; k < xs.size(); ++k) {
        EXPECT_NEAR(xs[k], hand[k], 1e-9) << k;
    }
}

// The local searches on functions whose least values are known: a pattern search finds a kink's
// corner and a parabola's vertex, grows its steps back to cross a distance, keeps to its box and
// to its budget; a wander follows a diagonal channel that axis steps leave at once.
TEST(CircularSlide, TheLocalSearchesFindKnownMinima) {
    using namespace charts;
    const Function kinked = [](const Numbers& x) {
        return std::abs(x[0] - 1.3) + 2 * std::abs(x[1] + 2.7) + (x[2] - 0.4) * (x[2] - 0.4);
    };
    const Numbers low{-10, -10, -10}, high{10, 10, 10}, unit{1, 1, 1}, start{-9, 0, 0};
    int left = 100000;
    Best b = patternSearch(kinked, {start, kinked(start)}, low, high, unit, 1.0 / 16, left);
    EXPECT_NEAR(b.at[0], 1.3, 1e-8);
    EXPECT_NEAR(b.at[1], -2.7, 1e-8);
    EXPECT_NEAR(b.at[2], 0.4, 1e-6);
    EXPECT_GT(left, 0); // its steps ended it, not the budget
    left = 100000;
    EXPECT_EQ(
        patternSearch(kinked, {start, kinked(start)}, {2, -10, -10}, high, unit, 1, left).at[0], 2);
    left = 10;
    patternSearch(kinked, {start, kinked(start)}, low, high, unit, 1, left);
    EXPECT_EQ(left, 0);
    // −x0 along the channel |x1 − x0| ≤ 0.02, |x2| ≤ 0.02, up to x0 = 5
    const Function channel = [](const Numbers& x) {
        return std::abs(x[1] - x[0]) <= 0.02 && std::abs(x[2]) <= 0.02 && x[0] <= 5 ? -x[0]
                                                                                    : INFINITY;
    };
    std::mt19937 random(1);
    left = 20000;
    EXPECT_GT(wander(channel, {{0, 0, 0}, 0}, unit, 1.0 / 16, 16, random, left).at[0], 4.9);
    EXPECT_GT(left, 0);
    left = 20000;
    EXPECT_LT(patternSearch(channel, {{0, 0, 0}, 0}, low, high, unit, 1.0 / 16, left).at[0], 0.1);
    // on a 3 × 3 × 2 grid rising with each index, a dip at (2, 2, 1) and no value at (1, 1, 0)
    std::vector<double> values;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            for (int k = 0; k < 2; ++k) {
                values.push_back(i == 2 && j == 2 && k == 1   ? 3
                                 : i == 1 && j == 1 && k == 0 ? INFINITY
                                                              : 10 + i + 2 * j + 4 * k);
            }
        }
    }
    EXPECT_EQ(localMinima(values, {3, 3, 2}), (std::vector<std::size_t>{17, 0}));
}

// A probe of the search written apart from it: circles through two points of the ground drawn at
// random with a random bend, the lowest refined by steps in random directions of (xc, yc, R),
// only through bishopFactor.
double probe(const SlopeSection& s, unsigned seed) {
    std::mt19937 bits(seed);
    const auto uniform = [&] { return double(bits()) / double(std::mt19937::max()); };
    const double left = s.surface.front().x, right = s.surface.back().x;
    const auto ground = [&](double x) {
        for (std::size_t i = 1; i < s.surface.size(); ++i) {
            if (x <= s.surface[i].x) {
                const Point &a = s.surface[i - 1], &b = s.surface[i];
                return a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x);
            }
        }
        return s.surface.back().y;
    };
    const auto factor = [&](const Circle& c) {
        try {
            return bishopFactor(s, c).Fs.value_or(INFINITY);
        } catch (const CalcError&) {
            return double(INFINITY);
        }
    };
    std::vector<std::pair<double, Circle>> drawn;
    for (int i = 0; i < 3000; ++i) {
        const double xa = left + (right - left) * uniform(), xb = left + (right - left) * uniform();
        const double dx = xb - xa, dy = ground(xb) - ground(xa), chord = std::hypot(dx, dy);
        const double R = chord / 2 / (0.02 + 0.98 * uniform());
        const double d = std::sqrt(std::max(0.0, R * R - chord * chord / 4));
        const double up = dx > 0 ? 1 : -1; // the centre on the chord's upper side
        const Circle c{(xa + xb) / 2 - up * d * dy / chord,
                       (ground(xa) + ground(xb)) / 2 + up * d * dx / chord, R};
        if (const double F = factor(c); std::isfinite(F)) {
            drawn.push_back({F, c});
        }
    }
    std::sort(drawn.begin(), drawn.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    double least = INFINITY;
    for (std::size_t k = 0; k < 10 && k < drawn.size(); ++k) {
        auto [F, c] = drawn[k];
        double step = 0.02 * (right - left);
        for (int tries = 0, misses = 0; tries < 1000 && step > 1e-7; ++tries) {
            double v[3] = {uniform() - 0.5, uniform() - 0.5, uniform() - 0.5};
            const double norm = std::hypot(v[0], v[1], v[2]);
            const Circle next{c.xc + step * v[0] / norm, c.yc + step * v[1] / norm,
                              c.R + step * v[2] / norm};
            if (const double G = factor(next); G < F) {
                F = G, c = next, step *= 1.5, misses = 0;
            } else if (++misses == 12) {
                step /= 2, misses = 0;
            }
        }
        least = std::min(least, F);
    }
    return least;
}

TEST(CircularSlide, NoProbedCircleIsLowerThanTheSearchs) {
    const std::vector<Point> slope{{0, 0}, {10, 0}, {30, 10}, {40, 10}};
    const struct {
        const char* what;
        SlopeSection section;
    } cases[] = {
        {"the default slope", section(slope, {{10, 20, 10, 20, 20}})},
        // ACADS problem 1(a) (Giam & Donald 1989): referee 1.00, simplified Bishop about 0.99
        {"ACADS 1(a)", section({{20, 25}, {30, 25}, {50, 35}, {70, 35}}, {{35, 20, 3, 19.6, 20}})},
        // its critical circle passes through the toe, a kink of the factor
        {"kh = 0.1",
         section({{0, 0}, {15, 0}, {35, 15}, {60, 15}}, {{15, 19, 12, 25, 19}}, {}, 0.1)},
        {"a weak stratum under a phreatic line",
         section({{0, 0}, {12, 0}, {30, 12}, {50, 12}},
                 {{12, 19, 15, 28, 20}, {4, 18, 5, 12, 19}, {-2, 20, 30, 30, 21}},
                 {{0, -1}, {12, -0.5}, {30, 6}, {50, 9}})},
        {"a pond at the toe", section(slope, {{10, 18, 8, 25, 20}}, {{0, 4}, {40, 7}})},
        {"facing the other way", section({{-40, 10}, {-30, 10}, {-10, 0}, {0, 0}},
                                         {{10, 20, 10, 20, 20}}, {{-40, 8}, {-20, 3}, {0, -1}})},
        // two faces with a bench: a minimum on each
        {"two faces",
         section({{0, 0}, {8, 0}, {16, 6}, {22, 6}, {30, 12}, {45, 12}}, {{12, 19, 12, 22, 19}})},
    };
    unsigned seed = 1;
    for (const auto& c : cases) {
        const CircularSlide found = criticalCircle(c.section);
        EXPECT_EQ(found.Fs, bishopFactor(c.section, found.circle).Fs) << c.what;
        EXPECT_GE(probe(c.section, seed++), found.Fs.value() * (1 - 1e-3)) << c.what;
        for (const FoundCircle& other : found.others) { // distinct minima, each no lower
            EXPECT_GE(other.Fs, *found.Fs) << c.what;
            EXPECT_GT(std::abs(other.circle.xc - found.circle.xc) +
                          std::abs(other.circle.yc - found.circle.yc),
                      0.5)
                << c.what;
        }
        if (std::string_view(c.what) == "two faces") {
            EXPECT_FALSE(found.others.empty());
        }
    }
}

// Without cohesion the thinnest slip is the most critical: the search ends at the least depth.
TEST(CircularSlide, ACohesionlessSlopeSlipsAsThinAsAllowed) {
    for (const double least : {0.1, 0.5}) {
        SlopeSection sand = section({{0, 0}, {10, 0}, {30, 10}, {40, 10}}, {{10, 20, 0, 30, 20}});
        sand.minDepth = least;
        const CircularSlide s = criticalCircle(sand);
        double deepest = 0;
        for (const Slice& slice : s.slices) {
            const double x = (slice.xLeft + slice.xRight) / 2;
            const double ground = x < 10 ? 0 : x < 30 ? (x - 10) / 2 : 10;
            deepest = std::max(
                deepest, ground - (s.circle.yc - std::sqrt(s.circle.R * s.circle.R -
                                                           (x - s.circle.xc) * (x - s.circle.xc))));
        }
        EXPECT_NEAR(deepest, least, 0.02 * least) << least;
        // tanφ ÷ tanβ of the infinite slope, approached from above
        EXPECT_GT(*s.Fs, std::tan(30 * M_PI / 180) / 0.5);
        EXPECT_LT(*s.Fs, 1.01 * std::tan(30 * M_PI / 180) / 0.5);
    }
}

// The engineer's limits hold the search: entries on the crest, exits before the toe, centres in
// a box (the slope rises to the right, so its upper side is on the right).
TEST(CircularSlide, TheSearchKeepsWithinTheEngineersLimits) {
    const SlopeSection s = section({{0, 0}, {10, 0}, {30, 10}, {40, 10}}, {{10, 20, 10, 20, 20}});
    const CircularSlide free = criticalCircle(s);
    const struct {
        SearchLimits limits;
        double entryFrom, entryTo, exitFrom, exitTo;
    } cases[] = {
        {{Range{32, 38}, Range{5, 12}, {}, {}}, 32, 38, 5, 12},
        {{Range{25, 30}, {}, {}, {}}, 25, 30, 0, 40},
        {{{}, {}, Range{20, 24}, Range{25, 30}}, 0, 40, 0, 40},
    };
    for (const auto& c : cases) {
        const CircularSlide held = criticalCircle(s, c.limits);
        const double entry = held.slices.front().xRight, exit = held.slices.back().xLeft;
        EXPECT_GE(entry, c.entryFrom);
        EXPECT_LE(entry, c.entryTo);
        EXPECT_GE(exit, c.exitFrom);
        EXPECT_LE(exit, c.exitTo);
        if (c.limits.centreX) {
            EXPECT_GE(held.circle.xc, 20);
            EXPECT_LE(held.circle.xc, 24);
            EXPECT_GE(held.circle.yc, 25);
            EXPECT_LE(held.circle.yc, 30);
        }
        EXPECT_GE(*held.Fs, *free.Fs); // a limit never lowers the least factor
    }
}

// Each refusal of the circular method's inputs names its field and says why.
TEST(CircularSlide, BadInputNamesItsFieldAndWhy) {
    std::string many;
    for (int i = 0; i <= 200; ++i) {
        many += (i ? ";" : "") + std::to_string(i) + " " + std::to_string(i % 7);
    }
    const struct {
        const char* control;
        std::string text;
        const char* named;
    } cases[] = {
        {"surfacex", "0 0;10 0;10 5", "surface"},
        {"surfacex", many, "surface"},
        {"gammax", "0", "gamma"},
        {"layersx", "10 19 8 20;12 20 10 20", "layers"},
        {"layersx", "10 0 8 20", "layers"},
        {"layersx", "10 19 -1 20", "layers"},
        {"layersx", "10 19 8 90", "layers"},
        {"layersx", "10 19 8 20 0", "layers"},
        {"waterx", "0 1;0 2", "water"},
        {"slicesx", "1001", "slices"},
        {"slicesx", "2.5", "slices"},
        {"circlex", "20 30 0", "circle"},
        {"circlex", "20 30 25;20 30 26", "circle"},
        {"mindepthx", "-0.1", "min_depth"},
        {"entryx", "30 20", "entry"},
        {"exitx", "50 60", "exit"},
        {"centresx", "10 20 30 25", "centres"},
        // a top as it lies: its parentheses, its points, a top above the one over it
        {"layersx", "(0 10, 20 12 19 8 20", "layers"},
        {"layersx", "(0 10, 0 12) 19 8 20", "layers"},
        {"layersx", "(0 10) 19 8 20", "layers"},
        {"layersx", "(0 10, 20 12) 19 8", "layers"},
        {"layersx", "10 19 8 20;(0 12, 40 8) 20 10 20", "layers"},
        {"crackx", "-1", "crack"},
        {"crackfilledx", "1.5", "crack_filled"},
        {"loadsx", "10 5 3", "loads"},
        {"loadsx", "-5 1 2", "loads"},
        // Bishop's method judges circles alone
        {"slipx", "0 1;20 -2;40 11", "slip"},
        {"searchx", "非圆弧", "search"},
    };
    for (const auto& c : cases) {
        MapForm form(kSlopeStability);
        form.texts[c.control] = c.text;
        try {
            kSlopeStability.calculate(int(SlopeMethod::Bishop), form, nullptr);
            ADD_FAILURE() << c.control << " " << c.text << ": no failure";
        } catch (const FieldError& e) {
            EXPECT_EQ(e.kind(), ErrorKind::InvalidArgument) << c.text;
            EXPECT_EQ(kSlopeStability[e.field()].name, c.named) << c.text;
            EXPECT_FALSE(e.reason().empty()) << c.text;
        }
    }
    // one surface at a time
    MapForm both(kSlopeStability);
    both.texts["circlex"] = "20 30 25";
    both.texts["slipx"] = "0 1;20 -2;40 11";
    try {
        kSlopeStability.calculate(int(SlopeMethod::Spencer), both, nullptr);
        ADD_FAILURE() << "a circle and a polyline: no failure";
    } catch (const FieldError& e) {
        EXPECT_EQ(kSlopeStability[e.field()].name, std::string_view("slip"));
    }
    // saturated soil lighter than the water it holds, under a phreatic line
    MapForm form(kSlopeStability);
    form.texts["layersx"] = "10 19 8 20 9.5";
    EXPECT_NO_THROW(kSlopeStability.calculate(int(SlopeMethod::Bishop), form, nullptr));
    form.texts["waterx"] = "0 -1;40 5";
    try {
        kSlopeStability.calculate(int(SlopeMethod::Bishop), form, nullptr);
        ADD_FAILURE() << "γsat 9.5 under water: no failure";
    } catch (const FieldError& e) {
        EXPECT_EQ(kSlopeStability[e.field()].name, std::string_view("layers"));
    }
}

} // namespace
