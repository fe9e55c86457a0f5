#include "calculators/anchoredwall.h"
#include "calculators/antislidepile.h"
#include "calculators/registry.h"
#include "driver.h"
#include "gui/reportwindow.h"
#include "gui/resultfield.h"
#include "gui/resultspanel.h"
#include "gui/sketchpicture.h"
#include "gui/studywindow.h"
#include "mapform.h"
#include "windows/anchorbarwindow.h"
#include "windows/anchoredwallwindow.h"
#include "windows/antislidepilewindow.h"
#include "windows/gravitywallwindow.h"
#include "windows/slopestabilitywindow.h"
#include "windows/walldrawings.h"
#include "windows/wallpressurewindow.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>

#include <cmath>
#include <set>

using subprogram::Calculator;

namespace {

QLabel* labelOf(const QWidget* field) {
    for (QLabel* label : field->window()->findChildren<QLabel*>()) {
        if (label->buddy() == field) {
            return label;
        }
    }
    return nullptr;
}

// Every calculator of the registry has its window: the same fields with the same captions and
// default texts, the same results, and the window calculates on its defaults what the
// description calculates on them, in each variant its options choose. Then every field the
// calculation reads, given a text that is not a number, stops it: named once, nothing changed,
// the text kept, and the window goes on working.
class Registry : public Driver {};

TEST_F(Registry, EveryDescriptionMatchesItsWindowAndEveryFieldFailsAlone) {
    // every window of the registry, through its first launcher button, in every variant that
    // calculates, chosen as the window's options choose it
    std::vector<std::pair<std::string, int>> ways;
    for (const windows::Kind& kind : windows::kinds()) {
        for (const subprogram::Variant& v : kind.calculator->variants) {
            if (v.refusal.empty()) {
                ways.emplace_back(kind.buttons.front().name, v.value);
            }
        }
    }
    std::set<std::string_view> seen;
    for (const auto& [button, variant] : ways) {
        open(button.c_str());
        window->setVariant(variant);
        const Calculator& c = window->calculator();
        EXPECT_EQ(window->objectName(), qstring(c.window));
        EXPECT_EQ(windowCaption(window), qstring(c.title));
        for (const subprogram::Field& f : c.fields) {
            if (f.control.empty() || seen.contains(c.command)) {
                continue; // beyond the window, or seen in another variant (a mode relabels)
            }
            const QWidget* w = widget(std::string(f.control).c_str());
            EXPECT_EQ(fieldText(w), qstring(f.defaultText)) << f.name;
            EXPECT_EQ(labelOf(w)->text(), qstring(f.caption)) << f.name;
            if (auto* combo = qobject_cast<const QComboBox*>(w); combo && !f.choices.empty()) {
                EXPECT_EQ(combo->itemText(1), qstring(f.choices[1].text));
            }
        }
        for (const QGroupBox* frame : window->findChildren<QGroupBox*>()) { // titled for people
            EXPECT_NE(frame->title(), frame->objectName());
        }
        seen.insert(c.command);
        MapForm form(c);
        CalculationRecord record; // which fields the calculation reads
        recordCalculation(form, record,
                          [&](Form& f, Trace* t) { c.calculate(window->variant(), f, t); });
        click("Command1");
        QStringList results;
        for (const subprogram::Result& r : c.results) {
            if (r.control.empty()) {
                continue; // beyond the window
            }
            const QWidget* w = widget(std::string(r.control).c_str());
            EXPECT_EQ(fieldText(w), qstring(form.texts[std::string(r.control)]))
                << button << ' ' << r.control;
            if (!r.caption.empty()) {
                EXPECT_EQ(labelOf(w)->text(), qstring(r.caption));
            }
            results << qstring(r.control);
        }
        const QStringList shown = texts(results);
        for (const auto& [id, original] : record.inputs) {
            const std::string field(c[id].control);
            if (!window->holds(id) || c[id].conversion == subprogram::Conversion::Word) {
                continue; // beyond the window, or a word
            }
            window->setControlText(field, "1.2.3"); // as a file brings it, greyed field or not
            click("Command1");
            EXPECT_TRUE(widget(field.c_str())->isEnabled()) << field << ": not to be mended";
            const QString told = message();
            EXPECT_TRUE(told.contains("类型不匹配 (错误 13)")) << field;
            EXPECT_TRUE(told.contains(captionOf(widget(field.c_str())))) << field;
            EXPECT_EQ(texts(results), shown) << field;
            EXPECT_EQ(text(field.c_str()), "1.2.3");
            type(field.c_str(), qstring(original));
        }
        click("Command1");
        EXPECT_TRUE(recorder.messages.isEmpty()) << button;
    }
    EXPECT_EQ(seen.size(), subprogram::calculators().size());
}

struct ModeCase {
    const char* button;
    const char* slipCaption;
    QStringList enabled, disabled;
};

class EarthPressureModes : public Driver, public testing::WithParamInterface<ModeCase> {};

const QStringList kResults{"Eax", "Kax", "E0ix", "K0ix"};
const QStringList kAlways{"h", "hx", "Y", "Yx", "Fi", "Fix", "Q", "Qx"};
const QStringList kWall{"C", "Cx", "ST", "STx", "B", "Bx", "a", "ax", "SS", "SSx"};
const QStringList kRock{"str", "strx"};
const QStringList kActive{"Ea", "Eax", "Ka", "Kax"};
const QStringList kAtRest{"EOi", "E0ix", "K0i", "K0ix"};

TEST_P(EarthPressureModes, EnableWhatTheyReadAndClearTheResults) {
    const ModeCase& c = GetParam();
    open("Command1"); // another mode first: the same window switches in place
    type("hx", "6");
    click("Command1");
    EXPECT_EQ(open(c.button), launcher.window(subprogram::kEarthPressure));
    EXPECT_EQ(control<QLabel>(window, "SS")->text(), c.slipCaption);
    for (const QString& name : c.enabled + c.disabled) {
        const QWidget* w = widget(name.toLatin1().constData());
        EXPECT_EQ(w->isEnabled(), c.enabled.contains(name)) << name.toStdString();
        if (!qobject_cast<const ResultField*>(w)) { // a result's tip is its whole text
            EXPECT_EQ(w->toolTip().endsWith("不用此项"), !w->isEnabled()) << name.toStdString();
        }
    }
    EXPECT_EQ(texts(kResults), QStringList(4, "0"));
    EXPECT_EQ(text("hx"), "6");
}

INSTANTIATE_TEST_SUITE_P(Modes, EarthPressureModes,
                         testing::Values(ModeCase{"solidstrees", "滑裂面与水平面的夹角ss:",
                                                  kAlways + kWall + kActive, kRock + kAtRest},
                                         ModeCase{"Command1", "滑裂面与水平面的夹角ss:",
                                                  kAlways + kAtRest, kWall + kRock + kActive},
                                         ModeCase{"Command4", "稳定岩石坡面的倾角",
                                                  kAlways + kWall + kRock + kActive, kAtRest}));

class Windows : public Driver {};

TEST_F(Windows, EarthPressureReadsOnlyWhatItsModeReads) {
    open("solidstrees");
    type("Cx", "abc"); // typed while the field is enabled
    open("Command1");
    click("Command1");
    EXPECT_EQ(text("K0ix"), "0.50000000773502");
    open("Command4");
    type("Fix", "not read");
    click("Command1");
    EXPECT_TRUE(message().contains("土的粘聚力c(KPa)"));
    EXPECT_EQ(texts(kResults), QStringList(4, "0"));
    EXPECT_EQ(text("Cx"), "abc");
}

// Each result of the mode to four significant digits with its unit, the exact text on selection;
// a result an earlier calculation left is greyed.
TEST_F(Windows, ThePanelShowsEveryResultOfTheModeAtAGlance) {
    open("Command1");
    click("Command1");
    auto* panel = control<ResultsPanel>(window, "resultsPanel");
    ASSERT_EQ(panel->rowCount(), 4);
    EXPECT_EQ(panel->rowTexts(0), QStringList({"静止土压力系数K0i", "0.5000", "—"}));
    EXPECT_EQ(panel->rowTexts(1), QStringList({"静止土压力标准值E0i", "45.75", "kPa"}));
    // the resultant per metre beside the pressure at the base, named apart from it
    EXPECT_EQ(panel->rowTexts(2), QStringList({"静止土压力合力（每延米）", "116.3", "kN/m"}));
    EXPECT_EQ(panel->rowTexts(3), QStringList({"合力作用点距墙底高度", "1.694", "m"}));
    control<QTableWidget>(window, "resultsTable")->selectRow(1);
    EXPECT_EQ(text("exactResult"), "静止土压力标准值E0i = 45.7500007077544 kPa");
    open("Command6");
    click("Option1");
    click("Command1");
    type("Text15", "0"); // the weight fails: G and what follows it are an earlier calculation's
    click("Command1");
    message();
    panel = control<ResultsPanel>(window, "resultsPanel");
    EXPECT_EQ(panel->rowTexts(2), QStringList({"墙体自重", "118.8", "kN/m", ""}));
    EXPECT_EQ(control<QTableWidget>(window, "resultsTable")->item(2, 1)->foreground().color(),
              QColor(Qt::gray));
}

TEST_F(Windows, AnchorLabelsChooseTheirOptionAndFocusFollowsTheWindowsOrder) {
    open("anchorbar");
    click("Label6");
    click("Command1");
    EXPECT_EQ(text("Text7"), "0.094972518084966");
    click("Label5");
    click("Command1");
    EXPECT_EQ(text("Text7"), "0.126313449053005");
    EXPECT_EQ(text("Text13"), "1140.3981138"); // three bars of 22 mm
    EXPECT_EQ(control<QLabel>(window, "As_ok")->text(), "As,提供 ≥ As 满足");
    EXPECT_EQ(widget("Option2")->accessibleName(), "临时性锚杆");
    const QStringList expected{"Text1",    "Text2",  "Text3",  "Text4", "Option1", "Option2",
                               "Command1", "Text5",  "Text6",  "Text7", "Text8",   "Command2",
                               "Text9",    "Text10", "Text11", "Text12"};
    QStringList chain;
    for (QWidget* w = widget("Text1"); chain.size() < expected.size(); w = w->nextInFocusChain()) {
        if (w->focusPolicy() & Qt::TabFocus && expected.contains(w->objectName())) {
            chain << w->objectName();
        }
    }
    EXPECT_EQ(chain, expected);
}

TEST_F(Windows, BeamRedrawsOnItsFourEventsOnly) {
    open("Command5");
    const auto sketch = [this] { return control<SketchPicture>(window, "Picture1")->sketch(); };
    const auto choose = [this](const char* name, const QString& item) {
        auto* box = control<QComboBox>(window, name);
        box->setCurrentIndex(box->findText(item));
        emit box->activated(box->currentIndex());
    };
    EXPECT_TRUE(sketch().lines.empty());
    choose("Combo1", "10");
    EXPECT_EQ(sketch().circles.size(), 11u);
    type("Combo1", "3"); // typed, not chosen: no redraw
    choose("Combo3", "250");
    type("Text1", "1,2");
    EXPECT_EQ(sketch().circles.size(), 11u);
    type("Text2", "12"); // a change of the load redraws, with the typed count
    EXPECT_EQ(sketch().circles.size(), 4u);
    choose("Combo5", "嵌固");
    choose("Combo6", "自由");
    EXPECT_EQ(sketch().circles.size(), 2u);
    click("Command1");
    // three spans under q = 12, fixed above: by slope deflection M(3,1) = −330/78 · 12/10
    EXPECT_EQ(text("Text3"), "-5.07692307692308");
    type("Combo1", "x");
    control<QLineEdit>(window, "Text2")->setText("11"); // one change, one redraw
    EXPECT_TRUE(message().contains("类型不匹配 (错误 13)\n出错的字段:“跨数”"));
    EXPECT_EQ(sketch().lines.size(), 4u + 11u); // the outline and the upper support drawn
    click("Command1");
    EXPECT_TRUE(message().contains("“x”"));
    EXPECT_EQ(text("Text3"), "-5.07692307692308");
}

// The upright wall takes no value from the shelf wall's own dimensions: they are greyed, with
// the reason, while it is chosen.
TEST_F(Windows, TheWallGreysWhatItsTypeDoesNotTake) {
    open("Command6");
    EXPECT_TRUE(widget("Text23")->isEnabled()); // no type yet
    click("Option1");
    for (const char* name : {"Text23", "Text25", "Text26", "Text27"}) {
        EXPECT_FALSE(widget(name)->isEnabled()) << name;
        EXPECT_EQ(widget(name)->toolTip(), "直立式挡墙不用此项：它的计算不取这个值") << name;
    }
    EXPECT_FALSE(labelOf(widget("Text23"))->isEnabled());
    EXPECT_TRUE(widget("Text15")->isEnabled()); // b, which both take
    click("Option2");
    EXPECT_TRUE(widget("Text23")->isEnabled());
    EXPECT_TRUE(widget("Text23")->toolTip().isEmpty());
}

TEST_F(Windows, AWallFailureLeavesWhatWasWrittenBeforeIt) {
    open("Command6");
    click("Option1");
    type("Text15", "0"); // no batter: the upright weight divides by zero
    click("Command1");
    EXPECT_TRUE(message().contains("除数为零 (错误 11)"));
    const QStringList results{"Text1", "Text6", "Text7", "Text13", "Text9", "Text10"};
    EXPECT_EQ(texts(results),
              QStringList({"0.427106497065615", "28.8723992016356", "0", "0", "0", "0"}));
    click("Option2"); // the shelf type takes no batter: 24 × (4.6755 − 0.1, its first block)
    click("Command1");
    EXPECT_TRUE(recorder.messages.isEmpty());
    EXPECT_EQ(text("Text7"), "109.812");
}

// q = 11 moves the resultant to e = 0.2528851, beyond b/6 = 0.2483333 and within b/4 = 0.3725;
// pmax = 167.9683 exceeds 1.2 × 136 = 163.2 while pk = 83.21446 stays within 136.
TEST_F(Windows, TheWallIsJudgedOnItsGroundAndItsBearingCapacity) {
    open("Command6");
    click("Option1");
    type("Qx", "11");
    click("Command1");
    const auto verdict = [this](const char* name) { return control<QLabel>(window, name)->text(); };
    EXPECT_EQ(verdict("e_ok"), "|e| > b/6 = 0.2483333 不满足");
    EXPECT_EQ(verdict("p_ok"), "未验算（未填地基承载力特征值 fa）");
    auto* ground = control<QComboBox>(window, "groundx");
    ground->setCurrentIndex(ground->findText("岩质"));
    type("fax", "136");
    click("Command1");
    EXPECT_EQ(text("pkx"), "83.21446");
    EXPECT_EQ(QStringList({verdict("e_ok"), verdict("p_ok"), verdict("pmax_ok")}),
              QStringList({"|e| ≤ b/4 = 0.3725 满足", "pk ≤ fa = 136 满足",
                           "pkmax > 1.2fa = 163.2 不满足"}));
}

TEST_F(Windows, TheWallSectionFollowsTheFieldsAndTheLastCalculation) {
    open("Command6");
    auto* wall = static_cast<GravityWallWindow*>(window);
    EXPECT_EQ(wall->sectionReason(), "未选择墙型，未绘出截面。");
    click("Option2");
    ASSERT_EQ(wall->sectionReason(), "");
    EXPECT_EQ(wall->section().polygons.size(), 6u); // the footing and blocks 1 to 5
    EXPECT_TRUE(wall->section().arrows.empty());
    click("Command1");
    EXPECT_EQ(wall->section().arrows.size(), 2u); // G and Ea of this calculation
    type("Text12", "0.6");
    EXPECT_TRUE(wall->section().arrows.empty()); // they belong to the old dimensions
    click("SectionPicture");
    auto* view = window->findChild<QWidget*>(QStringLiteral("SectionView"));
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->isVisible());
    type("Text14", "2.5"); // the lower wall has no height left under h1 + h4
    EXPECT_TRUE(view->findChild<SketchPicture*>()->sketch().polygons.empty());
    EXPECT_TRUE(wall->sectionReason().contains("不能构成衡重式挡墙"));
    click("SectionPicture");
    EXPECT_EQ(message(), wall->sectionReason());
}

