#pragma once

#include "calculators/calculator.h"
#include "calculators/domains.h"

namespace subprogram {

// The slope's safety grade (边坡工程安全等级), on which the anchors' safety factors and the
// required stability factor depend.
enum class SlopeGrade { First, Second, Third };

inline constexpr Choice kSlopeGrades[] = {
    {"一级", "1", int(SlopeGrade::First)},
    {"二级", "2", int(SlopeGrade::Second)},
    {"三级", "3", int(SlopeGrade::Third)},
};

// The importance factor γ0 from its field, or where it is empty by the grade (GB 50330-2013
// 第3.3.2条: 一级 at least 1.1, else 1.0).
inline double importanceFactor(const Form& form, FieldId gamma0, SlopeGrade grade) {
    return form.blank(gamma0) ? (grade == SlopeGrade::First ? 1.1 : 1.0)
                              : readWithin(form, gamma0, kPositive);
}

} // namespace subprogram
