#include "calculators/beam.h"
#include "calculators/gravitywall.h"
#include "report/report.h"

#include "mapform.h"

#include <gtest/gtest.h>

#include <string>

using namespace subprogram;

namespace {

// The report of a wall calculation on the default texts but for those given.
std::string wallReport(WallType type, std::map<std::string, std::string> changed = {}) {
    MapForm form(kGravityWall);
    for (const auto& [field, text] : changed) {
        form.texts[field] = text;
    }
    CalculationRecord record;
    try {
        recordCalculation(form, record,
                          [&](Form& f, Trace* t) { kGravityWall.calculate(int(type), f, t); });
    } catch (const CalcError&) {
    }
    ReportContext context = reportContext(kGravityWall, int(type), form);
    context.timestamp = "2026-12-06 21:30";
    return reportHtml(context, record);
}

bool contains(const std::string& html, const std::string& text) {
    return html.find(text) != std::string::npos;
}

TEST(Report, TheDefaultUprightWallCarriesEveryValueAHandCheckExpects) {
    const std::string html = wallReport(WallType::Upright);
    for (const auto& [symbol, text] :
         std::map<std::string, std::string>{{"r0", "0.1972222"},
                                            {"A", "0.1930755"},
                                            {"W1", "9.036142"},
                                            {"W2", "47.40054"},
                                            {"m2", "0.2510539"},
                                            {"c0", "0.7969245"},
                                            {"x0", "0.9329683"},
                                            {"zE", "1.968667"},
                                            {"b/6", "0.2483333"},
                                            {"Kq", "1.38461538461538"} /* 1 + 2q ÷ (γH) */}) {
        EXPECT_TRUE(
            contains(html, "<tr><td>" + symbol + "</td><td class=\"num\">" + text + "</td></tr>"))
            << symbol << " " << text;
    }
    EXPECT_TRUE(contains(html, "重力式挡墙计算：直立式挡墙"));
    EXPECT_TRUE(contains(html, "2026-12-06 21:30"));
    EXPECT_TRUE(contains(html, "重庆建筑边坡支护技术规范"));
    EXPECT_TRUE(contains(html, "<tr><td>墙顶宽度b1(M)</td><td>b<sub>1</sub></td><td "
                               "class=\"num\">0.5</td><td>m</td></tr>"));
    EXPECT_TRUE(contains(html, "G = W<sub>1</sub> + W<sub>2</sub> + W<sub>3</sub> = 9.036142 + "
                               "47.40054 + 62.4 = 118.8367"));
    EXPECT_TRUE(contains(html, "e ≤ b/6")); // the branch the base stress took
    EXPECT_FALSE(contains(html, "计算中止"));
    // every result, with its caption, symbol, text and unit, in the window's order
    const std::string results = html.substr(html.find("<h2>计算结果</h2>"));
    std::size_t at = 0;
    for (const char* row :
         {"<tr><td>主动土压力系数</td><td>K<sub>a</sub></td><td class=\"num\">0.427106497065615"
          "</td><td></td></tr>",
          "<tr><td>主动土压力</td><td>E<sub>a</sub></td><td class=\"num\">28.8723992016356</td>"
          "<td>kN</td></tr>",
          "<tr><td>挡墙重心至墙趾的水平距离</td><td>x<sub>0</sub></td><td class=\"num\">"
          "0.9329683</td><td>m</td></tr>",
          "<tr><td>基底最小应力</td><td>p<sub>min</sub></td><td class=\"num\">2.303136</td>"
          "<td>kPa</td></tr>",
          "<tr><td>抗滑移验算</td><td colspan=\"3\">Ks = 10.54241 ≥ 1.3 满足</td></tr>"}) {
        at = results.find(row, at);
        EXPECT_NE(at, std::string::npos) << row;
    }
}

TEST(Report, AFailedCalculationNamesTheStepAndWhatWasWritten) {
    std::string html = wallReport(WallType::Upright, {{"Text15", "0"}});
    EXPECT_TRUE(contains(
        html, "计算在“直立式挡墙自重与重心（uprightWallWeight）”一步中止：除数为零 (错误 11)"));
    EXPECT_TRUE(contains(html, ">0.427106497065615<")); // Ka was written before
    EXPECT_FALSE(contains(html, ">118.8367<"));
    EXPECT_TRUE(contains(html, "中止前已写出的结果"));

    html = wallReport(WallType::Shelf, {{"Text23", "<b>0.45"}});
    EXPECT_TRUE(contains(html, "“读取输入（readFields）”一步中止：类型不匹配 (错误 13)。无法读取"
                               "“b4(m)”的内容“&lt;b&gt;0.45”"));
    EXPECT_FALSE(contains(html, "<b>0.45"));
    EXPECT_TRUE(contains(html, "中止前未写出任何结果"));
    EXPECT_TRUE(contains(html, "<p>无结果写出。</p>"));
}

TEST(Report, TheBeamSketchTravelsAsSvg) {
    Sketch sketch;
    drawBeamSketch("2", EndCondition::Hinged, EndCondition::Fixed, false, sketch);
    const std::string svg = sketchSvg(sketch);
    EXPECT_TRUE(contains(svg, "width=\"177\" height=\"329\" viewBox=\"0 0 2655 4935\""));
    EXPECT_TRUE(contains(svg, "<circle cx=\"600\" cy=\"100\" r=\"50\"/>"));
    EXPECT_TRUE(contains(svg, "<line x1=\"300\" y1=\"4500\" x2=\"750\" y2=\"4500\"/>"));
}

} // namespace
