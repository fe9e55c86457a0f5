#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

// The program's icon: a gravity retaining wall holding back a slope, the earth pressure on its
// back. One drawing, in a 256-unit square, painted at any size and written as SVG, so that the
// window icon, the installed PNGs and the scalable icon are the same picture.
QImage appIconImage(int size);
QIcon appIcon();
QString appIconSvg();
