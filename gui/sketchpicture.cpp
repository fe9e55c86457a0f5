#include "sketchpicture.h"

#include "gui/sketchpainter.h"

#include <QMouseEvent>
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
    paintSketch(painter, sketch_, rect());
}

void SketchPicture::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}
