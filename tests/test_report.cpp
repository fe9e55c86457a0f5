#include "routines/report.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

using namespace subprogram;

namespace {

// The fields of a calculator at their defaults, as a window would hold them.
class DefaultForm : public Form {
  public:
    explicit DefaultForm(const CalculatorSpec& spec) {
        for (const FieldSpec& f : spec.fields) {
            texts[std::string(f.field.empty() ? f.name : f.field)] = std::string(f.defaultText);
        }
    }
    std::string text(std::string_view field) const override { return texts.at(std::string(field)); }
    void setText(std::string_view field, const std::string& text) override {
        texts[std::string(field)] = text;
    }
    std::map<std::string, std::string> texts;
};

std::string uprightReport(DefaultForm& form, CalculationRecord& record) {
    try {
        recordCalculation(form, record,
                          [](Form& f, Trace* t) { calculateGravityWall(WallType::Upright, f, t); });
    } catch (const CalcError&) {
    }
    ReportContext context = gravityWallReport(WallType::Upright);
    context.timestamp = "2026-12-06 21:30";
    return reportHtml(context, record);
}

// A value of the intermediate-values table, as its row is written.
std::string row(const std::string& symbol, const std::string& text) {
    return "<tr><td>" + symbol + "</td><td class=\"num\">" + text + "</td></tr>";
}

TEST(Report, TheDefaultUprightWallCarriesEveryValueAHandCheckExpects) {
    DefaultForm form(kGravityWallSpec);
    CalculationRecord record;
    const std::string html = uprightReport(form, record);
    for (const auto& [symbol, text] :
         std::map<std::string, std::string>{{"r0", "0.1972222"},
                                            {"A", "0.1930755"},
                                            {"B", "3.90009"},
                                            {"W1", "9.036142"},
                                            {"W2", "47.40054"},
                                            {"W3", "62.4"},
                                            {"L3", "0.7"},
                                            {"m1", "0.128717"},
                                            {"m2", "0.2510539"},
                                            {"c0", "0.7969245"},
                                            {"G", "118.8367"},
                                            {"x0", "0.9329683"},
                                            {"Kq", "1.38461538461538"} /* 1 + 2q ÷ (γH) */,
                                            {"zE", "1.968667"}}) {
        EXPECT_NE(html.find(row(symbol, text)), std::string::npos) << symbol << " " << text;
    }
    // the results with the very texts of the window, and the inputs as typed
    EXPECT_NE(html.find(">163.9388<"), std::string::npos);
    EXPECT_NE(html.find(">.5<"), std::string::npos);
    EXPECT_NE(html.find("重庆建筑边坡支护技术规范"), std::string::npos);
    EXPECT_NE(html.find("直立式挡墙"), std::string::npos);
    EXPECT_NE(html.find("G = W<sub>1</sub> + W<sub>2</sub> + W<sub>3</sub> = 9.036142 + "
                        "47.40054 + 62.4 = 118.8367"),
              std::string::npos);
    EXPECT_NE(html.find("e ≤ b/6"), std::string::npos); // the branch the base stress took
    EXPECT_EQ(html.find("计算中止"), std::string::npos);
}

TEST(Report, AFailedCalculationNamesTheStepAndWhatWasWritten) {
    DefaultForm form(kGravityWallSpec);
    form.texts["Text15"] = "0"; // no batter: the upright weight divides by zero
    CalculationRecord record;
    const std::string html = uprightReport(form, record);
    EXPECT_NE(
        html.find("计算在“直立式挡墙自重与重心（uprightWallWeight）”一步中止：除数为零 (错误 11)"),
        std::string::npos);
    EXPECT_NE(html.find(">0.427106497065615<"), std::string::npos); // Ka was written before
    EXPECT_EQ(html.find(">118.8367<"), std::string::npos);
}

TEST(Report, AFieldThatCouldNotBeReadIsNamedAndItsTextEscaped) {
    DefaultForm form(kGravityWallSpec);
    form.texts["Text23"] = "<b>0.45";
    CalculationRecord record;
    const std::string html = uprightReport(form, record);
    EXPECT_NE(html.find("读取输入（readFields）"), std::string::npos);
    EXPECT_NE(html.find("类型不匹配 (错误 13)"), std::string::npos);
    EXPECT_NE(html.find("无法读取“b4(m)”的内容“&lt;b&gt;0.45”"), std::string::npos);
    EXPECT_EQ(html.find("<b>0.45"), std::string::npos);
    EXPECT_NE(html.find("中止前未写出任何结果"), std::string::npos);
}

TEST(Report, TheBeamSketchTravelsAsSvg) {
    BeamSketch sketch;
    drawBeamSketch("2", "铰支", "嵌固", false, sketch);
    const std::string svg = sketchSvg(sketch);
    EXPECT_NE(svg.find("<circle cx=\"600\" cy=\"100\" r=\"50\"/>"), std::string::npos);
    EXPECT_NE(svg.find("<circle cx=\"600\" cy=\"2300\" r=\"50\"/>"), std::string::npos);
    EXPECT_NE(svg.find("<line x1=\"300\" y1=\"4500\" x2=\"750\" y2=\"4500\"/>"), std::string::npos);
}

} // namespace
