#include "calculators/anchorbar.h"
#include "calculators/beam.h"
#include "calculators/gravitywall.h"
#include "calculators/slopestability.h"
#include "report/report.h"

#include "mapform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using namespace subprogram;
using report::Block;

namespace {

struct Wall {
    MapForm form{kGravityWall};
    CalculationRecord record;
    ReportContext context;
    report::Document doc;

    explicit Wall(WallType type, std::map<std::string, std::string> changed = {}) {
        for (const auto& [field, text] : changed) {
            form.texts[field] = text;
        }
        try {
            recordCalculation(form, record,
                              [&](Form& f, Trace* t) { kGravityWall.calculate(int(type), f, t); });
        } catch (const CalcError&) {
        }
        context = reportContext(kGravityWall, int(type), form, record);
        context.timestamp = "2026-12-06 21:30";
        context.project = "某边坡工程";
        doc = report::document(context, record);
    }
    bool hasRow(const std::vector<std::string>& cells) const {
        return std::any_of(doc.blocks.begin(), doc.blocks.end(),
                           [&](const Block& b) { return b.cells == cells; });
    }
    bool has(Block::Kind kind, const std::string& text) const {
        return std::any_of(doc.blocks.begin(), doc.blocks.end(), [&](const Block& b) {
            return b.kind == kind && b.html.find(text) != std::string::npos;
        });
    }
};

TEST(Report, TheDefaultUprightWallCarriesEveryValueAHandCheckExpects) {
    const Wall wall(WallType::Upright);
    // every value on the way, once: in its formula line, as written, with its unit
    for (const auto& [symbol, text] :
         {std::pair{"r<sub>0</sub>", "0.1972222 rad"},
          {"A", "0.1930755 m"},
          {"W<sub>1</sub>", "9.036142 kN/m"},
          {"W<sub>2</sub>", "47.40054 kN/m"},
          {"m<sub>2</sub>", "0.2510539 m"},
          {"c<sub>0</sub>", "0.7969245 m"},
          {"x<sub>0</sub>", "0.9329683 m"},
          {"z<sub>E</sub>", "1.968667 m"},
          {"b/6", "0.2483333 m"},
          {"K<sub>q</sub>", "1.38461538461538"} /* 1 + 2q ÷ (γH), a number */}) {
        EXPECT_TRUE(std::ranges::any_of(wall.doc.blocks, [&](const Block& b) {
            return b.kind == Block::Kind::Paragraph &&
                   b.html.starts_with(std::string(symbol) + " = ") &&
                   b.html.ends_with(std::string(" = ") + text);
        })) << symbol;
    }
    EXPECT_FALSE(wall.hasRow({"A", "0.1930755", "0.1931"})); // not again among the values
    // an upright wall's report lists none of the shelf wall's sizes, which it does not take
    EXPECT_FALSE(std::ranges::any_of(wall.doc.blocks, [](const Block& b) {
        return !b.cells.empty() && b.cells[0] == "下墙前部宽度";
    }));
    EXPECT_EQ(wall.doc.titleBlock[0],
              (std::pair<std::string, std::string>{"项目名称", "某边坡工程"}));
    EXPECT_EQ(wall.doc.titleBlock[1].second,
              "重力式挡墙计算：直立式挡墙，土压力作用点取 H/3（程序原规则）");
    EXPECT_NE(wall.doc.titleBlock[5].second.find("GB 50007-2011"), std::string::npos);
    EXPECT_TRUE(wall.hasRow({"墙顶宽度", "b<sub>1</sub>", "0.5", "m"}));
    EXPECT_TRUE(wall.hasRow({"挡墙墙背倾角", "α", "90", "°"})); // its Greek symbol has a column
    EXPECT_TRUE(wall.has(Block::Kind::Paragraph, "G = W<sub>1</sub> + W<sub>2</sub> + "
                                                 "W<sub>3</sub> = 9.036142 + 47.40054 + 62.4 = "
                                                 "118.8367"));
    EXPECT_TRUE(wall.has(Block::Kind::Paragraph, "e ≤ b/6")); // the branch the base stress took
    EXPECT_TRUE(wall.has(Block::Kind::Heading, "四、计算结果"));
    // each result exact and to four significant digits, then the verdicts with their requirement
    EXPECT_TRUE(
        wall.hasRow({"主动土压力系数", "K<sub>a</sub>", "0.427106497065615", "0.4271", "—"}));
    EXPECT_TRUE(
        wall.hasRow({"挡墙重心至墙趾的水平距离", "x<sub>0</sub>", "0.9329683", "0.9330", "m"}));
    EXPECT_TRUE(wall.hasRow({"基底最小应力", "p<sub>min</sub>", "2.303136", "2.303", "kPa"}));
    EXPECT_TRUE(wall.hasRow({"主动土压力", "E<sub>a</sub>", "28.8723992016356", "28.87", "kN/m"}));
    EXPECT_TRUE(wall.hasRow({"抗滑移", "Ks = 10.54241 ≥ 1.3", "程序默认值", "满足"}));
    EXPECT_TRUE(
        wall.hasRow({"基底合力偏心距", "|e| = 0.2414525 ≤ b/6 = 0.2483333", "程序默认值", "满足"}));
    EXPECT_TRUE(wall.hasRow({"地基承载力（平均压力）", "—", "GB 50007-2011 第5.2.1条",
                             "未验算（未填地基承载力特征值 fa）"}));
    EXPECT_TRUE(wall.has(Block::Kind::Paragraph, "结论：各项验算满足要求；地基承载力（平均压力）、"
                                                 "地基承载力（边缘最大压力）未验算。"));
    EXPECT_FALSE(wall.has(Block::Kind::Heading, "计算中止"));
    ASSERT_TRUE(wall.context.sketch);
    const std::string html = reportHtml(wall.context, wall.record);
    EXPECT_NE(html.find("<td class=\"int\">0</td><td class=\"frac\">.427106497065615</td>"),
              std::string::npos);
    EXPECT_NE(html.find("<svg"), std::string::npos);
}

// Sections are numbered in Chinese words, past ten and past twenty as well.
// A list input is a table of its own with its columns' units, never its raw text: the ground's
// strata and loads by their rows, and the blocks of a slope side by side, a value given once
// standing for every block.
TEST(Report, ListInputsAreTablesWithTheirUnits) {
    const Wall ground(WallType::Upright, {{"layersx", "2 18.5 10 20 19.5;4 19 0 30 20"},
                                          {"loadsx", "strip 20 1.5 7"}});
    EXPECT_TRUE(ground.has(Block::Kind::Paragraph, "分层土（自上而下）："));
    EXPECT_TRUE(ground.hasRow({"2", "4", "19", "0", "30", "20"}));
    EXPECT_TRUE(ground.hasRow({"1", "strip", "20", "1.5", "7"}));
    EXPECT_FALSE(ground.hasRow({"分层土参数", "", "2 18.5 10 20 19.5;4 19 0 30 20", "—"}));
    const auto header = [&](int table) {
        std::vector<std::string> titles;
        for (const report::Column& c : ground.doc.tables[table]) {
            titles.push_back(c.title);
        }
        return titles;
    };
    EXPECT_EQ(header(1), (std::vector<std::string>{"序号", "厚度 (m)", "γ (kN/m³)", "c (kPa)",
                                                   "φ (°)", "γsat (kN/m³)"}));
    MapForm form(kSlopeStability);
    form.texts["Gx"] = "800;1200;600";
    form.texts["thetax"] = "35;18;5";
    form.texts["lx"] = "9;12;8";
    form.texts["cx"] = "8";
    CalculationRecord record;
    const int method = int(SlopeMethod::BrokenLine);
    recordCalculation(form, record,
                      [&](Form& f, Trace* t) { kSlopeStability.calculate(method, f, t); });
    const report::Document doc =
        report::document(reportContext(kSlopeStability, method, form, record), record);
    const std::vector<std::string> third{"3", "600", "5", "8", "20", "8", "—"};
    EXPECT_TRUE(std::ranges::any_of(doc.blocks, [&](const Block& b) { return b.cells == third; }));
}

// The bond strength the anchor's 2013 method reads is the ultimate one's standard value frbk:
// the report names it so, the original method its characteristic value frb.
TEST(Report, TheAnchorsBondStrengthIsNamedAsItsMethodReadsIt) {
    for (const bool by2013 : {false, true}) {
        MapForm form(kAnchorBar);
        form.texts["editionx"] = by2013 ? "2013" : "classic";
        CalculationRecord record;
        recordCalculation(form, record, [&](Form& f, Trace* t) { kAnchorBar.calculate(0, f, t); });
        const report::Document doc =
            report::document(reportContext(kAnchorBar, 0, form, record), record);
        const std::vector<std::string> row =
            by2013 ? std::vector<std::string>{"岩土层与锚固体极限粘结强度标准值", "f<sub>rbk</sub>",
                                              "180", "kPa"}
                   : std::vector<std::string>{"岩石与锚固体粘结强度特征值", "f<sub>rb</sub>", "180",
                                              "kPa"};
        EXPECT_TRUE(std::ranges::any_of(doc.blocks, [&](const Block& b) { return b.cells == row; }))
            << by2013;
    }
}

TEST(Report, SectionsAreNumberedInChinesePastTwenty) {
    Wall wall(WallType::Upright);
    wall.context.studies.resize(16);
    std::vector<std::string> numbers;
    for (const Block& b : report::document(wall.context, wall.record).blocks) {
        if (b.kind == Block::Kind::Heading && b.level == 2) {
            numbers.push_back(b.html.substr(0, b.html.find("、")));
        }
    }
    ASSERT_GE(numbers.size(), 21u);
    EXPECT_EQ(numbers[0] + numbers[9] + numbers[10] + numbers[19] + numbers[20],
              "一十十一二十二十一");
}

// Each study the user added is a section of its own, with its own chart.
TEST(Report, EachStudyAddedHasItsSectionAndItsChart) {
    Wall wall(WallType::Upright);
    wall.context.studies.resize(3);
    for (std::size_t k = 0; k < 3; ++k) {
        wall.context.studies[k].title = "b " + std::to_string(k);
    }
    const report::Document doc = report::document(wall.context, wall.record);
    std::string titles;
    std::vector<const Sketch*> charts;
    for (const Block& b : doc.blocks) {
        if (b.kind == Block::Kind::Heading && b.html.find("参数分析") != std::string::npos) {
            titles += b.html.substr(b.html.find("：")) + ' ';
        }
        if (b.kind == Block::Kind::Drawing && b.drawing >= 2) {
            charts.push_back(drawingOf(b, wall.context));
        }
    }
    EXPECT_EQ(titles, "：b 0 ：b 1 ：b 2 ");
    EXPECT_EQ(charts, (std::vector<const Sketch*>{&wall.context.studies[0].chart,
                                                  &wall.context.studies[1].chart,
                                                  &wall.context.studies[2].chart}));
}

TEST(Report, AFailedCalculationNamesTheStepAndWhatWasWritten) {
    const Wall noBatter(WallType::Upright, {{"Text15", "0"}});
    EXPECT_TRUE(noBatter.has(Block::Kind::Failure,
                             "计算在“直立式挡墙自重与重心”一步中止：除数为零 (错误 11)。"));
    EXPECT_TRUE(
        noBatter.hasRow({"主动土压力系数", "K<sub>a</sub>", "0.427106497065615", "0.4271", "—"}));
    EXPECT_TRUE(noBatter.has(Block::Kind::Paragraph, "中止前已写出的结果"));
    EXPECT_FALSE(noBatter.has(Block::Kind::Heading, "验算结论"));   // nothing judged of a failure
    EXPECT_FALSE(noBatter.has(Block::Kind::Heading, "抗滑移验算")); // a step that formed nothing
    // the first check failing alone (Ks ∝ μ: 10.54 × 0.1) is the conclusion
    const Wall sliding(WallType::Upright, {{"Text5", "0.03"}});
    EXPECT_TRUE(sliding.has(Block::Kind::Paragraph, "结论：抗滑移验算不满足要求；"));

    const Wall unread(WallType::Shelf, {{"Text23", "<b>0.45"}});
    EXPECT_TRUE(unread.has(Block::Kind::Failure, "计算在“读取输入”一步中止：类型不匹配 (错误 13)。"
                                                 "无法读取“墙趾外伸宽度”的内容“&lt;b&gt;0.45”"));
    EXPECT_TRUE(unread.has(Block::Kind::Paragraph, "中止前未写出任何结果"));
    EXPECT_TRUE(unread.has(Block::Kind::Paragraph, "无结果写出。"));
}

TEST(Report, NumbersAreRoundedToFourSignificantDigitsForTheReader) {
    const std::pair<double, const char*> table[] = {
        {0.427106497065615, "0.4271"}, {118.8367, "118.8"},
        {0.9329683, "0.9330"},         {1.24999999226498, "1.250"},
        {-37.9700492460558, "-37.97"}, {4.09349140449553E-05, "4.093E-05"},
        {1234567, "1.235E+06"},        {9999.7, "1.000E+04"},
        {0.001, "0.001000"},           {1234.4, "1234"},
        {23456.7, "2.346E+04"},        {0, "0"},
        {-1.5E+10, "-1.500E+10"},      {2.5E-11, "2.500E-11"}};
    for (const auto& [value, text] : table) {
        EXPECT_EQ(roundedText(value), text) << value;
    }
}

// The drawing's blocks are the weight routines' blocks: their areas add up to G ÷ γw and their
// centroid lies at x0 from the toe, to scale in millimetres.
TEST(WallSection, IsDrawnToScaleFromTheFieldsAndTheCalculation) {
    struct Case {
        WallType type;
        double area, x0; // m², m: the worked examples of the two weight routines
        double eaX, eaY; // m from the toe's foot: Ea on the back, zf or zE above the foot
        std::vector<std::string> labels;
    };
    const Case cases[] = {
        {WallType::Upright,
         118.8367 / 24,
         0.9329683,
         1.49,
         1.968935,
         {"b=1.49", "Ht=4", "b1=0.5", "b2=1.3", "h1=2", "1:0.05", "α0=11.3°", "x0=0.9329683",
          "G=118.8 kN/m    Ea=28.87 kN/m"}},
        {WallType::Shelf,
         4.6755,
         1.011601,
         0.45 + 1.03 + 0.25 * (1.968667 - 0.65), // b4 + b3 + x3 (zE − h4): on block 5's back
         1.968667,
         {"b5=0.5", "b2=1.3", "b3=1.03", "b4=0.45", "h4=0.65", "h′=1.35", "h1=2", "Ht=4", "1:0.35",
          "1:0.25", "b1+b2−b3=0.77", "G=112.2 kN/m    Ea=28.87 kN/m"}},
    };
    for (const Case& c : cases) {
        const Wall wall(c.type);
        ASSERT_TRUE(wall.context.sketch);
        const Sketch& s = *wall.context.sketch;
        double area = 0, moment = 0, toe = 1e300;
        for (const SketchPolygon& p : s.polygons) {
            double a = 0, m = 0; // shoelace, either way round
            for (std::size_t i = 0; i < p.points.size(); ++i) {
                const auto [x1, y1] = p.points[i];
                const auto [x2, y2] = p.points[(i + 1) % p.points.size()];
                const double cross = x1 * y2 - x2 * y1;
                a += cross / 2;
                m += (x1 + x2) * cross / 6;
                toe = std::min(toe, x1);
            }
            area += std::abs(a);
            moment += a < 0 ? -m : m;
        }
        EXPECT_NEAR(area / 1e6, c.area, 1e-5);
        EXPECT_NEAR((moment / area - toe) / 1000, c.x0, 2e-5);
        for (const std::string& label : c.labels) {
            EXPECT_TRUE(std::any_of(s.texts.begin(), s.texts.end(), [&](const SketchText& t) {
                return t.text == label;
            })) << label;
        }
        // G points down at x0, Ea at its point on the back
        double toeY = -1e300;
        for (const SketchPolygon& p : s.polygons) {
            for (const auto& [x, y] : p.points) {
                toeY = x == toe ? std::max(toeY, y) : toeY;
            }
        }
        ASSERT_EQ(s.arrows.size(), 2u);
        EXPECT_NEAR((s.arrows[0].x2 - toe) / 1000, c.x0, 1e-6);
        EXPECT_GT(s.arrows[0].y2, s.arrows[0].y1);
        EXPECT_NEAR((s.arrows[1].x2 - toe) / 1000, c.eaX, 2e-5);
        EXPECT_NEAR((toeY - s.arrows[1].y2) / 1000, c.eaY, 2e-5);
    }

    for (const auto& [type, field, text] : {std::tuple{WallType::Upright, "Text12", "2"},
                                            {WallType::Shelf, "Text25", "-0.65"},
                                            {WallType::Shelf, "Text19", "4"}}) {
        const Wall bad(type, {{field, text}});
        EXPECT_FALSE(bad.context.sketch) << field;
        EXPECT_NE(bad.context.noSketch.find("未绘出截面"), std::string::npos);
        EXPECT_TRUE(bad.has(Block::Kind::Paragraph, "未绘出截面")) << field;
    }
}

TEST(Report, TheBeamSketchTravelsAsSvg) {
    Sketch sketch;
    drawBeamSketch("2", EndCondition::Hinged, EndCondition::Fixed, false, sketch);
    const std::string svg = sketchSvg(sketch);
    EXPECT_NE(svg.find("width=\"177\" height=\"329\" viewBox=\"0 0 2655 4935\""),
              std::string::npos);
    EXPECT_NE(svg.find("<circle cx=\"600\" cy=\"100\" r=\"50\"/>"), std::string::npos);
    EXPECT_NE(svg.find("<line x1=\"300\" y1=\"4500\" x2=\"750\" y2=\"4500\"/>"), std::string::npos);
}

} // namespace
