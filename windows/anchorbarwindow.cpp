#include "anchorbarwindow.h"

#include "calculators/anchorbar.h"
#include "gui/formbuilder.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace {

// clang-format off
const ControlSpec kControls[] = {
    {Kind::Frame,  "Frame1",   "参数输入",                    360,  240, 6855, 2535},
    {Kind::Label,  "Label1",   {},                            240,  360, 3000,  255, "Frame1", "Text1"},
    {Kind::Field,  "Text1",    {},                           3240,  360,  615,  270, "Frame1"},
    {Kind::Label,  "Label2",   {},                            240,  720, 3000,  255, "Frame1", "Text2"},
    {Kind::Field,  "Text2",    {},                           3240,  720,  615,  270, "Frame1"},
    {Kind::Label,  "Label3",   {},                            240, 1080, 3000,  255, "Frame1", "Text3"},
    {Kind::Field,  "Text3",    {},                           3240, 1080,  615,  270, "Frame1"},
    {Kind::Label,  "Label4",   {},                            240, 1440, 3000,  255, "Frame1", "Text4"},
    {Kind::Field,  "Text4",    {},                           3240, 1440,  615,  270, "Frame1"},
    {Kind::Label,  "Label11",  {},                            240, 1800, 3000,  255, "Frame1", "Text9"},
    {Kind::Field,  "Text9",    {},                           3240, 1800,  615,  270, "Frame1"},
    {Kind::Label,  "Label5",   subprogram::kPermanentAnchor, 4560,  360, 1080,  255, "Frame1", "Option1"},
    {Kind::Option, "Option1",  "Option1",                    5640,  360,  255,  180, "Frame1"},
    {Kind::Label,  "Label6",   subprogram::kTemporaryAnchor, 4560,  600, 1080,  255, "Frame1", "Option2"},
    {Kind::Option, "Option2",  "Option2",                    5640,  600,  255,  255, "Frame1"},
    {Kind::Label,  "Label12",  {},                           4080, 1080, 2160,  255, "Frame1", "Text10"},
    {Kind::Field,  "Text10",   {},                           6240, 1080,  495,  270, "Frame1"},
    {Kind::Label,  "Label13",  {},                           4080, 1440, 2160,  255, "Frame1", "Text11"},
    {Kind::Field,  "Text11",   {},                           6240, 1440,  495,  270, "Frame1"},
    {Kind::Label,  "Label14",  {},                           4080, 1800, 2160,  255, "Frame1", "Text12"},
    {Kind::Field,  "Text12",   {},                           6240, 1800,  495,  270, "Frame1"},
    // beyond the original inputs, in the frame's free row: the bars, the slope's grade
    {Kind::Label,  "Label16",  {},                            240, 2160, 3000,  255, "Frame1", "nx"},
    {Kind::Field,  "nx",       {},                           3240, 2160,  615,  270, "Frame1"},
    {Kind::Label,  "Label17",  {},                           4080, 2160, 1740,  255, "Frame1", "gradex"},
    {Kind::Combo,  "gradex",   {},                           5820, 2130,  915,  300, "Frame1"},
    {Kind::Button, "Command1", "计算",                       1080, 3000, 1815,  615},
    {Kind::Button, "Command2", "退出",                       3360, 3000, 1815,  615},
    {Kind::Frame,  "Frame2",   "结果输出",                    480, 3840, 6495, 1695},
    {Kind::Label,  "Label7",   {},                            240,  240, 2520,  255, "Frame2", "Text5"},
    {Kind::Field,  "Text5",    {},                           2760,  240, 2415,  270, "Frame2"},
    {Kind::Label,  "Label8",   {},                            240,  600, 2520,  255, "Frame2", "Text6"},
    {Kind::Field,  "Text6",    {},                           2760,  600, 2415,  270, "Frame2"},
    {Kind::Label,  "Label9",   {},                            240,  960, 2520,  255, "Frame2", "Text7"},
    {Kind::Field,  "Text7",    {},                           2760,  960, 2415,  270, "Frame2"},
    {Kind::Label,  "Label10",  {},                            240, 1320, 2520,  255, "Frame2", "Text8"},
    {Kind::Field,  "Text8",    {},                           2760, 1320, 2415,  270, "Frame2"},
    // below the results: the section of the bars the window designs
    {Kind::Label,  "Label15",  {},                            720, 5700, 2520,  255, nullptr, "Text13"},
    {Kind::Field,  "Text13",   {},                           3240, 5700, 2415,  270},
    // and the method the anchor is designed by
    {Kind::Label,  "Label18",  {},                            720, 6090, 2520,  255, nullptr, "editionx"},
    {Kind::Combo,  "editionx", {},                           3240, 6060, 2415,  300},
    // the 2013 method's safety factors, the engineer's where typed
    {Kind::Label,  "Label19",  {},                            720, 6480, 2520,  255, nullptr, "Kbreqx"},
    {Kind::Field,  "Kbreqx",   {},                           3240, 6465, 2415,  270},
        {Kind::Label,  "Label20",  {},                            720, 6870, 2520,  255, nullptr, "Kreqx"},
    {Kind::Field,  "Kreqx",    {},                           3240, 6855, 2415,  270},
    // what the anchor is bonded in, which bounds its bonded length
    {Kind::Label,  "Label21",  {},                            720, 7260, 2520,  255, nullptr, "kindx"},
    {Kind::Combo,  "kindx",    {},                           3240, 7230, 2415,  300},
};
// clang-format on

