#include "walldrawings.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace {

const QColor kInk(235, 235, 235);
const QColor kDimension(120, 200, 255);
const QColor kForce(255, 200, 90);

// A painter over a black image, in the picture box's own units.
class Sheet {
  public:
    explicit Sheet(int density)
        : image_(kDrawingWidth * density, kDrawingHeight * density, QImage::Format_RGB32) {
        image_.fill(Qt::black);
        p_.begin(&image_);
        p_.setRenderHint(QPainter::Antialiasing);
        p_.setRenderHint(QPainter::TextAntialiasing);
        p_.scale(density, density);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(8);
        p_.setFont(font);
    }

    QImage finish() {
        p_.end();
        return image_;
    }

    void outline(const QPolygonF& polygon) {
        p_.setPen(QPen(kInk, 1.0));
        p_.setBrush(QColor(60, 60, 60));
        p_.drawPolygon(polygon);
        p_.setBrush(Qt::NoBrush);
    }

    void line(QPointF a, QPointF b, const QColor& colour = kInk,
              Qt::PenStyle style = Qt::SolidLine) {
        p_.setPen(QPen(colour, 0.7, style));
        p_.drawLine(a, b);
    }

    void text(QPointF at, const QString& s, const QColor& colour = kInk) {
        p_.setPen(colour);
        const QRectF box(at.x() - 20, at.y() - 6, 40, 12);
        p_.drawText(box, Qt::AlignCenter, s);
    }

    // A dimension between two points, with end ticks and its symbol at the middle, set off by
    // `offset` to the side.
    void dimension(QPointF a, QPointF b, const QString& symbol, QPointF labelOffset) {
        line(a, b, kDimension);
        const QPointF d = b - a;
        const double length = std::hypot(d.x(), d.y());
        const QPointF across(-d.y() / length * 2.5, d.x() / length * 2.5);
        line(a - across, a + across, kDimension);
        line(b - across, b + across, kDimension);
        text((a + b) / 2 + labelOffset, symbol, kDimension);
    }

    void arrow(QPointF from, QPointF to, const QColor& colour) {
        line(from, to, colour);
        const QPointF d = to - from;
        const double length = std::hypot(d.x(), d.y());
        const QPointF u = d / length;
        const QPointF n(-u.y(), u.x());
        QPolygonF head({to, to - u * 5 + n * 2, to - u * 5 - n * 2});
        p_.setPen(Qt::NoPen);
        p_.setBrush(colour);
        p_.drawPolygon(head);
        p_.setBrush(Qt::NoBrush);
    }

    void arc(QPointF centre, double radius, double fromDeg, double spanDeg) {
        QPainterPath path;
        const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
        path.arcMoveTo(box, fromDeg);
        path.arcTo(box, fromDeg, spanDeg);
        p_.setPen(QPen(kInk, 0.6));
        p_.drawPath(path);
    }

    // A slope mark "1:k" as a small triangle beside a sloping line.
    void slope(QPointF at, double run, const QString& label) {
        line(at, at + QPointF(0, 10), kInk);
        line(at + QPointF(0, 10), at + QPointF(run, 10), kInk);
        text(at + QPointF(run / 2 + (run < 0 ? -12 : 12), 6), label);
    }

  private:
    QImage image_;
    QPainter p_;
};

} // namespace

