#pragma once

#include "core/calcerror.h"

#include <gtest/gtest.h>

// Passes when `call` throws a CalcError of `kind`.
template <typename Call> testing::AssertionResult FailsWith(ErrorKind kind, Call&& call) {
    try {
        call();
    } catch (const CalcError& e) {
        if (e.kind() == kind) {
            return testing::AssertionSuccess();
        }
        return testing::AssertionFailure()
               << "failed with " << kindName(e.kind()) << ", not " << kindName(kind);
    }
    return testing::AssertionFailure() << "did not fail";
}
