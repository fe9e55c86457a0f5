#include "anchoredwallwindow.h"

#include "calculators/anchorbar.h"
#include "calculators/anchoredwall.h"
#include "core/numerictext.h"
#include "gui/formbuilder.h"
#include "gui/groundpanel.h"
#include "gui/listtable.h"
#include "gui/sketchpicture.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

namespace {

// clang-format off
constexpr int kRow = 300, kLabel = 2760, kField = 1560;
#define WALL_ROW(frame, label, field, row) \
    {Kind::Label, label, {}, 120, 300 + (row) * kRow, kLabel, 255, frame, field}, \
    {Kind::Field, field, {}, 120 + kLabel, 285 + (row) * kRow, kField, 270, frame}
#define WALL_LIST(frame, label, field, row) \
    {Kind::Label, label, {}, 120, 300 + (row) * kRow, kLabel, 255, frame, field}, \
    {Kind::Combo, field, {}, 120 + kLabel, 270 + (row) * kRow, kField, 300, frame}
const ControlSpec kControls[] = {
    {Kind::Frame, "Frame1", "挡墙与墙后岩土", 120, 120, 4620, 3660},
    WALL_ROW("Frame1", "Label1", "Hx", 0),
    WALL_ROW("Frame1", "Label2", "qx", 1),
    WALL_ROW("Frame1", "Label3", "alphax", 2),
    WALL_ROW("Frame1", "Label4", "betax", 3),
    WALL_ROW("Frame1", "Label5", "deltax", 4),
    {Kind::Frame, "Frame3", "侧压力与锚杆排布", 120, 3900, 4620, 3000},
    WALL_ROW("Frame3", "Label11", "Eahx", 0),
    WALL_LIST("Frame3", "Label12", "slopex", 1),
    WALL_LIST("Frame3", "Label13", "distributionx", 2),
    WALL_ROW("Frame3", "Label14", "beta2x", 3),
    WALL_ROW("Frame3", "Label15", "rowsx", 4),
    WALL_ROW("Frame3", "Label16", "sxx", 5),
    WALL_ROW("Frame3", "Label17", "ax", 6),
    WALL_LIST("Frame3", "Label18", "forcesx", 7),
    WALL_LIST("Frame3", "Label19", "basex", 8),
    {Kind::Frame, "Frame4", "锚杆（GB 50330-2013）", 4860, 120, 4620, 3000},
    WALL_ROW("Frame4", "Label21", "fyx", 0),
    WALL_ROW("Frame4", "Label22", "frbx", 1),
    WALL_ROW("Frame4", "Label23", "Dx", 2),
    WALL_ROW("Frame4", "Label24", "dx", 3),
    WALL_ROW("Frame4", "Label25", "fbx", 4),
    WALL_ROW("Frame4", "Label26", "nx", 5),
    WALL_LIST("Frame4", "Label27", "gradex", 6),
    WALL_LIST("Frame4", "Label28", "servicex", 7),
    WALL_LIST("Frame4", "Label29", "kindx", 8),
    {Kind::Frame, "Frame5", "肋柱截面（GB 50010-2010）", 4860, 3240, 4620, 2400},
    WALL_ROW("Frame5", "Label31", "ribbx", 0),
    WALL_ROW("Frame5", "Label32", "ribhx", 1),
    WALL_LIST("Frame5", "Label33", "concretex", 2),
    WALL_ROW("Frame5", "Label34", "ribfyx", 3),
    WALL_ROW("Frame5", "Label35", "asx", 4),
    WALL_ROW("Frame5", "Label36", "gamma0x", 5),
    WALL_ROW("Frame5", "Label37", "gammaFx", 6),
    {Kind::Button, "Command1", "计算", 4860, 5760, 1215, 495},
    {Kind::Button, "Command2", "退出", 6180, 5760, 1215, 495},
    {Kind::Button, "toAnchorx", "所选一排用于锚杆计算", 7500, 5760, 1980, 495},
};
#undef WALL_ROW
#undef WALL_LIST
// clang-format on

} // namespace

