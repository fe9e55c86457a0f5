#include "sketchpicture.h"

#include "gui/formbuilder.h"

#include <QPainter>

SketchPicture::SketchPicture(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
}

void SketchPicture::setSketch(const Sketch& sketch) {
    sketch_ = sketch;
    update();
}

void SketchPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(1.0 / kTwipsPerPixel, 1.0 / kTwipsPerPixel);
    QPen pen(Qt::black, 1);
    pen.setCosmetic(true); // one pixel wide at any scale
    painter.setPen(pen);
    for (const SketchLine& l : sketch_.lines) {
        painter.drawLine(QPointF(l.x1, l.y1), QPointF(l.x2, l.y2));
    }
    for (const SketchCircle& c : sketch_.circles) {
        painter.drawEllipse(QPointF(c.x, c.y), c.r, c.r);
    }
}
