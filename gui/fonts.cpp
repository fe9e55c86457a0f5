#include "fonts.h"

#include <QStringList>

QFont applicationFont() {
    QFont font;
    font.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"),
                      QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("AR PL UKai CN")});
    font.setPointSize(9);
    return font;
}
