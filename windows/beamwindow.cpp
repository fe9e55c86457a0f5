#include "beamwindow.h"

#include "gui/formbuilder.h"

#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QPainter>

using namespace subprogram;

namespace {

// clang-format off
const ControlSpec kControls[] = {
    {Kind::Frame,  "Frame1",   "连续梁参数输入",       120,  120, 2175, 5055},
    {Kind::Label,  "Label1",   {},                     240,  240, 1080,  255, "Frame1", "Combo1"},
    {Kind::Combo,  "Combo1",   {},                    1320,  240,  735,  315, "Frame1"},
    // a span field that nothing reads: every span is 2 m
    {Kind::Label,  "Label5",   "跨度(M)",              240,  600,  720,  255, "Frame1", "Text1"},
    {Kind::Field,  "Text1",    "2,3,4,5,6,7",          960,  600, 1095,  270, "Frame1"},
    {Kind::Label,  "Label2",   "跨度输入,以逗号分隔",  240,  960, 1815,  255, "Frame1"},
    {Kind::Label,  "Label3",   {},                     240, 1320, 1080,  255, "Frame1", "Combo3"},
    {Kind::Combo,  "Combo3",   {},                    1320, 1200,  735,  315, "Frame1"},
    {Kind::Label,  "Label4",   {},                     240, 1680, 1080,  255, "Frame1", "Combo4"},
    {Kind::Combo,  "Combo4",   {},                    1320, 1560,  735,  315, "Frame1"},
    {Kind::Label,  "Label6",   {},                     240, 2280, 1080,  255, "Frame1", "Text2"},
    {Kind::Field,  "Text2",    {},                    1320, 2280,  495,  270, "Frame1"},
    {Kind::Label,  "Label7",   {},                     240, 2760, 1080,  255, "Frame1", "Combo5"},
    {Kind::Combo,  "Combo5",   {},                    1320, 2640,  735,  315, "Frame1"},
    {Kind::Label,  "Label8",   {},                     240, 3120, 1080,  255, "Frame1", "Combo6"},
    {Kind::Combo,  "Combo6",   {},                    1320, 3000,  735,  315, "Frame1"},
    {Kind::Label,  "Label9",   {},                     240, 3480, 1080,  255, "Frame1", "Combo2"},
    {Kind::Combo,  "Combo2",   {},                    1320, 3360,  735,  315, "Frame1"},
    {Kind::Field,  "Text3",    {},                     600, 3960, 1335,  735, "Frame1"},
    {Kind::Button, "Command1", "计算",                2400,  840,  735,  375},
    {Kind::Button, "Command2", "退出",                2400, 1800,  735,  375},
};
// clang-format on

const char* const kFocusOrder[] = {"Picture1", "Combo1",   "Combo3", "Combo4", "Text1",  "Text2",
                                   "Command1", "Command2", "Combo5", "Combo6", "Combo2", "Text3"};

} // namespace

BeamWindow::BeamWindow(Reporter reporter) : CalculatorWindow(kBeam, std::move(reporter)) {
    setClientTwips(this, 11700, 5388); // the results panel to the right of the original window
    buildControls(this, kControls, &calculator());
    picture_ = new SketchPicture(this);
    picture_->setObjectName(QStringLiteral("Picture1"));
    picture_->setFocusPolicy(Qt::StrongFocus);
    setTwipsGeometry(picture_, 3240, 240, 2655, 4935);
    auto* line = new QFrame(this); // a rule under the frame that nothing shows
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::HLine);
    setTwipsGeometry(line, 120, 840, 2160, 15);
    line->setVisible(false);
    for (std::size_t i = 1; i < std::size(kFocusOrder); ++i) {
        setTabOrder(control<QWidget>(this, kFocusOrder[i - 1]),
                    control<QWidget>(this, kFocusOrder[i]));
    }

    connect(control<QComboBox>(this, "Combo1"), &QComboBox::activated, this,
            [this] { redraw(true); });
    for (const char* support : {"Combo5", "Combo6"}) {
        connect(control<QComboBox>(this, support), &QComboBox::activated, this,
                [this] { redraw(false); });
    }
    connect(control<QLineEdit>(this, "Text2"), &QLineEdit::textChanged, this,
            [this] { redraw(false); });
    addActions({.report = {2400, 2760, 735, 375},
                .save = {2355, 3240, 825, 375},
                .open = {2355, 3720, 825, 375},
                .copy = {2355, 4200, 825, 375},
                .study = {2355, 4680, 825, 375},
                .results = {6060, 240, 5520, 4935}});
}

void BeamWindow::redraw(bool fromSpanList) {
    run([this, fromSpanList] {
        Sketch sketch;
        try {
            drawBeamSketch(controlText("Combo1"), EndCondition(choice(fieldOf("Combo5"))),
                           EndCondition(choice(fieldOf("Combo6"))), fromSpanList, sketch);
        } catch (const CalcError& error) {
            picture_->setSketch(sketch); // what was drawn before the count failed stays
            throw FieldError(error, fieldOf("Combo1"));
        }
        picture_->setSketch(sketch);
    });
}
