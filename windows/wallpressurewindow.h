#pragma once

#include "gui/calculatorwindow.h"

// "wallpressurefrm": the earth and water pressure on a wall's back from strata, a water table,
// local loads and an earthquake. The strata and the loads are fields and also tables that can be
// typed or pasted into, each kept in step with its field; the diagram of the last calculation
// stands beside them.
class WallPressureWindow : public CalculatorWindow {
    Q_OBJECT
  public:
    explicit WallPressureWindow(Reporter reporter);

    int variant() const override { return 0; } // one kind of calculation
    void setVariant(int) override {}

  private:
    // "土层用于锚杆挡墙": the wall and its ground as they stand, typed into the anchored wall's
    // window (its thrust then calculated from them), and said in both reports.
    void carryGround();
};
