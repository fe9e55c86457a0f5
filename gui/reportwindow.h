#pragma once

#include "calculators/savedcalculation.h"
#include "core/record.h"
#include "gui/errorreport.h"
#include "gui/reportpages.h"
#include "report/report.h"

#include <QImage>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

class QLineEdit;
class QVBoxLayout;

// The preview of a calculation report as its A4 pages, with the title block's project, designer
// and checker (the context's, which the calculation's window keeps), and "打印", "保存PDF" and
// "保存HTML".
class ReportWindow : public QWidget {
    Q_OBJECT
  public:
    // `picture`: the window's picture, for a report whose drawing is one. `reporter` tells the
    // user what went wrong.
    ReportWindow(const QString& title, ReportContext context, CalculationRecord record,
                 const QImage& picture, Reporter reporter, QWidget* parent = nullptr);
    ~ReportWindow() override;

    // Writes the report as an A4 PDF with its faces embedded, or as one HTML file with the
    // drawing inside it, whole or not at all: a file that was there stays as it was when the
    // write fails. Returns why it failed, or nothing.
    QString savePdf(const QString& path) const;
    QString saveHtml(const QString& path) const;
    // Saves as the buttons do, and tells the user the file and the reason when it fails.
    void save(const QString& path, bool pdf);

    // Says above the pages that the window's inputs changed after this calculation.
    void setOutdated();

    // Told the title block after the user edited it.
    void onNamesChanged(std::function<void(const subprogram::TitleBlock&)> changed) {
        namesChanged_ = std::move(changed);
    }

    const ReportPages& pages() const { return *pages_; }
    const report::Document& document() const { return document_; }

  private:
    void rebuild(); // after the title block's names changed
    void print();
    void askAndSave(bool pdf);

    ReportContext context_;
    CalculationRecord record_;
    QImage picture_;
    Reporter reporter_;
    report::Document document_;
    std::unique_ptr<ReportPages> pages_;
    QLineEdit *project_, *designer_, *checker_;
    class QLabel* outdated_;
    QVBoxLayout* preview_;
    std::function<void(const subprogram::TitleBlock&)> namesChanged_;
};
