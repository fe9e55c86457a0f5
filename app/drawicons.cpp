#include "app/appicon.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>
#include <string_view>

namespace {

// The window icon's bitmaps as a C++ source for the program.
QByteArray iconSource(const QStringList& sizes) {
    QByteArray out = "// Written by drawicons --source: do not edit.\n"
                     "#include \"app/appicon.h\"\n\n"
                     "namespace {\n";
    QByteArray table;
    for (const QString& size : sizes) {
        const int n = size.toInt();
        const QImage image = appIconImage(n).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        out += "const std::uint32_t kIcon" + size.toLatin1() + "[] = {";
        for (int y = 0; y < n; ++y) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
            out += "\n   ";
            for (int x = 0; x < n; ++x) {
                out += " 0x" + QByteArray::number(row[x], 16) + "u,";
            }
        }
        out += "\n};\n";
        table += "    {" + size.toLatin1() + ", kIcon" + size.toLatin1() + "},\n";
    }
    return out + "const IconBitmap kBitmaps[] = {\n" + table +
           "};\n} // namespace\n\nconst std::span<const IconBitmap> kIconBitmaps = kBitmaps;\n";
}

} // namespace

// drawicons FOLDER SIZE...: writes FOLDER/SIZE/slope-support.png for each size and
// FOLDER/scalable/slope-support.svg.
// drawicons --source FILE.cpp SIZE...: writes the window icon's bitmaps at those sizes.
// Run at build time.
int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc < 3 || (argc < 4 && std::string_view(argv[1]) == "--source")) {
        std::fprintf(stderr, "usage: drawicons FOLDER SIZE... | drawicons --source FILE SIZE...\n");
        return 2;
    }
    if (std::string_view(argv[1]) == "--source") {
        QFile file(QString::fromLocal8Bit(argv[2]));
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(iconSource(QCoreApplication::arguments().mid(3))) < 0 || !file.flush()) {
            std::fprintf(stderr, "drawicons: cannot write %s\n", argv[2]);
            return 1;
        }
        return 0;
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
