#include "gui/printmodule.h"

#include <QCoreApplication>
#include <QLibrary>

PrintPages* printModule(QString* error) {
    static QLibrary library; // loaded once, and kept for the rest of the program
    static PrintPages* print = nullptr;
    if (print) {
        return print;
    }
    const QString folder = QCoreApplication::applicationDirPath();
    QString reasons;
    for (const QString& path :
         {folder + QStringLiteral("/libslopeprint.so"),
          folder + QStringLiteral("/../" SLOPE_PRINT_MODULE_DIR "/libslopeprint.so")}) {
        library.setFileName(path);
        if (library.load()) {
            print = reinterpret_cast<PrintPages*>(library.resolve("slopePrint"));
            if (print) {
                return print;
            }
        }
        reasons += (reasons.isEmpty() ? QString() : QStringLiteral("; ")) + library.errorString();
    }
    if (error) {
        *error = reasons;
    }
    return nullptr;
}
