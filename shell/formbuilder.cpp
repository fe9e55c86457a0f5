#include "formbuilder.h"

#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

namespace {

QWidget* create(const ControlSpec& spec, QWidget* parent) {
    const QString text = QString::fromUtf8(spec.text);
    switch (spec.kind) {
    case Kind::Label: {
        auto* label = new QLabel(text, parent);
        label->setWordWrap(true);
        return label;
    }
    case Kind::Field:
        return new QLineEdit(text, parent);
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
        combo->setEditText(text);
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

void centreOnScreen(QWidget* window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        window->move(area.center() - window->rect().center());
    }
}

void buildControls(QWidget* window, std::span<const ControlSpec> table) {
    for (const ControlSpec& spec : table) {
        QWidget* parent = spec.parent ? control<QWidget>(window, spec.parent) : window;
        QWidget* widget = create(spec, parent);
        widget->setObjectName(QString::fromLatin1(spec.name));
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
