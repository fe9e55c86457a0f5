#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

#include <cstdint>
#include <span>

// The program's icon: a gravity retaining wall holding back a slope, the earth pressure on its
// back. One drawing, in a 256-unit square, painted at any size and written as SVG, so that the
// window icon, the installed PNGs and the scalable icon are the same picture.
QImage appIconImage(int size);
QString appIconSvg();

// The window icon. At the sizes a window manager takes it comes from the drawing as the build
// painted it (drawicons --source), so that showing the first window paints nothing for it (the
// antialiased painting and its code pages were a tenth of the launcher's start-up memory); at
// any other size it is painted when asked for.
QIcon appIcon();

// The icon at one size: ARGB32, premultiplied, row by row. Written by drawicons --source.
struct IconBitmap {
    int size;
    const std::uint32_t* pixels;
};
extern const std::span<const IconBitmap> kIconBitmaps;
