#include "app/appicon.h"
#include "app/firstframe.h"
#include "app/launcher.h"
#include "app/singleinstance.h"
#include "gui/chinese.h"
#include "gui/fonts.h"
#include "windows/gravitywallwindow.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>

namespace {

constexpr const char* kUsage =
    "slope-support — 边坡支护计算程序: earth pressure on retaining walls, grouted rock anchors,\n"
    "gravity retaining walls and a continuous member under earth pressure\n\n"
    "usage: slope-support [FILE.slope ...]\n"
    "  opens the launcher, and each saved calculation in the window of its calculator (the\n"
    "  continuous beam's window opens only so: the launcher has no button for it); when the\n"
    "  program already runs on this display, the files are handed to it\n\n"
    "options:\n"
    "  --help, -h   this summary\n"
    "  --version    the version\n"
    "  --           ends the options: every argument after it is a file\n"
    "  Qt's own options (-platform, -style, ...) are taken too.\n\n"
    "Without DISPLAY or WAYLAND_DISPLAY, QT_QPA_PLATFORM=offscreen runs the windows without a\n"
    "screen. The calculations without a window: slopecalc --help.\n";

bool haveDisplay() {
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

// The wall window shows two drawings from the picture folder; an installation without them is
// broken, and says so where it was started.
void checkPictures() {
    const QDir folder(GravityWallWindow::defaultPictureFolder());
    for (const QString& name : {QStringLiteral("11.bmp"), QStringLiteral("22.bmp")}) {
        if (!folder.exists(name)) {
            std::fprintf(stderr, "slope-support: the wall picture %s is missing\n",
                         QDir::toNativeSeparators(folder.filePath(name)).toLocal8Bit().constData());
        }
    }
}

// The settings are read from regular files only: a FIFO or a device where one of them stands
// would hold the program at its first read of a setting (the first calculator window). Such a
// file is left alone, and the settings of this run are kept in a private folder that is gone
// at its end.
std::unique_ptr<QTemporaryDir> keepSettingsInRegularFiles() {
    const QString name = QApplication::organizationName();
    QStringList files;
    for (const QString& folder :
         QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation)) {
        files << folder + QLatin1Char('/') + name + QLatin1Char('/') +
                     QApplication::applicationName() + QStringLiteral(".conf")
              << folder + QLatin1Char('/') + name + QStringLiteral(".conf");
    }
    for (const QString& file : files) {
        const QFileInfo info(file);
        if (info.exists() && !info.isFile() && !info.isDir()) {
            std::fprintf(stderr,
                         "slope-support: %s is not a regular file; the settings of this run are "
                         "not kept\n",
                         QDir::toNativeSeparators(file).toLocal8Bit().constData());
            auto apart = std::make_unique<QTemporaryDir>();
            QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, apart->path());
            QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, apart->path());
            return apart;
        }
    }
    return nullptr;
}

} // namespace

// slope-support [FILE.slope ...]: the launcher, and each saved calculation in its window.
int main(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) { // what needs no display
        const std::string_view arg = argv[i];
        if (arg == "--") {
            break;
        }
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (arg == "--version") {
            std::printf("slope-support %s\n", SLOPE_VERSION);
            return 0;
        }
    }
    if (!haveDisplay()) {
        std::fprintf(stderr,
                     "slope-support: no display found (DISPLAY and WAYLAND_DISPLAY are "
                     "unset); on a machine without a desktop run: xvfb-run -a %s\n",
                     argv[0]);
        return 1;
    }
    // a file-size limit fails a write (EFBIG), which the window reports, instead of ending the
    // program with every window in it
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv); // takes Qt's own options out of the arguments
    QStringList files;
    bool filesOnly = false;
    for (const QString& arg : QApplication::arguments().mid(1)) {
        if (!filesOnly && arg == QLatin1String("--")) {
            filesOnly = true;
        } else if (!filesOnly && arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
            std::fprintf(stderr, "slope-support: unknown option '%s'; see slope-support --help\n",
                         arg.toLocal8Bit().constData());
            return 2;
        } else {
            files << arg;
        }
    }
    QApplication::setOrganizationName(QStringLiteral("slope-support"));
    QApplication::setApplicationName(QStringLiteral("slope-support"));
    QApplication::setApplicationVersion(QStringLiteral(SLOPE_VERSION));
    const std::unique_ptr<QTemporaryDir> settingsApart = keepSettingsInRegularFiles();
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.slopesupport.SlopeSupport"));
    QApplication::setWindowIcon(appIcon());
    QApplication::setFont(applicationFont());
    useChineseTranslation(app);
    checkPictures();

    // a second start hands its files to the program already running on this display
    const QString display = SingleInstance::keyOfThisDisplay();
    SingleInstance instance(display);
    switch (display.isEmpty() ? SingleInstance::HandOver::RunHere : instance.handOver(files)) {
    case SingleInstance::HandOver::Taken:
        return 0;
    case SingleInstance::HandOver::Refused:
        std::fprintf(stderr, "slope-support: the program running on this display refuses a list "
                             "of files over 1 MiB; give it fewer files at a time\n");
        return 2;
    case SingleInstance::HandOver::RunHere:
        break;
    }

    Launcher launcher;
    QObject::connect(&launcher, &Launcher::exitRequested, &app, &QApplication::quit);
    const auto openFiles = [&launcher](const QStringList& paths) { launcher.openFiles(paths); };
    QObject::connect(&instance, &SingleInstance::filesHanded, &launcher,
                     [&launcher, openFiles](const QStringList& paths) {
                         launcher.showNormal(); // to the front, also from the task bar
                         launcher.raise();
                         launcher.activateWindow();
                         openFiles(paths);
                     });
    exitAfterFirstFrameIfAsked(launcher);
    launcher.show();
    // once the launcher is up: a message about a file then stands in front of it
    QTimer::singleShot(0, &launcher, [openFiles, files] { openFiles(files); });
    return QApplication::exec();
}
