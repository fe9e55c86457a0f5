#include "screenfit.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QTreeView>
#include <QVBoxLayout>
#include <QWidget>

namespace {

QRect available(const QWidget* window) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1366, 768);
}

// Within the screen's available area with its frame, centred where it can be, its top left
// corner never off it. A window's position is its frame's.
void place(QWidget* window) {
    const QRect area = available(window);
    const QSize framed = window->size() + kFrameAllowance;
    const QPoint centred = area.center() - QPoint(framed.width() / 2, framed.height() / 2);
    window->move(std::max(area.left(), centred.x()), std::max(area.top(), centred.y()));
}

} // namespace

void reveal(QWidget* control) {
    for (QWidget* w = control ? control->parentWidget() : nullptr; w; w = w->parentWidget()) {
        if (auto* scroll = qobject_cast<QScrollArea*>(w);
            scroll && scroll->objectName() == QLatin1String("fitScroll")) {
            scroll->ensureWidgetVisible(control);
            return;
        }
    }
}

QRect clientRoom(const QWidget* window) {
    const QRect area = available(window);
    return QRect(area.left() + kFrameAllowance.width() / 2,
                 area.top() + kFrameAllowance.height() - kFrameAllowance.width() / 2,
                 area.width() - kFrameAllowance.width(), area.height() - kFrameAllowance.height());
}

void fitFixedWindow(QWidget* window) {
    const QRect room = clientRoom(window);
    const QSize needed = window->size();
    if (needed.width() > room.width() || needed.height() > room.height()) {
        // the order of the focus, which moving a control to another parent would change
        QList<QWidget*> focusOrder;
        for (QWidget* w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain()) {
            focusOrder << w;
        }
        QWidget* focused = window->focusWidget();
        auto* page = new QWidget;
        page->setObjectName(QStringLiteral("page"));
        page->setFixedSize(needed);
        for (QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (child->isWindow()) {
                continue;
            }
            const bool hidden = child->testAttribute(Qt::WA_WState_ExplicitShowHide) &&
                                child->testAttribute(Qt::WA_WState_Hidden);
            const QRect geometry = child->geometry();
            child->setParent(page);
            child->setGeometry(geometry);
            child->setVisible(!hidden);
        }
        for (qsizetype i = 1; i < focusOrder.size(); ++i) {
            QWidget::setTabOrder(focusOrder[i - 1], focusOrder[i]);
        }

        auto* scroll = new QScrollArea;
        scroll->setObjectName(QStringLiteral("fitScroll"));
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidget(page);
        auto* layout = new QVBoxLayout(window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(scroll);
        if (focused) {
            focused->setFocus();
        }
        // the scroll bars come out of the room, not out of the page
        const int bar = scroll->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        const bool across = needed.width() > room.width();
        const bool down = needed.height() > room.height();
        window->setFixedSize(std::min(needed.width() + (down ? bar : 0), room.width()),
                             std::min(needed.height() + (across ? bar : 0), room.height()));
    }
    place(window);
}

void fitResizableWindow(QWidget* window, QSize wanted) {
    const QRect room = clientRoom(window);
    window->resize(wanted.boundedTo(room.size()));
    place(window);
}

QString askFilePath(QWidget* parent, bool saving, const QString& title, const QString& start,
                    const QString& filter) {
    QFileDialog dialog(parent, title, start, filter);
    dialog.setObjectName(QStringLiteral("fileDialog"));
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setViewMode(QFileDialog::Detail);
    const QSize wanted = QSize(860, 520).boundedTo(clientRoom(&dialog).size());
    dialog.setMinimumSize(wanted); // it would take a size of its own when shown
    fitResizableWindow(&dialog, wanted);
    // once the folder is listed: every column as wide as its widest entry
    const auto sizeColumns = [&dialog] {
        for (QTreeView* view : dialog.findChildren<QTreeView*>()) {
            view->header()->resizeSections(QHeaderView::ResizeToContents);
        }
    };
    if (auto* files = dialog.findChild<QFileSystemModel*>()) {
        QObject::connect(files, &QFileSystemModel::directoryLoaded, &dialog, sizeColumns);
    }
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
               ? dialog.selectedFiles().front()
               : QString();
}
