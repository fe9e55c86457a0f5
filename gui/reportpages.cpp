#include "reportpages.h"

#include "core/html.h"
#include "gui/sketchpainter.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextDocument>

using report::Align;
using report::Block;
using report::Column;

namespace {

constexpr double kMillimetre = ReportPages::kDpi / 25.4;
constexpr double kPageWidth = 210 * kMillimetre, kPageHeight = 297 * kMillimetre;
constexpr double kMargin = 20 * kMillimetre;
constexpr double kTextWidth = kPageWidth - 2 * kMargin;
constexpr double kGap = 1.2 * kMillimetre;   // between blocks
constexpr double kLine = 0.25 * kMillimetre; // the tables' rules
// Lengths in the pages' HTML are CSS pixels, 1/96 inch, whatever the layout's resolution.
constexpr int kPadding = 3; // a cell's: 0.8 mm

// Font metrics at the layout's resolution, whatever the screen.
QPaintDevice& layoutDevice() {
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        const int dotsPerMetre = static_cast<int>(ReportPages::kDpi / 0.0254 + 0.5);
        image.setDotsPerMeterX(dotsPerMetre);
        image.setDotsPerMeterY(dotsPerMetre);
        return image;
    }();
    return device;
}

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

// The column edges of a table, in layout units from the text's left edge.
std::vector<double> edges(const std::vector<Column>& columns) {
    std::vector<double> x{0};
    for (const Column& c : columns) {
        x.push_back(x.back() + kTextWidth * c.percent / 100);
    }
    return x;
}

// Whether a number's whole part and its fraction each fit their part of the column (a share
// `whole` of it for the whole part) on one line; else it stands whole in the column, on one line
// all the same: a number never breaks across a line.
bool splitFits(const Column& column, const std::string& number, double whole) {
    const QFontMetricsF metrics(ReportPages::font(), &layoutDevice());
    const auto [left, right] = report::decimalParts(number);
    const double width = kTextWidth * column.percent / 100;
    const double padding = kPadding * ReportPages::kDpi / 96;
    return metrics.horizontalAdvance(q(left)) + padding <= width * whole &&
           metrics.horizontalAdvance(q(right)) + padding <= width * (1 - whole);
}

QString cellsHtml(const std::vector<Column>& columns, const std::vector<std::string>& cells,
                  bool header) {
    QString html = QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"%1\"><tr>")
                       .arg(kPadding);
    // a number's whole part right-aligned against its fraction, so that the decimal points of a
    // column line up; the fraction takes the larger part, it is the longer one
    constexpr double kWhole = 0.36;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const Column& c = columns[i];
        const QString text = header ? QStringLiteral("<b>%1</b>").arg(q(c.title)) : q(cells[i]);
        if (c.align == Align::Number && !header && report::alignsOnPoint(cells[i]) &&
            splitFits(c, cells[i], kWhole)) {
            const auto [whole, fraction] = report::decimalParts(cells[i]);
            html += QStringLiteral("<td width=\"%1%\" align=\"right\" style=\"padding-right:0\">"
                                   "%2</td><td width=\"%3%\" style=\"padding-left:0\">%4</td>")
                        .arg(c.percent * kWhole)
                        .arg(q(whole))
                        .arg(c.percent * (1 - kWhole))
                        .arg(q(fraction));
        } else {
            // a number too long for the split, whole and right-aligned; a list wraps as text
            const bool number =
                c.align == Align::Number && !header && report::alignsOnPoint(cells[i]);
            html += QStringLiteral("<td width=\"%1%\"%2%3>%4</td>")
                        .arg(c.percent)
                        .arg(c.align == Align::Right || number ? QStringLiteral(" align=\"right\"")
                                                               : "")
                        .arg(number ? QStringLiteral(" style=\"white-space:nowrap\"") : "")
                        .arg(text);
        }
    }
    return html + QStringLiteral("</tr></table>");
}

} // namespace

// A block as it is painted: its text laid out, or its drawing.
struct ReportPages::Piece {
    mutable QTextDocument text;                   // drawing lays it out again where it must
    const std::vector<Column>* columns = nullptr; // a row's or header's grid
    bool header = false;
    bool drawing = false;
    const Sketch* sketch = nullptr; // the drawing's; none: the window's picture
    double drawingHeight = 0, drawingWidth = 0;

