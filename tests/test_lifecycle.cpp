#include "driver.h"
#include "gui/windowslot.h"
#include "trivialwindow.h"

#include <QLabel>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTimer>

namespace {

TEST(Launcher, ShowsItsTitleHidesWhatNothingShowsAndEndsTheProgram) {
    Launcher launcher;
    launcher.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&launcher));
    EXPECT_EQ(launcher.windowTitle(), "边坡支护计算程序");
    const QFont title = control<QLabel>(&launcher, "name")->font();
    EXPECT_EQ(title.families().value(0), "隶书");
    EXPECT_DOUBLE_EQ(title.pointSizeF(), 21.6);
    EXPECT_EQ(launcher.focusWidget(), control<QWidget>(&launcher, "solidstrees"));
    for (const char* hidden : {"Command5", "direct1", "Text1", "Command3"}) {
        EXPECT_FALSE(control<QWidget>(&launcher, hidden)->isVisible()) << hidden;
    }
    QSignalSpy exits(&launcher, &Launcher::exitRequested);
    control<QPushButton>(&launcher, "Command2")->click();
    launcher.close(); // the frame's close control ends the program too
    EXPECT_EQ(exits.count(), 2);
}

// The life of a calculator window, with the smallest one.
class WindowLife : public testing::Test {
  protected:
    Recorder recorder;
    WindowSlot<TrivialWindow> slot{[this] { return new TrivialWindow(recorder.reporter()); }};
    static QLineEdit* field(QWidget* w, const char* name = "xx") {
        return control<QLineEdit>(w, name);
    }
};

TEST_F(WindowLife, CreatedOnceExitHidesAndKeepsFrameCloseDiscards) {
    EXPECT_EQ(slot.existing(), nullptr);
    QPointer<TrivialWindow> window = slot.show();
    field(window)->setText("7");
    control<QPushButton>(window, "Command1")->click();
    control<QPushButton>(window, "Command2")->click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(slot.show(), window.data());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(field(window)->text(), "7");
    EXPECT_EQ(field(window, "result")->text(), "14");

    window->close();
    EXPECT_EQ(slot.existing(), nullptr);
    TrivialWindow* fresh = slot.show(); // before the old one is even deleted
    EXPECT_NE(fresh, window.data());
    EXPECT_EQ(field(fresh)->text(), "2");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(slot.existing(), fresh);
}

TEST_F(WindowLife, AFailureIsNamedOnceTheFieldKeptFocusedAndSelected) {
    TrivialWindow* window = slot.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    const auto calculate = [&](const QString& x) {
        field(window)->setText(x);
        control<QPushButton>(window, "Command1")->click();
    };
    calculate("3o");
    EXPECT_TRUE(field(window)->hasFocus());
    EXPECT_EQ(field(window)->selectedText(), "3o");
    calculate("1E400");
    calculate("1E308"); // reads, but x + x overflows
    ASSERT_EQ(recorder.messages.size(), 3);
    EXPECT_EQ(recorder.messages[0],
              "计算未能完成:类型不匹配 (错误 13)\n出错的字段:“数值x”,内容:“3o”");
    EXPECT_TRUE(recorder.messages[1].contains("溢出 (错误 6)\n出错的字段:“数值x”"));
    EXPECT_EQ(recorder.messages[2], "计算未能完成:溢出 (错误 6)");
    EXPECT_EQ(field(window, "result")->text(), "0");
    calculate("2.5"); // and the window goes on working
    EXPECT_EQ(field(window, "result")->text(), "5");
}

TEST(MessageBox, TheRealBoxShowsTheMessageAndClosesWithOk) {
    TrivialWindow window(showMessageBox);
    window.show();
    QString seen, title;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = box->text();
        title = box->windowTitle();
        box->button(QMessageBox::Ok)->click();
    });
    control<QLineEdit>(&window, "xx")->setText("abc");
    control<QPushButton>(&window, "Command1")->click();
    EXPECT_TRUE(seen.contains("类型不匹配 (错误 13)")) << seen.toStdString();
    EXPECT_EQ(title, "试验");
}

} // namespace