// The pressure diagram of the last calculation that succeeded: small in the window, large on a
// click with what the report says under it, in the report; an input changed clears it.
TEST_F(Windows, ThePressureDiagramFollowsTheLastCalculation) {
    const auto labels = [this] {
        QStringList out;
        for (const SketchText& t : window->pressureDiagram().value_or(Sketch{}).texts) {
            out << QString::fromStdString(t.text);
        }
        return out;
    };
    open("solidstrees");
    click("DiagramPicture");
    EXPECT_TRUE(message().contains("请先按“计算”"));
    type("Cx", "10"); // Rankine's wall with cohesion: z0 = 2c/(γ√Ka)
    type("Qx", "0");
    click("Command1");
    EXPECT_TRUE(labels().contains("拉力区"));
    EXPECT_TRUE(labels().contains("z₀ = 1.925 m"));
    EXPECT_TRUE(window->reportHtml().contains("土压力分布图"));
    click("DiagramPicture");
    auto* view = window->findChild<QWidget*>(QStringLiteral("DiagramView"));
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->isVisible());
    EXPECT_TRUE(view->findChild<QLabel*>()->text().contains("拉力区"));
    view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view));
    QTest::keyClick(view, Qt::Key_Escape);
    EXPECT_FALSE(view->isVisible());
    open("Command1"); // a mode chosen at the launcher: the other mode's diagram goes
    EXPECT_FALSE(window->pressureDiagram());
    open("solidstrees");
    click("Command1");
    click("DiagramPicture");
    ASSERT_TRUE(view->isVisible());
    type("hx", "6");
    EXPECT_FALSE(window->pressureDiagram());
    EXPECT_TRUE(view->findChild<SketchPicture*>()->sketch().lines.empty());
    type("hx", "x"); // a calculation that fails draws none
    click("Command1");
    message();
    EXPECT_FALSE(window->pressureDiagram());
    EXPECT_FALSE(window->reportHtml().contains("土压力分布图"));
    // the wall's, with the lever its checks take
    open("Command6");
    click("Option1");
    click("Command1");
    EXPECT_TRUE(labels().contains("H/3 = 0.8667 m"));
}

