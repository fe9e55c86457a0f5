#pragma once

#include "calculators/calculator.h"
#include "calculators/layeredpressure.h"

#include <array>

// The ground behind a wall, described once for every calculator that holds one (the wall's earth
// and water pressure, the gravity wall on its ground): its fields with their names, captions,
// units and defaults, the words of its tension rule, its tables' headers and its report step.
// Its reader is readBackfill (layeredpressure.h); its window panel gui/groundpanel.h.
namespace subprogram::ground {

// How a cohesive stratum's tension zone is taken: the words of the `tension` rule. The ground's
// rule, wherever it is given: ignored (what most checkers use).
inline constexpr Choice kTensionRules[] = {
    {"不计拉力区", "ignored", 0, "不计"},
    {"计入拉力区", "counted", 1, "计入"},
};

// What a calculator makes of the group: the strata's default text, the saved file's version that
// first held the group, and whether the group is optional (see Field::optionalGroup).
struct Use {
    std::string_view layers = {};
    int since = 1;
    bool optional = false;
};

// layers, water, gamma_water, loads, kh, in the window's order
constexpr std::array<Field, 5> fields(Use use) {
    // clang-format off
    return {{
        {"layers",      "layersx", "分层土参数:",         use.layers, "",      "strata 'thickness gamma c phi [gamma_sat]' from the top down separated by ';' (m, kN/m³, kPa, °; gamma_sat defaults to gamma); the last reaches the base", "", Conversion::Word, {}, {}, {}, 0, use.since, {}, use.optional},
        {"water",       "waterx",  "地下水位深度(m):",    "",         "m",     "depth of the water table below the top of the fill; empty: none", "d<sub>w</sub>", Conversion::Word, {}, {}, {}, 0, use.since, {}, use.optional},
        {"gamma_water", "gwx",     "水的重度γ水(kN/m³):", "10",       "kN/m³", "unit weight of water", "γ<sub>水</sub>", Conversion::Double, {}, {}, {}, 0, use.since, {}, use.optional},
        {"loads",       "loadsx",  "局部荷载:",           "",         "",      "local loads 'line Q a' (kN/m at a m from the back) or 'strip q a b' (kPa from a to a + b m) separated by ';' (线荷载|line, 条形荷载|strip); empty: none", "", Conversion::Word, {}, {}, {}, 0, use.since, {}, use.optional},
        {"kh",          "khx",     "水平地震系数kh:",      "0",        "",      "horizontal seismic coefficient, 0 ≤ kh < 1: Mononobe–Okabe's pressure (and a wall's own inertia kh·G)", "k<sub>h</sub>", Conversion::Double, {}, {}, {}, 0, use.since, {}, use.optional},
    }};
    // clang-format on
}

// The tension rule as a field of its own, for a calculator whose ground is all it has.
constexpr Field tensionField(Use use) {
    return {"tension",
            "tensionx",
            "粘性土拉力区:",
            kTensionRules[0].text,
            "",
            "a cohesive tension zone: 不计拉力区|ignored, 计入拉力区|counted",
            "",
            Conversion::Word,
            {},
            {},
            kTensionRules,
            0,
            use.since};
}

// A calculator's own fields and the ground's, one table.
template <std::size_t Own, std::size_t Ground>
constexpr std::array<Field, Own + Ground> joined(const Field (&own)[Own],
                                                 const std::array<Field, Ground>& group) {
    std::array<Field, Own + Ground> all{};
    for (std::size_t i = 0; i < Own; ++i) {
        all[i] = own[i];
    }
    for (std::size_t i = 0; i < Ground; ++i) {
        all[Own + i] = group[i];
    }
    return all;
}

// The tables' headers, by column: the strata and the local loads.
inline constexpr std::string_view kStrataHeader[] = {"厚度\n(m)", "γ\n(kN/m³)", "c\n(kPa)",
                                                     "φ\n(°)", "γsat\n(kN/m³)"};
inline constexpr std::string_view kLoadsHeader[] = {"线荷载 line\n条形荷载 strip",
                                                    "Q (kN/m)\nq (kPa)", "a\n(m)", "b\n(m)"};
inline constexpr std::string_view kStrataTitle = "分层土（自上而下）";
inline constexpr std::string_view kLoadsTitle = "局部荷载";
// The two as the report tabulates them.
inline constexpr std::string_view kStrataFields[] = {"layers"};
inline constexpr std::string_view kLoadsFields[] = {"loads"};
inline constexpr ListTable kTables[] = {{kStrataTitle, kStrataFields, kStrataHeader},
                                        {kLoadsTitle, kLoadsFields, kLoadsHeader}};

// The report's step of the pressure stratum by stratum, and where its tension rule cuts.
extern const Step kStep;

} // namespace subprogram::ground
