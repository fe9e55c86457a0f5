// The window's earth-pressure distribution: a small drawing of the last calculation's diagram,
// which a click opens large with what the report says under it.
#include "calculatorwindow.h"

#include "gui/sketchpicture.h"

#include <QLabel>

namespace {

// The diagram's shapes alone, framed close, lines about a pixel wide in a box of `box` pixels:
// its labels would be too small to read there.
Sketch thumbnailOf(const Sketch& diagram, QSizeF box) {
    double left = 1e300, top = 1e300, right = -1e300, bottom = -1e300;
    const auto take = [&](double x, double y) {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
    };
    for (const SketchLine& l : diagram.lines) {
        take(l.x1, l.y1), take(l.x2, l.y2);
    }
    for (const SketchArrow& a : diagram.arrows) {
        take(a.x1, a.y1), take(a.x2, a.y2);
    }
    Sketch thumbnail;
    if (right <= left || bottom <= top) {
        return thumbnail;
    }
    const double margin = 0.05 * std::max(right - left, bottom - top);
    const auto moved = [&](double& x, double& y) { x += margin - left, y += margin - top; };
    thumbnail.width = right - left + 2 * margin;
    thumbnail.height = bottom - top + 2 * margin;
    thumbnail.stroke = std::max(thumbnail.width / box.width(), thumbnail.height / box.height());
    thumbnail.lineStroke = thumbnail.stroke * 0.7;
    for (SketchPolygon polygon : diagram.polygons) {
        for (auto& [x, y] : polygon.points) {
            moved(x, y);
        }
        thumbnail.polygons.push_back(std::move(polygon));
    }
    for (SketchLine l : diagram.lines) {
        moved(l.x1, l.y1), moved(l.x2, l.y2);
        thumbnail.lines.push_back(l);
    }
    for (SketchArrow a : diagram.arrows) {
        moved(a.x1, a.y1), moved(a.x2, a.y2);
        thumbnail.arrows.push_back(a);
    }
    return thumbnail;
}

} // namespace

void CalculatorWindow::addPressureDiagram(const Place& caption, const Place& picture) {
    auto* label = new QLabel(QStringLiteral("土压力分布图\n（单击放大）"), this);
    label->setObjectName(QStringLiteral("DiagramLabel"));
    label->setAlignment(Qt::AlignCenter);
    setTwipsGeometry(label, caption.left, caption.top, caption.width, caption.height);
    diagramThumbnail_ = new SketchPicture(this);
    diagramThumbnail_->setObjectName(QStringLiteral("DiagramPicture"));
    diagramThumbnail_->setCursor(Qt::PointingHandCursor);
    setTwipsGeometry(diagramThumbnail_, picture.left, picture.top, picture.width, picture.height);
    connect(diagramThumbnail_, &SketchPicture::clicked, this,
            &CalculatorWindow::showPressureDiagram);
    // a calculation's diagram, when it succeeded and forms one
    connect(this, &CalculatorWindow::calculated, this, [this] {
        lastDiagram_ = lastContext_.diagram;
        lastDiagramNote_ = QString::fromStdString(lastContext_.diagramNote);
        drawPressureDiagram();
    });
    // cleared once the inputs change (see followInputs)
    drawPressureDiagram();
}

void CalculatorWindow::drawPressureDiagram() {
    if (!diagramThumbnail_) {
        return;
    }
    diagramThumbnail_->setSketch(
        lastDiagram_ ? thumbnailOf(*lastDiagram_, diagramThumbnail_->size()) : Sketch{});
    diagramThumbnail_->setToolTip(lastDiagram_ ? QStringLiteral("土压力沿墙高的分布：单击放大")
                                               : QStringLiteral("计算成功后绘出土压力分布图"));
    if (diagramView_) {
        diagramView_->findChild<SketchPicture*>()->setSketch(lastDiagram_.value_or(Sketch{}));
        diagramView_->findChild<QLabel*>()->setText(
            lastDiagram_ ? lastDiagramNote_ : QStringLiteral("输入已改变：请重新计算。"));
    }
}

void CalculatorWindow::showPressureDiagram() {
    if (!lastDiagram_) {
        report(QStringLiteral("尚无土压力分布图：请先按“计算”。"));
        return;
    }
    if (!diagramView_) {
        diagramView_ =
            sketchWindow(this, QStringLiteral("DiagramView"),
                         title() + QStringLiteral(" 土压力分布图"), QSize(560, 600), true);
    }
    drawPressureDiagram();
    diagramView_->show();
    diagramView_->raise();
    diagramView_->activateWindow();
}
