#pragma once

#include "gui/calculatorwindow.h"

// "antislidepilefrm": the anti-slide pile. The load and the pile on the left, the ground below
// the slip surface and the section's design in the middle with the strata's table, and on the
// right the pile drawn with its load, displacement, moment, shear and lateral stress beside the
// results.
class AntiSlidePileWindow : public CalculatorWindow {
    Q_OBJECT
  public:
    explicit AntiSlidePileWindow(Reporter reporter);

    int variant() const override { return 0; } // one kind of calculation
    void setVariant(int) override {}

  private:
    void redraw(); // the pile as the fields stand
    class SketchPicture* picture_ = nullptr;
};
