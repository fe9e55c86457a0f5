#pragma once

#include "routines/report.h"
#include "shell/errorreport.h"
#include "shell/form.h"

#include <QImage>
#include <QWidget>

#include <functional>
#include <string>

// The text of a text box or an editable combo box.
QString fieldText(const QWidget* field);

// A widget as it paints itself, `scale` times finer than the screen, for a report.
QImage renderedAt(const QWidget* widget, qreal scale = 2);

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

    // The report of the last calculation, failed or not, as HTML; its drawing is "drawing.png".
    bool hasReport() const { return hasRecord_; }
    QString reportHtml() const;
    const QImage& reportDrawing() const { return lastDrawing_; }

    // "计算书": the report's preview, or a message when nothing was calculated yet.
    void showReport();

  protected:
    // Every calculator has the calculate button Command1 and the exit button Command2: the first
    // runs `calculate` under the failure model, the second hides the window.
    void connectButtons(std::function<void()> calculate);

    // Runs one event handler under the failure model.
    void run(const std::function<void()>& handler);

    // Runs a calculation on this window's fields and keeps it, with `context` and the drawing of
    // the moment, for the report.
    void calculateRecorded(subprogram::ReportContext context,
                           const std::function<void(Form&, subprogram::Trace*)>& calculation);

    // The window's sketch or drawing as the report shows it; none by default.
    virtual QImage drawing() const { return {}; }

    // The button "计算书" at a free place of the window, with the shortcut Ctrl+P.
    void addReportButton(int left, int top, int width, int height);

    void report(const QString& message);

    void closeEvent(QCloseEvent* event) override;

  private:
    QWidget* field(std::string_view name) const;

    Reporter reporter_;
    bool discarded_ = false;
    bool hasRecord_ = false;
    subprogram::CalculationRecord lastRecord_;
    subprogram::ReportContext lastContext_{};
    QImage lastDrawing_;
};
