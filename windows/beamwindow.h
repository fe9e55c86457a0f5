#pragma once

#include "routines/beam.h"
#include "shell/calculatorwindow.h"

// The picture box of the beam window: the last sketch drawn, kept as shapes in twips and painted
// again whenever the window is uncovered, at any scale.
class BeamPicture : public QWidget {
    Q_OBJECT
  public:
    explicit BeamPicture(QWidget* parent);
    void setSketch(const subprogram::BeamSketch& sketch);
    const subprogram::BeamSketch& sketch() const { return sketch_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    subprogram::BeamSketch sketch_;
};

// "beamfrm": a continuous member under earth pressure. A list choice of the span count or of an
// end support, or a change of the load, redraws the sketch; the calculation shows the upper-end
// moment of the last span.
class BeamWindow : public CalculatorWindow {
    Q_OBJECT
  public:
    explicit BeamWindow(Reporter reporter);

  protected:
    QImage drawing() const override;

  private:
    void redraw(bool fromSpanList);
    void calculate();

    BeamPicture* picture_;
};
