#include "calculatorwindow.h"

#include "gui/formbuilder.h"
#include "gui/reportwindow.h"
#include "gui/resultfield.h"
#include "gui/resultspanel.h"
#include "gui/screenfit.h"
#include "gui/studywindow.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>

#include <algorithm>
#include <stdexcept>

using subprogram::Calculator;
using subprogram::Field;
using subprogram::Outcome;
using subprogram::Result;
using subprogram::SavedCalculation;
using subprogram::Verdict;

std::string CalculatorWindow::timestamp() {
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")).toStdString();
}

QString fieldText(const QWidget* field) {
    if (const auto* edit = qobject_cast<const QLineEdit*>(field)) {
        return edit->text();
    }
    if (const auto* combo = qobject_cast<const QComboBox*>(field)) {
        return combo->currentText();
    }
    return {};
}

QImage renderedAt(const QWidget* widget, qreal scale) {
    QImage image(widget->size() * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    const_cast<QWidget*>(widget)->render(&image);
    return image;
}

CalculatorWindow::CalculatorWindow(const Calculator& calculator, Reporter reporter)
    : calculator_(calculator), reporter_(std::move(reporter)) {
    setObjectName(qstring(calculator.window));
    setWindowTitle(title() + QStringLiteral("[*]"));
    titleBlock_ = lastTitleBlock();
}

void CalculatorWindow::noteEdit() {
    edited_ = true;
    setWindowModified(hasPendingEdits());
}

QWidget* CalculatorWindow::field(std::string_view name) const {
    return findChild<QWidget*>(qstring(name));
}

ResultField* CalculatorWindow::resultField(std::string_view name) const {
    return findChild<ResultField*>(qstring(name));
}

FieldId CalculatorWindow::fieldOf(std::string_view control) const {
    const Field* f = calculator_.fieldOfControl(control);
    if (!f) {
        throw std::logic_error("no field of the calculator is shown in " + std::string(control));
    }
    return calculator_.id(*f);
}

std::string CalculatorWindow::controlText(std::string_view name) const {
    return name.empty() ? std::string() : fieldText(field(name)).toStdString();
}

void CalculatorWindow::setControlText(std::string_view name, const std::string& text) {
    QWidget* control = name.empty() ? nullptr : field(name);
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        edit->setText(QString::fromStdString(text));
        edit->setCursorPosition(0); // a long text shows its leading digits
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        combo->setEditText(QString::fromStdString(text));
    }
}

std::string CalculatorWindow::text(FieldId f) const {
    return controlText(calculator_[f].control);
}

void CalculatorWindow::setText(ResultId r, const std::string& text) {
    setControlText(calculator_[r].control, text);
}

int CalculatorWindow::choice(FieldId f) const {
    const std::string_view name = calculator_[f].control;
    const auto* combo = name.empty() ? nullptr : qobject_cast<const QComboBox*>(field(name));
    const int index = combo ? combo->findText(combo->currentText()) : -1;
    if (index >= 0 && combo->itemData(index).isValid()) {
        return combo->itemData(index).toInt();
    }
    // a word of the list in English, or as it once was, as a file or the command line brings it
    const std::string text = controlText(name);
    for (const subprogram::Choice& c : calculator_[f].choices) {
        if (text == c.english || (!c.former.empty() && text == c.former)) {
            return c.value;
        }
    }
    return calculator_[f].otherChoice;
}

bool CalculatorWindow::holds(FieldId f) const {
    return !calculator_[f].control.empty() && field(calculator_[f].control) != nullptr;
}

void CalculatorWindow::showIn(std::optional<int> variant) {
    if (variant) {
        setVariant(*variant);
        greyUnused();
        followInputs();
    }
    show();
    raise();
    activateWindow();
}

