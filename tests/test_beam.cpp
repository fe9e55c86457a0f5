#include "calculators/beam.h"

#include "failswith.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace subprogram;
using E = EndCondition;

namespace {

constexpr double kTight = 1e-9; // closed forms hold to rounding

TEST(CombinedLoadFixedEndMoments, WorkedExamplesAndTheTrapezoidalClosedForm) {
    double up = 0, low = 0;
    combinedLoadFixedEndMoments(2, 4, 20, 40, up, low);
    EXPECT_NEAR(up, -161.0 - 1.0 / 3, kTight);
    EXPECT_NEAR(low, 176.0 + 4.0 / 9, kTight);
    // from a3 at the upper end to a3 + a4 at the lower: −a3L²/12 − a4L²/30 and a3L²/12 + a4L²/20
    for (const double L : {0.5, 2.0, 7.25}) {
        combinedLoadFixedEndMoments(L, 0, 5, 7, up, low);
        EXPECT_NEAR(up, -5 * L * L / 12 - 7 * L * L / 30, kTight * L * L) << L;
        EXPECT_NEAR(low, 5 * L * L / 12 + 7 * L * L / 20, kTight * L * L) << L;
    }
    EXPECT_THROW(combinedLoadFixedEndMoments(0, 0, 1, 1, up, low), CalcError);
}

// q = 10 on spans of 2 m, b × h = 200 × 300, C20, unless the lengths say otherwise.
struct Moment {
    std::size_t span; // from 1
    bool lower;       // the span's lower end, else its upper end
    double value;
};

struct BeamCase {
    const char* name;
    std::vector<double> lengths;
    E upper, lower;
    std::vector<Moment> moments;
    double digits = 0; // 0: to rounding; else the worked values' significant digits
};

class ContinuousBeam : public testing::TestWithParam<BeamCase> {};

TEST_P(ContinuousBeam, GivesTheClosedFormsAndWorkedValues) {
    const BeamCase& c = GetParam();
    const auto m = solveContinuousBeam(c.lengths, 200, 300, 10, 25500, c.upper, c.lower);
    ASSERT_EQ(m.size(), c.lengths.size());
    for (const Moment& e : c.moments) {
        const double actual = e.lower ? m[e.span - 1].lower : m[e.span - 1].upper;
        const double tolerance =
            c.digits ? std::pow(10, std::floor(std::log10(std::fabs(e.value))) - c.digits + 1) / 2
                     : kTight;
        EXPECT_NEAR(actual, e.value, tolerance) << "span " << e.span << (e.lower ? " lower" : "");
    }
}

const std::vector<double> kSpans(std::size_t n) {
    return std::vector<double>(n, 2.0);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(ClosedForms, ContinuousBeam, testing::Values(
    // −qL²/12 and +qL²/12
    BeamCase{"one_fixed_span", kSpans(1), E::Fixed, E::Fixed, {{1, 0, -10.0 / 3}, {1, 1, 10.0 / 3}}},
    BeamCase{"one_hinged_span", kSpans(1), E::Hinged, E::Free, {{1, 0, 0}, {1, 1, 0}}},
    // qL²/8 over the middle support
    BeamCase{"two_spans", kSpans(2), E::Hinged, E::Hinged, {{1, 0, 0}, {1, 1, 5}, {2, 0, -5}, {2, 1, 0}}},
    // the three-moment equation for spans L and 2L: q(L³ + 8L³) ÷ (8 · 3L) = 3qL²/8
    BeamCase{"spans_two_and_four", {2, 4}, E::Hinged, E::Hinged, {{1, 1, 15}, {2, 0, -15}}},
    // 0.1 qL² over the interior supports; a free end is solved as a hinged one
    BeamCase{"three_spans", kSpans(3), E::Free, E::Hinged, {{1, 1, 4}, {2, 0, -4}, {2, 1, 4}, {3, 0, -4}}},
    BeamCase{"five_spans", kSpans(5), E::Hinged, E::Hinged, {{1, 1, 2.96013}, {5, 0, -4.23285}}, 6},
    BeamCase{"ten_spans", kSpans(10), E::Fixed, E::Fixed, {{1, 0, -0.357266}, {1, 1, 1.6188}, {10, 1, 3.33332}}, 6}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(ContinuousBeam, RigidityAndAGradeOutsideTheTable) {
    Trace trace;
    solveContinuousBeam(kSpans(1), 200, 300, 10, modulusForGrade("C20"), E::Fixed, E::Fixed,
                        &trace);
    EXPECT_NEAR(*trace.value("EI1"), 11.475, kTight); // 25500 · 0.2 · 0.3³ ÷ 12, in 10³ kN·m²
    EXPECT_NEAR(*trace.value("k1"), 5.7375, kTight);
    // Ec = 0: every stiffness is zero, and only two fixed ends of one span still solve
    EXPECT_THROW(solveContinuousBeam(kSpans(2), 200, 300, 10, 0, E::Hinged, E::Hinged), CalcError);
    EXPECT_THROW(solveContinuousBeam(kSpans(1), 200, 300, 10, 0, E::Hinged, E::Fixed), CalcError);
    EXPECT_NEAR(solveContinuousBeam(kSpans(1), 200, 300, 10, 0, E::Fixed, E::Fixed)[0].lower,
                10.0 / 3, kTight);
}

TEST(ContinuousBeam, GradesAndCountLimits) {
    const std::pair<const char*, double> table[] = {{"C15", 22000}, {"C20", 25500}, {"C25", 28000},
                                                    {"C30", 30000}, {"C35", 31500}, {"C40", 32500},
                                                    {"c20", 0},     {" C20", 0},    {"", 0}};
    for (const auto& [grade, Ec] : table) {
        EXPECT_EQ(modulusForGrade(grade), Ec) << grade;
    }
    EXPECT_EQ(solveContinuousBeam(kSpans(99), 200, 300, 10, 25500, E::Hinged, E::Hinged).size(),
              99u);
    EXPECT_TRUE(FailsWith(ErrorKind::SubscriptOutOfRange, [] {
        solveContinuousBeam(kSpans(100), 200, 300, 10, 25500, E::Hinged, E::Hinged);
    }));
    EXPECT_TRUE(FailsWith(ErrorKind::DivisionByZero, [] {
        solveContinuousBeam({}, 200, 300, 10, 25500, E::Hinged, E::Hinged);
    }));
}

TEST(ContinuousBeam, EveryEndMomentIsNamedByItsSpanAndEnd) {
    const auto caption = [](std::size_t i) { return subprogram::kBeam.results[i].reportCaption; };
    EXPECT_EQ(caption(1), "第1跨上端弯矩");
    EXPECT_EQ(caption(2), "第1跨下端弯矩");
    EXPECT_EQ(caption(24), "第12跨下端弯矩");
    EXPECT_EQ(caption(197), "第99跨上端弯矩");
}

struct CountCase {
    const char* text;
    double spans;
    std::optional<ErrorKind> kind = {};
};

class SpanCount : public testing::TestWithParam<CountCase> {};

TEST_P(SpanCount, ReadsWholeNumbers) {
    const CountCase& c = GetParam();
    if (c.kind) {
        EXPECT_TRUE(FailsWith(*c.kind, [&] { spanCount(c.text); })) << c.text;
    } else {
        EXPECT_EQ(spanCount(c.text), c.spans) << c.text;
    }
}

INSTANTIATE_TEST_SUITE_P(Counts, SpanCount,
                         testing::Values(CountCase{"2", 2}, CountCase{" 10 ", 10},
                                         CountCase{"99", 99}, CountCase{"2.0", 2},
                                         CountCase{"0", 0}, CountCase{"-3", 0},
                                         CountCase{"2.5", 0, ErrorKind::TypeMismatch},
                                         CountCase{"two", 0, ErrorKind::TypeMismatch},
                                         CountCase{"100", 100}, CountCase{"1E9", 1e9}));

std::vector<double> circleYs(const Sketch& s) {
    std::vector<double> ys;
    for (const SketchCircle& c : s.circles) {
        EXPECT_EQ(c.x, 600);
        EXPECT_EQ(c.r, 50);
        ys.push_back(c.y);
    }
    return ys;
}

bool has(const Sketch& s, SketchLine l) {
    return std::any_of(s.lines.begin(), s.lines.end(), [&](const SketchLine& m) {
        return m.x1 == l.x1 && m.y1 == l.y1 && m.x2 == l.x2 && m.y2 == l.y2;
    });
}

TEST(BeamSketch, TheMemberItsLoadAndItsSupports) {
    Sketch s;
    drawBeamSketch("10", E::Free, E::Free, false, s);
    EXPECT_EQ(circleYs(s),
              (std::vector<double>{540, 980, 1420, 1860, 2300, 2740, 3180, 3620, 4060}));
    // the outline, twenty load lines (rising to full width at a fifth of the height) and the
    // load's outline; nothing at free ends
    const std::vector<SketchLine> expected = {
        {500, 100, 500, 4500},  {550, 100, 550, 4500},  {500, 100, 550, 100},
        {500, 4500, 550, 4500}, {500, 100, 500, 100},   {425, 320, 500, 320},
        {350, 540, 500, 540},   {275, 760, 500, 760},   {200, 980, 500, 980},
        {200, 4280, 500, 4280}, {200, 4500, 500, 4500}, {500, 100, 200, 980},
        {200, 980, 200, 4500}};
    for (const SketchLine& l : expected) {
        EXPECT_TRUE(has(s, l)) << l.x1 << ',' << l.y1 << ' ' << l.x2 << ',' << l.y2;
    }
    EXPECT_EQ(s.lines.size(), 4u + 20u + 3u);

    drawBeamSketch("2", E::Hinged, E::Fixed, false, s);
    EXPECT_EQ(circleYs(s), (std::vector<double>{100, 2300}));
    EXPECT_TRUE(has(s, {300, 4500, 750, 4500}));
    EXPECT_TRUE(has(s, {300, 4500, 350, 4550})); // the first of ten hatches
    EXPECT_TRUE(has(s, {750, 4500, 800, 4550})); // and the last
    EXPECT_EQ(s.lines.size(), 27u + 11u);
    drawBeamSketch("2.5", E::Fixed, E::Hinged, false, s); // the count is not rounded
    EXPECT_EQ(circleYs(s), (std::vector<double>{1860, 4500}));
    EXPECT_TRUE(has(s, {300, 100, 350, 50}));
}

TEST(BeamSketch, ABadCountStopsWhereTheCountIsFirstUsed) {
    Sketch s;
    EXPECT_TRUE(FailsWith(ErrorKind::TypeMismatch,
                          [&] { drawBeamSketch("x", E::Hinged, E::Hinged, false, s); }));
    EXPECT_EQ(s.lines.size(), 4u);                    // the outline
    EXPECT_EQ(circleYs(s), std::vector<double>{100}); // and the upper support
    EXPECT_THROW(drawBeamSketch("x", E::Hinged, E::Hinged, true, s), CalcError);
    EXPECT_EQ(circleYs(s), (std::vector<double>{100, 4500})); // the lower too, from the span list
    EXPECT_TRUE(FailsWith(ErrorKind::SubscriptOutOfRange,
                          [&] { drawBeamSketch("100", E::Free, E::Free, false, s); }));
    drawBeamSketch("99", E::Free, E::Free, false, s);
    EXPECT_EQ(s.circles.size(), 98u);
}

} // namespace
