#include "resultfield.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

namespace {

const QString kEllipsis = QStringLiteral("…");

} // namespace

ResultField::ResultField(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textChanged, this, &ResultField::updateLook);
}

void ResultField::setCalculated(bool calculated) {
    calculated_ = calculated;
}

void ResultField::setStale(bool stale) {
    stale_ = stale;
    updateLook();
}

void ResultField::setOutdated(bool outdated) {
    outdated_ = outdated;
    updateLook();
}

void ResultField::updateLook() {
    QPalette colours = palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        colours.setColor(group, QPalette::Text,
                         stale() ? QColor(Qt::gray) : QPalette().color(group, QPalette::Text));
    }
    setPalette(colours);
    setToolTip(outdated_ ? QStringLiteral("输入已改变，此为按原来的输入计算的结果：%1").arg(text())
               : stale_ ? QStringLiteral("上一次计算的结果（其后的计算未能完成）：%1").arg(text())
                        : text());
}

QString ResultField::shownText() const {
    QStyleOptionFrame option;
    initStyleOption(&option);
    const int width =
        style()->subElementRect(QStyle::SE_LineEditContents, &option, this).width() - 4;
    const QFontMetrics metrics = fontMetrics();
    const QString whole = text();
    if (metrics.horizontalAdvance(whole) <= width) {
        return whole;
    }
    const qsizetype e = whole.indexOf(u'E');
    const QString tail = e < 0 ? kEllipsis : kEllipsis + whole.mid(e);
    QString head = e < 0 ? whole : whole.left(e);
    while (head.size() > 1 && metrics.horizontalAdvance(head + tail) > width) {
        head.chop(1);
    }
    return head + tail;
}

void ResultField::paintEvent(QPaintEvent* event) {
    const QString shown = shownText();
    if (hasFocus() || shown == text()) {
        QLineEdit::paintEvent(event);
        return;
    }
    QPainter painter(this);
    QStyleOptionFrame option;
    initStyleOption(&option);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, this);
    const QRect contents =
        style()->subElementRect(QStyle::SE_LineEditContents, &option, this).adjusted(2, 0, -2, 0);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    painter.drawText(contents, Qt::AlignLeft | Qt::AlignVCenter, shown);
}
