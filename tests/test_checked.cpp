#include "calculators/anchorbar.h"
#include "calculators/beam.h"
#include "calculators/earthpressure.h"
#include "calculators/gravitywall.h"
#include "core/checked.h"

#include "failswith.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

struct Failure {
    std::function<Num()> operation;
    ErrorKind kind;
};

class CheckedArithmetic : public testing::TestWithParam<Failure> {};

TEST_P(CheckedArithmetic, FailsWithItsKind) {
    EXPECT_TRUE(FailsWith(GetParam().kind, [] { GetParam().operation(); }));
}

const Num kHuge = DBL_MAX;

INSTANTIATE_TEST_SUITE_P(
    Failures, CheckedArithmetic,
    testing::Values(Failure{[] { return Num(-3) / 0; }, ErrorKind::DivisionByZero},
                    Failure{[] { return Num(2) / -0.0; }, ErrorKind::DivisionByZero},
                    Failure{[] { return Num(0) / 0; }, ErrorKind::Overflow},
                    Failure{[] { return kHuge + kHuge; }, ErrorKind::Overflow},
                    Failure{[] { return -kHuge - kHuge; }, ErrorKind::Overflow},
                    Failure{[] { return kHuge * 2; }, ErrorKind::Overflow},
                    Failure{[] { return kHuge / 0.5; }, ErrorKind::Overflow},
                    Failure{[] { return sqrt(Num(-1e-300)); }, ErrorKind::InvalidArgument}));

TEST(CheckedArithmetic, UnderflowLostPrecisionAndTrigonometryRaiseNothing) {
    EXPECT_EQ((Num(1e-300) * 1e-300).value(), 0.0);
    EXPECT_GT((Num(1e-300) / 1e10).value(), 0.0); // a denormal
    EXPECT_EQ((Num(1e16) + 1).value(), 1e16);
    EXPECT_EQ(sqrt(Num(-0.0)).value(), 0.0);
    EXPECT_NO_THROW(tan(Num(1e300)));
}

TEST(CheckedArithmetic, EvaluatesLeftToRightAsWritten) {
    EXPECT_THROW(Num(1e308) * 10 / 10, CalcError); // overflows on the way
    EXPECT_EQ((Num(0.1) + 0.2 + 0.3).value(), 0.6000000000000001);
    EXPECT_EQ((Num(0.1) + (Num(0.2) + 0.3)).value(), 0.6);
}

} // namespace

// Untraced, a routine runs first on DeferredNum and falls back to Num when that fails; traced, it
// runs on Num alone. Both must give the same bits, or fail with the same kind, for every input.
namespace {

class Draw {
  public:
    // A mixture of plausible values, signs, zeros and magnitudes at the edges of both ranges.
    double any() {
        static constexpr double kEdges[] = {0,      -0.0,   1,     -1,     90,      180,
                                            1e-300, 1e-45,  1e300, -1e300, DBL_MAX, FLT_MAX,
                                            3.4e38, 3.5e38, 1e20,  1e-20,  45,      0.5};
        const int kind = pick(10);
        if (kind < 3) {
            return kEdges[pick(std::size(kEdges))];
        }
        return kind < 8 ? uniform(0, 100) : uniform(-100, 400);
    }
    float single() {
        const double v = any();
        return fitsSingle(v) ? static_cast<float>(v) : FLT_MAX;
    }
    std::size_t pick(std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng_);
    }

  private:
    double uniform(double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(rng_);
    }
    std::mt19937_64 rng_{2026};
};

template <typename T> std::string bits(const T& value) {
    return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}
std::string bits(const std::vector<subprogram::SpanMoments>& moments) {
    std::string all;
    for (const subprogram::SpanMoments& m : moments) {
        all += bits(m.upper) + bits(m.lower);
    }
    return all;
}

// The outcome of a call: the bits of its result, or the kind it failed with.
template <typename Call> std::string outcome(const Call& call) {
    try {
        return "=" + bits(call());
    } catch (const CalcError& e) {
        return std::string("!") + kindName(e.kind());
    }
}

struct Runs {
    std::string untraced, traced;
};
template <typename Routine> Runs both(const Routine& routine) {
    Trace trace;
    return {outcome([&] { return routine(nullptr); }), outcome([&] { return routine(&trace); })};
}

