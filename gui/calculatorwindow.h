#pragma once

#include "calculators/calculator.h"
#include "core/record.h"
#include "gui/errorreport.h"
#include "report/report.h"

#include <QImage>
#include <QWidget>

#include <functional>
#include <string>

// The text of a text box or an editable combo box.
QString fieldText(const QWidget* field);

// A widget as it paints itself, `scale` times finer than the screen, for a report.
QImage renderedAt(const QWidget* widget, qreal scale = 2);

// What every calculator window shares: a fixed client area laid out from a table, its fields as
// a Form for its calculator's calculation, and the failure model. A handler stops at the first
// CalcError, one message names it, every field keeps its text, and a field that could not be read
// gets the focus with its text selected.
//
// The window's own exit button hides it and keeps every text; closing it with the frame's close
// control discards it, so that the launcher creates it afresh with the defaults.
class CalculatorWindow : public QWidget, public Form {
    Q_OBJECT
  public:
    CalculatorWindow(const subprogram::Calculator& calculator, Reporter reporter);

    const subprogram::Calculator& calculator() const { return calculator_; }

    // The variant the next calculation runs: the mode, the anchor kind or the wall type as the
    // window's options show it.
    virtual int variant() const = 0;

    // True once the frame's close control discarded the window (it is deleted shortly after).
    bool discarded() const { return discarded_; }

    // The fields by objectName; a name the window has no field for reads as empty, and a write
    // to it (a result beyond the window) goes nowhere.
    std::string text(std::string_view field) const override;
    void setText(std::string_view field, const std::string& text) override;
    // The value of the list item the combo box's text names exactly, else the calculator's value
    // for any other text.
    int choice(std::string_view field) const override;
    bool holds(std::string_view field) const override;

    // The report of the last calculation, failed or not, as HTML; its drawing is "drawing.png".
    bool hasReport() const { return hasRecord_; }
    QString reportHtml() const;
    const QImage& reportDrawing() const { return lastDrawing_; }

    // "计算书": the report's preview, or a message when nothing was calculated yet.
    void showReport();

  protected:
    // Every calculator has the calculate button Command1 and the exit button Command2: the first
    // runs the calculation under the failure model, the second hides the window.
    void connectButtons();

    // Runs one event handler under the failure model.
    void run(const std::function<void()>& handler);

    // The window's sketch or drawing as the report shows it; none by default.
    virtual QImage drawing() const { return {}; }

    // The button "计算书" at a free place of the window, with the shortcut Ctrl+P.
    void addReportButton(int left, int top, int width, int height);

    void report(const QString& message);

    void closeEvent(QCloseEvent* event) override;

  private:
    // Runs the calculation on this window's fields and keeps it, with the drawing of the moment,
    // for the report.
    void calculate();
    QWidget* field(std::string_view name) const;

    const subprogram::Calculator& calculator_;
    Reporter reporter_;
    bool discarded_ = false;
    bool hasRecord_ = false;
    CalculationRecord lastRecord_;
    ReportContext lastContext_{};
    QImage lastDrawing_;
};
