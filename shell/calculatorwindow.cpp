#include "calculatorwindow.h"

#include "shell/formbuilder.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

QString fieldText(const QWidget* field) {
    if (const auto* edit = qobject_cast<const QLineEdit*>(field)) {
        return edit->text();
    }
    if (const auto* combo = qobject_cast<const QComboBox*>(field)) {
        return combo->currentText();
    }
    return {};
}

CalculatorWindow::CalculatorWindow(const char* objectName, const QString& caption,
                                   Reporter reporter)
    : reporter_(std::move(reporter)) {
    setObjectName(QString::fromLatin1(objectName));
    setWindowTitle(caption);
}

QWidget* CalculatorWindow::field(std::string_view name) const {
    return control<QWidget>(this, std::string(name).c_str());
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

void CalculatorWindow::connectButtons(std::function<void()> calculate) {
    connect(control<QPushButton>(this, "Command1"), &QPushButton::clicked, this,
            [this, calculate = std::move(calculate)] { run(calculate); });
    connect(control<QPushButton>(this, "Command2"), &QPushButton::clicked, this, &QWidget::hide);
}

void CalculatorWindow::run(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const FieldError& error) {
        QWidget* failed = field(error.field());
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
