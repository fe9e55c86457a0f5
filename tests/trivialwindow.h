#pragma once

#include "core/checked.h"
#include "gui/calculatorwindow.h"
#include "gui/formbuilder.h"

// The smallest calculator: one field that doubles into a result field.
inline const subprogram::Field kTrivialFields[] = {{"x", "xx", "数值x:", "2", "", "", "x"}};
inline const subprogram::Result kTrivialResults[] = {{"result", "y", "", "y", ""}};
inline const subprogram::Variant kTrivialVariants[] = {{0, "", "", {}}};
inline const subprogram::Calculator kTrivial{
    .command = "trivial",
    .english = "",
    .window = "trivial",
    .title = "试验",
    .fields = kTrivialFields,
    .results = kTrivialResults,
    .variants = kTrivialVariants,
    .defaultVariant = 0,
    .variantOption = {},
    .calculate = [](int, Form& form, Trace*) {
        const double x = form.readDouble("xx");
        form.setText("result", doubleToText((Num(x) + x).value()));
    }};

class TrivialWindow : public CalculatorWindow {
  public:
    explicit TrivialWindow(Reporter reporter) : CalculatorWindow(kTrivial, std::move(reporter)) {
        static const ControlSpec controls[] = {
            {Kind::Label, "x", {}, 120, 120, 1200, 255, nullptr, "xx"},
            {Kind::Field, "xx", {}, 1440, 120, 615, 270},
            {Kind::Field, "result", {}, 1440, 480, 615, 270},
            {Kind::Button, "Command1", "计算", 120, 840, 1000, 400},
            {Kind::Button, "Command2", "退出", 1200, 840, 1000, 400},
        };
        setClientTwips(this, 2400, 1400);
        buildControls(this, controls, &calculator());
        connectButtons();
    }
    int variant() const override { return 0; }
};
