#include "shell/checked.h"

#include "failswith.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <functional>
#include <string>

namespace {

struct Failure {
    const char* name;
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
    testing::Values(
        Failure{"nonzero_by_zero", [] { return Num(1) / 0; }, ErrorKind::DivisionByZero},
        Failure{"negative_by_zero", [] { return Num(-3) / 0; }, ErrorKind::DivisionByZero},
        Failure{"by_negative_zero", [] { return Num(2) / -0.0; }, ErrorKind::DivisionByZero},
        Failure{"zero_by_zero", [] { return Num(0) / 0; }, ErrorKind::Overflow},
        Failure{"sum_overflows", [] { return kHuge + kHuge; }, ErrorKind::Overflow},
        Failure{"difference_overflows", [] { return -kHuge - kHuge; }, ErrorKind::Overflow},
        Failure{"product_overflows", [] { return kHuge * 2; }, ErrorKind::Overflow},
        Failure{"quotient_overflows", [] { return kHuge / 0.5; }, ErrorKind::Overflow},
        Failure{"sqrt_negative", [] { return sqrt(Num(-1)); }, ErrorKind::InvalidArgument},
        Failure{"sqrt_tiny_negative", [] { return sqrt(Num(-1e-300)); },
                ErrorKind::InvalidArgument}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CheckedArithmetic, UnderflowAndLostPrecisionRaiseNothing) {
    EXPECT_EQ((Num(1e-300) * 1e-300).value(), 0.0);
    EXPECT_GT((Num(1e-300) / 1e10).value(), 0.0); // a denormal
    EXPECT_EQ((Num(1e16) + 1).value(), 1e16);
    EXPECT_EQ(sqrt(Num(-0.0)).value(), 0.0);
    EXPECT_EQ(sqrt(Num(6.25)).value(), 2.5);
}

TEST(CheckedArithmetic, TrigonometryAcceptsAnyFiniteArgument) {
    EXPECT_NO_THROW(sin(Num(1e300)));
    EXPECT_NO_THROW(cos(Num(-1e300)));
    EXPECT_NO_THROW(tan(Num(1e300)));
    EXPECT_EQ(sin(Num(0)).value(), 0.0);
    EXPECT_EQ(cos(Num(0)).value(), 1.0);
}

TEST(CheckedArithmetic, EvaluatesLeftToRightAsWritten) {
    // (1e308 * 10) / 10 overflows on the way; 1e308 * (10 / 10) would not
    EXPECT_THROW(Num(1e308) * 10 / 10, CalcError);
    EXPECT_EQ((Num(1e308) * (Num(10) / 10)).value(), 1e308);
    // 0.1 + 0.2 + 0.3 differs from 0.1 + (0.2 + 0.3) in the last bit
    EXPECT_EQ((Num(0.1) + 0.2 + 0.3).value(), 0.6000000000000001);
    EXPECT_EQ((Num(0.1) + (Num(0.2) + 0.3)).value(), 0.6);
}

} // namespace
