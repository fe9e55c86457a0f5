#include "wallpressurewindow.h"

#include "calculators/anchoredwall.h"
#include "calculators/wallpressure.h"
#include "gui/formbuilder.h"
#include "gui/groundpanel.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

// clang-format off
constexpr int kRow = 300, kLabelWidth = 2160, kFieldLeft = 2340, kFieldWidth = 3480;
#define WALL_ROW(label, field, row) \
    {Kind::Label, label, {}, 120, 300 + (row) * kRow, kLabelWidth, 255, "Frame1", field}, \
    {Kind::Field, field, {}, kFieldLeft, 285 + (row) * kRow, kFieldWidth, 270, "Frame1"}
const ControlSpec kControls[] = {
    {Kind::Frame,  "Frame1",   "参数输入",                  120,  120, 5940, 3660},
    WALL_ROW("Label1",  "Hx",       0),
    WALL_ROW("Label3",  "qx",       1),
    WALL_ROW("Label4",  "alphax",   2),
    WALL_ROW("Label5",  "betax",    3),
    WALL_ROW("Label6",  "deltax",   4),
    {Kind::Frame,  "Frame2",   "计算结果",                 6240,  120, 3660, 1620},
    {Kind::Label,  "Label12",  {},                          120,  300, 1980,  255, "Frame2", "Eax"},
    {Kind::Field,  "Eax",      {},                         2100,  285, 1440,  270, "Frame2"},
    {Kind::Label,  "Label13",  {},                          120,  630, 1980,  255, "Frame2", "zax"},
    {Kind::Field,  "zax",      {},                         2100,  615, 1440,  270, "Frame2"},
    {Kind::Label,  "Label14",  {},                          120,  960, 1980,  255, "Frame2", "Pwx"},
    {Kind::Field,  "Pwx",      {},                         2100,  945, 1440,  270, "Frame2"},
    {Kind::Label,  "Label15",  {},                          120, 1290, 1980,  255, "Frame2", "zwx"},
    {Kind::Field,  "zwx",      {},                         2100, 1275, 1440,  270, "Frame2"},
    {Kind::Button, "Command1", "计算",                     6240, 1860, 1215,  495},
        {Kind::Button, "Command2", "退出",                     7560, 1860, 1215,  495},
    {Kind::Button, "toWallx",  "土层用于锚杆挡墙",         8400, 2775, 1500,  300},
};
#undef WALL_ROW
// clang-format on

} // namespace

WallPressureWindow::WallPressureWindow(Reporter reporter)
    : CalculatorWindow(subprogram::kWallPressure, std::move(reporter)) {
    setClientTwips(this, 13860, 7020);
    buildControls(this, kControls, &calculator());
    // the ground below the wall's own rows, in the same frame
    buildControls(this,
                  groundRows({.frame = "Frame1",
                              .left = 120,
                              .top = 285 + 5 * kRow,
                              .labelWidth = kFieldLeft - 120,
                              .fieldWidth = kFieldWidth,
                              .pitch = kRow,
                              .tension = true}),
                  &calculator());
    addGroundTables(this, 120, 3900, 5940, 3000);
    addActions({.report = {6240, 2460, 1050, 300},
                .save = {6240, 2775, 1050, 300},
                .open = {7320, 2775, 1050, 300},
                .copy = {7320, 2460, 1050, 300},
                .study = {8400, 2460, 1500, 300},
                .results = {6240, 3180, 3660, 3720}});
    addPressureDiagram({10020, 120, 3720, 480}, {10020, 660, 3720, 6240});
    connect(control<QPushButton>(this, "toWallx"), &QPushButton::clicked, this,
            [this] { run([this] { carryGround(); }); });
    control<QWidget>(this, "Hx")->setFocus();
}

void WallPressureWindow::carryGround() {
    CalculatorWindow* wall = showWindowOf(subprogram::kAnchoredWall);
    if (!wall) {
        return;
    }
    std::string listed;
    for (const subprogram::Field& f : calculator().fields) {
        const std::string text = controlText(f.control);
        wall->typeInput(f.name, text);
        listed += (listed.empty() ? "" : "，") + std::string(f.name) + " = " +
                  (text.empty() ? "（空）" : text);
    }
    wall->typeInput("Eah", ""); // the thrust from the ground, not a typed one
    const std::string said = "墙高、墙背与墙后土层（" + listed + "）";
    noteHandedOn(said + "已用于“锚杆挡墙”窗口。");
    wall->noteReceived("layers", controlText("layersx"),
                       said + "取自“墙后土压力”窗口，E<sub>ah</sub> 由其计算。");
}
