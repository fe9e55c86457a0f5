#include "core/checked.h"

#include "failswith.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <functional>

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
