#include "app/appicon.h"
#include "app/help.h"
#include "app/singleinstance.h"
#include "app/titleoutline.h"
#include "driver.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QThread>
#include <QTimer>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

TEST(Launcher, ShowsItsTitleHidesWhatNothingShowsAndEndsTheProgram) {
    Launcher launcher;
    launcher.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&launcher));
    EXPECT_EQ(launcher.windowTitle(), "边坡支护计算程序");
    // the title keeps its text and is drawn from the Kai face's outlines, as wide as they are
    auto* title = control<QLabel>(&launcher, "name");
    EXPECT_EQ(title->text(), "边坡支护计算程序v1.0");
    const QImage drawn = title->grab().toImage();
    int right = -1;
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            right = qGray(drawn.pixel(x, y)) < 100 ? std::max(right, x) : right;
        }
    }
    EXPECT_NEAR(right, kTitleOutline.width, 3);
    EXPECT_EQ(launcher.focusWidget(), control<QWidget>(&launcher, "solidstrees"));
    for (const char* hidden : {"Command5", "direct1", "Text1", "Command3"}) {
        EXPECT_FALSE(control<QWidget>(&launcher, hidden)->isVisible()) << hidden;
    }
    QSignalSpy exits(&launcher, &Launcher::exitRequested);
    control<QPushButton>(&launcher, "Command2")->click();
    launcher.close(); // the frame's close control ends the program too
    EXPECT_EQ(exits.count(), 2);
}

TEST(Launcher, TheWindowIconIsTheDrawingAtEverySize) {
    const QIcon icon = appIcon();
    for (const int size : {16, 32, 48, 64}) { // the build's bitmaps, and one painted when asked
        EXPECT_EQ(icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
                  appIconImage(size))
            << size;
    }
    EXPECT_EQ(icon.availableSizes(), QList<QSize>({{16, 16}, {32, 32}, {48, 48}}));
}

class WindowLife : public Driver {};

TEST_F(WindowLife, CreatedOnceExitHidesAndKeepsFrameCloseDiscards) {
    EXPECT_EQ(launcher.window(subprogram::kAnchorBar), nullptr);
    QPointer<CalculatorWindow> first = open("anchorbar");
    type("Text2", "20");
    click("Command1");
    click("Command2");
    EXPECT_FALSE(first->isVisible());
    EXPECT_EQ(open("anchorbar"), first.data());
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(texts({"Text2", "Text5"}), QStringList({"20", "25"}));

    first->close();
    EXPECT_EQ(launcher.window(subprogram::kAnchorBar), nullptr);
    EXPECT_NE(open("anchorbar"), first.data()); // before the old one is even deleted
    EXPECT_EQ(texts({"Text2", "Text5"}), QStringList({"10", "0"}));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(launcher.window(subprogram::kAnchorBar), window);
}

TEST_F(WindowLife, AFailureIsNamedOnceTheFieldKeptFocusedAndSelected) {
    open("anchorbar");
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    type("Text2", "3o");
    click("Command1");
    EXPECT_EQ(message(),
              "计算未能完成:类型不匹配 (错误 13)\n出错的字段:“锚杆水平拉力标准值(KN)”,内容:“3o”");
    EXPECT_TRUE(widget("Text2")->hasFocus());
    EXPECT_EQ(control<QLineEdit>(window, "Text2")->selectedText(), "3o");
    type("Text2", "1E400");
    click("Command1");
    EXPECT_TRUE(message().contains("溢出 (错误 6)\n出错的字段:“锚杆水平拉力标准值(KN)”"));
    type("Text2", "10");
    type("Text3", "0");
    click("Command1");
    EXPECT_EQ(message(), "计算未能完成:除数为零 (错误 11)");
    EXPECT_EQ(text("Text5"), "0");
    type("Text3", "310"); // and the window goes on working
    click("Command1");
    EXPECT_EQ(text("Text5"), "12.5");
}

