#pragma once

#include <QString>

class QPagedPaintDevice;
class QWidget;

// Printing lives in a module of its own, libslopeprint.so, loaded when the user first prints:
// Qt Print Support is then not loaded with the program, which starts in less memory.

// Paints every page of `pages` onto the device; false when the device cannot be painted.
using PaintPages = bool (*)(const void* pages, QPagedPaintDevice& device);

// The module's one function, "slopePrint": asks for a printer in Qt's print dialog over `parent`
// and paints the pages onto it. 1 printed, 0 cancelled, -1 the printer could not be painted.
extern "C" {
using PrintPages = int(QWidget* parent, PaintPages paint, const void* pages);
}

// The module's function, loaded on first use from beside the program (the build folder) or from
// ../lib/<multiarch>/slope-support (installed); null when it cannot be loaded, with the reasons
// in `error`.
PrintPages* printModule(QString* error = nullptr);
