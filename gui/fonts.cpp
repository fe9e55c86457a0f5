#include "fonts.h"

#include <QFontDatabase>
#include <QStringList>

QFont applicationFont() {
    // The first of these faces that is installed, and only that one: Qt would take the same from
    // the whole list, but a face that is missing costs the start-up a search of every font for a
    // substitute, and one more behind the first is opened as a fallback at once.
    const QStringList installed = QFontDatabase::families();
    QFont font;
    for (const QString& family :
         {QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("WenQuanYi Micro Hei"),
          QStringLiteral("AR PL UKai CN")}) {
        if (installed.contains(family, Qt::CaseInsensitive)) {
            font.setFamily(family);
            break;
        }
    }
    font.setPointSize(9);
    return font;
}