AnchoredWallWindow::AnchoredWallWindow(Reporter reporter)
    : CalculatorWindow(subprogram::kAnchoredWall, std::move(reporter)) {
    setClientTwips(this, 14520, 9540);
    buildControls(this, kControls, &calculator());
    // the ground's rows under the wall's, in the same frame
    buildControls(this,
                  groundRows({.frame = "Frame1",
                              .left = 120,
                              .top = 285 + 5 * kRow,
                              .labelWidth = kLabel,
                              .fieldWidth = kField,
                              .pitch = kRow,
                              .tension = true}),
                  &calculator());
    addGroundTables(this, 120, 7020, 4620, 2400);
    // the rows: their depths as a table, and each one's results after a calculation
    auto* rows = new ListTable(this, {QStringLiteral("锚杆排位深度\n(m)")},
                               {control<QLineEdit>(this, "rowsx")}, 20);
    rows->setObjectName(QStringLiteral("rowstablex"));
    setTwipsGeometry(rows, 4860, 6840, 1260, 2580);
    rowResults_ = new QTableWidget(this);
    rowResults_->setObjectName(QStringLiteral("rowresultsx"));
    setTwipsGeometry(rowResults_, 6180, 6840, 3300, 2580);
    rowResults_->setColumnCount(5);
    rowResults_->setHorizontalHeaderLabels(
        {QStringLiteral("R=Htk\n(kN)"), QStringLiteral("Nak\n(kN)"), QStringLiteral("la\n(m)"),
         QStringLiteral("la,设计\n(m)"), QStringLiteral("验算")});
    rowResults_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    rowResults_->setSelectionBehavior(QAbstractItemView::SelectRows);
    rowResults_->setSelectionMode(QAbstractItemView::SingleSelection);
    rowResults_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    rowResults_->setToolTip(
        QStringLiteral("各排锚杆的计算结果；选中一排，按“所选一排用于锚杆计算”"));
    picture_ = new SketchPicture(this);
    picture_->setObjectName(QStringLiteral("ribx"));
    setTwipsGeometry(picture_, 9600, 120, 4800, 5280);
    picture_->setToolTip(
        QStringLiteral("肋柱的荷载、剪力与弯矩（按输入绘制，计算后标出各排反力）"));
    control<QLineEdit>(this, "Eahx")->setPlaceholderText(QStringLiteral("由土层计算"));
    control<QLineEdit>(this, "gamma0x")->setPlaceholderText(QStringLiteral("按安全等级"));
    for (QLineEdit* e : findChildren<QLineEdit*>()) {
        connect(e, &QLineEdit::textChanged, this, [this] { redraw(); });
    }
    connect(this, &CalculatorWindow::calculated, this, [this] {
        redraw();
        showRows();
    });
    addActions({.report = {4860, 6360, 1050, 300},
                .save = {5940, 6360, 1050, 300},
                .open = {7020, 6360, 1050, 300},
                .copy = {8100, 6360, 1380, 300},
                .study = {9600, 5520, 4800, 300},
                .results = {9600, 5940, 4800, 3480}});
    connect(control<QPushButton>(this, "toAnchorx"), &QPushButton::clicked, this,
            [this] { run([this] { carryRow(); }); });
    redraw();
    control<QWidget>(this, "Hx")->setFocus();
}

void AnchoredWallWindow::redraw() {
    const CalculationRecord& record =
        hasReport() && !outdated() ? reportRecord() : CalculationRecord{};
    Sketch sketch;
    picture_->setSketch(calculator().sketch(0, *this, record, sketch).empty() ? sketch : Sketch{});
}

void AnchoredWallWindow::showRows() {
    rowResults_->setRowCount(0);
    if (!hasReport()) {
        return;
    }
    const auto written = [this](const std::string& name) { return writtenResult(name); };
    const std::vector<subprogram::Judgement>& judged = reportContext().judgements;
    for (int j = 0; j < 20; ++j) {
        const std::string n = std::to_string(j + 1);
        const std::string R = written("R" + n);
        if (R.empty()) {
            break;
        }
        rowResults_->insertRow(j);
        const auto cell = [&](int column, const std::string& text) {
            rowResults_->setItem(
                j, column,
                new QTableWidgetItem(text.empty() ? QStringLiteral("—")
                                                  : qstring(roundedText(textToDouble(text)))));
        };
        cell(0, R);
        cell(1, written("Nak" + n));
        cell(2, written("la" + n));
        cell(3, written("l_design" + n));
        // the row's three checks in one word
        const std::size_t first = 1 + 3 * static_cast<std::size_t>(j);
        std::string verdict = "满足";
        if (first < judged.size() && judged[first].outcome == subprogram::Outcome::NotChecked) {
            verdict = "不受力"; // nothing pushes on the wall
        }
        for (std::size_t v = first; v < first + 3 && v < judged.size(); ++v) {
            if (judged[v].outcome == subprogram::Outcome::NotMet) {
                verdict = v == first ? "锚杆受压" : "不满足";
                break;
            }
        }
        auto* item = new QTableWidgetItem(qstring(verdict));
        item->setForeground(verdict == "满足"     ? QColor(0x1a, 0x7f, 0x1a)
                            : verdict == "不受力" ? QColor(Qt::gray)
                                                  : QColor(0xc0, 0, 0));
        rowResults_->setItem(j, 4, item);
    }
}

void AnchoredWallWindow::carryRow() {
    const int row = rowResults_->currentRow();
    if (!hasReport() || outdated() || row < 0) {
        report(QStringLiteral("请先计算，再在各排结果中选中一排锚杆。"));
        return;
    }
    const std::string n = std::to_string(row + 1);
    const std::string Htk = writtenResult("Htk" + n);
    if (Htk.empty()) {
        report(QStringLiteral("第%1排锚杆受压，未设计锚杆，无可传递的拉力。").arg(row + 1));
        return;
    }
    CalculatorWindow* anchor = showWindowOf(subprogram::kAnchorBar);
    if (!anchor) {
        return;
    }
    anchor->typeInput("Htk", Htk);
    anchor->typeInput("a", controlText("ax"));
    anchor->typeInput("edition", "2013版安全系数法");
    const std::string where = "第" + n + "排锚杆（深度 " + controlText("rowsx") + " 中的第" + n +
                              "个）的支承反力 R<sub>" + n + "</sub> = H<sub>tk</sub> = " + Htk +
                              " kN，倾角 a = " + controlText("ax") + "°";
    noteHandedOn("已将" + where + "填入“锚杆计算”窗口（按 GB 50330-2013 方法）。");
    anchor->noteReceived("Htk", Htk,
                         "H<sub>tk</sub> 取自“锚杆挡墙”窗口：" + where +
                             "，为每根肋柱上该排锚杆的水平拉力标准值。");
}