QImage uprightWallDrawing(int density) {
    Sheet s(density);
    // back vertical at x = 112; top 26; the base rises from the heel (112, 160) to the toe
    const QPointF heel(112, 160), backTop(112, 26), faceTop(84, 26), faceFoot(72, 98),
        stepFront(44, 98), toeTop(40, 132), toe(38, 132);
    s.outline(QPolygonF({backTop, faceTop, faceFoot, stepFront, toeTop, toe, heel}));
    // ground in front and the retained soil's surface behind
    s.line(QPointF(8, 132), toe, kInk, Qt::DashLine);
    s.line(QPointF(112, 70), QPointF(150, 70), kInk, Qt::DashLine);

    s.dimension(QPointF(84, 16), QPointF(112, 16), QStringLiteral("b1"), QPointF(0, -6));
    s.dimension(QPointF(38, 176), QPointF(112, 176), QStringLiteral("b"), QPointF(0, 6));
    s.dimension(QPointF(140, 26), QPointF(140, 160), QStringLiteral("H"), QPointF(7, 0));
    s.dimension(QPointF(24, 26), QPointF(24, 98), QStringLiteral("H-h1-h2"), QPointF(-2, -30));
    s.dimension(QPointF(24, 98), QPointF(24, 132), QStringLiteral("h1"), QPointF(-8, 0));
    s.dimension(QPointF(24, 132), QPointF(24, 160), QStringLiteral("h2"), QPointF(-8, 0));
    s.line(QPointF(20, 160), heel, kDimension, Qt::DotLine);
    s.dimension(QPointF(44, 90), QPointF(72, 90), QStringLiteral("b2"), QPointF(0, -6));
    s.dimension(QPointF(72, 90), QPointF(112, 90), QStringLiteral("b3"), QPointF(0, -6));
    s.slope(QPointF(78, 48), -4, QStringLiteral("1:0.2"));

    // self-weight and its lever from the toe
    const QPointF centroid(86, 112);
    s.arrow(centroid - QPointF(0, 14), centroid + QPointF(0, 14), kForce);
    s.text(centroid + QPointF(6, -10), QStringLiteral("G"), kForce);
    s.dimension(QPointF(38, 126), QPointF(86, 126), QStringLiteral("X0"), QPointF(-8, -6));

    // earth pressure on the back, inclined by δ, with its heights
    const QPointF application(112, 118);
    s.arrow(QPointF(146, 108), application, kForce);
    s.text(QPointF(140, 100), QStringLiteral("Ea"), kForce);
    s.dimension(QPointF(128, 118), QPointF(128, 160), QStringLiteral("Z"), QPointF(-6, 0));
    s.dimension(QPointF(146, 118), QPointF(146, 132), QStringLiteral("Z1"), QPointF(-8, 0));

    // the back angle at the heel and the base angle with its slope
    s.arc(heel, 10, 90, 90);
    s.text(heel + QPointF(-8, -14), QStringLiteral("α"));
    s.line(heel, QPointF(70, 160), kInk, Qt::DotLine);
    s.arc(heel, 26, 180, -16);
    s.text(QPointF(80, 154), QStringLiteral("α0"));
    s.text(QPointF(56, 152), QStringLiteral("1:0.2"));
    return s.finish();
}

QImage shelfWallDrawing(int density) {
    Sheet s(density);
    // footing 20..124 between y 150 and 166; lower wall on it; upper wall on the shelf at y 94
    const QPointF toe(20, 166), heel(124, 166);
    const QPointF footTopToe(20, 150), lowerFront(34, 150), shelfFront(40, 94), upperTop(47, 24),
        upperBack(68, 24), shelfBack(93, 94), shelfEnd(110, 94), lowerBackFoot(96, 150),
        footTopHeel(124, 150);
    s.outline(QPolygonF({toe, footTopToe, lowerFront, shelfFront, upperTop, upperBack, shelfBack,
                         shelfEnd, lowerBackFoot, footTopHeel, heel}));

    s.dimension(QPointF(47, 14), QPointF(68, 14), QStringLiteral("b5"), QPointF(0, -6));
    s.dimension(QPointF(40, 86), QPointF(93, 86), QStringLiteral("b2"), QPointF(0, -6));
    s.dimension(QPointF(93, 86), QPointF(110, 86), QStringLiteral("b1"), QPointF(0, -6));
    s.dimension(QPointF(34, 142), QPointF(70, 142), QStringLiteral("b3"), QPointF(0, -6));
    s.dimension(QPointF(20, 173), QPointF(34, 173), QStringLiteral("b4"), QPointF(-16, 0));
    s.dimension(QPointF(20, 181), QPointF(124, 181), QStringLiteral("b"), QPointF(0, -6));
    s.dimension(QPointF(10, 24), QPointF(10, 94), QStringLiteral("h1"), QPointF(0, 0));
    s.dimension(QPointF(10, 150), QPointF(10, 166), QStringLiteral("h4"), QPointF(0, -12));
    s.dimension(QPointF(138, 24), QPointF(138, 166), QStringLiteral("Ht"), QPointF(7, 0));

    s.slope(QPointF(44, 46), -3, QStringLiteral("1:n"));
    s.slope(QPointF(76, 46), 6, QStringLiteral("1:x2"));
    s.slope(QPointF(104, 112), -5, QStringLiteral("1:x3"));
    return s.finish();
}
