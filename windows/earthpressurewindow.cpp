#include "earthpressurewindow.h"

#include "gui/formbuilder.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>

using subprogram::EarthPressureMode;

namespace {

// clang-format off
const ControlSpec kControls[] = {
    {Kind::Frame,  "parameter", "参数",      240,  360, 6735, 4095},
    {Kind::Label,  "h",         {},          240,  240, 2280,  255, "parameter", "hx"},
    {Kind::Field,  "hx",        {},         2520,  240,  615,  270, "parameter"},
    {Kind::Label,  "Y",         {},          240,  600, 2280,  255, "parameter", "Yx"},
    {Kind::Field,  "Yx",        {},         2520,  600,  615,  270, "parameter"},
    {Kind::Label,  "Fi",        {},          240,  960, 2280,  255, "parameter", "Fix"},
    {Kind::Field,  "Fix",       {},         2520,  960,  615,  270, "parameter"},
    {Kind::Label,  "Q",         {},          240, 1320, 2280,  255, "parameter", "Qx"},
    {Kind::Field,  "Qx",        {},         2520, 1320,  615,  270, "parameter"},
    {Kind::Label,  "C",         {},          240, 1680, 2280,  255, "parameter", "Cx"},
    {Kind::Field,  "Cx",        {},         2520, 1680,  615,  270, "parameter"},
    {Kind::Label,  "ST",        {},          240, 2040, 2280,  255, "parameter", "STx"},
    {Kind::Field,  "STx",       {},         2520, 2040,  615,  270, "parameter"},
    {Kind::Label,  "B",         {},          240, 2400, 2280,  255, "parameter", "Bx"},
    {Kind::Field,  "Bx",        {},         2520, 2400,  615,  270, "parameter"},
    {Kind::Label,  "a",         {},          240, 2760, 2280,  255, "parameter", "ax"},
    {Kind::Field,  "ax",        {},         2520, 2760,  615,  270, "parameter"},
    {Kind::Label,  "SS",        {},          240, 3120, 2280,  255, "parameter", "SSx"},
    {Kind::Field,  "SSx",       {},         2520, 3120,  615,  270, "parameter"},
    {Kind::Label,  "str",       {},          240, 3480, 2280,  375, "parameter", "strx"},
    {Kind::Field,  "strx",      {},         2520, 3480,  615,  270, "parameter"},
    {Kind::Button, "Command1",  "计算",      960, 4440, 1455,  495},
    {Kind::Button, "Command2",  "退出",     3600, 4440, 1455,  495},
    {Kind::Frame,  "solution",  "计算结果",  240, 4920, 6135, 1335},
    {Kind::Label,  "Ea",        {},          240,  360, 1920,  255, "solution", "Eax"},
    {Kind::Field,  "Eax",       {},         2160,  360,  615,  270, "solution"},
    {Kind::Label,  "Ka",        {},          240,  720, 1920,  255, "solution", "Kax"},
    {Kind::Field,  "Kax",       {},         2160,  720,  615,  270, "solution"},
    {Kind::Label,  "EOi",       {},         2880,  360, 2040,  255, "solution", "E0ix"},
    {Kind::Field,  "E0ix",      {},         4920,  360,  615,  270, "solution"},
    {Kind::Label,  "K0i",       {},         2880,  720, 2040,  255, "solution", "K0ix"},
    {Kind::Field,  "K0ix",      {},         4920,  720,  615,  270, "solution"},
};
// clang-format on

// The twenty controls that a mode enables or disables. The fields h, Y, Fi, Q and their labels
// stay enabled in every mode, Fi also in the limited-fill mode, which does not read it.
struct Enabling {
    const char* name;
    bool coulomb, atRest, limitedFill;
};

// clang-format off
const Enabling kEnabling[] = {
    {"C",   true,  false, true},  {"Cx",   true,  false, true},
    {"ST",  true,  false, true},  {"STx",  true,  false, true},
    {"B",   true,  false, true},  {"Bx",   true,  false, true},
    {"a",   true,  false, true},  {"ax",   true,  false, true},
    {"SS",  true,  false, true},  {"SSx",  true,  false, true},
    {"str", false, false, true},  {"strx", false, false, true},
    {"Ea",  true,  false, true},  {"Eax",  true,  false, true},
    {"Ka",  true,  false, true},  {"Kax",  true,  false, true},
    {"EOi", false, true,  false}, {"E0ix", false, true,  false},
    {"K0i", false, true,  false}, {"K0ix", false, true,  false},
};
// clang-format on

// A line sketch of the wall, the loaded fill and the slip surface. Decoration only: drawn as
// vectors in its own 221 × 237 units, so it stays crisp at any size and device pixel ratio.
class EarthPressureSketch : public QWidget {
  public:
    using QWidget::QWidget;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(rect(), Qt::white);
        p.scale(width() / 221.0, height() / 237.0);
        QPen pen(Qt::black, 1.2);
        pen.setCosmetic(false);
        p.setPen(pen);

