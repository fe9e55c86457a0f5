#include "calculatorwindow.h"

#include "gui/formbuilder.h"
#include "gui/reportwindow.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>

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

CalculatorWindow::CalculatorWindow(const subprogram::Calculator& calculator, Reporter reporter)
    : calculator_(calculator), reporter_(std::move(reporter)) {
    setObjectName(qstring(calculator.window));
    setWindowTitle(qstring(calculator.title));
}

QWidget* CalculatorWindow::field(std::string_view name) const {
    return findChild<QWidget*>(qstring(name));
}

std::string CalculatorWindow::text(std::string_view name) const {
    return fieldText(field(name)).toStdString();
}

void CalculatorWindow::setText(std::string_view name, const std::string& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(field(name))) {
        edit->setText(QString::fromStdString(text));
        edit->setCursorPosition(0); // a long result shows its leading digits
    }
}

int CalculatorWindow::choice(std::string_view name) const {
    const auto* combo = qobject_cast<const QComboBox*>(field(name));
    const int index = combo ? combo->findText(combo->currentText()) : -1;
    if (index >= 0 && combo->itemData(index).isValid()) {
        return combo->itemData(index).toInt();
    }
    const subprogram::Field* f = calculator_.fieldOfControl(name);
    return f ? f->otherChoice : 0;
}

bool CalculatorWindow::holds(std::string_view name) const {
    return field(name) != nullptr;
}

void CalculatorWindow::connectButtons() {
    connect(control<QPushButton>(this, "Command1"), &QPushButton::clicked, this,
            [this] { run([this] { calculate(); }); });
    connect(control<QPushButton>(this, "Command2"), &QPushButton::clicked, this, &QWidget::hide);
}

void CalculatorWindow::run(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const FieldError& error) {
        QWidget* failed = field(error.field());
        if (!failed) { // not a field of the window
            report(failureMessage(error));
            return;
        }
        report(failureMessage(error, captionOf(failed), fieldText(failed)));
        failed->setFocus(Qt::OtherFocusReason);
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
    discarded_ = true;
    event->accept();
    deleteLater();
}

void CalculatorWindow::calculate() {
    const int v = variant();
    lastContext_ = reportContext(calculator_, v, *this);
    lastContext_.timestamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")).toStdString();
    lastDrawing_ = drawing();
    lastContext_.drawing =
        lastDrawing_.isNull()
            ? std::string()
            : QStringLiteral("<img src=\"drawing.png\" width=\"%1\" height=\"%2\">")
                  .arg(lastDrawing_.width() / lastDrawing_.devicePixelRatio())
                  .arg(lastDrawing_.height() / lastDrawing_.devicePixelRatio())
                  .toStdString();
    hasRecord_ = true;
    recordCalculation(*this, lastRecord_, [this, v](Form& form, Trace* trace) {
        calculator_.calculate(v, form, trace);
    });
}

QString CalculatorWindow::reportHtml() const {
    return QString::fromStdString(::reportHtml(lastContext_, lastRecord_));
}

void CalculatorWindow::addReportButton(int left, int top, int width, int height) {
    auto* button = new QPushButton(QStringLiteral("计算书"), this);
    button->setObjectName(QStringLiteral("reportButton"));
    setTwipsGeometry(button, left, top, width, height);
    button->setToolTip(QStringLiteral("上次计算的计算书 (Ctrl+P)"));
    connect(button, &QPushButton::clicked, this, &CalculatorWindow::showReport);
    auto* shortcut = new QShortcut(QKeySequence::Print, this);
    connect(shortcut, &QShortcut::activated, this, &CalculatorWindow::showReport);
}

void CalculatorWindow::showReport() {
    if (!hasRecord_) {
        report(QStringLiteral("尚未计算：请先按“计算”，再生成计算书。"));
        return;
    }
    auto* preview = new ReportWindow(windowTitle() + QStringLiteral(" 计算书"), reportHtml(),
                                     lastDrawing_, reporter_, this);
    preview->show();
}
