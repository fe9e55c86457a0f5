#include "errorreport.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

QString windowCaption(const QWidget* window) {
    return window ? window->windowTitle().remove(QStringLiteral("[*]")) : QString();
}

void showMessageBox(QWidget* parent, const QString& message) {
    QMessageBox box(QMessageBox::Warning, parent ? windowCaption(parent->window()) : QString(),
                    message, QMessageBox::Ok, parent);
    box.exec();
}

PendingEdits askWithBox(QWidget* parent, const QString& question) {
    QMessageBox box(QMessageBox::Question, parent ? windowCaption(parent->window()) : QString(),
                    question, QMessageBox::NoButton, parent);
    QPushButton* save = box.addButton(QStringLiteral("保存"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(QStringLiteral("不保存"), QMessageBox::DestructiveRole);
    box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.exec();
    return box.clickedButton() == save      ? PendingEdits::Save
           : box.clickedButton() == discard ? PendingEdits::Discard
                                            : PendingEdits::Cancel;
}

QString failureMessage(const CalcError& error, const QString& fieldCaption,
                       const QString& fieldText) {
    QString message =
        QStringLiteral("计算未能完成:%1").arg(QString::fromStdString(kindText(error.kind())));
    if (!fieldCaption.isEmpty()) {
        message += QStringLiteral("\n出错的字段:“%1”,内容:“%2”").arg(fieldCaption, fieldText);
    }
    if (!error.reason().empty()) {
        message += QStringLiteral("\n") +
                   QString::fromUtf8(error.reason().data(), qsizetype(error.reason().size()));
    }
    const bool fullWidth = std::any_of(fieldText.begin(), fieldText.end(), [](QChar c) {
        return (c.unicode() >= 0xFF01 && c.unicode() <= 0xFF5E) || c.unicode() == 0x3000 ||
               c.unicode() == 0x3002; // full-width forms, the ideographic space and full stop
    });
    if (fullWidth) {
        message += QStringLiteral("\n请使用半角数字和符号");
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
