#include "routines/beam.h"
#include "shell/calcerror.h"

#include "failswith.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace subprogram;

namespace {

constexpr double kTight = 1e-9; // closed forms hold to rounding

std::vector<SpanMoments> solve(int n, EndCondition upper, EndCondition lower, double q = 10,
                               double Ec = 25500) {
    return solveContinuousBeam(std::vector<double>(n, 2.0), 200, 300, q, Ec, upper, lower);
}

// Six significant digits, as the worked values are given.
double sixDigits(double v) {
    const double scale = std::pow(10, 5 - std::floor(std::log10(std::fabs(v))));
    return std::round(v * scale) / scale;
}

TEST(CombinedLoadFixedEndMoments, WorkedExamples) {
    double up = 0, low = 0;
    combinedLoadFixedEndMoments(2, 4, 20, 40, up, low);
    EXPECT_NEAR(up, -161.0 - 1.0 / 3, kTight);
    EXPECT_NEAR(low, 176.0 + 4.0 / 9, kTight);
    combinedLoadFixedEndMoments(2, 0, 0, 10, up, low);
    EXPECT_NEAR(up, -4.0 / 3, kTight);
    EXPECT_NEAR(low, 2, kTight);
}

TEST(CombinedLoadFixedEndMoments, TrapezoidalLoadClosedForm) {
    // from a3 at the upper end to a3 + a4 at the lower: −a3L²/12 − a4L²/30 and a3L²/12 + a4L²/20
    for (const double L : {0.5, 3.0, 7.25}) {
        double up = 0, low = 0;
        combinedLoadFixedEndMoments(L, 0, 5, 7, up, low);
        EXPECT_NEAR(up, -5 * L * L / 12 - 7 * L * L / 30, kTight * L * L) << L;
        EXPECT_NEAR(low, 5 * L * L / 12 + 7 * L * L / 20, kTight * L * L) << L;
    }
}

TEST(CombinedLoadFixedEndMoments, ZeroLengthSpanFails) {
    double up = 0, low = 0;
    EXPECT_THROW(combinedLoadFixedEndMoments(0, 0, 1, 1, up, low), CalcError);
}

using E = EndCondition;

TEST(SolveContinuousBeam, OneSpanClosedForms) {
    const auto fixed = solve(1, E::Fixed, E::Fixed);
    ASSERT_EQ(fixed.size(), 1u);
    EXPECT_NEAR(fixed[0].upper, -10.0 / 3, kTight); // −qL²/12
    EXPECT_NEAR(fixed[0].lower, 10.0 / 3, kTight);
    const auto hinged = solve(1, E::Hinged, E::Hinged);
    EXPECT_NEAR(hinged[0].upper, 0, kTight);
    EXPECT_NEAR(hinged[0].lower, 0, kTight);
}

TEST(SolveContinuousBeam, TwoEqualSpansCarryQL2Over8OverTheMiddleSupport) {
    const auto m = solve(2, E::Hinged, E::Hinged);
    EXPECT_NEAR(m[0].lower, 5, kTight);
    EXPECT_NEAR(m[1].upper, -5, kTight);
    EXPECT_NEAR(m[0].upper, 0, kTight);
    EXPECT_NEAR(m[1].lower, 0, kTight);
    for (const double L : {1.5, 3.0, 6.0}) {
        const auto r = solveContinuousBeam({L, L}, 250, 400, 7, 30000, E::Hinged, E::Hinged);
        EXPECT_NEAR(r[0].lower, 7 * L * L / 8, kTight * L * L) << L;
    }
}

TEST(SolveContinuousBeam, ThreeEqualSpansCarryATenthOfQL2) {
    const auto m = solve(3, E::Hinged, E::Hinged);
    EXPECT_NEAR(m[0].lower, 4, kTight);
    EXPECT_NEAR(m[1].upper, -4, kTight);
    EXPECT_NEAR(m[1].lower, 4, kTight);
    EXPECT_NEAR(m[2].upper, -4, kTight);
}

TEST(SolveContinuousBeam, KinkInsideTheMemberWorkedValues) {
    const auto five = solve(5, E::Hinged, E::Hinged);
    EXPECT_DOUBLE_EQ(sixDigits(five[0].lower), 2.96013);
    EXPECT_DOUBLE_EQ(sixDigits(five[4].upper), -4.23285);
    const auto ten = solve(10, E::Fixed, E::Fixed);
    EXPECT_DOUBLE_EQ(sixDigits(ten[0].upper), -0.357266);
    EXPECT_DOUBLE_EQ(sixDigits(ten[0].lower), 1.6188);
    EXPECT_DOUBLE_EQ(sixDigits(ten[9].lower), 3.33332);
}

TEST(SolveContinuousBeam, FreeIsSolvedAsHinged) {
    for (int n : {1, 2, 5, 10}) {
        const auto hinged = solve(n, E::Hinged, E::Fixed);
        const auto freeEnd = solve(n, E::Free, E::Fixed);
        const auto both = solve(n, E::Free, E::Free);
        const auto hingedBoth = solve(n, E::Hinged, E::Hinged);
        for (int i = 0; i < n; ++i) {
            EXPECT_EQ(freeEnd[i].upper, hinged[i].upper);
            EXPECT_EQ(freeEnd[i].lower, hinged[i].lower);
            EXPECT_EQ(both[i].upper, hingedBoth[i].upper);
            EXPECT_EQ(both[i].lower, hingedBoth[i].lower);
        }
    }
}

TEST(SolveContinuousBeam, AGradeOutsideTheTableFailsExceptForOneFixedSpan) {
    EXPECT_EQ(modulusForGrade("C50"), 0);
    EXPECT_THROW(solve(2, E::Hinged, E::Hinged, 10, 0), CalcError);
    EXPECT_THROW(solve(1, E::Hinged, E::Fixed, 10, 0), CalcError);
    const auto m = solve(1, E::Fixed, E::Fixed, 10, 0);
    EXPECT_NEAR(m[0].upper, -10.0 / 3, kTight);
    EXPECT_NEAR(m[0].lower, 10.0 / 3, kTight);
}

TEST(SolveContinuousBeam, CountLimits) {
    EXPECT_TRUE(
        FailsWith(ErrorKind::SubscriptOutOfRange, [&] { solve(100, E::Hinged, E::Hinged); }));
    EXPECT_EQ(solve(99, E::Hinged, E::Hinged).size(), 99u);
    EXPECT_TRUE(FailsWith(ErrorKind::DivisionByZero, [&] { solve(0, E::Hinged, E::Hinged); }));
}

TEST(ModulusForGrade, ExactTextMatch) {
    const std::pair<const char*, double> table[] = {{"C15", 22000}, {"C20", 25500}, {"C25", 28000},
                                                    {"C30", 30000}, {"C35", 31500}, {"C40", 32500},
                                                    {"c20", 0},     {" C20", 0},    {"", 0}};
    for (const auto& [grade, Ec] : table) {
        EXPECT_EQ(modulusForGrade(grade), Ec) << grade;
    }
}

TEST(EndConditionFromText, OnlyTheTwoWordsAreDistinguished) {
    EXPECT_EQ(endConditionFromText("嵌固"), E::Fixed);
    EXPECT_EQ(endConditionFromText("铰支"), E::Hinged);
    EXPECT_EQ(endConditionFromText("自由"), E::Free);
    EXPECT_EQ(endConditionFromText("铰支 "), E::Free);
    EXPECT_EQ(endConditionFromText(""), E::Free);
}

struct CountCase {
    const char* text;
    int spans;      // when accepted
    ErrorKind kind; // when refused
    bool accepted;
};

class SpanCount : public testing::TestWithParam<CountCase> {};

TEST_P(SpanCount, ReadsWholeNumbersUpTo99) {
    const auto& c = GetParam();
    if (c.accepted) {
        EXPECT_EQ(spanCount(c.text), c.spans) << c.text;
        return;
    }
    EXPECT_TRUE(FailsWith(c.kind, [&] { spanCount(c.text); })) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Counts, SpanCount,
                         testing::Values(CountCase{"2", 2, {}, true},
                                         CountCase{" 10 ", 10, {}, true},
                                         CountCase{"99", 99, {}, true},
                                         CountCase{"2.0", 2, {}, true}, CountCase{"0", 0, {}, true},
                                         CountCase{"-3", 0, {}, true},
                                         CountCase{"2.5", 0, ErrorKind::TypeMismatch, false},
                                         CountCase{"0.1", 0, ErrorKind::TypeMismatch, false},
                                         CountCase{"100", 0, ErrorKind::SubscriptOutOfRange, false},
                                         CountCase{"1E9", 0, ErrorKind::SubscriptOutOfRange, false},
                                         CountCase{"two", 0, ErrorKind::TypeMismatch, false}));

int countLinesFrom(const BeamSketch& s, double x1, double y1) {
    int count = 0;
    for (const auto& l : s.lines) {
        count += l.x1 == x1 && l.y1 == y1;
    }
    return count;
}

TEST(DrawBeamSketch, IntermediateSupportsAreEvenlySpaced) {
    BeamSketch s;
    drawBeamSketch("1", "自由", "自由", false, s);
    EXPECT_TRUE(s.circles.empty());
    drawBeamSketch("10", "自由", "自由", false, s);
    std::vector<double> ys;
    for (const auto& c : s.circles) {
        EXPECT_EQ(c.x, 600);
        EXPECT_EQ(c.r, 50);
        ys.push_back(c.y);
    }
    EXPECT_EQ(ys, (std::vector<double>{540, 980, 1420, 1860, 2300, 2740, 3180, 3620, 4060}));
}

TEST(DrawBeamSketch, EndSymbolsFollowTheSupportTexts) {
    BeamSketch s;
    drawBeamSketch("2", "铰支", "铰支", false, s);
    ASSERT_EQ(s.circles.size(), 3u);
    EXPECT_EQ(s.circles.front().y, 100);
    EXPECT_EQ(s.circles.back().y, 4500);
    drawBeamSketch("2", "嵌固", "嵌固", false, s);
    ASSERT_EQ(s.circles.size(), 1u);           // the middle support only
    EXPECT_EQ(countLinesFrom(s, 300, 100), 2); // the base line and the first hatch
    EXPECT_EQ(countLinesFrom(s, 750, 100), 1); // the last hatch
    EXPECT_EQ(countLinesFrom(s, 300, 4500), 2);
    const std::size_t withHatches = s.lines.size();
    drawBeamSketch("2", "自由", "自由", false, s);
    EXPECT_EQ(s.lines.size(), withHatches - 22);
    // outline, twenty load lines and the load outline
    EXPECT_EQ(s.lines.size(), 4u + 20u + 3u);
}

TEST(DrawBeamSketch, ABadCountStopsWhereTheCountIsFirstUsed) {
    BeamSketch s;
    EXPECT_TRUE(
        FailsWith(ErrorKind::TypeMismatch, [&] { drawBeamSketch("x", "铰支", "铰支", false, s); }));
    EXPECT_EQ(s.lines.size(), 4u);   // the outline
    EXPECT_EQ(s.circles.size(), 1u); // and the upper support
    EXPECT_THROW(drawBeamSketch("x", "铰支", "铰支", true, s), CalcError);
    EXPECT_EQ(s.circles.size(), 2u); // the lower support too, from a choice in the span list
    EXPECT_THROW(drawBeamSketch("1000000", "铰支", "铰支", false, s), CalcError);
}

TEST(DrawBeamSketch, ACountIsUsedWithoutRounding) {
    BeamSketch s;
    drawBeamSketch("2.5", "自由", "自由", false, s);
    ASSERT_EQ(s.circles.size(), 1u); // i = 1 only, since 2 > 1.5
    EXPECT_EQ(s.circles[0].y, 1860); // 4400 ÷ 2.5 + 100
}

} // namespace
