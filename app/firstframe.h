#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <cstdlib>

// With SLOPE_EXIT_AFTER_FIRST_FRAME set, the program ends as soon as `window` has painted its
// first frame: the start-up benchmark measures a start from exec to that moment.
inline void exitAfterFirstFrameIfAsked(QWidget& window) {
    if (!std::getenv("SLOPE_EXIT_AFTER_FIRST_FRAME")) {
        return;
    }
    struct FirstFrame : QObject {
        using QObject::QObject;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint) {
                QTimer::singleShot(0, qApp, &QCoreApplication::quit);
            }
            return false;
        }
    };
    window.installEventFilter(new FirstFrame(&window));
}
