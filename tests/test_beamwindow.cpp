#include "recorder.h"
#include "shell/formbuilder.h"
#include "shell/launcher.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The launcher's beam button is never shown: the window is reached through its (hidden) button
// pressed in code, as the class would be by any future entry point.
class BeamWindowTest : public testing::Test {
  protected:
    Recorder recorder;
    Launcher launcher{recorder.reporter()};
    BeamWindow* window = nullptr;

    void SetUp() override {
        ASSERT_FALSE(control<QPushButton>(&launcher, "Command5")->isVisible());
        control<QPushButton>(&launcher, "Command5")->click();
        window = launcher.beamWindow();
        ASSERT_NE(window, nullptr);
    }
    QComboBox* combo(const char* name) const { return control<QComboBox>(window, name); }
    QLineEdit* field(const char* name) const { return control<QLineEdit>(window, name); }
    const subprogram::BeamSketch& sketch() const {
        return control<BeamPicture>(window, "Picture1")->sketch();
    }
    // a choice in the combo box's list, as a user's click makes it
    void choose(const char* name, const QString& item) {
        QComboBox* box = combo(name);
        const int index = box->findText(item);
        ASSERT_GE(index, 0);
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
    void typeInto(const char* name, const QString& text) {
        QLineEdit* edit = combo(name)->lineEdit();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    void calculate() {
        QTest::mouseClick(control<QPushButton>(window, "Command1"), Qt::LeftButton);
    }
    QString result() const { return field("Text3")->text(); }
    std::vector<double> circleYs() const {
        std::vector<double> ys;
        for (const auto& c : sketch().circles) {
            ys.push_back(c.y);
        }
        return ys;
    }
};

TEST_F(BeamWindowTest, CreatedWithItsCaptionsListsAndAnEmptyPicture) {
    EXPECT_EQ(window->objectName(), "beamfrm");
    EXPECT_EQ(window->windowTitle(), "连续梁计算");
    EXPECT_EQ(window->size(), QSize(409, 359)); // 6132 × 5388 twips
    EXPECT_EQ(field("Text1")->text(), "2,3,4,5,6,7");
    EXPECT_EQ(field("Text2")->text(), "10");
    EXPECT_EQ(result(), "");
    const QStringList defaults{combo("Combo1")->currentText(), combo("Combo3")->currentText(),
                               combo("Combo4")->currentText(), combo("Combo5")->currentText(),
                               combo("Combo6")->currentText(), combo("Combo2")->currentText()};
    EXPECT_EQ(defaults, QStringList({"2", "200", "300", "铰支", "铰支", "C20"}));
    EXPECT_EQ(combo("Combo1")->count(), 10);
    EXPECT_EQ(combo("Combo4")->count(), 8);
    EXPECT_EQ(combo("Combo2")->itemText(5), "C40");
    EXPECT_TRUE(combo("Combo2")->isEditable());
    EXPECT_TRUE(sketch().lines.empty());
    EXPECT_FALSE(control<QWidget>(window, "Line1")->isVisible());
    EXPECT_EQ(control<QWidget>(window, "Picture1")->geometry(), QRect(216, 16, 177, 329));
    EXPECT_EQ(captionOf(combo("Combo1")), "跨数");
}

struct MomentCase {
    const char* name;
    const char* count;
    const char* upper;
    const char* lower;
    const char* text;
};

class BeamMoments : public BeamWindowTest, public testing::WithParamInterface<MomentCase> {};

TEST_P(BeamMoments, TheLastSpansUpperMomentIsShown) {
    const auto& c = GetParam();
    choose("Combo1", c.count);
    choose("Combo5", QString::fromUtf8(c.upper));
    choose("Combo6", QString::fromUtf8(c.lower));
    calculate();
    EXPECT_TRUE(recorder.messages.isEmpty()) << recorder.messages.join("|").toStdString();
    EXPECT_EQ(result(), c.text);
}

INSTANTIATE_TEST_SUITE_P(Supports, BeamMoments,
                         testing::Values(MomentCase{"defaults", "2", "铰支", "铰支", "-5"},
                                         MomentCase{"one_fixed_span", "1", "嵌固", "嵌固",
                                                    "-3.33333333333333"},
                                         MomentCase{"free_as_hinged", "2", "自由", "自由", "-5"},
                                         MomentCase{"three_spans", "3", "铰支", "铰支", "-4"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(BeamWindowTest, ABadCountKeepsTheResult) {
    calculate();
    ASSERT_EQ(result(), "-5");
    for (const QString& bad : {QString("2.5"), QString("x"), QString("100")}) {
        typeInto("Combo1", bad);
        calculate();
    }
    ASSERT_EQ(recorder.messages.size(), 3);
    EXPECT_TRUE(recorder.messages[0].contains("类型不匹配 (错误 13)"));
    EXPECT_TRUE(recorder.messages[0].contains("跨数"));
    EXPECT_TRUE(recorder.messages[0].contains("2.5"));
    EXPECT_TRUE(recorder.messages[2].contains("下标越界 (错误 9)"));
    EXPECT_EQ(result(), "-5");
}

TEST_F(BeamWindowTest, AGradeOutsideTheTableFails) {
    calculate();
    typeInto("Combo2", "C50");
    calculate();
    ASSERT_EQ(recorder.messages.size(), 1);
    EXPECT_EQ(result(), "-5");
}

TEST_F(BeamWindowTest, OnlyTheFourEventsRedraw) {
    choose("Combo1", "10");
    EXPECT_EQ(circleYs(),
              (std::vector<double>{100, 4500, 540, 980, 1420, 1860, 2300, 2740, 3180, 3620, 4060}));
    const std::size_t lines = sketch().lines.size();
    typeInto("Combo1", "3"); // typed, not chosen: no redraw
    choose("Combo3", "250");
    choose("Combo2", "C30");
    field("Text1")->setText("1,2");
    EXPECT_EQ(sketch().circles.size(), 11u);
    field("Text2")->setText("12"); // a change of the load redraws, with the typed count
    EXPECT_EQ(circleYs(), (std::vector<double>{100, 1567, 3033, 4500}));
    choose("Combo5", "嵌固");
    EXPECT_EQ(sketch().lines.size(), lines + 11);
    choose("Combo6", "自由");
    EXPECT_EQ(circleYs(), (std::vector<double>{1567, 3033}));
}

TEST_F(BeamWindowTest, ABadCountStopsTheSketchWhereItIsUsed) {
    typeInto("Combo1", "x");
    field("Text2")->setText("11");
    ASSERT_EQ(recorder.messages.size(), 1);
    EXPECT_TRUE(recorder.messages[0].contains("跨数"));
    EXPECT_EQ(sketch().lines.size(), 4u);            // the member's outline
    EXPECT_EQ(circleYs(), std::vector<double>{100}); // and the upper support
}

TEST_F(BeamWindowTest, ThePictureSurvivesHidingAndShowing) {
    choose("Combo1", "4");
    const std::size_t shapes = sketch().lines.size() + sketch().circles.size();
    QTest::mouseClick(control<QPushButton>(window, "Command2"), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    control<QPushButton>(&launcher, "Command5")->click();
    EXPECT_EQ(launcher.beamWindow(), window);
    EXPECT_EQ(sketch().lines.size() + sketch().circles.size(), shapes);
    const QImage shown = control<QWidget>(window, "Picture1")->grab().toImage();
    EXPECT_EQ(shown.pixelColor(shown.width() - 2, 2), QColor(Qt::white));
    EXPECT_NE(shown.pixelColor(qRound(500 / 15.0 * shown.devicePixelRatio()), shown.height() / 2),
              QColor(Qt::white)); // the member's outline is painted
}

} // namespace