TEST_F(WindowLife, RecentFilesTheGuideAndTheVersion) {
    QSettings().remove(QStringLiteral("files/recent"));
    QTemporaryDir folder;
    const auto file = [&folder](int i) {
        return folder.filePath(QStringLiteral("a%1.slope").arg(i));
    };
    open("anchorbar");
    for (int i = 0; i < 12; ++i) {
        ASSERT_TRUE(window->saveTo(file(i)));
    }
    // the latest first, ten of them
    QStringList expected;
    for (int i = 11; i >= 2; --i) {
        expected << file(i);
    }
    EXPECT_EQ(Launcher::recentFiles(), expected);
    control<QPushButton>(&launcher, "recentFiles")->click();
    auto* menu = launcher.findChild<QMenu*>("recentMenu");
    ASSERT_TRUE(menu && menu->isVisible());
    ASSERT_EQ(menu->actions().size(), 10);
    EXPECT_TRUE(menu->actions()[3]->text().startsWith("&4  a8.slope"))
        << menu->actions()[3]->text().toStdString();
    menu->actions()[3]->trigger();
    menu->hide();
    EXPECT_EQ(window->file(), file(8));
    EXPECT_EQ(Launcher::recentFiles().front(), file(8));
    QFile::remove(file(5));
    launcher.openRecent(file(5));
    EXPECT_EQ(message(), "文件“" + file(5) + "”已不存在，已从“最近打开”中移除。");
    EXPECT_EQ(Launcher::recentFiles().size(), 9);
    EXPECT_FALSE(Launcher::recentFiles().contains(file(5)));
    // a list grown long in the settings file is read to its first ten
    QSettings().setValue(QStringLiteral("files/recent"), QStringList(500, file(1)));
    EXPECT_EQ(Launcher::recentFiles().size(), 10);

    // 帮助: the guide, with every calculator's title and checks from its description
    control<QPushButton>(&launcher, "helpButton")->click();
    QTextBrowser* guide = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        guide = w->objectName() == "userGuide" ? qobject_cast<QTextBrowser*>(w) : guide;
    }
    ASSERT_NE(guide, nullptr);
    EXPECT_TRUE(guide->isVisible());
    const QString text = guide->toPlainText();
    for (const char* part : {"连续梁计算", "打开一份保存的连续梁计算文件", "锚筋抗拉强度设计值",
                             "N/mm²", "pkmax ≤ 1.2fa", "GB 50007-2011 第5.2.1条", "程序默认值",
                             "工作流程", "x2（上墙墙背坡率）", "找满足全部验算的最小值"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(part))) << part;
    }
    guide->close();
    EXPECT_TRUE(aboutText().contains("MIT"));
    EXPECT_TRUE(aboutText().startsWith("边坡支护计算程序 1.0"));
}

TEST(MessageBox, TheRealBoxShowsTheMessageAndClosesWithOk) {
    Launcher launcher(showMessageBox);
    control<QPushButton>(&launcher, "anchorbar")->click();
    QWidget* window = launcher.window(subprogram::kAnchorBar);
    QString seen, title;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = box->text();
        title = box->windowTitle();
        box->button(QMessageBox::Ok)->click();
    });
    control<QLineEdit>(window, "Text1")->setText("abc");
    control<QPushButton>(window, "Command1")->click();
    EXPECT_TRUE(seen.contains("类型不匹配 (错误 13)")) << seen.toStdString();
    EXPECT_EQ(title, "锚杆计算");
}

