#include "recorder.h"
#include "shell/formbuilder.h"
#include "shell/launcher.h"
#include "shell/windowslot.h"
#include "trivialwindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct LauncherControl {
    const char* name;
    const char* text;
    QRect pixels; // twips ÷ 15
    bool visible;
};

class LauncherControls : public testing::TestWithParam<LauncherControl> {};

TEST_P(LauncherControls, StandWhereTheTableSays) {
    Launcher launcher;
    launcher.show();
    const auto& c = GetParam();
    const QWidget* widget = control<QWidget>(&launcher, c.name);
    EXPECT_EQ(widget->geometry(), c.pixels);
    EXPECT_EQ(widget->isVisible(), c.visible);
    QString text;
    if (auto* label = qobject_cast<const QLabel*>(widget)) {
        text = label->text();
    } else if (auto* button = qobject_cast<const QPushButton*>(widget)) {
        text = button->text();
    } else if (auto* edit = qobject_cast<const QLineEdit*>(widget)) {
        text = edit->text();
    }
    EXPECT_EQ(text, QString::fromUtf8(c.text));
}

INSTANTIATE_TEST_SUITE_P(
    Table, LauncherControls,
    testing::Values(LauncherControl{"name", "边坡支护计算程序v1.0", {40, 0, 313, 33}, true},
                    LauncherControl{"solidstrees", "土压力计算", {8, 40, 145, 33}, true},
                    LauncherControl{"Command1", "静止土压力计算", {176, 40, 97, 33}, true},
                    LauncherControl{"Command2", "退出", {288, 40, 73, 33}, true},
                    LauncherControl{"Command4", "有限范围填土土压力计算", {8, 80, 145, 33}, true},
                    LauncherControl{"anchorbar", "锚杆计算", {176, 80, 97, 33}, true},
                    LauncherControl{"Command6", "重力式挡墙", {288, 80, 73, 33}, true},
                    LauncherControl{"Command5", "连续梁计算", {288, 80, 73, 33}, false},
                    LauncherControl{"direct1", "工作目录:", {32, 144, 73, 17}, false},
                    LauncherControl{"Text1", "C:\\", {88, 144, 105, 18}, false},
                    LauncherControl{"Command3", "浏览", {208, 144, 57, 25}, false},
                    LauncherControl{"Label1",
                                    "欢迎试用,请提出宝贵意见,参考重庆建筑边坡支护技术规范",
                                    {216, 176, 161, 25},
                                    true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Launcher, CaptionClientAreaTitleFaceAndFocus) {
    Launcher launcher;
    launcher.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&launcher));
    EXPECT_EQ(launcher.objectName(), "slope");
    EXPECT_EQ(launcher.windowTitle(), "边坡支护计算程序");
    EXPECT_EQ(launcher.size(), QSize(383, 213)); // 5748 × 3192 twips
    const QFont title = control<QLabel>(&launcher, "name")->font();
    EXPECT_DOUBLE_EQ(title.pointSizeF(), 21.6);
    EXPECT_EQ(title.families().value(0), "隶书");
    EXPECT_EQ(title.weight(), QFont::Normal);
    EXPECT_EQ(launcher.focusWidget(), control<QWidget>(&launcher, "solidstrees"));
}

TEST(Launcher, ExitButtonAndFrameCloseEndTheProgram) {
    Launcher launcher;
    launcher.show();
    QSignalSpy exits(&launcher, &Launcher::exitRequested);
    QTest::mouseClick(control<QPushButton>(&launcher, "Command2"), Qt::LeftButton);
    EXPECT_EQ(exits.count(), 1);
    launcher.close();
    EXPECT_EQ(exits.count(), 2);
}

TEST(Launcher, FieldsAreNamedByTheirLabels) {
    Launcher launcher;
    EXPECT_EQ(control<QLabel>(&launcher, "direct1")->buddy(), control<QWidget>(&launcher, "Text1"));
    EXPECT_EQ(captionOf(control<QWidget>(&launcher, "Text1")), "工作目录");
}

// The life of a calculator window, with the smallest one.
class WindowLifecycle : public testing::Test {
  protected:
    Recorder recorder;
    WindowSlot<TrivialWindow> slot{[this] { return new TrivialWindow(recorder.reporter()); }};

    static QLineEdit* field(QWidget* w) { return control<QLineEdit>(w, "xx"); }
    static void discardDeferred() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

TEST_F(WindowLifecycle, CreatedOnFirstUseAndOnlyOnce) {
    EXPECT_EQ(slot.existing(), nullptr);
    TrivialWindow* first = slot.show();
    field(first)->setText("7");
    TrivialWindow* second = slot.show();
    EXPECT_EQ(first, second);
    EXPECT_TRUE(second->isVisible());
    EXPECT_EQ(field(second)->text(), "7");
}

TEST_F(WindowLifecycle, ExitHidesAndKeepsEveryText) {
    TrivialWindow* window = slot.show();
    field(window)->setText("7");
    QTest::mouseClick(control<QPushButton>(window, "Command1"), Qt::LeftButton);
    QTest::mouseClick(control<QPushButton>(window, "Command2"), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    TrivialWindow* again = slot.show();
    EXPECT_EQ(again, window);
    EXPECT_EQ(field(again)->text(), "7");
    EXPECT_EQ(control<QLineEdit>(again, "result")->text(), "14");
}

TEST_F(WindowLifecycle, FrameCloseDiscardsAndTheNextShowHasDefaults) {
    QPointer<TrivialWindow> window = slot.show();
    field(window)->setText("7");
    window->close();
    EXPECT_EQ(slot.existing(), nullptr);
    TrivialWindow* fresh = slot.show(); // before the old one is even deleted
    EXPECT_NE(fresh, window.data());
    EXPECT_EQ(field(fresh)->text(), "2");
    discardDeferred();
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(slot.existing(), fresh);
}

} // namespace