        const QPointF toe(38, 205), frontTop(38, 62), backTop(62, 62), heel(84, 205);
        // ground and wall, back leaning into the fill
        p.drawLine(QPointF(8, 205), QPointF(214, 205));
        p.setBrush(QColor(225, 225, 225));
        p.drawPolygon(QPolygonF({toe, frontTop, backTop, heel}));
        p.setBrush(Qt::NoBrush);
        // fill surface rising from the wall top, with its load
        const QPointF surfaceEnd(214, 36);
        p.drawLine(backTop, surfaceEnd);
        const auto surfaceY = [&](double x) {
            return backTop.y() + (x - backTop.x()) * (surfaceEnd.y() - backTop.y()) /
                                     (surfaceEnd.x() - backTop.x());
        };
        for (double x = 92; x <= 206; x += 12) {
            const double y = surfaceY(x);
            p.drawLine(QPointF(x, y - 17), QPointF(x, y - 2));
            p.drawLine(QPointF(x, y - 2), QPointF(x - 2.5, y - 6.5));
            p.drawLine(QPointF(x, y - 2), QPointF(x + 2.5, y - 6.5));
        }
        p.drawLine(QPointF(90, surfaceY(90) - 17), QPointF(208, surfaceY(208) - 17));
        p.drawText(QPointF(140, surfaceY(140) - 21), QStringLiteral("q"));
        // the slip surface at 45 degrees from the heel to the fill surface
        double x = heel.x();
        while (heel.y() - (x - heel.x()) > surfaceY(x)) {
            x += 0.5;
        }
        const QPointF slipTop(x, heel.y() - (x - heel.x()));
        QPen dashed = pen;
        dashed.setStyle(Qt::DashLine);
        p.setPen(dashed);
        p.drawLine(heel, slipTop);
        p.setPen(pen);
        // angle marks: slip surface, wall back, fill surface
        const auto arc = [&](QPointF centre, double radius, double fromDeg, double spanDeg) {
            QPainterPath path;
            const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
            path.arcMoveTo(box, fromDeg);
            path.arcTo(box, fromDeg, spanDeg);
            p.drawPath(path);
        };
        arc(heel, 24, 0, 45);
        p.drawText(QPointF(heel.x() + 26, heel.y() - 8), QStringLiteral("45"));
        const double backAngle =
            180 - qRadiansToDegrees(std::atan2(heel.y() - backTop.y(), heel.x() - backTop.x()));
        arc(heel, 12, backAngle, 180 - backAngle);
        p.drawText(QPointF(heel.x() - 16, heel.y() - 14), QStringLiteral("α"));
        p.drawLine(backTop, QPointF(backTop.x() + 56, backTop.y()));
        const double riseAngle = qRadiansToDegrees(
            std::atan2(backTop.y() - surfaceEnd.y(), surfaceEnd.x() - backTop.x()));
        arc(backTop, 40, 0, riseAngle);
        p.drawText(QPointF(backTop.x() + 44, backTop.y() - 0.5), QStringLiteral("β"));
        // height of the wall
        p.drawLine(QPointF(20, 62), QPointF(20, 205));
        p.drawLine(QPointF(15, 62), QPointF(34, 62));
        p.drawText(QPointF(8, 138), QStringLiteral("H"));
    }
};

} // namespace

EarthPressureWindow::EarthPressureWindow(Reporter reporter)
    : CalculatorWindow(subprogram::kEarthPressure, std::move(reporter)) {
    // the results panel below the original window, the pressure diagram to its right
    setClientTwips(this, 9900, 8580);
    buildControls(this, kControls, &calculator());
    auto* sketch = new EarthPressureSketch(control<QWidget>(this, "parameter"));
    sketch->setObjectName(QStringLiteral("Picture1"));
    setTwipsGeometry(sketch, 3240, 240, 3315, 3555);
    addActions({.report = {5520, 4455, 1455, 450}, // between the frames, beside 退出
                .save = {3960, 30, 900, 300},      // above the parameters
                .open = {4920, 30, 900, 300},
                .copy = {5880, 30, 1095, 300},
                .study = {2760, 30, 1140, 300},
                .results = {120, 6300, 9660, 2160}}); // below the original window
    addPressureDiagram({7380, 120, 2400, 480}, {7380, 660, 2400, 5460});
    control<QLineEdit>(this, "hx")->setFocus();
}

void EarthPressureWindow::openInMode(EarthPressureMode mode) {
    subprogram::earthPressureMode = mode;
    setUpMode(mode);
}

void EarthPressureWindow::setUpMode(EarthPressureMode mode) {
    control<QLabel>(this, "SS")
        ->setText(qstring(mode == EarthPressureMode::LimitedFill
                              ? subprogram::kRockFaceCaption
                              : calculator().fieldOfControl("SSx")->caption));
    show();
    raise();
    activateWindow();
    for (const Enabling& row : kEnabling) {
        const bool enabled = mode == EarthPressureMode::Coulomb  ? row.coulomb
                             : mode == EarthPressureMode::AtRest ? row.atRest
                                                                 : row.limitedFill;
        auto* w = control<QWidget>(this, row.name);
        w->setEnabled(enabled);
        w->setToolTip(enabled ? QString()
                              : qstring(calculator().variant(int(mode)).title) +
                                    QStringLiteral("不用此项"));
    }
    for (const char* name : {"E0ix", "K0ix", "Eax", "Kax"}) {
        setControlText(name, int16ToText(0));
    }
    clearResultMarks();
}

void EarthPressureWindow::setVariant(int mode) {
    openInMode(static_cast<EarthPressureMode>(mode));
}

int EarthPressureWindow::variant() const {
    // the mode of the last launcher button, read at the moment of the click
    return static_cast<int>(subprogram::earthPressureMode);
}
