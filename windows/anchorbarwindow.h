#pragma once

#include "shell/calculatorwindow.h"

// "anchorbarfrm": eight fields, a permanent or temporary anchor, and the four design results.
class AnchorBarWindow : public CalculatorWindow {
    Q_OBJECT
  public:
    explicit AnchorBarWindow(Reporter reporter);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void calculate();
};
