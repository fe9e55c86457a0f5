#include "recorder.h"
#include "shell/formbuilder.h"
#include "shell/launcher.h"
#include "windows/reportwindow.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace {

ReportWindow* openReport(CalculatorWindow* window) {
    QTest::mouseClick(control<QPushButton>(window, "reportButton"), Qt::LeftButton);
    return window->findChild<ReportWindow*>();
}

struct WindowCase {
    const char* name;
    const char* launcherButton;
    const char* option;
    const char* expected; // a text the report must hold
};

class ReportButton : public testing::TestWithParam<WindowCase> {};

TEST_P(ReportButton, StandsInFreeSpaceAndReportsTheLastCalculation) {
    Recorder recorder;
    Launcher launcher(recorder.reporter());
    control<QPushButton>(&launcher, GetParam().launcherButton)->click();
    CalculatorWindow* window = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* c = qobject_cast<CalculatorWindow*>(w); c && c->isVisible() && !c->discarded()) {
            window = c;
        }
    }
    ASSERT_NE(window, nullptr);
    auto* button = control<QPushButton>(window, "reportButton");
    EXPECT_EQ(button->text(), "计算书");
    for (QWidget* other : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (other != button && other->isVisible()) {
            EXPECT_FALSE(other->geometry().intersects(button->geometry()))
                << other->objectName().toStdString();
        }
    }
    EXPECT_TRUE(window->rect().contains(button->geometry()));

    button->click(); // nothing calculated yet
    ASSERT_EQ(recorder.messages.size(), 1);
    EXPECT_TRUE(recorder.messages[0].contains("尚未计算"));
    EXPECT_EQ(window->findChild<ReportWindow*>(), nullptr);

    if (GetParam().option) {
        control<QRadioButton>(window, GetParam().option)->click();
    }
    control<QPushButton>(window, "Command1")->click();
    ReportWindow* report = openReport(window);
    ASSERT_NE(report, nullptr);
    const QString text = report->document()->toPlainText();
    EXPECT_TRUE(text.contains(QString::fromUtf8(GetParam().expected))) << text.toStdString();
    EXPECT_TRUE(text.contains("重庆建筑边坡支护技术规范"));
}

INSTANTIATE_TEST_SUITE_P(
    Windows, ReportButton,
    testing::Values(WindowCase{"earth_pressure", "solidstrees", nullptr, "Kq"},
                    WindowCase{"anchor", "anchorbar", nullptr, "0.126313449053005"},
                    WindowCase{"gravity_wall", "Command6", "Option2", "衡重式挡墙"},
                    WindowCase{"beam", "Command5", nullptr, "M(2,1)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReportWindow, SavesAValidPdfAndHtmlWithTheDrawing) {
    Recorder recorder;
    Launcher launcher(recorder.reporter());
    control<QPushButton>(&launcher, "Command6")->click();
    GravityWallWindow* window = launcher.gravityWallWindow();
    control<QRadioButton>(window, "Option1")->click();
    control<QPushButton>(window, "Command1")->click();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, Qt::Key_P, Qt::ControlModifier); // the shortcut opens it too
    ReportWindow* report = window->findChild<ReportWindow*>();
    ASSERT_NE(report, nullptr);

    QTemporaryDir folder;
    const QString pdfPath = folder.filePath("wall.pdf");
    ASSERT_TRUE(report->savePdf(pdfPath));
    QFile pdf(pdfPath);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF-1.")) << bytes.left(8).toStdString();
    EXPECT_TRUE(bytes.trimmed().endsWith("%%EOF"));
    EXPECT_GT(bytes.size(), 10000);

    const QString htmlPath = folder.filePath("wall.html");
    ASSERT_TRUE(report->saveHtml(htmlPath));
    QFile html(htmlPath);
    ASSERT_TRUE(html.open(QIODevice::ReadOnly));
    const QString page = QString::fromUtf8(html.readAll());
    EXPECT_TRUE(page.contains("data:image/png;base64,"));
    EXPECT_TRUE(page.contains("<td>x0</td><td class=\"num\">0.9329683</td>"));
    EXPECT_FALSE(report->saveHtml(folder.filePath("missing/folder/wall.html")));
}

} // namespace