void CalculatorWindow::connectButtons() {
    auto* calculateButton = control<QPushButton>(this, "Command1");
    calculateButton->setDefault(true);
    calculateButton->setToolTip(QStringLiteral("计算 (Enter)"));
    connect(calculateButton, &QPushButton::clicked, this, [this] { calculate(); });
    auto* exitButton = control<QPushButton>(this, "Command2");
    exitButton->setToolTip(QStringLiteral("隐藏窗口，所填内容保留 (Esc)"));
    connect(exitButton, &QPushButton::clicked, this, &QWidget::hide);
    // Enter in any field, also in the text of a combo box, presses 计算
    for (QLineEdit* edit : findChildren<QLineEdit*>()) {
        connect(edit, &QLineEdit::returnPressed, calculateButton, &QPushButton::click);
        if (!qobject_cast<ResultField*>(edit)) { // what the user types, not what was calculated
            connect(edit, &QLineEdit::textEdited, this, &CalculatorWindow::noteEdit);
        }
    }
    for (QComboBox* list : findChildren<QComboBox*>()) {
        connect(list, &QComboBox::activated, this, &CalculatorWindow::noteEdit);
    }
    for (QRadioButton* option : findChildren<QRadioButton*>()) {
        connect(option, &QRadioButton::clicked, this, &CalculatorWindow::noteEdit);
        connect(option, &QRadioButton::toggled, this, &CalculatorWindow::followInputs);
        connect(option, &QRadioButton::toggled, this, &CalculatorWindow::greyUnused);
    }
    // whatever changes an input, typed, chosen or set
    for (const Field& f : calculator_.fields) {
        QWidget* control = f.control.empty() ? nullptr : field(f.control);
        if (auto* edit = qobject_cast<QLineEdit*>(control)) {
            connect(edit, &QLineEdit::textChanged, this, &CalculatorWindow::followInputs);
        } else if (auto* list = qobject_cast<QComboBox*>(control)) {
            connect(list, &QComboBox::currentTextChanged, this, &CalculatorWindow::followInputs);
        }
    }
    const auto key = [this](const QKeySequence& keys, auto action) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, action);
    };
    key(QKeySequence(Qt::Key_Escape), &QWidget::hide);
    key(QKeySequence::Print, &CalculatorWindow::showReport);
    key(QKeySequence::Save, &CalculatorWindow::save);
    key(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), &CalculatorWindow::saveAs);
    key(QKeySequence::Open, &CalculatorWindow::askAndOpen);
    key(QKeySequence(Qt::CTRL | Qt::Key_R), &CalculatorWindow::showStudy);
    key(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C),
        [this] { QGuiApplication::clipboard()->setText(resultsTable()); });
}

void CalculatorWindow::addActions(const FreePlaces& places) {
    connectButtons();
    std::pair<Action, Place> buttons[] = {{Action::Report, places.report},
                                          {Action::Save, places.save},
                                          {Action::Open, places.open},
                                          {Action::Copy, places.copy},
                                          {Action::Study, places.study}};
    // made in reading order, which Tab then follows
    std::ranges::sort(buttons, {}, [](const auto& button) {
        return std::pair(button.second.top, button.second.left);
    });
    for (const auto& [action, place] : buttons) {
        addButton(action, place);
    }
    panel_ = new ResultsPanel(calculator_, this);
    setTwipsGeometry(panel_, places.results.left, places.results.top, places.results.width,
                     places.results.height);
    showVerdicts(false);
}

void CalculatorWindow::addButton(Action action, const Place& place) {
    struct Look {
        const char* name;
        const char* text;
        const char* tip;
    };
    static const Look kLooks[] = {
        {"reportButton", "计算书", "上次计算的计算书 (Ctrl+P)"},
        {"saveButton", "保存", "把计算保存到文件 (Ctrl+S)；另存为 (Ctrl+Shift+S)"},
        {"openButton", "打开", "打开保存的计算 (Ctrl+O)"},
        {"copyButton", "复制结果", "把输入与结果复制为表格 (Ctrl+Shift+C)"},
        {"studyButton", "参数分析", "对一个输入取一组值重复计算，列表并绘图 (Ctrl+R)"},
    };
    const Look& look = kLooks[static_cast<int>(action)];
    auto* button = new QPushButton(QString::fromUtf8(look.text), this);
    button->setObjectName(QString::fromLatin1(look.name));
    button->setToolTip(QString::fromUtf8(look.tip));
    setTwipsGeometry(button, place.left, place.top, place.width, place.height);
    connect(button, &QPushButton::clicked, this, [this, action] {
        switch (action) {
        case Action::Report:
            return showReport();
        case Action::Save:
            return save();
        case Action::Open:
            return askAndOpen();
        case Action::Copy:
            return QGuiApplication::clipboard()->setText(resultsTable());
        case Action::Study:
            return showStudy();
        }
    });
}

