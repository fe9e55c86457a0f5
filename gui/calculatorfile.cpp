// The window's file: saving, opening (a file's results checked against a calculation of its
// inputs), the edits not yet saved, and the title block kept for the next calculation.
#include "calculatorwindow.h"

#include "core/wholefile.h"
#include "gui/resultfield.h"
#include "gui/screenfit.h"
#include "gui/studywindow.h"
#include "report/studychart.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <algorithm>

using subprogram::Field;
using subprogram::Result;
using subprogram::SavedCalculation;

namespace {

const QString kFolderKey = QStringLiteral("files/folder");
const QString kProjectKey = QStringLiteral("report/project");
const QString kDesignerKey = QStringLiteral("report/designer");
const QString kCheckerKey = QStringLiteral("report/checker");

void rememberFolder(const QString& path) {
    QSettings().setValue(kFolderKey, QFileInfo(path).absolutePath());
}

} // namespace

subprogram::TitleBlock CalculatorWindow::lastTitleBlock() {
    const QSettings settings;
    return {settings.value(kProjectKey).toString().toStdString(),
            settings.value(kDesignerKey).toString().toStdString(),
            settings.value(kCheckerKey).toString().toStdString()};
}

void CalculatorWindow::setFile(const QString& path) {
    file_ = QFileInfo(path).absoluteFilePath();
    edited_ = false;
    setWindowTitle(title() + QStringLiteral(" - ") + QFileInfo(file_).fileName() +
                   QStringLiteral("[*]"));
    setWindowModified(false);
    emit fileUsed(file_);
}

bool CalculatorWindow::maySetAside() {
    if (!hasPendingEdits()) {
        return true;
    }
    switch (asker_(
        this,
        QStringLiteral("“%1”有未保存的修改。是否保存到文件？").arg(QFileInfo(file_).fileName()))) {
    case PendingEdits::Save:
        return saveTo(file_);
    case PendingEdits::Discard:
        edited_ = false; // asked once: a close that follows (the program ending) asks no more
        setWindowModified(false);
        return true;
    case PendingEdits::Cancel:
        break;
    }
    return false;
}

void CalculatorWindow::setTitleBlock(const subprogram::TitleBlock& block) {
    if (block == titleBlock_) {
        return;
    }
    titleBlock_ = block;
    QSettings settings; // where the next new calculation starts from
    settings.setValue(kProjectKey, QString::fromStdString(block.project));
    settings.setValue(kDesignerKey, QString::fromStdString(block.designer));
    settings.setValue(kCheckerKey, QString::fromStdString(block.checker));
    noteEdit();
}

SavedCalculation CalculatorWindow::saved() const {
    SavedCalculation s{&calculator_, variant(),   {},          {},
                       {},           timestamp(), titleBlock_, askedStudies_};
    for (const Field& f : calculator_.fields) {
        if (!f.control.empty()) {
            s.inputs.emplace_back(std::string(f.control), controlText(f.control));
        }
    }
    for (const Result& r : calculator_.results) {
        if (r.control.empty()) {
            continue; // beyond the window
        }
        s.results.emplace_back(std::string(r.control), controlText(r.control));
        if (const ResultField* field = resultField(r.control); field && field->stale()) {
            s.stale.emplace_back(r.control);
        }
    }
    return s;
}

bool CalculatorWindow::saveTo(const QString& path) {
    const std::string text = savedCalculationText(saved());
    if (text.size() > kLargestReadFile) { // a file the program would refuse to open
        report(QStringLiteral("无法保存到文件“%1”：计算文件将大于 %2 MiB（有字段的内容过长），"
                              "本程序无法再打开它。原有的文件保持不变。")
                   .arg(QDir::toNativeSeparators(path))
                   .arg(kLargestReadFile >> 20));
        return false;
    }
    if (const auto error = writeWholeFile(QFile::encodeName(path).toStdString(), text)) {
        report(QStringLiteral("无法保存到文件“%1”：%2。原有的文件保持不变。")
                   .arg(QDir::toNativeSeparators(path), fileErrorText(*error)));
        return false;
    }
    rememberFolder(path);
    setFile(path);
    return true;
}

std::optional<SavedCalculation>
CalculatorWindow::readFile(const QString& path, const Reporter& reporter, QWidget* parent) {
    const QString shown = QDir::toNativeSeparators(path);
    std::string content;
    if (const auto error = readWholeFile(QFile::encodeName(path).toStdString(), content, true)) {
        reporter(parent, QStringLiteral("无法打开文件“%1”：%2。窗口内容没有改变。")
                             .arg(shown, fileErrorText(*error)));
        return std::nullopt;
    }
    rememberFolder(path);
    try {
        return subprogram::readSavedCalculation(content);
    } catch (const subprogram::SavedFileError& e) {
        reporter(parent, QStringLiteral("无法打开文件“%1”：%2。窗口内容没有改变。")
                             .arg(shown, QString::fromStdString(e.chinese())));
        return std::nullopt;
    }
}

