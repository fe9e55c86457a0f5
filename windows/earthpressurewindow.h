#pragma once

#include "calculators/earthpressure.h"
#include "gui/calculatorwindow.h"
#include "gui/windowslot.h"

// "solidstress": one window, three kinds of earth pressure. The launcher button that opens it
// chooses the mode; the mode enables the fields it reads, relabels the slip-surface field and
// clears the results.
class EarthPressureWindow : public CalculatorWindow {
    Q_OBJECT
  public:
    explicit EarthPressureWindow(Reporter reporter);

    // Sets the shared mode, creates the window if there is none, sets it up for the mode and
    // shows it. A later call reconfigures the same window in place, also while it is shown;
    // input texts are never touched.
    static EarthPressureWindow* openInMode(WindowSlot<EarthPressureWindow>& slot,
                                           subprogram::EarthPressureMode mode);

    int variant() const override;
    // Sets the shared mode and the window up for it, as the launcher's button does.
    void setVariant(int mode) override;

  protected:
    QImage drawing() const override;

  private:
    void setUpMode(subprogram::EarthPressureMode mode);
};
