#pragma once

#include "calculators/beam.h"
#include "gui/calculatorwindow.h"
#include "gui/sketchpicture.h"

// "beamfrm": a continuous member under earth pressure. A list choice of the span count or of an
// end support, or a change of the load, redraws the sketch; the calculation shows the upper-end
// moment of the last span.
class BeamWindow : public CalculatorWindow {
    Q_OBJECT
  public:
    explicit BeamWindow(Reporter reporter);

    int variant() const override { return 0; }
    void setVariant(int) override {}

  private:
    void redraw(bool fromSpanList);

    SketchPicture* picture_;
};