void CalculatorWindow::run(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const FieldError& error) {
        const std::string_view control = calculator_[error.field()].control;
        QWidget* failed = control.empty() ? nullptr : field(control);
        if (!failed) { // not a field of the window
            report(failureMessage(error));
            return;
        }
        report(failureMessage(error, captionOf(failed), fieldText(failed)));
        failed->setFocus(Qt::OtherFocusReason);
        reveal(failed);
        if (auto* edit = qobject_cast<QLineEdit*>(failed)) {
            edit->selectAll();
        } else if (auto* combo = qobject_cast<QComboBox*>(failed); combo && combo->lineEdit()) {
            combo->lineEdit()->selectAll();
        }
    } catch (const CalcError& error) {
        report(failureMessage(error));
    }
}

void CalculatorWindow::report(const QString& message) {
    reporter_(this, message);
}

void CalculatorWindow::closeEvent(QCloseEvent* event) {
    if (!maySetAside()) {
        event->ignore();
        return;
    }
    discarded_ = true;
    event->accept();
    deleteLater();
}

void CalculatorWindow::setVisible(bool visible) {
    if (visible && !fitted_) {
        fitted_ = true;
        fitFixedWindow(this);
    }
    QWidget::setVisible(visible);
}

void CalculatorWindow::markResults(const CalculationRecord& record) {
    const bool failed = record.failure.has_value();
    for (const Result& r : calculator_.results) {
        ResultField* f = r.control.empty() ? nullptr : resultField(r.control);
        const bool written =
            std::any_of(record.writes.begin(), record.writes.end(),
                        [&](const auto& write) { return write.first == calculator_.id(r); });
        if (f && written) {
            f->setCalculated(true);
        } else if (f && !r.absent.empty() && !failed) { // none formed, and why: not an old value
            f->setText(qstring(r.absent));
            f->setCalculated(true);
        } else if (f && r.beyond && !failed) { // it could not be formed: empty, not an old value
            f->clear();
            f->setCalculated(false);
        }
        if (f) {
            f->setStale(!written && failed && f->calculated());
        }
    }
    judged_ = !failed;
    showVerdicts(judged_);
}

void CalculatorWindow::clearResultMarks() {
    for (ResultField* f : findChildren<ResultField*>()) {
        f->setCalculated(false);
        f->setStale(false);
    }
    judged_ = false;
    showVerdicts(false);
}

void CalculatorWindow::showVerdicts(bool shown) {
    // the results a calculation wrote, as the fields show them (none that an earlier one left),
    // and those it formed for its checks alone, as it wrote them
    const auto written = subprogram::WrittenTexts([&](ResultId r) {
        const std::string_view control = calculator_[r].control;
        if (control.empty()) {
            return hasRecord_ ? lastRecord_.written(r) : std::string();
        }
        const ResultField* result = resultField(control);
        return result && result->calculated() && !result->stale() ? result->text().toStdString()
                                                                  : std::string();
    });
    verdicts_ = shown ? subprogram::judge(calculator_, variant(), *this, written)
                      : std::vector<subprogram::Judgement>();
    if (panel_) {
        std::vector<ResultsPanel::Row> rows;
        for (const Result& r : calculator_.results) {
            const ResultId id = calculator_.id(r);
            if (r.hidden || !calculator_.writes(calculator_.variant(variant()), id)) {
                continue;
            }
            if (!r.control.empty()) {
                const ResultField* f = resultField(r.control);
                rows.push_back({id, controlText(r.control), f && f->stale()});
            } else if (const std::string text = hasRecord_ ? lastRecord_.written(id) : "";
                       !text.empty()) { // beyond the window: what the last calculation wrote
                rows.push_back({id, text, outdated_});
            }
        }
        panel_->show(rows, verdicts_);
    }
    if (auto* warnings = findChild<QLabel*>(QStringLiteral("warnings"))) {
        QStringList lines;
        if (shown && calculator_.warnings) {
            for (const std::string& w : calculator_.warnings(variant(), *this, written)) {
                lines << QString::fromStdString(w);
            }
        }
        warnings->setText(lines.join(QLatin1Char('\n')));
    }
}

void CalculatorWindow::noteHandedOn(std::string html) {
    if (std::ranges::find(lastContext_.handOvers, html) == lastContext_.handOvers.end()) {
        lastContext_.handOvers.push_back(std::move(html)); // once, however often it is handed
    }
}

