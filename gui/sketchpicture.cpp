#include "sketchpicture.h"

#include "gui/sketchpainter.h"

#include "gui/screenfit.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <QVBoxLayout>

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

QWidget* sketchWindow(QWidget* parent, const QString& name, const QString& title, QSize wanted,
                      bool withNote) {
    auto* window = new QWidget(parent, Qt::Window);
    window->setObjectName(name);
    window->setWindowTitle(title);
    auto* layout = new QVBoxLayout(window);
    layout->addWidget(new SketchPicture(window), 1);
    if (withNote) {
        auto* note = new QLabel(window);
        note->setWordWrap(true);
        layout->addWidget(note);
    } else {
        layout->setContentsMargins(0, 0, 0, 0);
    }
    QObject::connect(new QShortcut(QKeySequence(Qt::Key_Escape), window), &QShortcut::activated,
                     window, &QWidget::hide); // as the calculator windows do
    fitResizableWindow(window, wanted);       // the drawing scales to the window
    return window;
}
