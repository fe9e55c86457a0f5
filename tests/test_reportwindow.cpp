#include "driver.h"
#include "gui/reportwindow.h"

#include <QFile>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextDocument>

#include <csignal>
#include <sys/resource.h>

namespace {

struct WindowCase {
    const char* launcherButton;
    const char* option;
    const char* expected; // a text the report must hold
};

class ReportButton : public Driver, public testing::WithParamInterface<WindowCase> {};

TEST_P(ReportButton, StandsInFreeSpaceAndReportsTheLastCalculation) {
    open(GetParam().launcherButton);
    QWidget* button = widget("reportButton");
    EXPECT_EQ(qobject_cast<QPushButton*>(button)->text(), "计算书");
    for (QWidget* other : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (other != button && other->isVisible()) {
            EXPECT_FALSE(other->geometry().intersects(button->geometry()))
                << other->objectName().toStdString();
        }
    }
    EXPECT_TRUE(window->rect().contains(button->geometry()));
    click("reportButton"); // nothing calculated yet
    EXPECT_TRUE(message().contains("尚未计算"));
    EXPECT_EQ(window->findChild<ReportWindow*>(), nullptr);

    if (GetParam().option) {
        control<QRadioButton>(window, GetParam().option)->click();
    }
    click("Command1");
    click("reportButton");
    auto* report = window->findChild<ReportWindow*>();
    ASSERT_NE(report, nullptr);
    const QString text = report->document()->toPlainText();
    EXPECT_TRUE(text.contains(QString::fromUtf8(GetParam().expected))) << text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Windows, ReportButton,
                         testing::Values(WindowCase{"solidstrees", nullptr, "Kq"},
                                         WindowCase{"anchorbar", nullptr, "0.126313449053005"},
                                         WindowCase{"Command6", "Option2", "衡重式挡墙"},
                                         WindowCase{"Command5", nullptr, "M(2,1)"}));

class ReportFiles : public Driver {};

TEST_F(ReportFiles, AValidPdfAndOneHtmlFileWithTheDrawing) {
    open("Command6");
    click("Option1");
    click("Command1");
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, Qt::Key_P, Qt::ControlModifier); // the shortcut opens it too
    auto* report = window->findChild<ReportWindow*>();
    ASSERT_NE(report, nullptr);

    QTemporaryDir folder;
    ASSERT_EQ(report->savePdf(folder.filePath("wall.pdf")), "");
    QFile pdf(folder.filePath("wall.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF-1.")) << bytes.left(8).toStdString();
    EXPECT_TRUE(bytes.trimmed().endsWith("%%EOF"));

    ASSERT_EQ(report->saveHtml(folder.filePath("wall.html")), "");
    QFile html(folder.filePath("wall.html"));
    ASSERT_TRUE(html.open(QIODevice::ReadOnly));
    const QString page = QString::fromUtf8(html.readAll());
    EXPECT_TRUE(page.contains("data:image/png;base64,"));
    EXPECT_TRUE(page.contains("<td>x0</td><td class=\"num\">0.9329683</td>"));
    EXPECT_NE(report->saveHtml(folder.filePath("missing/folder/wall.html")), "");

    // no file may grow beyond 1000 bytes: neither is written, the old files stay, the user is told
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit small{1000, limit.rlim_max};
    std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    report->save(folder.filePath("wall.pdf"), true);
    report->save(folder.filePath("wall.html"), false);
    setrlimit(RLIMIT_FSIZE, &limit);
    ASSERT_EQ(recorder.messages.size(), 2) << recorder.messages.join("|").toStdString();
    EXPECT_TRUE(
        recorder.messages[0].startsWith("无法写入文件“" + folder.filePath("wall.pdf") + "”："))
        << recorder.messages[0].toStdString();
    EXPECT_TRUE(recorder.messages[1].endsWith("原有的文件保持不变。"));
    pdf.seek(0);
    EXPECT_EQ(pdf.readAll(), bytes);
    EXPECT_TRUE(QFile(folder.filePath("wall.html")).size() > 1000);
}

} // namespace
