#include "core/wholefile.h"
#include "driver.h"
#include "gui/resultfield.h"
#include "gui/screenfit.h"

#include <QClipboard>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>

#include <cstdio>
#include <fstream>
#include <sys/stat.h>

namespace {

// What a command line prints.
std::string output(const std::string& command) {
    FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    for (int c; (c = std::fgetc(pipe)) != EOF;) {
        out += static_cast<char>(c);
    }
    pclose(pipe);
    return out;
}

class Workday : public Driver {
  protected:
    QTemporaryDir folder;
    QStringList wallResults() const {
        return texts({"Text1", "Text6", "Text7", "Text13", "Text10", "Text9", "Text16", "Text17",
                      "Text18", "pkx"});
    }
};

TEST_F(Workday, ASavedCalculationRunsHeadlessAndReopensAsItWas) {
    open("Command6");
    click("Option2");
    type("Qx", "1,2");
    click("Command1");
    const QStringList results = wallResults();
    const QString path = folder.filePath("wall.slope");
    ASSERT_TRUE(window->saveTo(path));
    EXPECT_EQ(CalculatorWindow::lastFolder(), folder.path());

    // slopecalc prints the window's results, name by name
    const std::string printed = output(SLOPECALC " --input " + path.toStdString());
    QStringList names{"Ka", "Ea", "G", "x0", "Kt", "Ks", "pmax", "e", "pmin", "pk"};
    QString expected;
    for (int i = 0; i < names.size(); ++i) {
        expected += names[i] + "=" + results[i] + "\n";
    }
    // then the lever's added results, which the window shows in its panel alone
    static const QRegularExpression added(
        QStringLiteral("zc=[0-9.]+\nKt_c=[0-9.]+\nEa_compressed=[0-9.]+\nb2_used=[0-9.]+\n"));
    EXPECT_EQ(QString::fromStdString(printed).remove(added),
              expected + "Ks_ok=yes\nKt_ok=yes\ne_ok=yes\np_ok=not checked\n"
                         "pmax_ok=not checked\n");

    EXPECT_EQ(windowCaption(window), "重力式挡墙计算 - wall.slope");
    click("Option1");
    type("Qx", "10");
    type("Text15", "0"); // the file's inputs calculate again when it opens, not these
    EXPECT_TRUE(window->isWindowModified());
    window->openFile(path); // asked first, and cancelled: the edits stay
    EXPECT_EQ(recorder.questions, QStringList("“wall.slope”有未保存的修改。是否保存到文件？"));
    EXPECT_EQ(text("Text15"), "0");
    recorder.answer = PendingEdits::Discard;
    window->openFile(path);
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_TRUE(control<QRadioButton>(window, "Option2")->isChecked());
    EXPECT_EQ(texts({"Qx", "Text15"}), QStringList({"1,2", "0.05"}));
    EXPECT_EQ(wallResults(), results);
    EXPECT_TRUE(recorder.messages.isEmpty());
}

TEST_F(Workday, AFileOpensInTheWindowOfItsCalculator) {
    open("Command6");
    window->saveTo(folder.filePath("wall.slope"));
    launcher.openFile(folder.filePath("wall.slope")); // as slope-support FILE.slope does
    EXPECT_EQ(launcher.window(subprogram::kGravityWall), window);
    open("Command1"); // at rest
    type("hx", "6");
    window->saveTo(folder.filePath("at-rest.slope"));
    open("solidstrees");
    open("anchorbar")->openFile(folder.filePath("at-rest.slope"));
    EXPECT_EQ(subprogram::earthPressureMode, subprogram::EarthPressureMode::AtRest);
    window = launcher.window(subprogram::kEarthPressure);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(text("hx"), "6");
    EXPECT_FALSE(widget("Cx")->isEnabled());
}

TEST_F(Workday, ADamagedFileChangesNothingAndSaysWhere) {
    open("anchorbar");
    type("Text2", "20");
    const QString path = folder.filePath("anchor.slope");
    window->saveTo(path);
    std::string file;
    std::getline(std::ifstream(path.toStdString()), file, '\0');
    std::ofstream(path.toStdString()) << file.replace(file.find("\"Htk\""), 5, "\"htk\"");
    type("Text2", "30");
    window->openFile(path);
    EXPECT_EQ(message(),
              "无法打开文件“" + path + "”：第 9 行，键“htk”：未知的键。窗口内容没有改变。");
    EXPECT_EQ(text("Text2"), "30");
}

TEST_F(Workday, EnterCalculatesEscHidesAndQtSpeaksChinese) {
    open("anchorbar");
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    type("Text2", "20");
    QTest::keyClick(widget("Text2"), Qt::Key_Return);
    EXPECT_EQ(text("Text5"), "25");
    QTest::keyClick(widget("Text3"), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    QMessageBox box(QMessageBox::Warning, "", "", QMessageBox::Ok);
    EXPECT_EQ(box.button(QMessageBox::Ok)->text(), "确定");
}

TEST_F(Workday, AResultShowsItsExponentAndItsWholeTextInATip) {
    open("anchorbar");
    auto* la = control<ResultField>(window, "Text7");
    la->setFixedWidth(60);
    la->setText("7.86974651162791E-05");
    EXPECT_TRUE(la->shownText().startsWith("7.8"));
    EXPECT_TRUE(la->shownText().endsWith("…E-05")) << la->shownText().toStdString();
    EXPECT_EQ(la->toolTip(), "7.86974651162791E-05");
    la->setText("0.0642823749415615");
    EXPECT_TRUE(la->shownText().endsWith("…"));
}

TEST_F(Workday, AFailureGreysTheResultsItLeftAndTheNextSuccessClearsThem) {
    open("Command6");
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    click("Command1"); // no type yet: refused, nothing written
    EXPECT_EQ(message(), "请先选择挡墙类型(直立式或衡重式)");
    EXPECT_TRUE(widget("Option1")->hasFocus());
    EXPECT_EQ(wallResults(), QStringList(10, "0"));
    click("Option1");
    click("Command1");
    EXPECT_EQ(control<QLabel>(window, "Ks_ok")->text(), "Ks ≥ 1.3 满足");
    type("Text15", "0"); // the weight fails after Ka and Ea
    click("Command1");
    message();
    std::vector<bool> stale;
    for (const char* name : {"Text1", "Text6", "Text7", "Text18"}) {
        stale.push_back(control<ResultField>(window, name)->stale());
    }
    EXPECT_EQ(stale, (std::vector<bool>{false, false, true, true}));
    EXPECT_EQ(control<QLabel>(window, "Ks_ok")->text(), "");
    EXPECT_EQ(control<ResultField>(window, "Text7")->text(), "118.8367");
    type("Text15", "0.05");
    type("Text5", "0.03"); // Ks is proportional to μ
    click("Command1");
    EXPECT_FALSE(control<ResultField>(window, "Text7")->stale());
    EXPECT_EQ(control<QLabel>(window, "Ks_ok")->toolTip(),
              "抗滑移验算：Ks = 1.054241 < 1.3 不满足（程序默认值）");
    EXPECT_EQ(control<QLabel>(window, "Kt_ok")->text(), "Kt ≥ 1.6 满足");
    QTest::keyClick(widget("Text5"), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    const QString table = QGuiApplication::clipboard()->text();
    EXPECT_TRUE(table.startsWith("计算内容\t重力式挡墙计算：直立式挡墙，土压力作用点取 "
                                 "H/3（程序原规则）\n挡墙墙背倾角α(度)\t90\t°\n"));
    EXPECT_TRUE(table.contains("\n基底最小应力\t2.303136\tkPa\n基底平均应力\t83.12099\tkPa\n"
                               "抗滑移验算\tKs = 1.054241 < 1.3 不满足\n"))
        << table.toStdString();
}

// A result belongs to the inputs it was calculated from: an edit greys every result and clears
// its verdicts, and neither a copy, a report nor a file passes one off as current.
TEST_F(Workday, AnEditAfterACalculationOutdatesEveryResult) {
    open("anchorbar");
    click("Command1");
    window->showReport();
    auto* before = window->findChild<QWidget*>("report");
    ASSERT_NE(before, nullptr);
    EXPECT_FALSE(before->findChild<QLabel*>("outdatedNote")->isVisibleTo(before));
    type("Text2", "20");
    EXPECT_TRUE(window->outdated());
    for (const char* name : {"Text5", "Text6", "Text7", "Text8", "Text13"}) {
        EXPECT_TRUE(control<ResultField>(window, name)->stale()) << name;
    }
    EXPECT_EQ(control<QLabel>(window, "As_ok")->text(), "");
    EXPECT_TRUE(before->findChild<QLabel*>("outdatedNote")->isVisibleTo(before));
    click("copyButton");
    const QString table = QGuiApplication::clipboard()->text();
    EXPECT_TRUE(table.contains("\t20\tkN\n")) << table.toStdString();
    EXPECT_TRUE(table.endsWith("\n结果已过期\t输入在计算后已改变，请重新计算\n"))
        << table.toStdString();
    EXPECT_FALSE(table.contains("12.5"));
    window->showReport(); // the report of the calculation, which says it is not of these inputs
    auto* after = window->findChildren<QWidget*>("report").last();
    EXPECT_TRUE(after->findChild<QLabel*>("outdatedNote")->isVisibleTo(after));
    // saved as stale, and opened: calculated again from the file's inputs
    const QString path = folder.filePath("anchor.slope");
    ASSERT_TRUE(window->saveTo(path));
    EXPECT_EQ(window->saved().stale,
              (std::vector<std::string>{"Text5", "Text6", "Text7", "Text8", "Text13"}));
    window->openFile(path);
    EXPECT_FALSE(window->outdated());
    EXPECT_EQ(text("Text5"), "25");
    EXPECT_EQ(control<QLabel>(window, "As_ok")->text(), "As,提供 ≥ As 满足");
    EXPECT_TRUE(recorder.messages.isEmpty()) << recorder.messages.join("\n").toStdString();
    // the inputs typed back as they were: the results are theirs again
    type("Text2", "2");
    EXPECT_TRUE(window->outdated());
    type("Text2", "20");
    EXPECT_FALSE(window->outdated());
    EXPECT_FALSE(control<ResultField>(window, "Text5")->stale());
    EXPECT_EQ(control<QLabel>(window, "As_ok")->text(), "As,提供 ≥ As 满足");
    // a section the bars cannot have is no failure: empty, and not checked
    type("Text11", "1e200");
    click("Command1");
    EXPECT_TRUE(recorder.messages.isEmpty());
    EXPECT_EQ(text("Text13"), "");
    EXPECT_EQ(control<QLabel>(window, "As_ok")->text(), "未验算");
    // a mode chosen at the launcher outdates what the earth-pressure window shows
    open("solidstrees");
    click("Command1");
    open("Command1");
    EXPECT_FALSE(control<ResultField>(window, "Eax")->stale());
    EXPECT_TRUE(window->outdated());
}

TEST_F(Workday, OnlyAFileOfACalculationIsOpenedAndNothingIsCutOrWaitedFor) {
    recorder.answer = PendingEdits::Discard;
    open("anchorbar");
    const QString fifo = folder.filePath("pipe.slope");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0666), 0);
    launcher.openFile(fifo); // as slope-support pipe.slope: refused, never waited on
    EXPECT_EQ(message(),
              "无法打开文件“" + fifo +
                  "”：不是普通文件（可能是命名管道或设备），不能打开。窗口内容没有改变。");
    window->openFile(QStringLiteral("/dev/zero"));
    EXPECT_TRUE(message().contains("不是普通文件"));
    const QString large = folder.filePath("large.slope");
    std::ofstream(large.toStdString()) << std::string(kLargestReadFile + 1, ' ');
    window->openFile(large);
    EXPECT_TRUE(message().contains("：文件大于 1 MiB，不是本程序保存的计算文件。"));
    window->openFile(folder.filePath("gone.slope"));
    EXPECT_TRUE(message().contains("：文件或文件夹不存在。"));
    // many that cannot be opened at once (slope-support *.slope): one message names them
    QStringList gone;
    for (int i = 0; i < 12; ++i) {
        gone << folder.filePath(QStringLiteral("gone%1.slope").arg(i));
    }
    launcher.openFiles(gone);
    const QString together = message();
    EXPECT_TRUE(together.startsWith("有 12 个文件无法打开：\n无法打开文件“" + gone[0]));
    EXPECT_TRUE(together.endsWith("gone9.slope”：文件或文件夹不存在。窗口内容没有改变。\n"
                                  "……另有 2 个文件同样无法打开。"))
        << together.toStdString();
    // a text longer than Qt's 32767 characters is kept whole, and saved so
    const QString path = folder.filePath("anchor.slope");
    const std::string longText(40000, '1');
    window->setControlText("Text2", longText);
    ASSERT_TRUE(window->saveTo(path));
    type("Text2", "20");
    window->openFile(path);
    EXPECT_EQ(window->controlText("Text2"), longText);
    // as its calculation says: 40,000 digits are too many
    EXPECT_TRUE(message().startsWith("计算未能完成:溢出 (错误 6)"));
    // what would not open again is not saved
    window->setControlText("Text2", std::string(kLargestReadFile, '1'));
    EXPECT_FALSE(window->saveTo(path));
    EXPECT_TRUE(message().contains("计算文件将大于 1 MiB"));
    window->openFile(path);
    EXPECT_EQ(window->controlText("Text2"), longText);
    message();
}

TEST_F(Workday, EditsNotYetSavedAreNeverLostUnasked) {
    QSignalSpy exits(&launcher, &Launcher::exitRequested);
    open("anchorbar");
    type("Text2", "20"); // never saved: nothing to ask about, the program ends at once
    control<QPushButton>(&launcher, "Command2")->click();
    EXPECT_EQ(exits.size(), 1);
    const QString path = folder.filePath("anchor.slope");
    ASSERT_TRUE(window->saveTo(path));
    type("Text2", "30");
    EXPECT_EQ(windowCaption(window), "锚杆计算 - anchor.slope");
    EXPECT_TRUE(window->isWindowModified());
    EXPECT_FALSE(window->close()); // cancelled: the window keeps its edits
    control<QPushButton>(&launcher, "Command2")->click();
    EXPECT_EQ(exits.size(), 1);
    EXPECT_EQ(launcher.window(subprogram::kAnchorBar), window);
    // 保存 (Ctrl+S) saves to the window's file without asking; 另存为 asks where, in a dialog
    // wide enough for its Chinese columns
    QStringList dialogs;
    QTimer watch; // closes the dialog that comes, noting what it showed
    watch.setInterval(10);
    QObject::connect(&watch, &QTimer::timeout, [&dialogs] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            const auto* view = dialog->findChild<QTreeView*>("treeView");
            dialogs << dialog->windowTitle() + " " +
                           view->model()->headerData(0, Qt::Horizontal).toString() + " " +
                           QString::number(dialog->width() >=
                                           std::min(860, clientRoom(dialog).width()));
            dialog->reject();
        }
    });
    watch.start();
    click("saveButton");
    EXPECT_TRUE(dialogs.isEmpty());
    EXPECT_FALSE(window->isWindowModified());
    std::string saved;
    std::getline(std::ifstream(path.toStdString()), saved, '\0');
    EXPECT_NE(saved.find("\"Htk\": \"30\""), std::string::npos);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::keyClick(widget("Text2"), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(dialogs, QStringList("另存为 名称 1"));
    watch.stop();
    type("Text2", "30");
    type("Text2", "3");
    recorder.answer = PendingEdits::Save; // saved, and then the program ends
    control<QPushButton>(&launcher, "Command2")->click();
    EXPECT_EQ(exits.size(), 2);
    EXPECT_EQ(recorder.questions, QStringList(3, "“anchor.slope”有未保存的修改。是否保存到文件？"));
    EXPECT_FALSE(window->isWindowModified());
    type("Text2", "99");
    recorder.answer = PendingEdits::Discard;
    EXPECT_TRUE(window->close());

    // the title block is the calculation's: saved with it, and a new one starts from the last
    open("anchorbar");
    EXPECT_NE(window->titleBlock().project, "北坡");
    window->setTitleBlock({"北坡", "张工", "李工"});
    click("Command1");
    window->saveTo(path);
    window->setTitleBlock({"南坡", "王工", ""});
    EXPECT_EQ(open("Command6")->titleBlock(), (subprogram::TitleBlock{"南坡", "王工", ""}));
    launcher.openFile(path);
    window = launcher.window(subprogram::kAnchorBar);
    EXPECT_EQ(window->titleBlock(), (subprogram::TitleBlock{"北坡", "张工", "李工"}));

    // a file saved before As was given in mm²: calculated again, and the change named
    std::string file;
    std::getline(std::ifstream(path.toStdString()), file, '\0');
    std::ofstream(path.toStdString())
        << file.replace(file.find("64.2823749415615"), 16, "0.0642823749415615");
    launcher.openFile(path);
    EXPECT_EQ(message(), "文件中保存的结果与按其输入重新计算的结果不同：\n"
                         "锚杆钢筋截面积：保存的 0.0642823749415615，重新计算为 64.2823749415615");
    EXPECT_EQ(text("Text6"), "64.2823749415615");
    window->showReport(); // a calculation opened is a calculation: its report is there
    EXPECT_TRUE(recorder.messages.isEmpty());

    // what the Chinese input method types is refused, with the hint to type half-width
    window->setControlText("Text2", "１．５"); // keyClicks types ASCII only
    click("Command1");
    EXPECT_TRUE(message().endsWith("\n请使用半角数字和符号"));
    window->setControlText("Text2", "1。5");
    click("Command1");
    EXPECT_TRUE(message().endsWith("\n请使用半角数字和符号"));
    type("Text2", "1..5");
    click("Command1");
    EXPECT_FALSE(message().contains("半角"));
}

} // namespace