    void setHtml(const QString& html) {
        text.documentLayout()->setPaintDevice(&layoutDevice());
        text.setDefaultFont(ReportPages::font());
        text.setDocumentMargin(0);
        text.setTextWidth(kTextWidth);
        text.setHtml(html);
    }
    double height() const { return drawing ? drawingHeight : text.size().height(); }
};

QFont ReportPages::font() {
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("WenQuanYi Micro Hei")});
    font.setPointSizeF(10);
    return font;
}

ReportPages::ReportPages(const report::Document& document, const QImage& picture)
    : document_(document), picture_(picture) {
    for (const Block& b : document.blocks) {
        auto piece = std::make_unique<Piece>();
        switch (b.kind) {
        case Block::Kind::Heading:
            piece->setHtml(QStringLiteral("<p style=\"font-size:%1pt;font-weight:bold;"
                                          "margin-top:%2px\">%3</p>")
                               .arg(b.level == 2 ? 12 : 10.5)
                               .arg(b.level == 2 ? 12 : 5)
                               .arg(q(b.html)));
            break;
        case Block::Kind::Paragraph:
            piece->setHtml(QStringLiteral("<p>%1</p>").arg(q(b.html)));
            break;
        case Block::Kind::Failure:
            piece->setHtml(QStringLiteral("<p style=\"color:#a00000;font-weight:bold\">%1</p>")
                               .arg(q(b.html)));
            break;
        case Block::Kind::Note:
            piece->setHtml(
                QStringLiteral("<p style=\"color:#555555;font-size:8pt\">%1</p>").arg(q(b.html)));
            break;
        case Block::Kind::Row:
            piece->columns = &document.tables[static_cast<std::size_t>(b.table)];
            piece->setHtml(cellsHtml(*piece->columns, b.cells, false));
            break;
        case Block::Kind::Drawing: {
            piece->drawing = true;
            const Sketch* sketch = piece->sketch = drawingOf(b, *document.context);
            const double w = sketch ? sketch->width : picture_.width();
            const double h = sketch ? sketch->height : picture_.height();
            const double scale = std::min({kTextWidth * 0.75 / w, kPageHeight * 0.45 / h,
                                           sketch ? 1e9 : kDpi / 96 / picture_.devicePixelRatio()});
            piece->drawingWidth = w * scale;
            piece->drawingHeight = h * scale;
            break;
        }
        }
        pieces_.push_back(std::move(piece));
    }
    auto title = std::make_unique<Piece>();
    QString html = QStringLiteral("<p align=\"center\" style=\"font-size:16pt;font-weight:bold\">"
                                  "%1</p><table width=\"100%\" border=\"1\" cellspacing=\"0\" "
                                  "cellpadding=\"%2\" style=\"border-collapse:collapse\">")
                       .arg(q(document.title))
                       .arg(kPadding);
    for (const auto& [label, text] : document.titleBlock) {
        html += QStringLiteral("<tr><td width=\"18%\" bgcolor=\"#eeeeee\"><b>%1</b></td>"
                               "<td>%2</td></tr>")
                    .arg(q(label), q(html::escaped(text)));
    }
    title->setHtml(html + QStringLiteral("</table>"));
    pieces_.push_back(std::move(title));
    for (const auto& columns : document.tables) {
        auto header = std::make_unique<Piece>();
        header->columns = &columns;
        header->header = true;
        header->setHtml(cellsHtml(columns, {}, true));
        headers_.push_back(std::move(header));
    }
    layOut();
}

ReportPages::~ReportPages() = default;

QSizeF ReportPages::pageSize() const {
    return {kPageWidth, kPageHeight};
}

double ReportPages::textBottom() const {
    return kPageHeight - kMargin;
}

double ReportPages::height(int piece) const {
    return pieces_[static_cast<std::size_t>(piece)]->height();
}

