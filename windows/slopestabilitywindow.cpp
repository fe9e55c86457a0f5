#include "slopestabilitywindow.h"

#include "calculators/anchorbar.h"
#include "calculators/anchoredwall.h"
#include "calculators/antislidepile.h"
#include "calculators/slopeinputs.h"
#include "calculators/slopestability.h"
#include "core/numerictext.h"
#include "gui/formbuilder.h"
#include "gui/listtable.h"

#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

using subprogram::SlopeMethod;

namespace {

// clang-format off
constexpr int kRow = 300, kLabelWidth = 2460, kFieldLeft = 2640, kFieldWidth = 3180;
#define SLOPE_ROW(label, field, row) \
    {Kind::Label, label, {}, 120, 300 + (row) * kRow, kLabelWidth, 255, "Frame1", field}, \
    {Kind::Field, field, {}, kFieldLeft, 285 + (row) * kRow, kFieldWidth, 270, "Frame1"}
#define SLOPE_COMBO(label, field, row) \
    {Kind::Label, label, {}, 120, 300 + (row) * kRow, kLabelWidth, 255, "Frame1", field}, \
    {Kind::Combo, field, {}, kFieldLeft, 270 + (row) * kRow, kFieldWidth, 300, "Frame1"}
const ControlSpec kControls[] = {
    {Kind::Frame,  "Frame3",   "计算方法",                  120,  120, 5940,  870},
    {Kind::Option, "Option1",  "平面滑动法",                120,  270, 2700,  255, "Frame3"},
    {Kind::Option, "Option2",  "折线滑动法（隐式解）",       2940,  270, 2880,  255, "Frame3"},
    {Kind::Option, "Option3",  "滑坡推力（显式解）",         120,  555, 2700,  255, "Frame3"},
    {Kind::Option, "Option4",  "圆弧滑动法（毕肖普法）",     2940,  555, 2880,  255, "Frame3"},
    {Kind::Frame,  "Frame1",   "参数输入",                  120, 1080, 5940, 9270},
    {Kind::Label, "Label1", {}, 120, 300, kLabelWidth, 255, "Frame1", "gradex"},
    {Kind::Combo, "gradex", {}, kFieldLeft, 270, 900, 300, "Frame1"},
    // the required factor beside the grade and the case that give its default
    {Kind::Label, "Label32", {}, 3660, 300, 1020, 255, "Frame1", "Fstreqx"},
    {Kind::Field, "Fstreqx", {}, 4680, 285, 1140, 270, "Frame1"},
    SLOPE_COMBO("Label2",  "casex",    1),
    SLOPE_ROW("Label3",  "khx",      2),
    SLOPE_ROW("Label4",  "gwx",      3),
    SLOPE_ROW("Label5",  "Gx",       4),
    SLOPE_ROW("Label6",  "thetax",   5),
    SLOPE_ROW("Label7",  "cx",       6),
    SLOPE_ROW("Label8",  "phix",     7),
    SLOPE_ROW("Label9",  "Lx",       8),
    SLOPE_ROW("Label10", "hwx",      9),
    SLOPE_ROW("Label11", "Gbx",     10),
    SLOPE_ROW("Label12", "Px",      11),
    SLOPE_ROW("Label13", "Pax",     12),
    SLOPE_ROW("Label14", "lx",      13),
    SLOPE_ROW("Label15", "Ux",      14),
    SLOPE_ROW("Label16", "gtx",     15),
    SLOPE_ROW("Label17", "surfacex", 16),
    SLOPE_ROW("Label18", "gammax",  17),
    SLOPE_ROW("Label19", "layersx", 18),
    SLOPE_ROW("Label20", "waterx",  19),
    SLOPE_ROW("Label21", "slicesx", 20),
    SLOPE_ROW("Label22", "circlex", 21),
    SLOPE_ROW("Label28", "mindepthx", 22),
    SLOPE_ROW("Label29", "entryx",  23),
    SLOPE_ROW("Label30", "exitx",   24),
    SLOPE_ROW("Label31", "centresx", 25),
    SLOPE_ROW("Label33", "slipx",   26),
    SLOPE_ROW("Label34", "crackx",  27),
    SLOPE_ROW("Label35", "crackfilledx", 28),
    SLOPE_ROW("Label36", "loadsx",  29),
    {Kind::Frame,  "Frame2",   "计算结果",                 6240, 5040, 3660, 1320},
    {Kind::Label,  "Label23",  {},                          120,  300, 1800,  255, "Frame2", "Fsx"},
    {Kind::Field,  "Fsx",      {},                         1920,  285, 1620,  270, "Frame2"},
    {Kind::Label,  "Label24",  {},                          120,  630, 1800,  255, "Frame2", "Fstx"},
    {Kind::Field,  "Fstx",     {},                         1920,  615, 1620,  270, "Frame2"},
    {Kind::Label,  "Label25",  {},                          120,  960, 1800,  255, "Frame2", "statex"},
    {Kind::Field,  "statex",   {},                         1920,  945, 1620,  270, "Frame2"},
    // the design thrust carried into the anchor window: the anchors' spacing and rows
    {Kind::Label,  "Label26",  "锚杆水平间距s(m):",        10020, 7215, 1500,  255, nullptr, "spacingx"},
    {Kind::Field,  "spacingx", "2",                       11520, 7200,  600,  270},
    {Kind::Label,  "Label27",  "排数n:",                  12240, 7215,  720,  255, nullptr, "rowsx"},
    {Kind::Field,  "rowsx",    "1",                       12960, 7200,  780,  270},
        {Kind::Button, "toAnchorx", "推力用于锚杆（Htk = Pn·cosθn·s ÷ n）", 10020, 7560, 3720, 330},
    {Kind::Button, "toWallx",   "推力用于锚杆挡墙（Eah = Pn·cosθn）",   10020, 7920, 3720, 330},
    {Kind::Button, "toPilex",   "推力用于抗滑桩（T = Pn·cosθn）",       10020, 8280, 3720, 330},
    // the rigorous methods, beside the results
    {Kind::Frame,  "Frame4",   "严格条分法（力与力矩平衡）", 6240, 7920, 3660, 1320},
    {Kind::Option, "Option5",  "斯宾塞法",                  120,  300, 1500,  255, "Frame4"},
    {Kind::Option, "Option6",  "摩根斯坦-普赖斯法",          1680,  300, 1920,  255, "Frame4"},
    {Kind::Label,  "Label37",  {},                          120,  660, 1500,  255, "Frame4", "functionx"},
    {Kind::Combo,  "functionx", {},                        1680,  630, 1800,  300, "Frame4"},
    {Kind::Label,  "Label38",  {},                          120, 1000, 1500,  255, "Frame4", "searchx"},
    {Kind::Combo,  "searchx",  {},                         1680,  970, 1800,  300, "Frame4"},
    {Kind::Button, "Command1", "计算",                     6240, 6540, 1215,  495},
    {Kind::Button, "Command2", "退出",                     7560, 6540, 1215,  495},
};
#undef SLOPE_ROW
#undef SLOPE_COMBO
// clang-format on

const char* const kMethodOptions[] = {"Option1", "Option2", "Option3",
                                      "Option4", "Option5", "Option6"};
constexpr int kMethods = int(std::size(kMethodOptions));

} // namespace