// 参数分析 opens from the window's texts; a range runs into the table and the chart, a
// long one a slice at a time (and can be cancelled); the least base width that meets every check;
// the study in the report.
TEST_F(Windows, AStudyRunsTheWindowsCalculationOverOneInput) {
    open("Command6");
    click("Option1");
    click("studyButton");
    auto* study = window->findChild<StudyWindow*>();
    ASSERT_NE(study, nullptr);
    click("studyButton"); // again: the same window, to the front
    EXPECT_EQ(window->findChildren<StudyWindow*>().size(), 1);
    study->choose("b");
    // over b, the toe block follows the base by default: the study's own setting, offered checked
    auto* setting = control<QCheckBox>(study, "studySetting");
    EXPECT_FALSE(setting->isHidden());
    EXPECT_TRUE(setting->isChecked());
    study->setRange("0.5", "3", 6);
    study->start();
    ASSERT_EQ(study->study()->rows().size(), 6u);
    EXPECT_EQ(study->study()->rows()[1].value, "1");
    // Chinese headings with units, four digits in the cells, the whole text of the one chosen
    auto* table = control<QTableView>(study, "studyTable");
    EXPECT_EQ(table->model()->rowCount(), 6);
    EXPECT_EQ(table->model()->headerData(0, Qt::Horizontal).toString(), "基底的水平投影宽度b(m)");
    EXPECT_EQ(table->model()->headerData(5, Qt::Horizontal).toString(), "抗倾系数");
    EXPECT_EQ(table->model()->index(1, 5).data().toString(), "0.8091"); // b2 = c0 at b = 1
    table->setCurrentIndex(table->model()->index(1, 5));
    EXPECT_EQ(control<QLineEdit>(study, "exactCell")->text(), "0.8090767");
    EXPECT_FALSE(study->chart().lines.empty());
    // the least search runs off the window's thread; the window waits for nothing
    const auto findLeast = [&] {
        study->findLeast();
        ASSERT_TRUE(eventually([&] { return !study->searching(); }, 20000));
    };
    findLeast();
    // the base's rise follows b too (h2 = b·tanα0), which lowers Ea's lever above the toe
    EXPECT_TRUE(study->leastText().contains("b = 1.75。")) << study->leastText().toStdString();
    // with the toe block as typed, the weight the overlap counts twice lowers the least width
    setting->setChecked(false);
    findLeast(); // 0.001 by default; at 1.447 the eccentricity exceeds b/6
    EXPECT_TRUE(study->leastText().contains("b = 1.448")) << study->leastText().toStdString();
    // the table then holds the values about it, the first to meet every check among them
    ASSERT_EQ(study->study()->rows().size(), 11u);
    EXPECT_EQ(study->study()->rows()[5].value, "1.448");
    EXPECT_FALSE(subprogram::Study::holds(study->study()->rows()[4]));
    EXPECT_TRUE(subprogram::Study::holds(study->study()->rows()[5]));
    study->addToReport(); // said in the study window, no message box
    EXPECT_TRUE(recorder.messages.isEmpty());
    EXPECT_TRUE(control<QLabel>(study, "statusLabel")->text().contains("已加入计算书"));
    click("Command1");
    EXPECT_TRUE(window->reportHtml().contains("参数分析"));
    // with the inputs it held fixed and the least value it found
    EXPECT_TRUE(window->reportHtml().contains("其余输入：挡墙墙背倾角α(度) = 90，"));
    EXPECT_TRUE(window->reportHtml().contains("满足全部验算的最小值：b = 1.448"));
    // when no value meets every check, the checks never met are named, and whether they depend
    // on the input studied (Ks ∝ μ, whatever the bearing capacity)
    // an edit in the window: the study says its table is of the inputs it lists, and the next
    // one runs on the window's inputs as they stand, without 参数分析 pressed again
    auto* changed = control<QLabel>(study, "sourceChangedNote");
    EXPECT_FALSE(changed->isVisibleTo(study));
    EXPECT_TRUE(control<QLabel>(study, "ranOnLabel")->text().contains("摩擦系数 = 0.3，"));
    type("Text5", "0.03");
    EXPECT_TRUE(changed->isVisibleTo(study));
    study->choose("fa");
    study->setRange("100", "200", 11);
    findLeast();
    EXPECT_FALSE(changed->isVisibleTo(study));
    EXPECT_TRUE(control<QLabel>(study, "ranOnLabel")->text().contains("摩擦系数 = 0.03，"));
    EXPECT_TRUE(study->leastText().contains("始终不满足：抗滑移（Ks = 1.054，与 fa 无关）"))
        << study->leastText().toStdString();
    EXPECT_EQ(study->study()->rows().size(), 11u); // the values it speaks of, in the table
    type("Text5", "0.3");
    click("studyButton");
    study->choose("b");
    // a span whose steps a double cannot hold is refused with its range; the study stays
    study->setRange("1e308", "-1e308", 3);
    study->start();
    EXPECT_EQ(recorder.messages.takeLast(),
              "范围 1e308 至 -1e308 的步长超出数值的表示范围：请缩小范围。");
    EXPECT_EQ(study->study()->rows().size(), 11u);
    // ten thousand values stay responsive: a slice at a time, cancelled on the way
    study->setRange("1", "2", 10000);
    study->start();
    EXPECT_TRUE(control<QLabel>(study, "statusLabel")->text().isEmpty()); // it spoke of the last
    EXPECT_TRUE(study->running());
    EXPECT_TRUE(study->study()->rows().empty()); // the window's own events come first
    QCoreApplication::processEvents();
    study->cancel();
    EXPECT_FALSE(study->running());
    EXPECT_LT(study->study()->rows().size(), 10000u);
    study->start();
    ASSERT_TRUE(eventually([&] { return !study->running(); }, 20000));
    EXPECT_EQ(study->study()->rows().size(), 10000u);
    // in the report: its first and last hundred rows
    study->addToReport();
    const ReportContext::StudyPart& part = window->reportContext().studies.back();
    ASSERT_EQ(part.rows.size(), 201u);
    EXPECT_EQ(part.rows[100].back(), "中间 9800 个值从略");
    EXPECT_EQ(part.rows[101].front(), study->study()->rows()[9900].value);
    // saved with the calculation as they were asked for, and run again when the file opens
    QTemporaryDir folder;
    const QString path = folder.filePath("wall.slope");
    ASSERT_TRUE(window->saveTo(path));
    const std::string row101 = part.rows[101].front();
    window->close(); // the window and its study window go
    launcher.openFile(path);
    window = launcher.window(subprogram::kGravityWall);
    const auto& reopened = window->reportContext().studies;
    ASSERT_EQ(reopened.size(), 2u);
    EXPECT_EQ(reopened[0].least, window->saved().studies[0].least);
    EXPECT_TRUE(reopened[0].least.starts_with("满足全部验算的最小值：b = 1.448"));
    EXPECT_EQ(reopened[1].rows.size(), 201u);
    EXPECT_EQ(reopened[1].rows[101].front(), row101);
    EXPECT_TRUE(window->reportHtml().contains("中间 9800 个值从略"));
    EXPECT_TRUE(recorder.messages.isEmpty()) << recorder.messages.join('\n').toStdString();
}

