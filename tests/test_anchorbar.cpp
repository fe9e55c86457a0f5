#include "routines/anchorbar.h"
#include "shell/numerictext.h"

#include "failswith.h"

#include <gtest/gtest.h>

#include <string>

using namespace subprogram;

namespace {

// The anchor window's defaults: Htk = 10, fy = 310, γ0 = 1.1, frb = 180, D = 140, d = 22,
// fb = 2700, n = 3.
AnchorBar defaults(double a, bool permanent) {
    return anchorBarDesign(3, 140, 10, a, 310, permanent, 1.1, 180, 2700, 22);
}

struct AnchorCase {
    const char* name;
    double a;
    bool permanent;
    const char* Na;
    const char* As;
    const char* la; // metres
    const char* lb; // metres
};

class AnchorBarDesign : public testing::TestWithParam<AnchorCase> {};

TEST_P(AnchorBarDesign, WritesTheExpectedTexts) {
    const auto& c = GetParam();
    const AnchorBar r = defaults(c.a, c.permanent);
    EXPECT_EQ(doubleToText(r.Na), c.Na);
    EXPECT_EQ(doubleToText(r.As), c.As);
    EXPECT_EQ(doubleToText(r.la), c.la);
    EXPECT_EQ(doubleToText(r.lb), c.lb);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, AnchorBarDesign,
    testing::Values(AnchorCase{"level_permanent", 0, true, "12.5", "0.0642823749415615",
                               "0.126313449053005", "0.0409349140449553"},
                    AnchorCase{"level_temporary", 0, false, "12.5", "0.0482117812061711",
                               "0.094972518084966", "0.034112428370796"},
                    AnchorCase{"thirty_degrees", 30, true, "14.4337566553104", "0.0742268925705536",
                               "0.145854206873921", "0.0472675670424745"},
                    // cos(90 × 3.1415926 ÷ 180) is about 2.68E-08, not zero
                    AnchorCase{"vertical", 90, true, "466506745.429435", "2399052.921797",
                               "4714086.08173472", "1527713.08204366"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AnchorBarDesign, LengthsAreInMetresForDiametersInMillimetres) {
    // a level permanent anchor: la = Htk ÷ (π·D·frb) with D in metres
    const AnchorBar r = anchorBarDesign(3, 1000, 3.1415926, 0, 310, true, 1, 1, 2700, 22);
    EXPECT_EQ(doubleToText(r.la), "1");
}

struct AnchorFailure {
    const char* name;
    double D, fy, frb, fb, d;
    ErrorKind kind;
};

class AnchorBarFails : public testing::TestWithParam<AnchorFailure> {};

TEST_P(AnchorBarFails, WithItsKind) {
    const auto& c = GetParam();
    EXPECT_TRUE(FailsWith(
        c.kind, [&] { anchorBarDesign(3, c.D, 10, 0, c.fy, true, 1.1, c.frb, c.fb, c.d); }));
}

INSTANTIATE_TEST_SUITE_P(
    Failures, AnchorBarFails,
    testing::Values(
        AnchorFailure{"zero_strength", 140, 0, 180, 2700, 22, ErrorKind::DivisionByZero},
        AnchorFailure{"zero_body", 0, 310, 180, 2700, 22, ErrorKind::DivisionByZero},
        AnchorFailure{"zero_rock_bond", 140, 310, 0, 2700, 22, ErrorKind::DivisionByZero},
        AnchorFailure{"zero_bar", 140, 310, 180, 2700, 0, ErrorKind::DivisionByZero},
        AnchorFailure{"zero_grout_bond", 140, 310, 180, 0, 22, ErrorKind::DivisionByZero},
        AnchorFailure{"huge_section", 140, 1e-320, 180, 2700, 22, ErrorKind::Overflow}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AnchorBarDesign, NoBarsFailsInTheGroutLength) {
    EXPECT_TRUE(FailsWith(ErrorKind::DivisionByZero,
                          [&] { anchorBarDesign(0, 140, 10, 0, 310, true, 1.1, 180, 2700, 22); }));
}

TEST(AnchorBarDesign, ZeroTensionWithZeroStrengthIsAnInvalidOperation) {
    EXPECT_TRUE(FailsWith(ErrorKind::Overflow,
                          [&] { anchorBarDesign(3, 140, 0, 0, 0, true, 1.1, 180, 2700, 22); }));
}

} // namespace
