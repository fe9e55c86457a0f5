#pragma once

#include "shell/errorreport.h"
#include "shell/numerictext.h"

#include <QWidget>

#include <string>

class QLineEdit;

// The text of a text box or an editable combo box.
QString fieldText(const QWidget* field);

// What every calculator window shares: a fixed client area laid out from a table, reads and
// writes of its fields through the numeric text rules, and the failure model. A handler stops at
// the first CalcError, one message names it, every field keeps its text, and a field that could
// not be read gets the focus with its text selected.
//
// The window's own exit button hides it and keeps every text; closing it with the frame's close
// control discards it, so that the launcher creates it afresh with the defaults.
class CalculatorWindow : public QWidget {
    Q_OBJECT
  public:
    CalculatorWindow(const char* objectName, const QString& caption, Reporter reporter);

    // True once the frame's close control discarded the window (it is deleted shortly after).
    bool discarded() const { return discarded_; }

  protected:
    // Every calculator has the calculate button Command1 and the exit button Command2: the first
    // runs `calculate` under the failure model, the second hides the window.
    void connectButtons(std::function<void()> calculate);

    // Runs one event handler under the failure model.
    void run(const std::function<void()>& handler);

    // Reads a field; a text that is not a number fails naming the field.
    double readDouble(const QWidget* field) const;
    float readSingle(const QWidget* field) const;

    // Reads a field with any conversion of its text; a CalcError names the field.
    template <typename Convert> auto readWith(const QWidget* field, Convert convert) const {
        try {
            return convert(fieldText(field).toStdString());
        } catch (const CalcError& error) {
            failAt(field, error);
        }
    }

    // Fails the handler with `error`, as a failure to read `field`.
    [[noreturn]] static void failAt(const QWidget* field, const CalcError& error);
    static void write(QWidget* field, const std::string& text);

    void report(const QString& message);

    void closeEvent(QCloseEvent* event) override;

  private:
    Reporter reporter_;
    bool discarded_ = false;
};