TEST(WallPictures, AMissingOrForeignFileIsReportedAndThePictureKept) {
    QTemporaryDir folder;
    ASSERT_TRUE(shelfWallDrawing(1).save(folder.filePath("22.bmp"), "BMP"));
    Recorder recorder;
    GravityWallWindow window(recorder.reporter(), folder.path());
    const auto picture = [&] { return control<WallPicture>(&window, "Picture1")->image(); };
    auto* upright = control<QRadioButton>(&window, "Option1");
    EXPECT_EQ(picture(), uprightWallDrawing());
    upright->click(); // 11.bmp is missing
    ASSERT_EQ(recorder.messages.size(), 1);
    EXPECT_TRUE(recorder.messages[0].contains(QDir::toNativeSeparators(folder.filePath("11.bmp"))));
    EXPECT_TRUE(upright->isChecked());
    EXPECT_EQ(picture(), uprightWallDrawing());
    control<QRadioButton>(&window, "Option2")->click();
    EXPECT_EQ(picture(), QImage(folder.filePath("22.bmp")));
    QFile png(folder.filePath("11.bmp")); // a PNG under a .bmp name
    ASSERT_TRUE(png.open(QIODevice::WriteOnly));
    uprightWallDrawing(1).save(&png, "PNG");
    png.close();
    upright->click();
    EXPECT_EQ(recorder.messages.size(), 2);
    EXPECT_EQ(picture(), QImage(folder.filePath("22.bmp")));
}

} // namespace

