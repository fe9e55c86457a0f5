#pragma once

#include "gui/calculatorwindow.h"

#include <QPointer>

#include <functional>

// The launcher's hold on one calculator window: created on first use, at most one at a time,
// and created afresh after the frame's close control discarded it.
template <typename Window> class WindowSlot {
  public:
    explicit WindowSlot(std::function<Window*()> create) : create_(std::move(create)) {}
    WindowSlot(const WindowSlot&) = delete;
    WindowSlot& operator=(const WindowSlot&) = delete;
    ~WindowSlot() { delete window_.data(); }

    // The window, created if there is none; not shown.
    Window* get() {
        if (!window_ || window_->discarded()) {
            window_ = create_();
        }
        return window_;
    }

    // Shows the window, creating it first if need be; a shown window keeps every field.
    Window* show() {
        Window* window = get();
        window->show();
        window->raise();
        window->activateWindow();
        return window;
    }

    // The current window, or null when there is none.
    Window* existing() const { return window_ && !window_->discarded() ? window_.data() : nullptr; }

  private:
    std::function<Window*()> create_;
    QPointer<Window> window_;
};