void ReportPages::layOut() {
    const auto& blocks = document_.blocks;
    const int count = static_cast<int>(blocks.size());
    int page = 0;
    double y = kMargin;
    placed_.push_back({-1, 0, y, pieces_.back()->height()});
    y += placed_.back().height + kGap;
    int headedTable = -1; // the table whose header stands on this page
    const auto isRow = [&](int i) { return i < count && blocks[i].kind == Block::Kind::Row; };
    const auto headerHeight = [&](int i) {
        return headers_[static_cast<std::size_t>(blocks[i].table)]->height();
    };
    for (int i = 0; i < count; ++i) {
        // what must stand on one page with this block: a heading with the headings and the
        // first block after it; a row with its table's header when it is not yet on the page;
        // the block before the closing note with the note; a drawing with its caption above and
        // its note below
        double together = 0;
        int j = i;
        while (j < count && blocks[j].kind == Block::Kind::Heading) {
            together += height(j++) + kGap;
        }
        if (j < count) {
            together += height(j);
            if (isRow(j) && (j != i || blocks[j].table != headedTable)) {
                together += headerHeight(j);
            }
            if (j + 1 < count && blocks[j + 1].kind == Block::Kind::Note) {
                together += kGap + height(j + 1); // the closing note never stands alone
            }
            if (j + 1 < count && blocks[j].kind == Block::Kind::Drawing &&
                blocks[j + 1].kind == Block::Kind::Paragraph) {
                together += kGap + height(j + 1); // nor a drawing without the note under it
            }
        }
        if (y + together > textBottom() && y > kMargin) {
            ++page;
            y = kMargin;
            headedTable = -1;
        }
        if (isRow(i) && blocks[i].table != headedTable) {
            headedTable = blocks[i].table;
            placed_.push_back({-2 - blocks[i].table, page, y, headerHeight(i)});
            y += headerHeight(i);
        }
        placed_.push_back({i, page, y, height(i)});
        y += height(i) +
             (isRow(i) && isRow(i + 1) && blocks[i + 1].table == blocks[i].table ? 0 : kGap);
        if (!isRow(i)) {
            headedTable = -1;
        }
    }
    pages_ = page + 1;
}

void ReportPages::paintPage(QPainter& painter, int page) const {
    painter.save();
    painter.fillRect(QRectF(0, 0, kPageWidth, kPageHeight), Qt::white);
    const QPen rule(QColor(0x88, 0x88, 0x88), kLine);
    for (const Placed& p : placed_) {
        if (p.page != page) {
            continue;
        }
        const bool header = p.block <= -2;
        const Piece& piece = header          ? *headers_[static_cast<std::size_t>(-2 - p.block)]
                             : p.block == -1 ? *pieces_.back()
                                             : *pieces_[static_cast<std::size_t>(p.block)];
        const QRectF box(kMargin, p.top, kTextWidth, p.height);
        if (header) {
            painter.fillRect(box, QColor(0xee, 0xee, 0xee));
        }
        if (piece.drawing) {
            const QRectF target(kMargin + (kTextWidth - piece.drawingWidth) / 2, p.top,
                                piece.drawingWidth, piece.drawingHeight);
            if (piece.sketch) {
                paintSketch(painter, *piece.sketch, target);
            } else {
                painter.drawImage(target, picture_);
            }
            continue;
        }
        painter.save();
        painter.translate(kMargin, p.top);
        piece.text.drawContents(&painter);
        painter.restore();
        if (piece.columns) { // the grid of a row or a header
            painter.setPen(rule);
            if (header) {
                painter.drawLine(box.topLeft(), box.topRight());
            }
            painter.drawLine(box.bottomLeft(), box.bottomRight());
            for (const double x : edges(*piece.columns)) {
                painter.drawLine(QPointF(kMargin + x, p.top), QPointF(kMargin + x, box.bottom()));
            }
        }
    }
    // the footer: what was calculated, and the page
    QFont small = font();
    small.setPixelSize(static_cast<int>(8 * kDpi / 72)); // 8 pt in layout units
    painter.setFont(small);
    painter.setPen(QColor(0x55, 0x55, 0x55));
    const double footer = kPageHeight - kMargin * 0.6;
    painter.drawLine(QPointF(kMargin, footer - kMillimetre * 4),
                     QPointF(kPageWidth - kMargin, footer - kMillimetre * 4));
    const QRectF line(kMargin, footer - kMillimetre * 3.5, kTextWidth, kMillimetre * 5);
    painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, q(document_.subject));
    painter.drawText(line, Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("第 %1 页 共 %2 页").arg(page + 1).arg(pages_));
    painter.restore();
}

bool ReportPages::print(QPagedPaintDevice& device) const {
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    QPainter painter;
    if (!painter.begin(&device)) {
        return false;
    }
    const double scale = device.logicalDpiX() / kDpi;
    for (int page = 0; page < pages_; ++page) {
        if (page > 0) {
            device.newPage();
        }
        painter.save();
        painter.scale(scale, scale);
        paintPage(painter, page);
        painter.restore();
    }
    return painter.end();
}
