#include "antislidepilewindow.h"

#include "calculators/antislidepile.h"
#include "gui/formbuilder.h"
#include "gui/listtable.h"
#include "gui/sketchpicture.h"

#include <QLineEdit>

namespace {

// clang-format off
constexpr int kRow = 300, kLabel = 2760, kField = 1560;
#define PILE_ROW(frame, label, field, row) \
    {Kind::Label, label, {}, 120, 300 + (row) * kRow, kLabel, 255, frame, field}, \
    {Kind::Field, field, {}, 120 + kLabel, 285 + (row) * kRow, kField, 270, frame}
#define PILE_LIST(frame, label, field, row) \
    {Kind::Label, label, {}, 120, 300 + (row) * kRow, kLabel, 255, frame, field}, \
    {Kind::Combo, field, {}, 120 + kLabel, 270 + (row) * kRow, kField, 300, frame}
const ControlSpec kControls[] = {
    {Kind::Frame, "Frame1", "滑坡推力", 120, 120, 4620, 2100},
    PILE_ROW("Frame1", "Label1", "thrustx", 0),
    PILE_ROW("Frame1", "Label2", "Epx", 1),
    PILE_ROW("Frame1", "Label3", "sx", 2),
    PILE_ROW("Frame1", "Label4", "h1x", 3),
    PILE_LIST("Frame1", "Label5", "shapex", 4),
    PILE_ROW("Frame1", "Label6", "ratiox", 5),
    {Kind::Frame, "Frame2", "桩身", 120, 2340, 4620, 2400},
    PILE_LIST("Frame2", "Label11", "sectionx", 0),
    PILE_ROW("Frame2", "Label12", "bx", 1),
    PILE_ROW("Frame2", "Label13", "ax", 2),
    PILE_ROW("Frame2", "Label14", "dx", 3),
    PILE_LIST("Frame2", "Label15", "concretex", 4),
    PILE_ROW("Frame2", "Label16", "EIx", 5),
    PILE_ROW("Frame2", "Label17", "Bpx", 6),
    {Kind::Frame, "Frame3", "滑面以下地基", 4860, 120, 4620, 2100},
    PILE_ROW("Frame3", "Label21", "h2x", 0),
    PILE_LIST("Frame3", "Label22", "methodx", 1),
    PILE_ROW("Frame3", "Label23", "stratax", 2),
    PILE_LIST("Frame3", "Label24", "footx", 3),
    PILE_ROW("Frame3", "Label25", "ylimitx", 4),
    {Kind::Frame, "Frame4", "桩截面配筋（GB 50010-2010）", 120, 4860, 4620, 1800},
    PILE_LIST("Frame4", "Label31", "gradex", 0),
    PILE_ROW("Frame4", "Label32", "gamma0x", 1),
    PILE_ROW("Frame4", "Label33", "gammaFx", 2),
    PILE_ROW("Frame4", "Label34", "pilefyx", 3),
    PILE_ROW("Frame4", "Label35", "asx", 4),
    {Kind::Button, "Command1", "计算", 4860, 5280, 1215, 495},
    {Kind::Button, "Command2", "退出", 6180, 5280, 1215, 495},
};
#undef PILE_ROW
#undef PILE_LIST
// clang-format on

} // namespace

AntiSlidePileWindow::AntiSlidePileWindow(Reporter reporter)
    : CalculatorWindow(subprogram::kAntiSlidePile, std::move(reporter)) {
    setClientTwips(this, 14520, 6900);
    buildControls(this, kControls, &calculator());
    // the strata as a table, kept in step with their field
    auto* strata =
        new ListTable(this,
                      {QStringLiteral("厚度\n(m)"), QStringLiteral("m或K\n(kN/m⁴, kN/m³)"),
                       QStringLiteral("横向容许应力\n(kPa)")},
                      {control<QLineEdit>(this, "stratax")}, 20);
    strata->setObjectName(QStringLiteral("stratatablex"));
    setTwipsGeometry(strata, 4860, 2340, 4620, 2400);
    picture_ = new SketchPicture(this);
    picture_->setObjectName(QStringLiteral("pilex"));
    setTwipsGeometry(picture_, 9600, 120, 4800, 3480);
    picture_->setToolTip(
        QStringLiteral("桩身的荷载、位移、弯矩、剪力与地基横向压应力（按输入计算绘制）"));
    control<QLineEdit>(this, "EIx")->setPlaceholderText(QStringLiteral("0.85EcI"));
    control<QLineEdit>(this, "Bpx")->setPlaceholderText(QStringLiteral("按桩宽"));
    control<QLineEdit>(this, "ylimitx")->setPlaceholderText(QStringLiteral("不验算"));
    control<QLineEdit>(this, "gamma0x")->setPlaceholderText(QStringLiteral("按安全等级"));
    connect(this, &CalculatorWindow::calculated, this, [this] { redraw(); });
    addActions({.report = {4860, 5880, 1050, 300},
                .save = {5940, 5880, 1050, 300},
                .open = {7020, 5880, 1050, 300},
                .copy = {8100, 5880, 1380, 300},
                .study = {9600, 3660, 4800, 300},
                .results = {9600, 4020, 4800, 2760}});
    redraw();
    control<QWidget>(this, "thrustx")->setFocus();
}

void AntiSlidePileWindow::redraw() {
    Sketch sketch;
    picture_->setSketch(
        calculator().sketch(0, *this, CalculationRecord{}, sketch).empty() ? sketch : Sketch{});
}
