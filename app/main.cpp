#include "app/firstframe.h"
#include "app/launcher.h"
#include "gui/chinese.h"
#include "gui/fonts.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace {

bool haveDisplay() {
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

} // namespace

// slope-support [FILE.slope]: the launcher, and the saved calculation in its window.
int main(int argc, char* argv[]) {
    if (!haveDisplay()) {
        std::fprintf(stderr,
                     "slope-support: no display found (DISPLAY and WAYLAND_DISPLAY are "
                     "unset); on a machine without a desktop run: xvfb-run -a %s\n",
                     argv[0]);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("slope-support"));
    QApplication::setApplicationName(QStringLiteral("slope-support"));
    QApplication::setFont(applicationFont());
    useChineseTranslation(app);

    Launcher launcher;
    QObject::connect(&launcher, &Launcher::exitRequested, &app, &QApplication::quit);
    exitAfterFirstFrameIfAsked(launcher);
    launcher.show();
    for (const QString& file : QApplication::arguments().mid(1)) {
        launcher.openFile(file);
    }
    return QApplication::exec();
}
