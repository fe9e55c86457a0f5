#include "calculators/anchorbar.h"

#include "failswith.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>
#include <utility>

using namespace subprogram;

namespace {

// The anchor window's defaults but for the parameters a case changes.
struct AnchorCase {
    double a;
    bool permanent;
    const char* Na;
    const char* As; // mm²
    const char* la; // metres
    const char* lb; // metres
    std::int16_t n = 3;
    double D = 140, Htk = 10, fy = 310, frb = 180, fb = 2700, d = 22;
    std::optional<ErrorKind> kind = {};
};

class AnchorBarDesign : public testing::TestWithParam<AnchorCase> {};

TEST_P(AnchorBarDesign, GivesTheWorkedTextsOrFailsWithItsKind) {
    const AnchorCase& c = GetParam();
    const auto run = [&] {
        return anchorBarDesign(c.n, c.D, c.Htk, c.a, c.fy, c.permanent, 1.1, c.frb, c.fb, c.d);
    };
    if (c.kind) {
        EXPECT_TRUE(FailsWith(*c.kind, run));
        return;
    }
    const AnchorBar r = run();
    for (const auto& [value, text] :
         {std::pair{r.Na, c.Na}, {r.As, c.As}, {r.la, c.la}, {r.lb, c.lb}}) {
        if (text) { // a case may check only the value its closed form gives
            EXPECT_EQ(doubleToText(value), text);
        }
    }
}

constexpr auto DZ = ErrorKind::DivisionByZero;

INSTANTIATE_TEST_SUITE_P(
    Examples, AnchorBarDesign,
    testing::Values(
        AnchorCase{0, true, "12.5", "64.2823749415615", "0.126313449053005", "0.0409349140449553"},
        AnchorCase{0, false, "12.5", "48.2117812061711", "0.094972518084966", "0.034112428370796"},
        AnchorCase{30, true, "14.4337566553104", "74.2268925705536", "0.145854206873921",
                   "0.0472675670424745"},
        // cos(90 × 3.1415926 ÷ 180) is about 2.68E-08, not zero
        AnchorCase{90, true, "466506745.429435", "2399052921.797", "4714086.08173472",
                   "1527713.08204366"},
        // la = Htk ÷ (π·D·frb) with D in metres: 1 m for a body of 1000 mm
        AnchorCase{0, true, "3.92699075", nullptr, "1", nullptr, 3, 1000, 3.1415926, 310, 1},
        AnchorCase{0, true, {}, {}, {}, {}, 3, 140, 10, 0, 180, 2700, 22, DZ},
        AnchorCase{0, true, {}, {}, {}, {}, 3, 0, 10, 310, 180, 2700, 22, DZ},
        AnchorCase{0, true, {}, {}, {}, {}, 3, 140, 10, 310, 0, 2700, 22, DZ},
        AnchorCase{0, true, {}, {}, {}, {}, 3, 140, 10, 310, 180, 2700, 0, DZ},
        AnchorCase{0, true, {}, {}, {}, {}, 3, 140, 10, 310, 180, 0, 22, DZ},
        AnchorCase{0, true, {}, {}, {}, {}, 0, 140, 10, 310, 180, 2700, 22, DZ},
        AnchorCase{0, true, {}, {}, {}, {}, 3, 140, 10, 1e-320, 180, 2700, 22, ErrorKind::Overflow},
        // zero tension over zero strength is an invalid operation
        AnchorCase{0, true, {}, {}, {}, {}, 3, 140, 0, 0, 180, 2700, 22, ErrorKind::Overflow}));

// The bars provided, n·π·d²/4 with π as 3.1415926, whatever the anchor carries.
TEST(BarSection, IsTheAreaOfNBarsOfDiameterD) {
    for (const auto& [n, d, provided] : {std::tuple{std::int16_t(3), 22.0, "1140.3981138"},
                                         {std::int16_t(1), 20.0, "314.15926"},
                                         {std::int16_t(4), 32.0, "3216.9908224"}}) {
        EXPECT_EQ(doubleToText(barSection(n, d)), provided) << n << " bars of " << d;
    }
}

} // namespace
