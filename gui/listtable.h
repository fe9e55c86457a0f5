#pragma once

#include <QLineEdit>
#include <QTableWidget>

// A table kept in step with fields: by columns, each column one field's list ("500;900;700"),
// or by rows, one field's points ("0 0;10 0"). The last row stays empty, for a new one; Ctrl+V
// pastes rows of cells separated by tabs or spaces, as a spreadsheet copies them.
class ListTable : public QTableWidget {
  public:
    ListTable(QWidget* parent, const QStringList& header, QList<QLineEdit*> fields);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    bool byRows() const { return fields_.size() == 1; }
    void fill(); // the fields' texts into the cells
    QString cell(int r, int c) const;
    void write(); // the cells into the fields, as if typed there
    void paste(const QString& text);

    QList<QLineEdit*> fields_;
    bool writing_ = false;
};