namespace {

// The published three-block slide by the explicit transfer thrust: F3 = 79.2 kN/m along its last
// base at 22°, at γt = 1.15.
void typeThreeBlockSlide(SlopeStabilityWindow& slope) {
    slope.setVariant(2);
    for (const auto& [field, text] : {std::pair{"Gx", "500;900;700"},
                                      {"thetax", "25;10;22"},
                                      {"lx", "11.03;10.15;10.79"},
                                      {"phix", "10"},
                                      {"gtx", "1.15"}}) {
        slope.setControlText(field, text);
    }
}

} // namespace

// The design thrust of the published three-block slide (F3 = 79.2 kN/m along the last base at
// 22°), carried into the anchor window for anchors 2 m apart in one row: 79.2 × cos22° × 2.
TEST(SlopeStabilityWindow, CarriesTheDesignThrustIntoTheAnchorWindow) {
    QStringList messages;
    const Reporter collect = [&](QWidget*, const QString& m) { messages << m; };
    SlopeStabilityWindow slope(collect);
    AnchorBarWindow anchor(collect);
    slope.setShower([&](const subprogram::Calculator& c) -> CalculatorWindow* {
        return &c == &subprogram::kAnchorBar ? &anchor : nullptr;
    });
    const auto click = [&](const char* name) { slope.findChild<QPushButton*>(name)->click(); };
    click("toAnchorx"); // nothing calculated: nothing to carry
    EXPECT_EQ(anchor.controlText("Text2"), "10");
    ASSERT_EQ(messages.size(), 1);
    typeThreeBlockSlide(slope);
    click("Command1");
    click("toAnchorx");
    EXPECT_NEAR(textToDouble(anchor.controlText("Text2")), 79.2 * std::cos(22 * M_PI / 180) * 2,
                0.1);
    EXPECT_EQ(messages.size(), 2); // what was typed, and how
    // on paper too: the slope's report says where the thrust went, the anchor's whence its Htk
    // came, while it holds, and both how the factors stand
    EXPECT_TRUE(slope.reportHtml().contains("设计推力已用于“锚杆计算”窗口"));
    EXPECT_TRUE(slope.reportHtml().contains("γ<sub>t</sub> = 1.15"));
    anchor.findChild<QPushButton*>("Command1")->click();
    EXPECT_TRUE(anchor.reportHtml().contains("取自“边坡稳定性计算”窗口的设计推力"));
    anchor.typeInput("Htk", "150");
    anchor.findChild<QPushButton*>("Command1")->click();
    EXPECT_FALSE(anchor.reportHtml().contains("取自“边坡稳定性计算”窗口"));
    click("Command1"); // a new calculation: handed on nowhere yet
    EXPECT_FALSE(slope.reportHtml().contains("设计推力已用于"));
}

