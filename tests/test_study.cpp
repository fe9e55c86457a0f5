#include "calculators/gravitywall.h"
#include "calculators/registry.h"
#include "calculators/study.h"
#include "mapform.h"
#include "report/studychart.h"

#include <gtest/gtest.h>

#include <set>

using namespace subprogram;

namespace {

// Each row of a study is the calculation of the field at its value, as a form of its own (a
// plain map, failures thrown) gives it: every result the row wrote, and whether it failed. The
// fields take the values in turn (the default, a changed number, a word, zero), so every
// calculator meets each kind without a search run four times per field.
TEST(Study, EachRowIsTheCalculationAtItsValueForEveryCalculator) {
    int rows = 0;
    for (const Calculator* calculator : calculators()) {
        std::set<int> kinds;
        for (const Variant& variant : calculator->variants) {
            if (!variant.refusal.empty()) {
                continue;
            }
            std::vector<std::string> texts;
            for (const Field& f : calculator->fields) {
                texts.emplace_back(f.defaultText);
            }
            for (const Field& field : calculator->fields) {
                if (field.control.empty()) {
                    continue;
                }
                Study study(*calculator, variant.value, texts, calculator->id(field));
                const std::string base(field.defaultText);
                const int kind = rows % 4;
                kinds.insert(kind);
                const std::string value = kind == 0   ? base
                                          : kind == 1 ? base + "5"
                                          : kind == 2 ? "x"
                                                      : "0";
                const Study::Row& row = study.add(value);
                MapForm form(*calculator);
                form.texts[std::string(field.control)] = value;
                bool failed = false;
                try {
                    calculator->calculate(variant.value, form, nullptr);
                } catch (const CalcError&) {
                    failed = true;
                }
                EXPECT_EQ(!row.error.empty(), failed) << field.name << "=" << value;
                for (const Result& r : calculator->results) {
                    const std::size_t column = study.columnOf(calculator->id(r));
                    if (column != RowForm::kNoColumn && !row.cell(column).empty()) {
                        const std::string key(r.control.empty() ? r.name : r.control);
                        EXPECT_EQ(row.cell(column), form.texts[key])
                            << calculator->command << " " << field.name << "=" << value << " "
                            << r.name;
                    }
                }
                ++rows;
            }
        }
        EXPECT_EQ(kinds.size(), 4U) << calculator->command;
    }
    EXPECT_GT(rows, 100);
}

// The runs where every check holds, found exactly: each value judged on a short range, the turns
// bisected to one step on a long one.
TEST(Study, PassingRunsAreFoundToTheStep) {
    const auto within = [](std::vector<std::pair<long long, long long>> runs) {
        return [runs](long long k) {
            for (const auto& [a, b] : runs) {
                if (k >= a && k <= b) {
                    return true;
                }
            }
            return false;
        };
    };
    const auto found = [](const std::vector<PassingRun>& runs) {
        std::vector<std::pair<long long, long long>> out;
        for (const PassingRun& r : runs) {
            out.emplace_back(r.first, r.last);
        }
        return out;
    };
    using Runs = std::vector<std::pair<long long, long long>>;
    for (const Runs& expected :
         {Runs{}, Runs{{0, 10}}, Runs{{3, 5}, {9, 9}, {15, 20}}, Runs{{7, 20}}}) {
        EXPECT_EQ(found(passingRuns(20, within(expected))), expected);
    }
    // a million steps: 20,000 parts, each turn narrowed by bisection
    const Runs wide = {{123457, 654320}, {900001, 1000000}};
    long long judged = 0;
    const auto counted = [&](long long k) {
        ++judged;
        return within(wide)(k);
    };
    EXPECT_EQ(found(passingRuns(1000000, counted)), wide);
    EXPECT_LT(judged, 20200);
}

// A range's steps are numbers, or there is no range: a span beyond a double (1e308 to -1e308), or
// one whose product with a step's index is, gives none; the ends stand as typed.
TEST(Study, ARangeWhoseStepsOverflowIsNone) {
    EXPECT_FALSE(studyRange("1e308", "-1e308", 3));
    EXPECT_FALSE(studyRange("-1e303", "1e303", 1000000));
    EXPECT_EQ(studyRange("1e308", "-1e308", 2), (std::vector<std::string>{"1e308", "-1e308"}));
    EXPECT_EQ(studyRange("-1e307", "1e307", 3), (std::vector<std::string>{"-1e307", "0", "1e307"}));
}

// For a spreadsheet: a byte-order mark, CRLF, quotes where a cell needs them; and a chart point
// for each value whose calculation succeeded.
TEST(Study, TheCsvOpensInExcelAndTheChartHasAPointPerSuccess) {
    const Calculator& wall = kGravityWall;
    std::vector<std::string> texts;
    for (const Field& f : wall.fields) {
        texts.emplace_back(f.defaultText);
    }
    const FieldId b = wall.id(*wall.field("b"));
    Study study(wall, 1, texts, b);
    const auto values = studyRange("1", "2", 5);
    for (const std::string& value : *values) {
        study.add(value);
    }
    study.add("x,y");
    const std::string csv = studyCsv(study);
    EXPECT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_EQ(csv.substr(3, csv.find("\r\n") - 3),
              "b,Ka,Ea,G,x0,Kt,Ks,pmax,e,pmin,pk,zc,Kt_c,Ea_compressed,b2_used,Ks_ok,Kt_ok,e_ok,p_"
              "ok,pmax_ok,error");
    EXPECT_NE(csv.find("\r\n1.25,"), std::string::npos);
    EXPECT_NE(csv.find("\r\n\"x,y\","), std::string::npos);
    ResultId ks{};
    for (const Result& r : wall.results) {
        if (r.name == "Ks") {
            ks = wall.id(r);
        }
    }
    const Sketch chart = studyChart(study, ks);
    std::size_t crosses = 0;
    for (const SketchLine& l : chart.lines) {
        crosses += std::abs(std::abs(l.x2 - l.x1) - 180) < 1e-9 &&
                   std::abs(std::abs(l.y2 - l.y1) - 180) < 1e-9;
    }
    EXPECT_EQ(chart.circles.size() + crosses / 2, 5u); // "x,y" fails: no point
}

// A value far outside the others (the wall's Ks where the drive turns, α = 99°) stands at the
// chart's edge with its value, and the others keep the height of the chart.
TEST(Study, AFarValueIsDrawnAtTheEdgeWithItsValue) {
    const Calculator& wall = kGravityWall;
    std::vector<std::string> texts;
    for (const Field& f : wall.fields) {
        texts.emplace_back(f.defaultText);
    }
    Study study(wall, 1, texts, wall.id(*wall.field("alpha")));
    for (const char* alpha : {"90", "91", "92", "93", "94", "95", "96", "97", "99"}) {
        study.add(alpha);
    }
    ResultId ks{};
    for (const Result& r : wall.results) {
        ks = r.name == "Ks" ? wall.id(r) : ks;
    }
    const std::string far(study.rows().back().cell(study.columnOf(ks)));
    ASSERT_EQ(far.substr(0, 4), "-111");
    const Sketch chart = studyChart(study, ks);
    double top = 1e300, bottom = -1e300;
    for (const SketchCircle& c : chart.circles) {
        top = std::min(top, c.y), bottom = std::max(bottom, c.y);
    }
    EXPECT_GT(bottom - top, chart.height / 4); // the usual values spread over the chart
    std::vector<std::string> labels;
    for (const SketchText& t : chart.texts) {
        labels.push_back(t.text);
    }
    // its value, and the scale across at round values (every 2°), each with its grid line
    for (const char* text : {"-111.7", "90", "92", "94", "96", "98"}) {
        EXPECT_NE(std::find(labels.begin(), labels.end(), text), labels.end()) << text;
    }
    EXPECT_EQ(std::find(labels.begin(), labels.end(), "99"), labels.end());
    EXPECT_GE(chart.grid.size(), 5u + 3u);
}

// A calculator without a judge of its own holds each verdict's result against its fixed limit:
// the limit itself meets it, on either side.
TEST(Verdicts, AFixedLimitIsMetByTheLimitItself) {
    static constexpr Result results[] = {{"Text1", "F", "系数", "F", ""}};
    static constexpr Verdict verdicts[] = {
        {ResultId{0}, "F_min", "F", "下限", "≥", "1.3", "程序默认值", false, 1.3},
        {ResultId{0}, "F_max", "F", "上限", "≤", "2", "程序默认值", false, 2},
    };
    static const Variant only[] = {{0, "", "", {}}};
    const Calculator fixed{.command = "fixed",
                           .english = "",
                           .window = "",
                           .title = "",
                           .fields = {},
                           .results = results,
                           .variants = only,
                           .defaultVariant = 0,
                           .variantOption = "",
                           .calculate = [](int, Form&, Trace*) {},
                           .verdicts = verdicts};
    std::vector<std::pair<double, std::vector<Outcome>>> cases = {
        {1.3, {Outcome::Met, Outcome::Met}},
        {2, {Outcome::Met, Outcome::Met}},
        {1.2999999, {Outcome::NotMet, Outcome::Met}},
        {2.0000001, {Outcome::Met, Outcome::NotMet}}};
    for (const auto& [value, expected] : cases) {
        const WrittenTexts written([value](ResultId) { return doubleToText(value); });
        const MapForm form(fixed);
        std::vector<Outcome> outcomes;
        for (const Judgement& j : judge(fixed, 0, form, written)) {
            outcomes.push_back(j.outcome);
        }
        EXPECT_EQ(outcomes, expected) << value;
    }
    // in words, as the window and the report give them
    const struct {
        Judgement judged;
        const char* text;
    } words[] = {{{Outcome::Met, 1.5, 1.3}, "F = 1.5 ≥ 1.3 满足"},
                 {{Outcome::NotMet, 1.2999999, 1.3}, "F = 1.2999999 < 1.3 不满足"},
                 {{Outcome::NotChecked, 0, 0, "未填"}, "未验算（未填）"},
                 // failed by its reason, the value it compares never formed
                 {{Outcome::NotMet, 0, 1.3, "合力在外", {}, false}, "F 不满足（合力在外）"}};
    for (const auto& [judged, text] : words) {
        EXPECT_EQ(verdictText(verdicts[0], judged), text);
    }
}

} // namespace