void CalculatorWindow::openFile(const QString& path) {
    const std::optional<SavedCalculation> s = readFile(path, reporter_, this);
    if (!s) {
        return;
    }
    if (s->calculator == &calculator_) {
        openSaved(*s, path);
    } else if (opener_) {
        opener_(*s, path);
    } else {
        report(QStringLiteral("文件“%1”保存的是“%2”，不能在本窗口打开。")
                   .arg(QDir::toNativeSeparators(path), qstring(s->calculator->title)));
    }
}

bool CalculatorWindow::openSaved(const SavedCalculation& s, const QString& path) {
    if (!maySetAside()) {
        return false;
    }
    load(s);
    setFile(path);
    // the results saved, against those calculated again, once the calculation ended
    calculate([this, results = s.results, stale = s.stale] {
        QStringList changed;
        for (const auto& [control, text] : results) {
            const Result* r = calculator_.result(control);
            const bool shown = r && text != r->defaultText && // one a calculation wrote
                               std::find(stale.begin(), stale.end(), control) == stale.end();
            const std::string now = shown ? lastRecord_.written(calculator_.id(*r)) : std::string();
            if (!now.empty() && now != text) {
                changed << QStringLiteral("%1：保存的 %2，重新计算为 %3")
                               .arg(QString::fromStdString(resultCaption(*r)),
                                    QString::fromStdString(text), QString::fromStdString(now));
            }
        }
        if (!changed.isEmpty()) {
            report(QStringLiteral("文件中保存的结果与按其输入重新计算的结果不同：\n") +
                   changed.join(QLatin1Char('\n')));
        }
    });
    return true;
}

void CalculatorWindow::load(const SavedCalculation& s) {
    setVariant(s.variant);
    titleBlock_ = s.title;
    // the studies of its report, run again as they were asked for
    studies_.clear();
    askedStudies_.clear();
    for (const subprogram::SavedStudy& asked : s.studies) {
        std::vector<std::string> texts;
        for (const Field& f : calculator_.fields) {
            const auto given = std::find_if(asked.inputs.begin(), asked.inputs.end(),
                                            [&](const auto& in) { return in.first == f.name; });
            texts.push_back(given != asked.inputs.end() ? given->second
                                                        : std::string(f.defaultText));
        }
        const std::optional<std::vector<std::string>> values =
            asked.count >= 2 ? subprogram::studyRange(asked.from, asked.to, asked.count)
                             : std::optional(asked.values);
        const Field* field = calculator_.field(asked.field);
        const auto result = std::find_if(calculator_.results.begin(), calculator_.results.end(),
                                         [&](const Result& r) { return r.name == asked.result; });
        if (!values || !field || result == calculator_.results.end()) {
            continue; // a range no double holds, or a result shown only in the window
        }
        subprogram::Study study(calculator_, s.variant, texts, calculator_.id(*field));
        for (const std::string& value : *values) {
            study.add(value);
        }
        const ResultId charted = calculator_.id(*result);
        studies_.push_back(
            studyReportPart(study, charted, texts, asked.least, studyChart(study, charted)));
        askedStudies_.push_back(asked);
    }
    lastContext_.studies = studies_;
    for (const auto& [control, text] : s.inputs) {
        setControlText(control, text);
    }
    for (const Result& r : calculator_.results) {
        if (r.control.empty()) {
            continue; // beyond the window
        }
        const auto saved =
            std::find_if(s.results.begin(), s.results.end(),
                         [&](const auto& result) { return result.first == r.control; });
        setControlText(r.control,
                       saved != s.results.end() ? saved->second : std::string(r.defaultText));
        if (ResultField* f = resultField(r.control)) {
            f->setCalculated(saved != s.results.end());
            f->setStale(std::find(s.stale.begin(), s.stale.end(), r.control) != s.stale.end());
        }
    }
    takeInputsAsCalculated(); // the file's results are of its inputs, but those it names stale
    greyUnused();
    judged_ = !s.results.empty(); // no verdict on results never calculated
    showVerdicts(judged_);
}

void CalculatorWindow::save() {
    if (file_.isEmpty()) {
        saveAs();
    } else {
        saveTo(file_);
    }
}

void CalculatorWindow::saveAs() {
    QString path =
        askFilePath(this, true, QStringLiteral("另存为"),
                    file_.isEmpty() ? QDir(lastFolder()).filePath(title() + ".slope") : file_,
                    QStringLiteral("计算文件 (*.slope)"));
    if (path.isEmpty()) {
        return;
    }
    if (!path.endsWith(QStringLiteral(".slope"))) {
        path += QStringLiteral(".slope");
    }
    saveTo(path);
}

void CalculatorWindow::askAndOpen() {
    const QString path = askFilePath(this, false, QStringLiteral("打开计算"), lastFolder(),
                                     QStringLiteral("计算文件 (*.slope);;所有文件 (*)"));
    if (!path.isEmpty()) {
        openFile(path);
    }
}

QString CalculatorWindow::lastFolder() {
    return QSettings().value(kFolderKey, QDir::homePath()).toString();
}
