#include "calculatorwindow.h"

#include "shell/formbuilder.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

// A failed read: the error together with the field it came from.
class FieldError : public CalcError {
  public:
    FieldError(const CalcError& error, const QWidget* field) : CalcError(error), field(field) {}
    const QWidget* field;
};

template <typename Conversion> auto readField(const QWidget* field, Conversion convert) {
    try {
        return convert(fieldText(field).toStdString());
    } catch (const CalcError& error) {
        throw FieldError(error, field);
    }
}

} // namespace

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

void CalculatorWindow::connectButtons(std::function<void()> calculate) {
    connect(control<QPushButton>(this, "Command1"), &QPushButton::clicked, this,
            [this, calculate = std::move(calculate)] { run(calculate); });
    connect(control<QPushButton>(this, "Command2"), &QPushButton::clicked, this, &QWidget::hide);
}

void CalculatorWindow::run(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const FieldError& error) {
        QWidget* field = const_cast<QWidget*>(error.field);
        report(failureMessage(error, captionOf(field), fieldText(field)));
        field->setFocus(Qt::OtherFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(field)) {
            edit->selectAll();
        } else if (auto* combo = qobject_cast<QComboBox*>(field); combo && combo->lineEdit()) {
            combo->lineEdit()->selectAll();
        }
    } catch (const CalcError& error) {
        report(failureMessage(error));
    }
}

double CalculatorWindow::readDouble(const QWidget* field) const {
    return readWith(field, [](const std::string& text) { return textToDouble(text); });
}

float CalculatorWindow::readSingle(const QWidget* field) const {
    return readWith(field, [](const std::string& text) { return textToSingle(text); });
}

void CalculatorWindow::failAt(const QWidget* field, const CalcError& error) {
    throw FieldError(error, field);
}

void CalculatorWindow::write(QWidget* field, const std::string& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(field)) {
        edit->setText(QString::fromStdString(text));
        edit->setCursorPosition(0); // a long result shows its leading digits
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
