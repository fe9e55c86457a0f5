#pragma once

#include "report/report.h"

#include <QFont>
#include <QImage>
#include <QSizeF>

#include <memory>
#include <vector>

class QPainter;
class QPagedPaintDevice;
class QTextDocument;

// A report laid out on A4 portrait pages with margins of 20 mm: the title and the title block on
// the first page, a footer on every page with the calculation and 第 x 页 共 y 页, and a table's
// header again on every page the table continues on. No table row, formula line or drawing is
// split across pages, and a heading always stands on the page of what follows it.
//
// Laid out at a fixed resolution (kDpi), whatever the screen, so that pages break alike on every
// machine; painted at any resolution.
class ReportPages {
  public:
    static constexpr double kDpi = 300;

    // `picture`: the window's picture, for a report whose drawing is one.
    ReportPages(const report::Document& document, const QImage& picture = {});
    ~ReportPages();

    // The report's faces: DejaVu Sans for Latin, Greek and the signs of the formulas, WenQuanYi
    // Micro Hei for Chinese.
    static QFont font();

    struct Placed {
        int block; // in the document; -1: the title block, -2: a table's header
        int page;  // from 0
        double top, height;
    };
    int pageCount() const { return pages_; }
    const std::vector<Placed>& placed() const { return placed_; }
    QSizeF pageSize() const;   // in layout units
    double textBottom() const; // the lowest a block may reach on a page

    // Paints one page with the painter's origin at its top-left corner, in layout units.
    void paintPage(QPainter& painter, int page) const;
    // Every page onto a printer or a PDF, A4 portrait; false when the device cannot be painted.
    bool print(QPagedPaintDevice& device) const;

  private:
    struct Piece;
    void layOut();
    double height(int piece) const;

    const report::Document& document_;
    QImage picture_;
    std::vector<std::unique_ptr<Piece>> pieces_;  // one per block, then the title block
    std::vector<std::unique_ptr<Piece>> headers_; // one per table
    std::vector<Placed> placed_;
    int pages_ = 0;
};
