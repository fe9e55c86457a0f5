#pragma once

#include "shell/errorreport.h"
#include "shell/form.h"

#include <QWidget>

#include <functional>
#include <string>

// The text of a text box or an editable combo box.
QString fieldText(const QWidget* field);

// What every calculator window shares: a fixed client area laid out from a table, its fields as
// a Form for the calculations, and the failure model. A handler stops at the first CalcError, one
// message names it, every field keeps its text, and a field that could not be read gets the
// focus with its text selected.
//
// The window's own exit button hides it and keeps every text; closing it with the frame's close
// control discards it, so that the launcher creates it afresh with the defaults.
class CalculatorWindow : public QWidget, public Form {
    Q_OBJECT
  public:
    CalculatorWindow(const char* objectName, const QString& caption, Reporter reporter);

    // True once the frame's close control discarded the window (it is deleted shortly after).
    bool discarded() const { return discarded_; }

    // The fields by objectName.
    std::string text(std::string_view field) const override;
    void setText(std::string_view field, const std::string& text) override;

  protected:
    // Every calculator has the calculate button Command1 and the exit button Command2: the first
    // runs `calculate` under the failure model, the second hides the window.
    void connectButtons(std::function<void()> calculate);

    // Runs one event handler under the failure model.
    void run(const std::function<void()>& handler);

    void report(const QString& message);

    void closeEvent(QCloseEvent* event) override;

  private:
    QWidget* field(std::string_view name) const;

    Reporter reporter_;
    bool discarded_ = false;
};