void CalculatorWindow::noteReceived(std::string_view field, std::string value, std::string html) {
    const subprogram::Field* f = calculator_.field(field);
    if (!f) {
        return;
    }
    const std::string control(subprogram::Calculator::place(*f));
    std::erase_if(received_, [&](const Received& r) { return r.control == control; });
    received_.push_back({control, std::move(value), std::move(html)});
}

QString CalculatorWindow::reportHtml() const {
    return QString::fromStdString(::reportHtml(lastContext_, lastRecord_));
}

const ReportContext& CalculatorWindow::reportContext() const {
    return lastContext_;
}

void CalculatorWindow::showReport() {
    if (!hasRecord_) {
        report(QStringLiteral("尚未计算：请先按“计算”，再生成计算书。"));
        return;
    }
    ReportContext context = lastContext_;
    context.project = titleBlock_.project;
    context.designer = titleBlock_.designer;
    context.checker = titleBlock_.checker;
    auto* preview = new ReportWindow(title() + QStringLiteral(" 计算书"), std::move(context),
                                     lastRecord_, lastDrawing_, reporter_, this);
    if (outdated_) {
        preview->setOutdated();
    }
    preview->onNamesChanged([this](const subprogram::TitleBlock& block) { setTitleBlock(block); });
    preview->show();
}

std::vector<std::string> CalculatorWindow::studyTexts() const {
    std::vector<std::string> texts;
    for (const Field& f : calculator_.fields) {
        texts.push_back(f.control.empty() ? std::string(f.defaultText) : controlText(f.control));
    }
    return texts;
}

void CalculatorWindow::showStudy() {
    std::vector<std::string> texts = studyTexts();
    if (auto* open = findChild<StudyWindow*>(QString(), Qt::FindDirectChildrenOnly)) {
        open->setTexts(std::move(texts)); // the next study takes the inputs as they stand
        open->show(); // one study window a calculator window: to the front, not another
        open->raise();
        open->activateWindow();
        return;
    }
    auto* study = new StudyWindow(
        calculator_, variant(), std::move(texts), reporter_,
        [this](ReportContext::StudyPart part, subprogram::SavedStudy asked) {
            studies_.push_back(part);
            lastContext_.studies.push_back(std::move(part));
            askedStudies_.push_back(std::move(asked));
            noteEdit(); // the calculation's report changed: saved with it
        },
        this);
    study->setAttribute(Qt::WA_DeleteOnClose);
    study->show();
}

std::string CalculatorWindow::writtenResult(std::string_view name) const {
    for (const Result& r : calculator_.results) {
        if (r.name == name) {
            return lastRecord_.written(calculator_.id(r));
        }
    }
    return {};
}

QString CalculatorWindow::resultsTable() const {
    QString table =
        QStringLiteral("计算内容\t%1：%2\n")
            .arg(title(), QString::fromStdString(
                              ::reportContext(calculator_, variant(), *this).description));
    for (const Field& f : calculator_.fields) {
        if (!f.control.empty()) {
            table += QStringLiteral("%1\t%2\t%3\n")
                         .arg(QString::fromStdString(fieldCaption(f)),
                              QString::fromStdString(controlText(f.control)), qstring(f.unit));
        }
    }
    if (outdated_) { // no result belongs to these inputs
        return table + QStringLiteral("结果已过期\t输入在计算后已改变，请重新计算\n");
    }
    for (const Result& r : calculator_.results) {
        if (!r.control.empty()) {
            const ResultField* f = resultField(r.control);
            table += QStringLiteral("%1\t%2\t%3\n")
                         .arg(QString::fromStdString(resultCaption(r)),
                              f && f->stale() ? QStringLiteral("（已过期）")
                                              : QString::fromStdString(controlText(r.control)),
                              qstring(r.unit));
        }
    }
    for (std::size_t i = 0; i < verdicts_.size(); ++i) {
        const Verdict& v = calculator_.verdicts[i];
        if (verdicts_[i].outcome == subprogram::Outcome::Absent) {
            continue;
        }
        table += QStringLiteral("%1验算\t%2\n")
                     .arg(qstring(v.what), QString::fromStdString(verdictText(v, verdicts_[i])));
    }
    return table;
}
