#include "appicon.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <vector>

namespace {

struct Shape {
    std::vector<QPointF> points; // a closed outline in the 256-unit square
    QColor fill;
    QColor stroke = Qt::transparent;
    double strokeWidth = 0;
};

constexpr double kUnits = 256;
constexpr double kCorner = 44; // of the rounded square behind the drawing
const QColor kGround(0x2d, 0x5f, 0x86);

const std::vector<Shape>& shapes() {
    static const std::vector<Shape> all = {
        // the retained soil, its surface rising away from the wall
        {{{140, 96}, {236, 58}, {236, 204}, {140, 204}}, QColor(0xc8, 0x8a, 0x4e)},
        // the foundation
        {{{28, 204}, {236, 204}, {236, 230}, {28, 230}}, QColor(0x5b, 0x40, 0x2a)},
        // the wall: a battered face, a vertical back
        {{{62, 204}, {146, 204}, {146, 72}, {104, 72}},
         QColor(0xee, 0xee, 0xee),
         QColor(0x22, 0x22, 0x22),
         8},
        // the earth pressure on its back
        {{{226, 132}, {190, 132}, {190, 110}, {152, 146}, {190, 182}, {190, 160}, {226, 160}},
         QColor(0xe0, 0x3c, 0x28)},
    };
    return all;
}

QPainterPath background() {
    QPainterPath path;
    path.addRoundedRect(QRectF(8, 8, kUnits - 16, kUnits - 16), kCorner, kCorner);
    return path;
}

} // namespace

QImage appIconImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / kUnits, size / kUnits);
    painter.fillPath(background(), kGround); // the shapes lie inside its rounded corners
    for (const Shape& s : shapes()) {
        painter.setBrush(s.fill);
        painter.setPen(s.strokeWidth > 0 ? QPen(s.stroke, s.strokeWidth, Qt::SolidLine,
                                                Qt::SquareCap, Qt::MiterJoin)
                                         : QPen(Qt::NoPen));
        painter.drawPolygon(s.points.data(), static_cast<int>(s.points.size()));
    }
    return image;
}

QString appIconSvg() {
    const auto n = [](double v) { return QString::number(v); };
    QString svg = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" "
                                 "height=\"256\" viewBox=\"0 0 256 256\">\n"
                                 "<title>边坡支护计算程序</title>\n"
                                 "<rect x=\"8\" y=\"8\" width=\"240\" height=\"240\" rx=\"%1\" "
                                 "fill=\"%2\" stroke=\"none\"/>\n")
                      .arg(n(kCorner), kGround.name());
    for (const Shape& s : shapes()) {
        QString points;
        for (const QPointF& p : s.points) {
            points += n(p.x()) + ',' + n(p.y()) + ' ';
        }
        svg += QStringLiteral("<polygon points=\"%1\" fill=\"%2\"")
                   .arg(points.trimmed(), s.fill.name());
        svg += s.strokeWidth > 0 ? QStringLiteral(" stroke=\"%1\" stroke-width=\"%2\" "
                                                  "stroke-linejoin=\"miter\"")
                                       .arg(s.stroke.name(), n(s.strokeWidth))
                                 : QStringLiteral(" stroke=\"none\"");
        svg += QStringLiteral("/>\n");
    }
    return svg + QStringLiteral("</svg>\n");
}
