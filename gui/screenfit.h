#pragma once

#include <QRect>
#include <QSize>

class QWidget;

// What a window's frame takes beyond its client area, at most, on the desktops the program runs
// on: the borders and the title bar. A window is fitted so that its client area plus this fits.
inline constexpr QSize kFrameAllowance{16, 40};

// Where a window may lie on its screen (the primary one before it is shown): the screen's
// available area, less the frame's allowance.
QRect clientRoom(const QWidget* window);

// Fits a window of fixed size to its screen before it is first shown: when its client area does
// not fit, its controls move, each in its place, onto a page in a scroll area of the size that
// fits. Either way the window is placed within the screen's available area.
void fitFixedWindow(QWidget* window);

// A window that lays itself out: `wanted` where it fits, else what fits, placed within the
// screen's available area.
void fitResizableWindow(QWidget* window, QSize wanted);

// Scrolls a fitted window's page (see fitFixedWindow) so that `control` is in view: a control a
// message speaks of is where the user can see it.
void reveal(QWidget* control);

// The file dialog of a save (`saving`) or an open, in the details view: wide enough for its
// columns' Chinese headings and whole sizes and dates (as wide as the screen allows), the columns
// sized to what they hold. The path chosen, or empty when cancelled.
QString askFilePath(QWidget* parent, bool saving, const QString& title, const QString& start,
                    const QString& filter);