SlopeStabilityWindow::SlopeStabilityWindow(Reporter reporter)
    : CalculatorWindow(subprogram::kSlopeStability, std::move(reporter)) {
    setClientTwips(this, 13860, 10500);
    buildControls(this, kControls, &calculator());
    const auto edit = [this](const char* name) { return control<QLineEdit>(this, name); };
    auto* tables = new QTabWidget(this);
    tables->setObjectName(QStringLiteral("tablesx"));
    setTwipsGeometry(tables, 6240, 120, 7500, 2400);
    // the list inputs' tables, as the calculation describes them (the report's too)
    for (const subprogram::ListTable& list : calculator().listTables) {
        QStringList header;
        for (const std::string_view h : list.headers) {
            header << QString::fromUtf8(h.data(), static_cast<qsizetype>(h.size()));
        }
        QList<QLineEdit*> fields;
        for (const std::string_view name : list.fields) {
            fields << edit(std::string(calculator().field(name)->control).c_str());
        }
        tables->addTab(
            new ListTable(tables, header, fields),
            QString::fromUtf8(list.title.data(), static_cast<qsizetype>(list.title.size())));
    }
    picture_ = new SketchPicture(this);
    picture_->setObjectName(QStringLiteral("sectionx"));
    setTwipsGeometry(picture_, 6240, 2640, 7500, 2280);
    picture_->setToolTip(QStringLiteral("剖面图（按输入绘制，计算后示出滑弧）"));
    edit("Fstreqx")->setPlaceholderText(QStringLiteral("默认值"));
    // the methods in two frames, one choice
    auto* methods = new QButtonGroup(this);
    for (const char* name : kMethodOptions) {
        methods->addButton(control<QRadioButton>(this, name));
    }
    control<QRadioButton>(this, "Option1")->setChecked(true);
    for (const char* name : kMethodOptions) {
        connect(control<QRadioButton>(this, name), &QRadioButton::toggled, this, [this, tables] {
            const int method = variant();
            const bool section = method >= int(SlopeMethod::Bishop);
            tables->setCurrentIndex(section ? 1 : 0);
            tables->setEnabled(method != int(SlopeMethod::Planar)); // one block, in the fields
            redraw();
        });
    }
    for (QLineEdit* e : findChildren<QLineEdit*>()) {
        connect(e, &QLineEdit::textChanged, this, [this] { redraw(); });
    }
    connect(this, &CalculatorWindow::calculated, this, [this] { redraw(); });
    // below the results, beside 退出: the actions; the results at a glance to the right
    addActions({.report = {6240, 7200, 1050, 300},
                .save = {6240, 7515, 1050, 300},
                .open = {7320, 7515, 1050, 300},
                .copy = {7320, 7200, 1050, 300},
                .study = {8400, 7200, 1500, 300},
                .results = {10020, 5040, 3720, 2040}});
    connect(control<QPushButton>(this, "toAnchorx"), &QPushButton::clicked, this,
            [this] { run([this] { carryThrust(Carry::Anchor); }); });
    connect(control<QPushButton>(this, "toWallx"), &QPushButton::clicked, this,
            [this] { run([this] { carryThrust(Carry::Wall); }); });
    connect(control<QPushButton>(this, "toPilex"), &QPushButton::clicked, this,
            [this] { run([this] { carryThrust(Carry::Pile); }); });
    tables->setEnabled(false);
    redraw();
    control<QWidget>(this, "Option1")->setFocus();
}

