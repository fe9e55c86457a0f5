#include "app/appicon.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

namespace {

// The icon at `size`: the build's bitmap where there is one, painted otherwise.
QImage iconImage(int size) {
    for (const IconBitmap& bitmap : kIconBitmaps) {
        if (bitmap.size == size) {
            return QImage(reinterpret_cast<const uchar*>(bitmap.pixels), size, size, size * 4,
                          QImage::Format_ARGB32_Premultiplied);
        }
    }
    return appIconImage(size);
}

// Gives the icon at the size asked for, when it is asked for: nothing is made for a window that
// never shows its icon.
class DrawnIcon : public QIconEngine {
  public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override {
        painter->drawImage(rect, iconImage(std::min(rect.width(), rect.height())));
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
        return QPixmap::fromImage(iconImage(std::min(size.width(), size.height())));
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (const IconBitmap& bitmap : kIconBitmaps) {
            sizes.append(QSize(bitmap.size, bitmap.size));
        }
        return sizes;
    }
    QIconEngine* clone() const override { return new DrawnIcon; }
};

} // namespace

QIcon appIcon() {
    return QIcon(new DrawnIcon);
}