// The same thrust per metre of slope, its horizontal component, into the anti-slide pile: on
// paper on both sides, and the pile loaded by it.
TEST(SlopeStabilityWindow, CarriesTheDesignThrustIntoThePileWindow) {
    QStringList messages;
    const Reporter collect = [&](QWidget*, const QString& m) { messages << m; };
    SlopeStabilityWindow slope(collect);
    AntiSlidePileWindow pile(collect);
    slope.setShower([&](const subprogram::Calculator& c) -> CalculatorWindow* {
        return &c == &subprogram::kAntiSlidePile ? &pile : nullptr;
    });
    typeThreeBlockSlide(slope);
    slope.findChild<QPushButton*>("Command1")->click();
    slope.findChild<QPushButton*>("toPilex")->click();
    const double T = textToDouble(pile.controlText("thrustx"));
    EXPECT_NEAR(T, 79.2 * std::cos(22 * M_PI / 180), 0.05);
    EXPECT_TRUE(slope.reportHtml().contains("设计推力已用于“抗滑桩”窗口"));
    pile.findChild<QPushButton*>("Command1")->click();
    EXPECT_TRUE(pile.reportHtml().contains("T 取自“边坡稳定性计算”窗口的设计推力"));
    EXPECT_DOUBLE_EQ(textToDouble(pile.writtenResult("E_pile")), T * 6); // 6 m apart
    EXPECT_EQ(messages.size(), 1) << messages.join("|").toStdString();
}