using namespace subprogram;
const std::pair<const char*, std::function<Runs(Draw&)>> kRoutines[] = {
    {"coulombActive",
     [](Draw& d) {
         const double H = d.any(), g = d.any(), f = d.any(), c = d.any(), q = d.any(), de = d.any(),
                      t = d.any(), b = d.any(), a = d.any();
         return both([=](Trace* tr) { return coulombActive(H, g, f, c, q, de, t, b, a, tr); });
     }},
    {"limitedFillEarthPressure",
     [](Draw& d) {
         const double H = d.any(), g = d.any(), r = d.any(), c = d.any(), q = d.any(), de = d.any(),
                      t = d.any(), b = d.any(), a = d.any();
         return both(
             [=](Trace* tr) { return limitedFillEarthPressure(H, g, r, c, q, de, t, b, a, tr); });
     }},
    {"atRestEarthPressure",
     [](Draw& d) {
         const double f = d.any(), q = d.any(), g = d.any(), H = d.any();
         return both([=](Trace* tr) { return atRestEarthPressure(f, q, g, H, tr); });
     }},
    {"anchorBarDesign",
     [](Draw& d) {
         const auto n = static_cast<std::int16_t>(d.pick(5));
         const bool permanent = d.pick(2);
         const double D = d.any(), Htk = d.any(), a = d.any(), fy = d.any(), g0 = d.any(),
                      frb = d.any(), fb = d.any(), dd = d.any();
         return both([=](Trace* tr) {
             return anchorBarDesign(n, D, Htk, a, fy, permanent, g0, frb, fb, dd, tr);
         });
     }},
    {"uprightWallWeight",
     [](Draw& d) {
         const float n = d.single(), Ht = d.single(), h1 = d.single(), a0 = d.single(),
                     b1 = d.single(), b2 = d.single(), gw = d.single(), b = d.single();
         return both(
             [=](Trace* tr) { return uprightWallWeight(n, Ht, h1, a0, b1, b2, gw, b, tr); });
     }},
    {"shelfWallWeight",
     [](Draw& d) {
         float v[13];
         for (float& x : v) {
             x = d.single();
         }
         return both([=](Trace* tr) {
             return shelfWallWeight(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9],
                                    v[10], v[11], v[12], tr);
         });
     }},
    {"antiSlidingFactor",
     [](Draw& d) {
         const float G = d.single(), Ea = d.single(), a0 = d.single(), a = d.single(),
                     de = d.single(), mu = d.single();
         return both([=](Trace* tr) { return antiSlidingFactor(G, Ea, a0, a, de, mu, tr); });
     }},
    {"antiOverturningFactor",
     [](Draw& d) {
         const float G = d.single(), Ea = d.single(), a0 = d.single(), z = d.single(),
                     a = d.single(), de = d.single(), b = d.single(), x0 = d.single();
         return both(
             [=](Trace* tr) { return antiOverturningFactor(G, Ea, a0, z, a, de, b, x0, tr); });
     }},
    {"baseStress",
     [](Draw& d) {
         float v[9];
         for (float& x : v) {
             x = d.single();
         }
         return both([=](Trace* tr) {
             return baseStress(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], tr);
         });
     }},
    {"solveContinuousBeam",
     [](Draw& d) {
         std::vector<double> lengths(d.pick(6));
         for (double& l : lengths) {
             l = d.pick(3) ? 2 : d.any();
         }
         const double b = d.any(), h = d.any(), q = d.any(), Ec = d.any();
         const auto upper = static_cast<EndCondition>(d.pick(3));
         const auto lower = static_cast<EndCondition>(d.pick(3));
         return both([=](Trace* tr) {
             return solveContinuousBeam(lengths, b, h, q, Ec, upper, lower, tr);
         });
     }},
};

TEST(DeferredEvaluation, GivesWhatTheCheckedOneGives) {
    Draw draw;
    for (const auto& [name, runs] : kRoutines) {
        int passed = 0;
        for (int i = 0; i < 20000; ++i) {
            const Runs r = runs(draw);
            ASSERT_EQ(r.untraced, r.traced) << name << ", draw " << i;
            passed += r.untraced[0] == '=';
        }
        // both ways of ending are tried often
        EXPECT_GT(passed, 500) << name;
        EXPECT_LT(passed, 19500) << name;
    }
}

} // namespace
