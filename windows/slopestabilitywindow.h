#pragma once

#include "gui/calculatorwindow.h"
#include "gui/sketchpicture.h"

// "slopestabilityfrm": a slope's stability by one of four methods, chosen by option buttons.
// Every input is a field; the lists (the blocks, the ground surface, the strata, the phreatic
// line) are also tables that can be typed or pasted into, each kept in step with its fields. The
// section, or the blocks' slip line, is drawn from the inputs, with the critical circle once
// calculated.
class SlopeStabilityWindow : public CalculatorWindow {
    Q_OBJECT
  public:
    explicit SlopeStabilityWindow(Reporter reporter);

    int variant() const override;
    void setVariant(int method) override;

  protected:
    QWidget* variantChooser() const override;

  private:
    void redraw();
    // "推力用于锚杆": the horizontal tension of one anchor of the design thrust, typed into the
    // anchor window's Htk; "推力用于锚杆挡墙": its horizontal component per metre, into the
    // anchored wall's Eah. Each carry is said in both windows' reports.
    enum class Carry { Anchor, Wall, Pile };
    void carryThrust(Carry to);

    SketchPicture* picture_;
};
