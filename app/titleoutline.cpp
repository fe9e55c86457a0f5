#include "titleoutline.h"

QPainterPath TitleOutline::path() const {
    QPainterPath path;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const Element& e = elements[i];
        switch (e.type) {
        case QPainterPath::MoveToElement:
            path.moveTo(e.x, e.y);
            break;
        case QPainterPath::LineToElement:
            path.lineTo(e.x, e.y);
            break;
        case QPainterPath::CurveToElement: // its two control points follow
            path.cubicTo(e.x, e.y, elements[i + 1].x, elements[i + 1].y, elements[i + 2].x,
                         elements[i + 2].y);
            i += 2;
            break;
        default:
            break;
        }
    }
    return path;
}
