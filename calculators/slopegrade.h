#pragma once

#include "calculators/calculator.h"

namespace subprogram {

// The slope's safety grade (边坡工程安全等级), on which the anchors' safety factors and the
// required stability factor depend.
enum class SlopeGrade { First, Second, Third };

inline constexpr Choice kSlopeGrades[] = {
    {"一级", "1", int(SlopeGrade::First)},
    {"二级", "2", int(SlopeGrade::Second)},
    {"三级", "3", int(SlopeGrade::Third)},
};

} // namespace subprogram
