// The study window's exports: the table as CSV for a spreadsheet, the chart as PNG or SVG, and
// the study added to the window's report.
#include "studywindow.h"

#include "core/wholefile.h"
#include "gui/sketchpainter.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPainter>

using subprogram::Field;
using subprogram::Outcome;
using subprogram::Study;

bool StudyWindow::saveCsv(const QString& path) {
    if (!study_) {
        reporter_(this, QStringLiteral("尚未计算：请先按“计算”。"));
        return false;
    }
    if (const auto error =
            writeWholeFile(QFile::encodeName(path).toStdString(), subprogram::studyCsv(*study_))) {
        reporter_(this, QStringLiteral("无法保存到文件“%1”：%2。")
                            .arg(QDir::toNativeSeparators(path), fileErrorText(*error)));
        return false;
    }
    return true;
}

bool StudyWindow::saveChart(const QString& path) {
    std::string content;
    if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
        content = sketchSvg(chart_);
    } else {
        QImage image(
            QSize(static_cast<int>(chart_.width / 10), static_cast<int>(chart_.height / 10)),
            QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            paintSketch(painter, chart_, QRectF(image.rect()));
        }
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        content = bytes.toStdString();
    }
    if (const auto error = writeWholeFile(QFile::encodeName(path).toStdString(), content)) {
        reporter_(this, QStringLiteral("无法保存到文件“%1”：%2。")
                            .arg(QDir::toNativeSeparators(path), fileErrorText(*error)));
        return false;
    }
    return true;
}

void StudyWindow::addToReport() {
    const std::optional<ResultId> result = chartedResult();
    if (!study_ || study_->rows().empty() || !result) {
        reporter_(this, QStringLiteral("尚未计算：请先按“计算”。"));
        return;
    }
    const Field& f = calculator_[study_->field()];
    const subprogram::Result& shown = calculator_[*result];
    ReportContext::StudyPart part;
    part.title = fieldCaption(f) + "，" + std::to_string(study_->rows().size()) + " 个值";
    part.header = {fieldCaption(f), resultCaption(shown), "验算", "错误"};
    const std::size_t column = study_->columnOf(*result);
    // a long study in bounded memory: its first and last rows, the chart of them all; the
    // whole table is the CSV's
    const std::size_t count = study_->rows().size();
    const bool cut = count > 2 * kReportRows;
    if (cut) {
        part.title += "，表中列出前 " + std::to_string(kReportRows) + " 个与后 " +
                      std::to_string(kReportRows) + " 个（全部结果请导出 CSV）";
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (cut && i == kReportRows) {
            part.rows.push_back(
                {"……", "", "", "中间 " + std::to_string(count - 2 * kReportRows) + " 个值从略"});
            i = count - kReportRows;
        }
        const Study::Row& row = study_->rows()[i];
        std::string verdict;
        for (std::size_t v = 0; v < row.judgements.size(); ++v) {
            if (row.judgements[v].outcome == Outcome::NotMet) {
                verdict += (verdict.empty() ? "不满足：" : "、") +
                           std::string(calculator_.verdicts[v].what);
            }
        }
        if (verdict.empty() && row.error.empty()) {
            verdict = calculator_.verdicts.empty() ? "—" : "满足";
        }
        part.rows.push_back(
            {row.value,
             column == RowForm::kNoColumn ? std::string() : std::string(row.cell(column)), verdict,
             row.error});
    }
    part.chart = chart_;
    // the inputs it held fixed, and the least value found for the field studied
    for (const Field& other : calculator_.fields) {
        if (&other != &f && !other.control.empty()) {
            part.inputs += (part.inputs.empty() ? "" : "，") + fieldCaption(other) + " = " +
                           studyTexts_[calculator_.id(other).index];
        }
    }
    if (least_ && !least_->text().isEmpty()) {
        part.least = least_->text().toStdString();
    }
    addToReport_(std::move(part));
    // said beside the button, not in a box: nothing went wrong
    status_->setText(QStringLiteral("已加入计算书：按窗口的“计算书”查看。"));
}
