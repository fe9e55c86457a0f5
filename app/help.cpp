#include "help.h"

#include "gui/screenfit.h"
#include "report/guide.h"

#include <QMessageBox>
#include <QPointer>
#include <QTextBrowser>

QWidget* showUserGuide() {
    static QPointer<QTextBrowser> guide; // one, closed with the program's last window
    if (!guide) {
        guide = new QTextBrowser;
        guide->setAttribute(Qt::WA_DeleteOnClose);
        guide->setAttribute(Qt::WA_QuitOnClose, false);
        guide->setObjectName(QStringLiteral("userGuide"));
        guide->setWindowTitle(QStringLiteral("边坡支护计算程序 使用说明"));
        guide->setHtml(QString::fromStdString(userGuide(SLOPE_VERSION)));
        fitResizableWindow(guide, QSize(760, 860));
    }
    guide->show();
    guide->raise();
    guide->activateWindow();
    return guide;
}

QString aboutText() {
    return QStringLiteral(
               "边坡支护计算程序 %1\n\n"
               "挡墙土压力、岩石锚杆、重力式挡墙与土压力作用下连续构件的计算。\n\n"
               "版权所有 2026 The slope-support developers\n"
               "本程序为自由软件，按 MIT 许可证（Expat）发布：可自由使用、复制、修改和分发，"
               "但须保留版权声明与许可声明。本程序不提供任何担保；计算结果须由工程师复核。")
        .arg(QStringLiteral(SLOPE_VERSION));
}

void showAbout(QWidget* parent) {
    QMessageBox::about(parent, QStringLiteral("关于"), aboutText());
}
