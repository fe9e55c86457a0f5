// The window's results follow its inputs: outdated once an input differs from those they were
// calculated from, current again when the inputs are typed back; the fields a variant takes no
// value from greyed.
#include "calculatorwindow.h"

#include "gui/reportwindow.h"
#include "gui/resultfield.h"
#include "gui/resultspanel.h"

#include <QLabel>

#include <algorithm>

using subprogram::Field;

std::vector<std::string> CalculatorWindow::inputs() const {
    std::vector<std::string> texts{std::to_string(variant())};
    for (const Field& f : calculator_.fields) {
        texts.push_back(controlText(f.control));
    }
    return texts;
}

void CalculatorWindow::takeInputsAsCalculated() {
    calculatedInputs_ = inputs();
    outdated_ = false;
    if (panel_) {
        panel_->setOutdated(false);
    }
    for (ResultField* f : findChildren<ResultField*>()) {
        f->setOutdated(false);
    }
}

void CalculatorWindow::greyUnused() {
    const subprogram::Variant& chosen = calculator_.variant(variant());
    for (const subprogram::Variant& v : calculator_.variants) {
        for (const FieldId f : v.unused) { // a field some variant leaves unused
            QWidget* control = field(calculator_[f].control);
            if (!control) {
                continue;
            }
            // a text that cannot be read fails the calculation all the same: left open to mend
            double number = 0;
            float single = 0;
            ErrorKind error{};
            const std::string text = controlText(calculator_[f].control);
            // a list or a word is not read by a variant that leaves it unused
            const bool numeric = calculator_[f].conversion != subprogram::Conversion::Word &&
                                 calculator_[f].conversion != subprogram::Conversion::Lengths;
            const bool used =
                std::find(chosen.unused.begin(), chosen.unused.end(), f) == chosen.unused.end() ||
                (numeric &&
                 (!::readDouble(text, number, error) || !::readSingle(text, single, error)));
            const QString why =
                used ? QString()
                     : QStringLiteral("%1不用此项：它的计算不取这个值").arg(qstring(chosen.title));
            control->setEnabled(used);
            control->setToolTip(why);
            for (QLabel* label : findChildren<QLabel*>()) {
                if (label->buddy() == control) {
                    label->setEnabled(used);
                    label->setToolTip(why);
                }
            }
        }
    }
}

void CalculatorWindow::followInputs() {
    const bool outdated = calculatedInputs_ && inputs() != *calculatedInputs_;
    if (outdated == outdated_) {
        return;
    }
    outdated_ = outdated;
    for (ResultField* f : findChildren<ResultField*>()) {
        f->setOutdated(outdated && f->calculated());
    }
    showVerdicts(judged_ && !outdated);
    if (panel_) {
        panel_->setOutdated(outdated);
    }
    if (outdated && lastDiagram_) { // the diagram belongs to the inputs it was calculated from
        lastDiagram_.reset();
        drawPressureDiagram();
    }
    if (outdated) { // the reports open are of the inputs as they were
        for (ReportWindow* open : findChildren<ReportWindow*>(Qt::FindDirectChildrenOnly)) {
            open->setOutdated();
        }
    }
}

void CalculatorWindow::typeInput(std::string_view name, const std::string& text) {
    if (const Field* f = calculator_.field(name)) {
        setControlText(f->control, text);
        noteEdit();
    }
}
