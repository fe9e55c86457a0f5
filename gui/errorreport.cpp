#include "errorreport.h"

#include <QMessageBox>
#include <QWidget>

void showMessageBox(QWidget* parent, const QString& message) {
    const QString title = parent ? parent->window()->windowTitle() : QString();
    QMessageBox box(QMessageBox::Warning, title, message, QMessageBox::Ok, parent);
    box.exec();
}

QString failureMessage(const CalcError& error, const QString& fieldCaption,
                       const QString& fieldText) {
    QString message =
        QStringLiteral("计算未能完成:%1").arg(QString::fromStdString(kindText(error.kind())));
    if (!fieldCaption.isEmpty()) {
        message += QStringLiteral("\n出错的字段:“%1”,内容:“%2”").arg(fieldCaption, fieldText);
    }
    return message;
}
