// The window's results follow its inputs: outdated once an input differs from those they were
// calculated from, current again when the inputs are typed back; the fields a variant takes no
// value from greyed.
#include "calculatorwindow.h"

#include "gui/reportwindow.h"
#include "gui/resultfield.h"
#include "gui/resultspanel.h"
#include "gui/studywindow.h"

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

std::vector<FieldId> CalculatorWindow::idleNow() const {
    try {
        return calculator_.idle ? calculator_.idle(variant(), *this) : std::vector<FieldId>();
    } catch (const CalcError&) { // an input that cannot be read: as it was greyed
        return greyedIdle_;
    }
}

// A field the inputs show under another caption (see Calculator::shownAs): its label says so,
// and says its own again when they no longer do.
void CalculatorWindow::relabel() {
    if (!calculator_.shownAs) {
        return;
    }
    for (const Field& f : calculator_.fields) {
        QWidget* control = f.control.empty() ? nullptr : field(f.control);
        if (!control) {
            continue;
        }
        const Field* as = calculator_.shownAs(calculator_.id(f), *this);
        for (QLabel* label : findChildren<QLabel*>()) {
            if (label->buddy() != control) {
                continue;
            }
            if (!label->property("ownCaption").isValid()) {
                label->setProperty("ownCaption", label->text());
            }
            label->setText(as ? qstring(as->caption) : label->property("ownCaption").toString());
        }
    }
}

void CalculatorWindow::greyUnused() {
    const subprogram::Variant& chosen = calculator_.variant(variant());
    // what the inputs as they stand leave unread, and what they left so before
    const std::vector<FieldId> idle = idleNow();
    std::vector<FieldId> candidates = idle;
    candidates.insert(candidates.end(), greyedIdle_.begin(), greyedIdle_.end());
    greyedIdle_ = idle;
    for (const subprogram::Variant& v : calculator_.variants) {
        candidates.insert(candidates.end(), v.unused.begin(), v.unused.end());
    }
    const auto named = [](const std::vector<FieldId>& list, FieldId f) {
        return std::find(list.begin(), list.end(), f) != list.end();
    };
    std::vector<FieldId> done;
    for (const FieldId f : candidates) { // a field some variant or some inputs leave unused
        QWidget* control = field(calculator_[f].control);
        if (!control || named(done, f)) {
            continue;
        }
        done.push_back(f);
        {
            // a text that cannot be read fails the calculation all the same: left open to mend
            double number = 0;
            float single = 0;
            ErrorKind error{};
            const std::string text = controlText(calculator_[f].control);
            // a list or a word is not read by a variant that leaves it unused
            const bool numeric = calculator_[f].conversion != subprogram::Conversion::Word &&
                                 calculator_[f].conversion != subprogram::Conversion::Lengths;
            const bool byVariant =
                std::find(chosen.unused.begin(), chosen.unused.end(), f) != chosen.unused.end();
            const bool used = (!byVariant && !named(idle, f)) ||
                              (numeric && (!::readDouble(text, number, error) ||
                                           !::readSingle(text, single, error)));
            const QString why =
                used ? QString()
                : byVariant
                    ? QStringLiteral("%1不用此项：它的计算不取这个值").arg(qstring(chosen.title))
                    : QStringLiteral("按现在的其他输入，计算不取这个值");
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
    if (calculator_.idle && idleNow() != greyedIdle_) { // what the inputs leave unread follows them
        greyUnused();
    }
    relabel();
    if (auto* study = findChild<StudyWindow*>(QString(), Qt::FindDirectChildrenOnly)) {
        study->setTexts(studyTexts()); // its next study takes the inputs as they stand
    }
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
