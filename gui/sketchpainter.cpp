#include "sketchpainter.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

void paintSketch(QPainter& painter, const Sketch& s, const QRectF& target) {
    if (s.width <= 0 || s.height <= 0) {
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const double scale = std::min(target.width() / s.width, target.height() / s.height);
    painter.translate(target.center().x() - s.width * scale / 2,
                      target.center().y() - s.height * scale / 2);
    painter.scale(scale, scale);
    QPen pen(Qt::black, s.stroke);
    painter.setPen(pen);
    for (const SketchPolygon& p : s.polygons) {
        QPolygonF polygon;
        for (const auto& [x, y] : p.points) {
            polygon << QPointF(x, y);
        }
        painter.setBrush(QColor(0xe4, 0xe4, 0xe4));
        painter.drawPolygon(polygon);
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0xd4, 0xd4, 0xd4), s.stroke * 0.5));
    for (const SketchLine& l : s.grid) {
        painter.drawLine(QPointF(l.x1, l.y1), QPointF(l.x2, l.y2));
    }
    painter.setPen(QPen(Qt::black, s.lineStroke > 0 ? s.lineStroke : s.stroke));
    for (const SketchLine& l : s.lines) {
        painter.drawLine(QPointF(l.x1, l.y1), QPointF(l.x2, l.y2));
    }
    painter.setPen(pen);
    for (const SketchCircle& c : s.circles) {
        painter.drawEllipse(QPointF(c.x, c.y), c.r, c.r);
    }
    for (const SketchArrow& a : s.arrows) {
        painter.setPen(QPen(Qt::black, s.stroke * 2.5));
        painter.drawLine(QPointF(a.x1, a.y1), QPointF(a.x2, a.y2));
        const double dx = a.x2 - a.x1, dy = a.y2 - a.y1, l = std::hypot(dx, dy);
        const double ux = dx / l, uy = dy / l, h = s.textSize * 0.8;
        QPainterPath head;
        head.moveTo(a.x2, a.y2);
        head.lineTo(a.x2 - ux * h - uy * h * 0.4, a.y2 - uy * h + ux * h * 0.4);
        head.lineTo(a.x2 - ux * h + uy * h * 0.4, a.y2 - uy * h - ux * h * 0.4);
        head.closeSubpath();
        painter.fillPath(head, Qt::black);
    }
    if (!s.texts.empty()) {
        QFont font;
        font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("WenQuanYi Micro Hei")});
        font.setPixelSize(std::max(1, static_cast<int>(s.textSize)));
        painter.setFont(font);
        painter.setPen(Qt::black);
        for (const SketchText& t : s.texts) {
            const QRectF box(t.x - s.textSize * 20, t.y - s.textSize, s.textSize * 40,
                             s.textSize * 2);
            painter.drawText(box, Qt::AlignCenter, QString::fromStdString(t.text));
        }
    }
    painter.restore();
}