int SlopeStabilityWindow::variant() const {
    for (int i = 0; i < kMethods; ++i) {
        if (control<QRadioButton>(this, kMethodOptions[i])->isChecked()) {
            return i;
        }
    }
    return 0;
}

void SlopeStabilityWindow::setVariant(int method) {
    control<QRadioButton>(this, kMethodOptions[std::clamp(method, 0, kMethods - 1)])
        ->setChecked(true);
}

QWidget* SlopeStabilityWindow::variantChooser() const {
    return control<QWidget>(this, kMethodOptions[variant()]);
}

void SlopeStabilityWindow::carryThrust(Carry to) {
    // where it goes: the window, its field and the value's name there
    struct Target {
        const subprogram::Calculator* calculator;
        const char *window, *field, *symbol, *what;
    };
    const Target target =
        to == Carry::Anchor ? Target{&subprogram::kAnchorBar, "“锚杆计算”", "Htk", "H<sub>tk</sub>",
                                     "锚杆的水平拉力标准值"}
        : to == Carry::Wall
            ? Target{&subprogram::kAnchoredWall, "“锚杆挡墙”", "Eah", "E<sub>ah</sub>",
                     "锚杆挡墙的水平推力标准值（β<sub>2</sub> 与重分布照常计入）"}
            : Target{&subprogram::kAntiSlidePile, "“抗滑桩”", "thrust", "T",
                     "抗滑桩的滑坡推力（扣除桩前抗力后按桩间距分给每根桩）"};
    const bool perMetre = to != Carry::Anchor;
    std::string Pn, Fst;
    if (hasReport() && !outdated()) {
        Pn = writtenResult("thrust");
        Fst = writtenResult("Fst");
    }
    if (Pn.empty()) {
        report(QStringLiteral("请先以折线滑动法或滑坡推力计算出设计推力 Pn，再将其用于%1。")
                   .arg(QString::fromUtf8(target.window)));
        return;
    }
    // the last block's base, as the calculation read it
    const double thetaN = subprogram::slope::readBlocks(*this).back().theta;
    // per metre of slope: one anchor of one metre in one row
    const double spacing = perMetre ? 1 : textToDouble(controlText("spacingx"));
    const double rows = perMetre ? 1 : textToDouble(controlText("rowsx"));
    const double carried = subprogram::anchorTension(textToDouble(Pn), thetaN, spacing, rows);
    CalculatorWindow* window = showWindowOf(*target.calculator);
    if (!window) {
        return;
    }
    const std::string given = doubleToText(carried);
    window->typeInput(target.field, given);
    // both reports say where the value went and whence it came, and how the factors stand
    const std::string symbol = target.symbol;
    const std::string formula =
        perMetre ? symbol + " = P<sub>n</sub>·cosθ<sub>n</sub> = " + Pn + " × cos " +
                       doubleToText(thetaN) + "° = " + given + " kN/m"
                 : "H<sub>tk</sub> = P<sub>n</sub>·cosθ<sub>n</sub>·s ÷ n = " + Pn + " × cos " +
                       doubleToText(thetaN) + "° × " + controlText("spacingx") + " ÷ " +
                       controlText("rowsx") + " = " + given + " kN";
    // the implicit solution's thrust is at the required Fst, the explicit one's at γt
    const bool explicitThrust = variant() == int(SlopeMethod::BrokenLineExplicit);
    const std::string factor = explicitThrust
                                   ? "滑坡推力安全系数 γ<sub>t</sub> = " + controlText("gtx")
                                   : "F<sub>st</sub> = " + Fst;
    const std::string named = explicitThrust ? "γ<sub>t</sub>" : "要求的 F<sub>st</sub>";
    const std::string thrust =
        "P<sub>n</sub> = " + Pn + " kN/m 为以 " + factor +
        " 计的末块剩余下滑推力（沿末块滑面方向，θ<sub>n</sub> = " + doubleToText(thetaN) + "°）" +
        (to == Carry::Wall   ? "，取其水平分力为每米挡墙的水平推力"
         : to == Carry::Pile ? "，取其水平分力为每米坡宽的滑坡推力"
                             : "，s 为锚杆水平间距 (m)，n 为排数");
    const std::string factors =
        to == Carry::Pile
            ? "程序的处理：以 " + factor +
                  " 计的推力作为抗滑桩的滑坡推力，桩的内力再乘 γ<sub>0</sub>γ<sub>F</sub> "
                  "配筋：前者计的是边坡整体的安全储备，后者计的是桩身截面的。如认为两者重复，可将" +
                  named + "填为 1.0，重新计算推力后再传递。"
            : "程序的处理：以 " + factor + " 计的推力作为" + target.what +
                  "，锚杆再按其杆体与锚固体的安全系数（2013 版方法的 "
                  "K<sub>b</sub>、K，或原方法的 1.25 与 ξ）验算：前者计的是边坡整体的安全储备，"
                  "后者计的是锚杆本身的。如认为两者重复，可将" +
                  named + "填为 1.0，重新计算推力后再传递。";
    const std::string windowName = target.window;
    noteHandedOn("设计推力已用于" + windowName + "窗口：" + formula + "；" + thrust + "。" +
                 factors);
    window->noteReceived(target.field, given,
                         symbol + " 取自“边坡稳定性计算”窗口的设计推力：" + formula + "；" +
                             thrust + "。" + factors);
    if (perMetre) {
        report(QStringLiteral("已将每米%1的水平推力 %2 = Pn·cosθn = %3 × cos%4° = %5 kN/m "
                              "填入%6窗口（Pn 为以 Fst 计的末块剩余下滑推力，沿末块滑面方向）。")
                   .arg(QString::fromUtf8(to == Carry::Wall ? "挡墙" : "坡宽"),
                        QString::fromUtf8(to == Carry::Wall ? "Eah" : "T"),
                        QString::fromStdString(Pn), QString::fromStdString(doubleToText(thetaN)),
                        QString::fromStdString(given), QString::fromUtf8(target.window)));
        return;
    }
    report(QStringLiteral(
               "已将每根锚杆的水平拉力标准值 Htk = Pn·cosθn·s ÷ n = %1 × cos%2° × %3 ÷ %4 = "
               "%5 kN 填入“锚杆计算”窗口（Pn 为以 Fst 计的末块剩余下滑推力，沿末块滑面方向）。")
               .arg(QString::fromStdString(Pn), QString::fromStdString(doubleToText(thetaN)),
                    controlText("spacingx").c_str(), controlText("rowsx").c_str(),
                    QString::fromStdString(given)));
}

void SlopeStabilityWindow::redraw() {
    // the drawing the report gives: of the last calculation while the inputs are its own
    const CalculationRecord& record =
        hasReport() && !outdated() ? reportRecord() : CalculationRecord{};
    Sketch sketch;
    if (calculator().sketch(variant(), *this, record, sketch).empty()) {
        picture_->setSketch(sketch);
    } else {
        picture_->setSketch(Sketch{});
    }
}
