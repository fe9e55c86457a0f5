#include "formbuilder.h"

#include "gui/resultfield.h"

#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include <limits>

using subprogram::Calculator;
using subprogram::Choice;
using subprogram::Field;
using subprogram::Result;

namespace {

// The text of a control whose table leaves it to the calculator.
std::string_view describedText(const ControlSpec& spec, const Calculator& calculator) {
    const std::string_view name = spec.kind == Kind::Label && spec.buddy ? spec.buddy : spec.name;
    if (const Field* f = calculator.fieldOfControl(name)) {
        return spec.kind == Kind::Label ? f->caption : f->defaultText;
    }
    if (const Result* r = calculator.result(name)) {
        return spec.kind == Kind::Label ? r->caption : r->defaultText;
    }
    return {};
}

void fillList(QComboBox* combo, const Field& field) {
    for (const std::string_view item : field.items) {
        combo->addItem(qstring(item));
    }
    for (const Choice& c : field.choices) {
        combo->addItem(qstring(c.text), c.value);
    }
}

// A field takes any text, never the first 32767 characters of one (Qt's own limit): a text
// pasted or opened is never cut without a word. (A file that long is refused when it is saved.)
constexpr int kLongestText = std::numeric_limits<int>::max();

QWidget* create(const ControlSpec& spec, const QString& text, QWidget* parent, bool result) {
    switch (spec.kind) {
    case Kind::Label: {
        auto* label = new QLabel(text, parent);
        label->setWordWrap(true);
        return label;
    }
    case Kind::Field: {
        auto* edit = result ? new ResultField(parent) : new QLineEdit(parent);
        edit->setMaxLength(kLongestText);
        edit->setText(text);
        return edit;
    }
    case Kind::Button:
        return new QPushButton(text, parent);
    case Kind::Frame:
        return new QGroupBox(text, parent);
    case Kind::Option:
        return new QRadioButton(text, parent);
    case Kind::Combo: {
        auto* combo = new QComboBox(parent);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->lineEdit()->setMaxLength(kLongestText);
        return combo;
    }
    }
    return nullptr;
}

} // namespace

void setTwipsGeometry(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(px(left), px(top), px(width), px(height));
}

void setClientTwips(QWidget* window, int width, int height) {
    window->setFixedSize(px(width), px(height));
}

void buildControls(QWidget* window, std::span<const ControlSpec> table,
                   const Calculator* calculator) {
    for (const ControlSpec& spec : table) {
        QWidget* parent = spec.parent ? control<QWidget>(window, spec.parent) : window;
        const std::string_view text =
            spec.text.empty() && calculator ? describedText(spec, *calculator) : spec.text;
        const bool result = calculator && calculator->result(spec.name);
        QWidget* widget = create(spec, qstring(text), parent, result);
        widget->setObjectName(QString::fromLatin1(spec.name));
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            if (const Field* f = calculator ? calculator->fieldOfControl(spec.name) : nullptr) {
                fillList(combo, *f);
            }
            const int index = combo->findText(qstring(text));
            combo->setCurrentIndex(index);
            combo->setEditText(qstring(text));
        }
        setTwipsGeometry(widget, spec.left, spec.top, spec.width, spec.height);
        widget->setVisible(spec.visible);
    }
    // Buddies after all controls exist: a label may come before its field in the table.
    for (const ControlSpec& spec : table) {
        if (spec.buddy) {
            control<QLabel>(window, spec.name)->setBuddy(control<QWidget>(window, spec.buddy));
        }
    }
}

QString captionOf(const QWidget* field) {
    for (const QLabel* label : field->window()->findChildren<QLabel*>()) {
        if (label->buddy() == field) {
            QString caption = label->text().trimmed();
            while (caption.endsWith(u':') || caption.endsWith(u'：')) {
                caption.chop(1);
            }
            return caption;
        }
    }
    return {};
}
