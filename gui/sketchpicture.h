#pragma once

#include "calculators/sketch.h"

#include <QWidget>

// A picture box showing a sketch, scaled to fit the box: kept as shapes and painted again
// whenever the window is uncovered, at any scale, black on white. A click inside it is
// `clicked()`.
class SketchPicture : public QWidget {
    Q_OBJECT
  public:
    explicit SketchPicture(QWidget* parent);
    void setSketch(const Sketch& sketch);
    const Sketch& sketch() const { return sketch_; }

  signals:
    void clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    Sketch sketch_;
};

// A window of its own showing a sketch large, scaled to the window, with a word-wrapped note under
// it when `withNote` (find it as the window's QLabel); made for `parent`, shown by the caller.
QWidget* sketchWindow(QWidget* parent, const QString& name, const QString& title, QSize wanted,
                      bool withNote = false);
