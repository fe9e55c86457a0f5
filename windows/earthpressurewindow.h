#pragma once

#include "calculators/earthpressure.h"
#include "gui/calculatorwindow.h"

// "solidstress": one window, three kinds of earth pressure. The launcher button that opens it
// chooses the mode; the mode enables the fields it reads, relabels the slip-surface field and
// clears the results.
class EarthPressureWindow : public CalculatorWindow {
    Q_OBJECT
  public:
    explicit EarthPressureWindow(Reporter reporter);

    // Sets the shared mode, sets the window up for it and shows it, as the launcher's buttons
    // do (through the window registry). A later call reconfigures the window in place, also
    // while it is shown; input texts are never touched.
    void openInMode(subprogram::EarthPressureMode mode);

    int variant() const override;
    // openInMode.
    void setVariant(int mode) override;

  private:
    void setUpMode(subprogram::EarthPressureMode mode);
};
