// The print module, libslopeprint.so: the only code that uses Qt Print Support.
#include "gui/printmodule.h"

#include <QPrintDialog>
#include <QPrinter>

#include <type_traits>

extern "C" Q_DECL_EXPORT int slopePrint(QWidget* parent, PaintPages paint, const void* pages) {
    static_assert(std::is_same_v<decltype(slopePrint), PrintPages>);
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return 0;
    }
    return paint(pages, printer) ? 1 : -1;
}
