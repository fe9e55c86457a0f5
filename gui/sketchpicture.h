#pragma once

#include "calculators/sketch.h"

#include <QWidget>

// A picture box showing a sketch drawn in twips of the box: kept as shapes and painted again
// whenever the window is uncovered, at any scale, one pixel wide in black on white.
class SketchPicture : public QWidget {
    Q_OBJECT
  public:
    explicit SketchPicture(QWidget* parent);
    void setSketch(const Sketch& sketch);
    const Sketch& sketch() const { return sketch_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Sketch sketch_;
};
