#include "app/help.h"
#include "driver.h"
#include "gui/reportwindow.h"
#include "gui/screenfit.h"

#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

#include <cstdlib>

// Run on a screen of a given size (see CMakeLists.txt): every window the program opens lies
// within the screen's available area with room for its frame.
namespace {

class Screens : public Driver {
  protected:
    void SetUp() override {
        const char* expected = std::getenv("SLOPE_TEST_SCREEN"); // "1366x768", logical pixels
        if (!expected) {
            GTEST_SKIP() << "run with a screen of a given size only";
        }
        const QSize size = QGuiApplication::primaryScreen()->availableGeometry().size();
        ASSERT_EQ(QStringLiteral("%1x%2").arg(size.width()).arg(size.height()),
                  QString::fromLatin1(expected));
    }
    static void expectWithin(const QWidget* w) {
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        EXPECT_TRUE(area.contains(w->frameGeometry())) << w->objectName().toStdString();
        // where a window manager puts the frame: its top left at the window's position
        EXPECT_TRUE(area.contains(QRect(w->pos(), w->size() + kFrameAllowance)))
            << w->objectName().toStdString();
        EXPECT_LE(w->height() + kFrameAllowance.height(), area.height())
            << w->objectName().toStdString();
        EXPECT_LE(w->width() + kFrameAllowance.width(), area.width())
            << w->objectName().toStdString();
    }
};

TEST_F(Screens, EveryWindowOpensWithinTheScreen) {
    launcher.show();
    expectWithin(&launcher);
    // the field a window gives the focus keeps it when the window's page scrolls
    for (const auto& [button, focused] : {std::pair{"solidstrees", "hx"},
                                          {"anchorbar", "Text1"},
                                          {"Command5", ""},
                                          {"Command6", ""}}) {
        open(button);
        expectWithin(window);
        if (*focused) {
            EXPECT_EQ(window->focusWidget(), widget(focused)) << button;
        }
        if (std::string_view(button) == "Command6") {
            click("Option1");
            click("SectionPicture");
            expectWithin(window->findChild<QWidget*>(QStringLiteral("SectionView")));
        }
        click("Command1");
        recorder.messages.clear();
        click("reportButton");
        const auto reports = window->findChildren<ReportWindow*>();
        ASSERT_FALSE(reports.isEmpty()) << button;
        expectWithin(reports.back());
        window->hide();
    }
    expectWithin(showUserGuide());
    // a message about a control out of view scrolls the page to it
    open("Command6");
    if (auto* scroll = window->findChild<QScrollArea*>("fitScroll")) {
        scroll->verticalScrollBar()->setValue(scroll->verticalScrollBar()->maximum());
        scroll->horizontalScrollBar()->setValue(scroll->horizontalScrollBar()->maximum());
        window->setVariant(int(subprogram::WallType::NotChosen));
        click("Command1");
        EXPECT_EQ(message(), "请先选择挡墙类型(直立式或衡重式)");
        const QWidget* chooser = widget("Option1");
        const QRect shown(chooser->mapTo(scroll->viewport(), QPoint(0, 0)), chooser->size());
        EXPECT_TRUE(scroll->viewport()->rect().contains(shown));
    }
}

} // namespace
