#pragma once

#include "shell/calculatorwindow.h"
#include "shell/checked.h"
#include "shell/formbuilder.h"

#include <QLineEdit>
#include <QPushButton>

// The smallest calculator: one field that doubles into a result field.
class TrivialWindow : public CalculatorWindow {
  public:
    explicit TrivialWindow(Reporter reporter)
        : CalculatorWindow("trivial", QStringLiteral("试验"), std::move(reporter)) {
        static const ControlSpec controls[] = {
            {Kind::Label, "x", "数值x:", 120, 120, 1200, 255, nullptr, "xx"},
            {Kind::Field, "xx", "2", 1440, 120, 615, 270},
            {Kind::Field, "result", "0", 1440, 480, 615, 270},
            {Kind::Button, "Command1", "计算", 120, 840, 1000, 400},
            {Kind::Button, "Command2", "退出", 1200, 840, 1000, 400},
        };
        setClientTwips(this, 2400, 1400);
        buildControls(this, controls);
        connectButtons([this] {
            const double x = readDouble("xx");
            setText("result", doubleToText((Num(x) + x).value()));
        });
    }
};
