#pragma once

#include <QLineEdit>
#include <QTableWidget>

// A table kept in step with fields: by columns, each column one field's list ("500;900;700"),
// or by rows, one field's points ("0 0;10 0"). The last row stays empty, for a new one; Ctrl+V
// pastes rows as a spreadsheet copies them: cells separated by tabs, each tab a cell (an empty
// cell stays empty; one a later cell of its row or column needs is refused, naming it), or by
// spaces where a row has no tab; a pasted row replaces the whole row. A paste of more rows than
// the table may hold (`mostRows`) is refused before it is read.
class ListTable : public QTableWidget {
  public:
    ListTable(QWidget* parent, const QStringList& header, QList<QLineEdit*> fields,
              int mostRows = 1000);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    bool byRows() const { return fields_.size() == 1; }
    void fill(); // the fields' texts into the cells
    QString cell(int r, int c) const;
    void write(); // the cells into the fields, as if typed there
    void paste(const QString& text);

    void refuse(const QString& message);

    QList<QLineEdit*> fields_;
    int mostRows_;
    bool writing_ = false;
};
