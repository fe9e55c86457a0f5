#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>

#include <cmath>
#include <cstdio>

// drawtitle FILE.cpp: writes the launcher's title "边坡支护计算程序v1.0" as outlines of the face
// the launcher asks for, at its size on a 96 dpi screen. Run at build time.
//
// No clerical face (隶书) ships with Debian: AR PL UKai, a brush-written Kai face, is the nearest
// in spirit; any CJK face after it keeps the glyphs real.
int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: drawtitle FILE.cpp\n");
        return 2;
    }
    QFont font;
    font.setFamilies({QStringLiteral("隶书"), QStringLiteral("LiSu"),
                      QStringLiteral("AR PL UKai CN"), QStringLiteral("WenQuanYi Micro Hei")});
    font.setPointSizeF(21.6); // on the offscreen platform's 96 dpi: 28.8 pixels
    const QString title = QStringLiteral("边坡支护计算程序v1.0");
    QPainterPath path;
    path.addText(0, 0, font, title);
    const QFontMetricsF metrics(font);
    QString out = QStringLiteral("// Written by drawtitle from the face %1: do not edit.\n"
                                 "#include \"app/titleoutline.h\"\n\n"
                                 "namespace {\n"
                                 "const TitleOutline::Element kElements[] = {\n")
                      .arg(QRawFont::fromFont(font).familyName());
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        out += QStringLiteral("    {%1, %2f, %3f},\n")
                   .arg(int(e.type))
                   .arg(e.x, 0, 'f', 3)
                   .arg(e.y, 0, 'f', 3);
    }
    // the same outlines filled, as the launcher fills them on a 96 dpi screen
    const QRectF bounds = path.boundingRect();
    const int width = static_cast<int>(std::ceil(bounds.right())) + 1;
    const int baseline = static_cast<int>(std::ceil(-bounds.top())) + 1;
    const int height = baseline + static_cast<int>(std::ceil(bounds.bottom())) + 1;
    QImage mask(width, height, QImage::Format_Alpha8);
    mask.fill(0);
    {
        QPainter painter(&mask);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(0, baseline);
        painter.fillPath(path, Qt::black);
    }
    out += QStringLiteral("};\nconst unsigned char kMask[] = {");
    for (int y = 0; y < height; ++y) {
        out += QStringLiteral("\n   ");
        for (int x = 0; x < width; ++x) {
            out += QStringLiteral(" %1,").arg(int(mask.constScanLine(y)[x]));
        }
    }
    out += QStringLiteral("\n};\n} // namespace\n\n"
                          "const TitleOutline kTitleOutline = {%1, %2, %3, kElements, %4, %5, %6, "
                          "kMask};\n")
               .arg(metrics.ascent())
               .arg(metrics.descent())
               .arg(metrics.horizontalAdvance(title))
               .arg(width)
               .arg(height)
               .arg(baseline);
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::WriteOnly) || file.write(out.toUtf8()) < 0 || !file.flush()) {
        std::fprintf(stderr, "drawtitle: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
