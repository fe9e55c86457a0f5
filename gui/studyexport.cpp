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

std::string heldInputs(const subprogram::Calculator& calculator, FieldId studied,
                       const std::vector<std::string>& texts) {
    std::string inputs;
    for (const Field& other : calculator.fields) {
        if (calculator.id(other).index != studied.index && !other.control.empty()) {
            inputs += (inputs.empty() ? "" : "，") + fieldCaption(other) + " = " +
                      texts[calculator.id(other).index];
        }
    }
    return inputs;
}

ReportContext::StudyPart studyReportPart(const Study& study, ResultId result,
                                         const std::vector<std::string>& texts,
                                         const std::string& least, const Sketch& chart) {
    const subprogram::Calculator& calculator = study.calculator();
    const Field& f = calculator[study.field()];
    const subprogram::Result& shown = calculator[result];
    constexpr std::size_t kReportRows = StudyWindow::kReportRows;
    ReportContext::StudyPart part;
    part.title = fieldCaption(f) + "，" + std::to_string(study.rows().size()) + " 个值";
    part.header = {fieldCaption(f), resultCaption(shown), "验算", "错误"};
    const std::size_t column = study.columnOf(result);
    // a long study in bounded memory: its first and last rows, the chart of them all; the
    // whole table is the CSV's
    const std::size_t count = study.rows().size();
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
        const Study::Row& row = study.rows()[i];
        std::string verdict;
        for (std::size_t v = 0; v < row.judgements.size(); ++v) {
            if (row.judgements[v].outcome == Outcome::NotMet) {
                verdict += (verdict.empty() ? "不满足：" : "、") +
                           std::string(calculator.verdicts[v].what);
            }
        }
        if (verdict.empty() && row.error.empty()) {
            verdict = calculator.verdicts.empty() ? "—" : "满足";
        }
        part.rows.push_back(
            {row.value,
             column == RowForm::kNoColumn ? std::string() : std::string(row.cell(column)), verdict,
             row.error});
    }
    part.chart = chart;
    // the inputs it held fixed, and the least value found for the field studied
    part.inputs = heldInputs(calculator, study.field(), texts);
    part.least = least;
    return part;
}

void StudyWindow::addToReport() {
    const std::optional<ResultId> result = chartedResult();
    if (!study_ || study_->rows().empty() || !result) {
        reporter_(this, QStringLiteral("尚未计算：请先按“计算”。"));
        return;
    }
    const std::string least = least_ ? least_->text().toStdString() : std::string();
    ReportContext::StudyPart part = studyReportPart(*study_, *result, studyTexts_, least, chart_);
    // and as it was asked for, to be saved with the calculation and run again when it opens
    subprogram::SavedStudy asked = asked_;
    asked.result = calculator_[*result].name;
    asked.least = least;
    for (const Field& f : calculator_.fields) {
        asked.inputs.emplace_back(f.name, studyTexts_[calculator_.id(f).index]);
    }
    addToReport_(std::move(part), std::move(asked));
    // said beside the button, not in a box: nothing went wrong
    status_->setText(QStringLiteral("已加入计算书：按窗口的“计算书”查看。"));
}