// The anchored wall takes its load from the slope (the design thrust's horizontal component per
// metre) or its ground from the wall-pressure window, and hands a row's Htk to the anchor window:
// each carry on paper on both sides, and the anchor designed there as the wall designed it.
TEST(AnchoredWallWindow, TakesItsLoadAndHandsEachRowOn) {
    QStringList messages;
    const Reporter collect = [&](QWidget*, const QString& m) { messages << m; };
    SlopeStabilityWindow slope(collect);
    WallPressureWindow pressure(collect);
    AnchoredWallWindow wall(collect);
    AnchorBarWindow anchor(collect);
    const Shower show = [&](const subprogram::Calculator& c) -> CalculatorWindow* {
        return &c == &subprogram::kAnchorBar      ? static_cast<CalculatorWindow*>(&anchor)
               : &c == &subprogram::kAnchoredWall ? &wall
                                                  : nullptr;
    };
    slope.setShower(show);
    pressure.setShower(show);
    wall.setShower(show);
    typeThreeBlockSlide(slope);
    slope.findChild<QPushButton*>("Command1")->click();
    slope.findChild<QPushButton*>("toWallx")->click();
    EXPECT_NEAR(textToDouble(wall.controlText("Eahx")), 79.2 * std::cos(22 * M_PI / 180), 0.05);
    EXPECT_TRUE(slope.reportHtml().contains("设计推力已用于“锚杆挡墙”窗口"));
    const auto click = [&](const char* name) { wall.findChild<QPushButton*>(name)->click(); };
    click("Command1");
    EXPECT_TRUE(wall.reportHtml().contains("取自“边坡稳定性计算”窗口的设计推力"));
    auto* rows = wall.findChild<QTableWidget*>("rowresultsx");
    ASSERT_EQ(rows->rowCount(), 3);

    // the wall-pressure window's ground as it stands: the thrust from it, not the typed one
    pressure.setControlText("waterx", "4");
    pressure.findChild<QPushButton*>("toWallx")->click();
    EXPECT_EQ(wall.controlText("Eahx"), "");
    EXPECT_EQ(wall.controlText("waterx"), "4");
    click("Command1");
    EXPECT_TRUE(wall.reportHtml().contains("取自“墙后土压力”窗口"));

    // the second row into the anchor window, designed there as the wall designed it
    rows->setCurrentCell(1, 0);
    click("toAnchorx");
    anchor.findChild<QPushButton*>("Command1")->click();
    EXPECT_EQ(anchor.controlText("Text6"), wall.writtenResult("As2"));
    EXPECT_TRUE(anchor.reportHtml().contains("取自“锚杆挡墙”窗口"));
}

