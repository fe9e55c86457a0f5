#pragma once

#include "calculators/study.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <vector>

// A study's table for a view, read from the study's rows as the view asks: a study of a million
// values holds nothing of its own for a cell. The columns: the input studied, every result some
// row wrote, each check and the error, headed by their Chinese captions with units. A value shows
// four significant digits, as the results panel shows a result; exact() is its whole text.
class StudyTable : public QAbstractTableModel {
    Q_OBJECT
  public:
    using QAbstractTableModel::QAbstractTableModel;

    // Shows `study` as it stands (none: an empty table); it must outlive the next call.
    void show(const subprogram::Study* study);
    // A cell's text as written, for the line under the table.
    QString exact(const QModelIndex& index) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    const subprogram::Study* study_ = nullptr;
    std::vector<std::size_t> shown_; // the output columns of results some row wrote
    QStringList header_;
};

// Four significant digits for the eye; a text that is no number as it stands.
QString fourDigits(const std::string& text);
