#include "app/appicon.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>

// drawicons FOLDER SIZE...: writes FOLDER/SIZE/slope-support.png for each size and
// FOLDER/scalable/slope-support.svg. Run at build time.
int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: drawicons FOLDER SIZE...\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    bool written = folder.mkpath(QStringLiteral("scalable"));
    for (int i = 2; i < argc; ++i) {
        const QString size = QString::fromLocal8Bit(argv[i]);
        written = written && folder.mkpath(size) &&
                  appIconImage(size.toInt())
                      .save(folder.filePath(size + QStringLiteral("/slope-support.png")), "PNG");
    }
    QFile svg(folder.filePath(QStringLiteral("scalable/slope-support.svg")));
    written = written && svg.open(QIODevice::WriteOnly) && svg.write(appIconSvg().toUtf8()) > 0 &&
              svg.flush();
    if (!written) {
        std::fprintf(stderr, "drawicons: cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
