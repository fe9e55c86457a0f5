#pragma once

#include "gui/calculatorwindow.h"

// "anchorbarfrm": eight fields, a permanent or temporary anchor, and the four design results.
class AnchorBarWindow : public CalculatorWindow {
    Q_OBJECT
  public:
    explicit AnchorBarWindow(Reporter reporter);

    int variant() const override;
    void setVariant(int kind) override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
