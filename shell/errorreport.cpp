#include "errorreport.h"

#include <QMessageBox>
#include <QWidget>

void showMessageBox(QWidget* parent, const QString& message) {
    const QString title = parent ? parent->window()->windowTitle() : QString();
    QMessageBox box(QMessageBox::Warning, title, message, QMessageBox::Ok, parent);
    box.exec();
}

QString kindText(ErrorKind kind) {
    const auto number = QString::number(static_cast<int>(kind));
    switch (kind) {
    case ErrorKind::InvalidArgument:
        return QStringLiteral("无效的参数 (错误 %1)").arg(number);
    case ErrorKind::Overflow:
        return QStringLiteral("溢出 (错误 %1)").arg(number);
    case ErrorKind::SubscriptOutOfRange:
        return QStringLiteral("下标越界 (错误 %1)").arg(number);
    case ErrorKind::DivisionByZero:
        return QStringLiteral("除数为零 (错误 %1)").arg(number);
    case ErrorKind::TypeMismatch:
        return QStringLiteral("类型不匹配 (错误 %1)").arg(number);
    }
    return number;
}

QString failureMessage(const CalcError& error, const QString& fieldCaption,
                       const QString& fieldText) {
    QString message = QStringLiteral("计算未能完成:%1").arg(kindText(error.kind()));
    if (!fieldCaption.isEmpty()) {
        message += QStringLiteral("\n出错的字段:“%1”,内容:“%2”").arg(fieldCaption, fieldText);
    }
    return message;
}