TEST(SingleInstance, ALaterStartHandsItsFilesToTheRunningOneAndALeftNameIsRemoved) {
    const QString key = QStringLiteral("test %1").arg(QCoreApplication::applicationPid());
    // what a program killed while running leaves: a socket nobody listens on
    auto* running = new SingleInstance(key);
    const QByteArray path = QFile::encodeName(running->name());
    ASSERT_TRUE(QDir::isAbsolutePath(running->name()));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(path.size(), static_cast<qsizetype>(sizeof address.sun_path));
    std::copy(path.begin(), path.end(), address.sun_path);
    const int left = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::bind(left, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(left);

    using HandOver = SingleInstance::HandOver;
    // nobody answered: this one runs, and listens
    EXPECT_EQ(running->handOver({}), HandOver::RunHere);
    // the running program, in a thread of its own, as if in a process of its own
    QThread thread;
    running->moveToThread(&thread);
    QObject receiver; // in this thread, where the program's windows would be
    std::vector<QStringList> handed;
    QObject::connect(running, &SingleInstance::filesHanded, &receiver,
                     [&handed](const QStringList& files) { handed.push_back(files); });
    thread.start();
    SingleInstance later(key);
    EXPECT_EQ(later.handOver({QStringLiteral("a.slope"), QStringLiteral("/tmp/b c.slope")}),
              HandOver::Taken);
    // no file: the launcher comes to the front
    EXPECT_EQ(SingleInstance(key).handOver({}), HandOver::Taken);
    ASSERT_TRUE(eventually([&] { return handed.size() == 2u; }));
    EXPECT_EQ(handed[0],
              QStringList({QDir::current().absoluteFilePath("a.slope"), "/tmp/b c.slope"}));
    EXPECT_EQ(handed[1], QStringList());
    // a list over 1 MiB is refused, not dropped: the start says so and ends
    const QStringList many(300, QStringLiteral("/") + QString(4000, QLatin1Char('x')));
    EXPECT_EQ(SingleInstance(key).handOver(many), HandOver::Refused);
    // a caller that sends nothing is dropped after the answer time
    const int idle = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::connect(idle, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    timeval wait{5, 0};
    ::setsockopt(idle, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    char byte = 0;
    EXPECT_EQ(::read(idle, &byte, 1), 0); // closed by the program, before the five seconds
    ::close(idle);
    // one that sends too much is answered with a refusal
    const int greedy = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::connect(greedy, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const std::string block(1 << 16, 'x');
    for (int i = 0; i <= 16; ++i) { // the program may close the call before the last bytes
        if (::send(greedy, block.data(), block.size(), MSG_NOSIGNAL) == -1) {
            break;
        }
    }
    ::setsockopt(greedy, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    EXPECT_EQ(::read(greedy, &byte, 1), 1);
    EXPECT_EQ(byte, '0');
    ::close(greedy);
    // another display's start never meets it
    EXPECT_EQ(SingleInstance(key + QStringLiteral(" other")).handOver({}), HandOver::RunHere);
    // a name another program took since is not removed when this one ends
    ASSERT_EQ(::unlink(path.constData()), 0);
    const int taker = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::bind(taker, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const QString name = running->name();
    QMetaObject::invokeMethod(
        running, [running] { delete running; }, Qt::BlockingQueuedConnection);
    thread.quit();
    thread.wait();
    EXPECT_TRUE(QFileInfo::exists(name)) << "removed another's socket";
    ::close(taker);
    ::unlink(path.constData());
}

// The socket's folder is one only this user can reach: a runtime folder others may enter is
// not taken, and the program's own is made 0700.
TEST(SingleInstance, ItsNameIsInAFolderOnlyThisUserReaches) {
    QTemporaryDir open;
    ASSERT_TRUE(QFile::setPermissions(
        open.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                         QFileDevice::ReadOther | QFileDevice::ExeOther));
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(open.path()));
    const QString name = SingleInstance(QStringLiteral("test")).name();
    qputenv("XDG_RUNTIME_DIR", runtime);
    const QString own = QDir::tempPath() + QStringLiteral("/slope-support-%1").arg(::getuid());
    EXPECT_EQ(QFileInfo(name).absolutePath(), own);
    struct stat s {};
    ASSERT_EQ(::lstat(QFile::encodeName(own).constData(), &s), 0);
    EXPECT_EQ(s.st_mode & 0777, 0700u);
}

} // namespace
