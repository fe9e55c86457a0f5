#pragma once

#include "calculators/calculator.h"

#include <QWidget>

#include <span>
#include <vector>

class QLineEdit;
class QTableWidget;

// Every result of a calculator window at a glance, whatever the width of the window's own result
// fields: a row for each, its value to four significant digits, its unit and the verdict judged
// on it (a QLabel named as the verdict, "Ks_ok"). Selecting a row shows its exact text, as the
// window saves, copies and reports it, in a line below the table, where it can be copied.
class ResultsPanel : public QWidget {
    Q_OBJECT
  public:
    ResultsPanel(const subprogram::Calculator& calculator, QWidget* parent);

    struct Row {
        ResultId result;
        std::string text; // exact, as written
        bool stale;       // not of the inputs as they stand (see ResultField::stale)
    };
    // Shows `rows` and, beside the results they judge, the verdicts (none before a calculation
    // succeeded): each without the value the row shows, the value and basis in its tooltip.
    void show(const std::vector<Row>& rows, std::span<const subprogram::Judgement> verdicts);

    // Says under the table that the results are not of the inputs as they stand.
    void setOutdated(bool outdated);

    // The row of a result by its table index, as shown: value, unit and verdict texts.
    QStringList rowTexts(int row) const;
    int rowCount() const;

  private:
    void showExact();

    const subprogram::Calculator& calculator_;
    QTableWidget* table_;
    QLineEdit* exact_;
    std::vector<Row> rows_;
};
