// The report document written as one HTML page, its drawings inside it as SVG.
#include "report.h"

#include "core/html.h"

namespace report {

namespace {

// HTML of the document: the browser's print takes A4 with 20 mm margins, keeps rows, formulas
// and drawings whole and headings with what follows them.
class Html {
  public:
    explicit Html(const Document& doc) : doc_(doc) {}

    std::string page() {
        out_ = "<!DOCTYPE html>\n<html lang=\"zh-CN\"><head><meta charset=\"utf-8\">\n<title>" +
               html::escaped(doc_.title) + "</title>\n<style>" + std::string(kStyle) +
               "</style></head>\n<body>\n<h1>" + html::escaped(doc_.title) + "</h1>\n" +
               "<table class=\"titleblock\" cellspacing=\"0\" cellpadding=\"4\" width=\"100%\">";
        for (const auto& [label, text] : doc_.titleBlock) {
            out_ += "<tr><th>" + label + "</th><td>" + html::escaped(text) + "</td></tr>";
        }
        out_ += "</table>\n";
        int open = -1; // the table whose rows are being written
        for (const Block& b : doc_.blocks) {
            if (b.kind != Block::Kind::Row || b.table != open) {
                closeTable(open);
            }
            switch (b.kind) {
            case Block::Kind::Heading:
                out_ += "<h" + std::to_string(b.level) + ">" + b.html + "</h" +
                        std::to_string(b.level) + ">\n";
                break;
            case Block::Kind::Paragraph:
                out_ += "<p>" + b.html + "</p>\n";
                break;
            case Block::Kind::Failure:
                out_ += "<p class=\"failure\">" + b.html + "</p>\n";
                break;
            case Block::Kind::Note:
                out_ += "<p class=\"note\">" + b.html + "</p>\n";
                break;
            case Block::Kind::Row:
                if (open != b.table) {
                    openTable(b.table);
                    open = b.table;
                }
                rowHtml(b);
                break;
            case Block::Kind::Drawing:
                drawingHtml(b);
                break;
            }
        }
        closeTable(open);
        return out_ + "<p class=\"footer\">" + html::escaped(doc_.subject) +
               "</p>\n</body></html>\n";
    }

  private:
    static constexpr std::string_view kStyle =
        "@page{size:A4 portrait;margin:20mm;}"
        "body{font-family:'DejaVu Sans','WenQuanYi Micro Hei',sans-serif;font-size:10pt;}"
        "h1{font-size:16pt;text-align:center;}h2{font-size:12pt;margin-top:12pt;}"
        "h3{font-size:10.5pt;}h2,h3{break-after:avoid;page-break-after:avoid;}"
        "table{border-collapse:collapse;margin-bottom:6pt;}"
        "tr,p,.drawing{break-inside:avoid;page-break-inside:avoid;}"
        "td,th{border:1px solid #888;padding:2pt 6pt;}th{background:#eee;text-align:left;}"
        "td.int{text-align:right;border-right:none;padding-right:0;}"
        "td.frac{text-align:left;border-left:none;padding-left:0;}"
        ".titleblock th{width:18%;}.failure{color:#a00000;font-weight:bold;}"
        ".note,.footer{color:#555;font-size:8pt;}";

    void openTable(int t) {
        out_ += "<table cellspacing=\"0\" cellpadding=\"3\" width=\"100%\"><tr>";
        for (const Column& c : doc_.tables[static_cast<std::size_t>(t)]) {
            out_ += (c.align == Align::Number ? "<th colspan=\"2\" width=\"" : "<th width=\"") +
                    std::to_string(c.percent) + "%\">" + c.title + "</th>";
        }
        out_ += "</tr>\n";
    }
    void closeTable(int& open) {
        if (open >= 0) {
            out_ += "</table>\n";
        }
        open = -1;
    }
    void rowHtml(const Block& b) {
        const auto& columns = doc_.tables[static_cast<std::size_t>(b.table)];
        out_ += "<tr>";
        for (std::size_t i = 0; i < b.cells.size(); ++i) {
            if (columns[i].align == Align::Number && !alignsOnPoint(b.cells[i])) {
                out_ += "<td colspan=\"2\">" + b.cells[i] + "</td>";
            } else if (columns[i].align == Align::Number) {
                const auto [whole, fraction] = decimalParts(b.cells[i]);
                out_ +=
                    "<td class=\"int\">" + whole + "</td><td class=\"frac\">" + fraction + "</td>";
            } else {
                out_ += (columns[i].align == Align::Right ? "<td align=\"right\">" : "<td>") +
                        b.cells[i] + "</td>";
            }
        }
        out_ += "</tr>\n";
    }
    void drawingHtml(const Block& b) {
        const ReportContext& c = *doc_.context;
        const Sketch* sketch = drawingOf(b, c);
        out_ += "<div class=\"drawing\">" +
                (sketch ? sketchSvg(*sketch)
                        : "<img src=\"drawing.png\" width=\"" + std::to_string(c.imageWidth) +
                              "\" height=\"" + std::to_string(c.imageHeight) + "\">") +
                "</div>\n";
    }

    const Document& doc_;
    std::string out_;
};

} // namespace

} // namespace report

std::string reportHtml(const ReportContext& context, const CalculationRecord& record) {
    const report::Document doc = report::document(context, record);
    return report::Html(doc).page();
}