namespace {

class Tables : public Driver {};

// A spreadsheet's rows pasted into a table: each tab a cell, so that an empty cell stays in its
// column — refused, naming its row and column, where a later cell of its row needs it — a row
// replaces the whole row, and more rows than the table holds are refused before they are read.
TEST_F(Tables, APasteKeepsEveryCellInItsColumnOrIsRefused) {
    open("wallpressure");
    auto* strata = window->findChild<QTabWidget*>("tablesx")->widget(0);
    auto* table = qobject_cast<QTableWidget*>(strata);
    ASSERT_NE(table, nullptr);
    table->setCurrentCell(0, 0);
    const auto paste = [&](const QString& text) {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(table, Qt::Key_V, Qt::ControlModifier);
    };
    paste("3\t18\t\t30\t19\n");
    const QString told = message();
    EXPECT_TRUE(told.contains("第 1 行第 3 列")) << told.toStdString();
    EXPECT_EQ(text("layersx"), "3 18 0 30;3 19 10 20 20"); // as it was
    // a shorter row replaces the longer one whole: no γsat left of the old row
    table->setCurrentCell(1, 0);
    paste("2.5\t19\t5\t25\n");
    EXPECT_EQ(text("layersx"), "3 18 0 30;2.5 19 5 25");
    QString many;
    for (int i = 0; i < 5000; ++i) {
        many += "1\t18\t0\t30\n";
    }
    paste(many);
    EXPECT_TRUE(message().contains("5000 行"));
    EXPECT_EQ(text("layersx"), "3 18 0 30;2.5 19 5 25");
}

// Where nothing drives the mass the window names why there is no factor, and the slope is stable.
TEST_F(Tables, NothingDrivingShowsNoFactor) {
    open("slopestability");
    type("Px", "600");
    click("Command1");
    EXPECT_EQ(text("Fsx"), "无下滑力");
    EXPECT_EQ(text("statex"), "稳定");
    EXPECT_TRUE(recorder.messages.isEmpty());
}

// The anchor's bond strength is labelled as its method reads it: frbk under the 2013 method.
TEST_F(Tables, TheAnchorsBondStrengthIsLabelledAsItsMethodReadsIt) {
    open("anchorbar");
    const QString own = labelOf(widget("Text9"))->text();
    control<QComboBox>(window, "editionx")->setCurrentIndex(1);
    EXPECT_EQ(labelOf(widget("Text9"))->text(), "极限粘结强度标准值frbk(kPa)");
    control<QComboBox>(window, "editionx")->setCurrentIndex(0);
    EXPECT_EQ(labelOf(widget("Text9"))->text(), own);
}

// A least search of the critical circle over a long range (minutes of searches) leaves the
// window free, shows how far it has come, and 取消 ends it at its next value.
TEST_F(Tables, ALongLeastSearchRunsBesideTheWindowAndIsCancelled) {
    open("slopestability");
    click("Option4");
    click("studyButton");
    auto* study = window->findChild<StudyWindow*>();
    ASSERT_NE(study, nullptr);
    study->choose("c");
    study->setRange("1", "60", 11);
    study->findLeast();
    EXPECT_TRUE(study->searching());
    EXPECT_FALSE(control<QPushButton>(study, "runButton")->isEnabled());
    EXPECT_TRUE(eventually(
        [&] { return control<QProgressBar>(study, "progress")->text().contains("已验算"); }));
    click("Command1"); // the window calculates meanwhile
    EXPECT_FALSE(text("Fsx").isEmpty());
    study->cancel();
    ASSERT_TRUE(eventually([&] { return !study->searching(); }, 10000));
    EXPECT_TRUE(study->leastText().startsWith("已取消")) << study->leastText().toStdString();
    EXPECT_TRUE(control<QPushButton>(study, "runButton")->isEnabled());
    EXPECT_TRUE(recorder.messages.isEmpty());
}

// A calculation longer than a moment (the critical circle of 1,000 slices) runs beside the
// window: its progress shows with 取消, which ends it and leaves the window as it was; left to
// run, it shows what slopecalc gives for the same inputs.
TEST_F(Tables, ALongCalculationRunsBesideTheWindowAndIsCancelled) {
    open("slopestability");
    click("Option4");
    type("slicesx", "1000");
    auto* calculate = control<QPushButton>(window, "Command1");
    const QString before = text("Fsx");
    calculate->click();
    ASSERT_TRUE(window->calculating());
    auto* progress = window->findChild<QProgressDialog*>("calculationProgress");
    ASSERT_NE(progress, nullptr);
    EXPECT_TRUE(progress->isVisible());
    for (QPushButton* b : progress->findChildren<QPushButton*>()) {
        if (b->text() == "取消") {
            b->click();
        }
    }
    ASSERT_TRUE(eventually([&] { return !window->calculating(); }, 1000));
    EXPECT_EQ(text("Fsx"), before);
    EXPECT_EQ(window->findChild<QProgressDialog*>("calculationProgress"), nullptr);
    EXPECT_TRUE(recorder.messages.isEmpty());
    calculate->click();
    ASSERT_TRUE(eventually([&] { return !window->calculating(); }, 60000));
    EXPECT_EQ(text("Fsx"),
              "1.36862028793642"); // slopecalc slope-stability --method bishop slices=1000
    EXPECT_TRUE(recorder.messages.isEmpty());
}

// The rigorous methods share the window's one choice of method; Spencer's function is its own
// (greyed), Morgenstern and Price's the engineer's; a polyline with a crack and a load gives
// what slopecalc gives.
TEST_F(Tables, TheRigorousMethodsCalculateFromTheWindow) {
    open("slopestability");
    click("Option4");
    click("Option5");
    EXPECT_FALSE(control<QRadioButton>(window, "Option4")->isChecked());
    EXPECT_FALSE(widget("functionx")->isEnabled());
    click("Option6");
    EXPECT_TRUE(widget("functionx")->isEnabled());
    EXPECT_FALSE(control<QRadioButton>(window, "Option5")->isChecked());
    control<QComboBox>(window, "functionx")->setCurrentText("常数");
    type("slipx", "8 0.2;14 -1.5;26 4;34 10.2");
    type("crackx", "1");
    type("crackfilledx", "1");
    type("loadsx", "30 32 38");
    click("Command1");
    // slopecalc slope-stability --method morgenstern-price function=constant slip=… crack=1
    // crack_filled=1 loads='30 32 38', as Spencer's
    EXPECT_EQ(text("Fsx"), "1.45779759963512");
    EXPECT_TRUE(recorder.messages.isEmpty());
}

// An edit greys every result the panel lists, those beyond the window's boxes too (the circle's
// centre and radius), and a report of the calculation says on the page it is not of the inputs.
TEST_F(Tables, AnEditGreysEveryResultAndEveryCopyOfTheReport) {
    open("slopestability");
    click("Option4");
    type("circlex", "13 23 23");
    click("Command1");
    window->showReport();
    auto* report = window->findChild<ReportWindow*>("report");
    ASSERT_NE(report, nullptr);
    auto* results = control<QTableWidget>(window, "resultsTable");
    ASSERT_GT(results->rowCount(), 4);
    const auto greyRows = [&] {
        int grey = 0;
        for (int row = 0; row < results->rowCount(); ++row) {
            grey += results->item(row, 1)->foreground().color() == QColor(Qt::gray);
        }
        return grey;
    };
    EXPECT_EQ(greyRows(), 0);
    QTemporaryDir folder;
    const auto html = [&] {
        const QString path = folder.filePath("r.html");
        EXPECT_TRUE(report->saveHtml(path).isEmpty());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return QString::fromUtf8(file.readAll());
    };
    EXPECT_FALSE(html().contains("输入在计算后已改变"));
    type("cx", "12");
    EXPECT_EQ(greyRows(), results->rowCount());
    EXPECT_TRUE(html().contains("输入在计算后已改变"));
    EXPECT_TRUE(recorder.messages.isEmpty());
}

} // namespace
