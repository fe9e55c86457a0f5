#include "bench/inputs.h"
#include "bench/plain.h"
#include "calculators/anchorbar.h"
#include "calculators/beam.h"
#include "calculators/earthpressure.h"
#include "calculators/gravitywall.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

// The benchmark times each checked routine against its formulas copied in plain double: the
// copies must compute what the routines compute, to the bit, on the inputs they are timed on.
namespace {

using namespace subprogram;

template <typename A, typename B> bool sameBits(const A& a, const B& b) {
    static_assert(sizeof a == sizeof b);
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(PlainFormulas, ComputeWhatTheRoutinesCompute) {
    const inputs::All all = inputs::draw();
    for (std::size_t i = 0; i < inputs::kCount; ++i) {
        const inputs::Earth& e = all.earth[i];
        double pair[2];
        plain::coulombActive(e.H, e.g, e.phi, e.c, e.q, e.delta, e.beta, e.alpha, pair[0], pair[1]);
        EXPECT_TRUE(sameBits(
            coulombActive(e.H, e.g, e.phi, e.c, e.q, e.delta, e.theta, e.beta, e.alpha), pair))
            << "coulombActive " << i;
        plain::atRestEarthPressure(e.phi, e.q, e.g, e.H, pair[0], pair[1]);
        EXPECT_TRUE(sameBits(atRestEarthPressure(e.phi, e.q, e.g, e.H), pair)) << "at rest " << i;
        plain::limitedFillEarthPressure(e.H, e.g, e.dr, e.c, e.delta, e.theta, e.beta, e.alpha,
                                        pair[0], pair[1]);
        EXPECT_TRUE(sameBits(
            limitedFillEarthPressure(e.H, e.g, e.dr, e.c, e.q, e.delta, e.theta, e.beta, e.alpha),
            pair))
            << "limited fill " << i;

        const inputs::Anchor& a = all.anchors[i];
        double anchor[5];
        plain::anchorBarDesign(3, a.D, a.Htk, a.a, a.fy, i % 2, a.g0, a.frb, a.fb, a.d, anchor);
        EXPECT_TRUE(sameBits(
            anchorBarDesign(3, a.D, a.Htk, a.a, a.fy, i % 2, a.g0, a.frb, a.fb, a.d), anchor))
            << "anchor " << i;

        const inputs::Wall& w = all.walls[i];
        float weight[2];
        plain::uprightWallWeight(w.n, w.Ht, w.h1, w.alpha0, w.b1, w.b2, w.gw, w.b, weight[0],
                                 weight[1]);
        const WallWeight upright = uprightWallWeight(inputs::upright(w));
        EXPECT_TRUE(sameBits(std::array{upright.G, upright.x0}, weight)) << "upright " << i;
        plain::shelfWallWeight(w.n, w.x2, w.x3, w.h1, w.Ht, w.h4, w.b1, w.b2, w.b3, w.b4, w.b5, w.b,
                               w.gw, weight[0], weight[1]);
        const WallWeight shelf = shelfWallWeight(inputs::shelf(w));
        EXPECT_TRUE(sameBits(std::array{shelf.G, shelf.x0}, weight)) << "shelf " << i;
        EXPECT_TRUE(sameBits(antiSlidingFactor(w.G, w.Ea, w.alpha0, w.alpha, w.delta, w.mu),
                             plain::antiSlidingFactor(w.G, w.Ea, w.alpha0, w.alpha, w.delta, w.mu)))
            << "sliding " << i;
        EXPECT_TRUE(sameBits(
            antiOverturningFactor(w.G, w.Ea, w.alpha0, w.z, w.alpha, w.delta, w.b, w.x0),
            plain::antiOverturningFactor(w.G, w.Ea, w.alpha0, w.z, w.alpha, w.delta, w.b, w.x0)))
            << "overturning " << i;
        float stress[3];
        plain::baseStress(w.G, w.H, w.Ht, w.h2, w.x0, w.delta, w.alpha, w.Ea, w.b, stress);
        const BaseStress base = baseStress(w.G, w.H, w.Ht, w.h2, w.x0, w.delta, w.alpha, w.Ea, w.b);
        EXPECT_TRUE(sameBits(std::array{base.pmax, base.pmin, base.e}, stress)) << "base " << i;

        const bool fixed = i % 3 == 0;
        const auto moments =
            plain::solveContinuousBeam(10, 2.0, 200, 300, all.loads[i], 25500, fixed);
        const auto end = fixed ? EndCondition::Fixed : EndCondition::Hinged;
        const auto solved = solveContinuousBeam(std::vector<double>(10, 2.0), 200, 300,
                                                all.loads[i], 25500, end, end);
        ASSERT_EQ(solved.size(), moments.size());
        for (std::size_t s = 0; s < solved.size(); ++s) {
            EXPECT_TRUE(sameBits(solved[s].upper, moments[s].first) &&
                        sameBits(solved[s].lower, moments[s].second))
                << "beam " << i << " span " << s;
        }
    }
}

} // namespace
