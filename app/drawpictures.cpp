#include "windows/walldrawings.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

// Writes the wall window's two pictures, "11.bmp" (upright) and "22.bmp" (shelf type), into the
// folder named on the command line. Run at build time.
int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: drawpictures FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const bool written =
        uprightWallDrawing().save(folder.filePath(QStringLiteral("11.bmp")), "BMP") &&
        shelfWallDrawing().save(folder.filePath(QStringLiteral("22.bmp")), "BMP");
    if (!written) {
        std::fprintf(stderr, "drawpictures: cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
