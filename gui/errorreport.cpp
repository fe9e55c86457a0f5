#include "errorreport.h"

#include <cerrno>
#include <cstring>

#include <QDir>
#include <QFile>
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

QString fileErrorText(const FileError& error) {
    switch (error.kind) {
    case FileError::Kind::NotRegular:
        return QStringLiteral("不是普通文件（可能是命名管道或设备），不能打开");
    case FileError::Kind::TooLarge:
        return QStringLiteral("文件大于 %1 MiB，不是本程序保存的计算文件")
            .arg(kLargestReadFile >> 20);
    case FileError::Kind::System:
        break;
    }
    QString reason;
    switch (error.code) {
    case ENOENT:
        reason = QStringLiteral("文件或文件夹不存在");
        break;
    case EACCES:
    case EPERM:
        reason = QStringLiteral("没有权限");
        break;
    case ENOSPC:
        reason = QStringLiteral("磁盘已满");
        break;
    case EDQUOT:
        reason = QStringLiteral("超出磁盘配额");
        break;
    case EROFS:
        reason = QStringLiteral("文件系统是只读的");
        break;
    case EISDIR:
        reason = QStringLiteral("这是一个文件夹");
        break;
    case ENAMETOOLONG:
        reason = QStringLiteral("文件名太长");
        break;
    case EFBIG:
        reason = QStringLiteral("文件太大（超出了允许的文件大小）");
        break;
    case EIO:
        reason = QStringLiteral("输入输出错误");
        break;
    default:
        reason = QString::fromLocal8Bit(std::strerror(error.code));
    }
    if (error.folder.empty()) {
        return reason;
    }
    return QStringLiteral("无法在文件夹“%1”中新建文件：%2")
        .arg(QDir::toNativeSeparators(QFile::decodeName(error.folder.c_str())), reason);
}