const char* const kFocusOrder[] = {
    "Text1", "Text2",  "Text3",  "Text4",    "Option1", "Option2", "Command1", "Text5",
    "Text6", "Text7",  "Text8",  "Command2", "Text9",   "Text10",  "Text11",   "Text12",
    "nx",    "gradex", "Text13", "editionx", "Kbreqx",  "Kreqx",   "kindx"};

} // namespace

AnchorBarWindow::AnchorBarWindow(Reporter reporter)
    : CalculatorWindow(subprogram::kAnchorBar, std::move(reporter)) {
    setClientTwips(this, 13500, 7650); // the results panel to the right of the original window
    buildControls(this, kControls, &calculator());
    control<QRadioButton>(this, "Option1")->setChecked(true);
    // The option buttons are too narrow for their own captions; the labels beside them name them,
    // for the eye, for a click and for a screen reader.
    for (const char* name : {"Label5", "Label6"}) {
        auto* label = control<QLabel>(this, name);
        label->installEventFilter(this);
        label->buddy()->setAccessibleName(label->text());
    }
    for (std::size_t i = 1; i < std::size(kFocusOrder); ++i) {
        setTabOrder(control<QWidget>(this, kFocusOrder[i - 1]),
                    control<QWidget>(this, kFocusOrder[i]));
    }
    // beside 退出, two rows of small buttons; the results to the right
    addActions({.report = {5235, 3000, 1050, 300},
                .save = {5235, 3315, 1050, 300},
                .open = {6315, 3315, 1050, 300},
                .copy = {6315, 3000, 1050, 300},
                .study = {5235, 3630, 2130, 300},
                .results = {7560, 120, 5820, 7410}});
    for (const char* name : {"Kbreqx", "Kreqx"}) {
        control<QLineEdit>(this, name)->setPlaceholderText(QStringLiteral("默认值（按安全等级）"));
    }
    control<QWidget>(this, "Text1")->setFocus();
}

bool AnchorBarWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        if (auto* label = qobject_cast<QLabel*>(watched); label && label->isEnabled()) {
            if (auto* option = qobject_cast<QRadioButton*>(label->buddy())) {
                option->click();
                return true;
            }
        }
    }
    return CalculatorWindow::eventFilter(watched, event);
}

int AnchorBarWindow::variant() const {
    using subprogram::AnchorKind;
    return int(control<QRadioButton>(this, "Option1")->isChecked() ? AnchorKind::Permanent
                                                                   : AnchorKind::Temporary);
}

void AnchorBarWindow::setVariant(int kind) {
    using subprogram::AnchorKind;
    control<QRadioButton>(this, AnchorKind(kind) == AnchorKind::Permanent ? "Option1" : "Option2")
        ->setChecked(true);
}
