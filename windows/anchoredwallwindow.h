#pragma once

#include "gui/calculatorwindow.h"

class QTableWidget;

// "anchoredwallfrm": the anchored rib wall. The ground and the wall on the left, the anchors and
// the rib's section in the middle with the rows' table and each row's results under them, and on
// the right the rib drawn with its load, shear and moment beside the results. A row chosen in the
// rows' results carries its Htk into the anchor window.
class AnchoredWallWindow : public CalculatorWindow {
    Q_OBJECT
  public:
    explicit AnchoredWallWindow(Reporter reporter);

    int variant() const override { return 0; } // one kind of calculation
    void setVariant(int) override {}

  private:
    void redraw();   // the rib as the fields stand, with the last calculation's reactions
    void showRows(); // each row's results, after a calculation
    void carryRow(); // the chosen row's Htk into the anchor window
    class SketchPicture* picture_ = nullptr;
    QTableWidget* rowResults_ = nullptr;
};
