#include <QApplication>
#include <QLabel>

#include "app/firstframe.h"

// The floor for start-up time and memory: a Qt Widgets program showing one label.
int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("边坡支护计算程序"));
    exitAfterFirstFrameIfAsked(label);
    label.show();
    return QApplication::exec();
}
