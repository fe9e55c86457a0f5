#pragma once

#include "calculators/calculator.h"

#include <QWidget>

#include <span>
#include <string_view>

// Window layouts are written as tables in twips (1/1440 inch), left, top, width, height, as the
// engineers who drew these windows measured them. 15 twips make one device-independent pixel;
// Qt scales pixels for high-DPI screens.
constexpr int kTwipsPerPixel = 15;

inline int px(int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

enum class Kind { Label, Field, Button, Frame, Option, Combo };

struct ControlSpec {
    Kind kind;
    const char* name; // objectName
    // The caption or default text. Left empty for a calculator's field or result, and for the
    // label that names one: they take their text, and a combo box its list, from the calculator.
    std::string_view text;
    int left, top, width, height;
    const char* parent = nullptr; // a frame's name; positions are then relative to the frame
    const char* buddy = nullptr;  // for a label: the field it names
    bool visible = true;
};

// Creates the controls of a table on a window, in table order (which is also the tab order).
void buildControls(QWidget* window, std::span<const ControlSpec> table,
                   const subprogram::Calculator* calculator = nullptr);

void setTwipsGeometry(QWidget* widget, int left, int top, int width, int height);

// Sets the client area of a top-level window, which keeps that size.
void setClientTwips(QWidget* window, int width, int height);

// A control of the window by objectName; a missing name is a programming error.
template <typename T> T* control(const QWidget* window, const char* name) {
    T* found = window->findChild<T*>(QString::fromLatin1(name));
    Q_ASSERT_X(found, "control", name);
    return found;
}

// The caption of the label whose buddy is `field`, without a trailing colon; empty if none.
QString captionOf(const QWidget* field);

inline QString qstring(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
