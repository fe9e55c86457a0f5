#include "gravitywallwindow.h"

#include "calculators/gravitywall.h"
#include "gui/formbuilder.h"
#include "gui/groundpanel.h"
#include "gui/screenfit.h"
#include "windows/walldrawings.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QTabWidget>

#include <algorithm>
#include <tuple>

using namespace subprogram;

namespace {

// The frames are titled for what they hold; the original window showed their bare names.
// clang-format off
const ControlSpec kControls[] = {
    {Kind::Frame,  "Frame1",   "参数输入", 360,  120, 3732, 7092},
    {Kind::Label,  "Label3",   {},        120,  240, 2760,  252, "Frame1", "Text3"},
    {Kind::Field,  "Text3",    {},       2880,  240,  615,  264, "Frame1"},
    {Kind::Label,  "Label4",   {},        120,  600, 2760,  252, "Frame1", "Text4"},
    {Kind::Field,  "Text4",    {},       2880,  600,  615,  270, "Frame1"},
    {Kind::Label,  "Y",        {},        120,  960, 2760,  252, "Frame1", "Yx"},
    {Kind::Field,  "Yx",       {},       2880,  960,  615,  270, "Frame1"},
    {Kind::Label,  "hh",       {},        120, 1320, 2760,  252, "Frame1", "hx"},
    {Kind::Field,  "hx",       {},       2880, 1320,  615,  270, "Frame1"},
    {Kind::Label,  "Fifi",     {},        120, 1680, 2760,  252, "Frame1", "Fix"},
    {Kind::Field,  "Fix",      {},       2880, 1680,  615,  270, "Frame1"},
    {Kind::Label,  "Q",        {},        120, 2040, 2760,  252, "Frame1", "Qx"},
    {Kind::Field,  "Qx",       {},       2880, 2040,  615,  270, "Frame1"},
    {Kind::Label,  "C",        {},        120, 2400, 2760,  252, "Frame1", "Cx"},
    {Kind::Field,  "Cx",       {},       2880, 2400,  615,  270, "Frame1"},
    {Kind::Label,  "B",        {},        120, 2760, 2760,  252, "Frame1", "Bx"},
    {Kind::Field,  "Bx",       {},       2880, 2760,  615,  270, "Frame1"},
    {Kind::Label,  "Label2",   {},        120, 3120, 2760,  252, "Frame1", "Text2"},
    {Kind::Field,  "Text2",    {},       2880, 3120,  615,  270, "Frame1"},
    {Kind::Label,  "Label5",   {},        120, 3480, 2760,  252, "Frame1", "Text5"},
    {Kind::Field,  "Text5",    {},       2880, 3480,  615,  270, "Frame1"},
    {Kind::Label,  "Label8",   {},        120, 3840, 2760,  252, "Frame1", "Text8"},
    {Kind::Field,  "Text8",    {},       2880, 3840,  615,  270, "Frame1"},
    {Kind::Label,  "Label11",  {},        120, 4200, 2760,  252, "Frame1", "Text11"},
    {Kind::Field,  "Text11",   {},       2880, 4200,  615,  270, "Frame1"},
    {Kind::Label,  "Label12",  {},        120, 4560, 2760,  252, "Frame1", "Text12"},
    {Kind::Field,  "Text12",   {},       2880, 4560,  615,  270, "Frame1"},
    {Kind::Label,  "Label14",  {},        120, 4920, 2760,  252, "Frame1", "Text14"},
    {Kind::Field,  "Text14",   {},       2880, 4920,  615,  264, "Frame1"},
    {Kind::Label,  "Label15",  {},        120, 5280,  840,  252, "Frame1", "Text15"},
    {Kind::Field,  "Text15",   {},        960, 5280,  855,  270, "Frame1"},
    {Kind::Label,  "Label26",  {},       2280, 5280,  600,  252, "Frame1", "Text26"},
    {Kind::Field,  "Text26",   {},       2880, 5280,  615,  270, "Frame1"},
    {Kind::Label,  "Label19",  {},        120, 5640,  840,  252, "Frame1", "Text19"},
    {Kind::Field,  "Text19",   {},        960, 5640,  615,  270, "Frame1"},
    {Kind::Label,  "Label20",  {},       2040, 5640,  840,  252, "Frame1", "Text20"},
    {Kind::Field,  "Text20",   {},       2880, 5640,  615,  270, "Frame1"},
    {Kind::Label,  "Label22",  {},        120, 6000,  840,  252, "Frame1", "Text22"},
    {Kind::Field,  "Text22",   {},        960, 6000,  615,  270, "Frame1"},
    {Kind::Label,  "Label21",  {},       2040, 6000,  840,  252, "Frame1", "Text21"},
    {Kind::Field,  "Text21",   {},       2880, 6000,  615,  270, "Frame1"},
    {Kind::Label,  "Label23",  {},        120, 6360,  840,  252, "Frame1", "Text23"},
    {Kind::Field,  "Text23",   {},        960, 6360,  615,  270, "Frame1"},
    {Kind::Label,  "Label24",  {},       2040, 6360,  840,  252, "Frame1", "Text24"},
    {Kind::Field,  "Text24",   {},       2880, 6360,  615,  270, "Frame1"},
    {Kind::Label,  "Label25",  {},        120, 6720,  840,  252, "Frame1", "Text25"},
    {Kind::Field,  "Text25",   {},        960, 6720,  615,  270, "Frame1"},
    {Kind::Label,  "Label27",  {},       2280, 6720,  600,  252, "Frame1", "Text27"},
    {Kind::Field,  "Text27",   {},       2880, 6720,  615,  270, "Frame1"},
    {Kind::Frame,  "Frame2",   "计算结果", 4320, 3360, 2895, 3132},
    {Kind::Label,  "Label1",   {},        120,  345, 2040,  252, "Frame2", "Text1"},
    {Kind::Field,  "Text1",    {},       2160,  345,  615,  270, "Frame2"},
    {Kind::Label,  "Label6",   {},        120,  600, 2040,  252, "Frame2", "Text6"},
    {Kind::Field,  "Text6",    {},       2160,  600,  615,  270, "Frame2"},
    {Kind::Label,  "Label7",   {},        120,  840, 2040,  252, "Frame2", "Text7"},
    {Kind::Field,  "Text7",    {},       2160,  840,  615,  270, "Frame2"},
    // the longest caption takes two lines, centred on its field's row
    {Kind::Label,  "Label13",  {},        120, 1110, 2040,  450, "Frame2", "Text13"},
    {Kind::Field,  "Text13",   {},       2160, 1200,  615,  270, "Frame2"},
    {Kind::Label,  "Label9",   {},        120, 1560, 2040,  252, "Frame2", "Text9"},
    {Kind::Field,  "Text9",    {},       2160, 1560,  615,  270, "Frame2"},
    {Kind::Label,  "Label10",  {},        120, 1800, 2040,  252, "Frame2", "Text10"},
    {Kind::Field,  "Text10",   {},       2160, 1800,  615,  270, "Frame2"},
    {Kind::Label,  "Label16",  {},        120, 2040, 2040,  252, "Frame2", "Text16"},
    {Kind::Field,  "Text16",   {},       2160, 2040,  615,  270, "Frame2"},
    {Kind::Label,  "Label17",  {},        120, 2280, 2040,  252, "Frame2", "Text17"},
    {Kind::Field,  "Text17",   {},       2160, 2280,  615,  270, "Frame2"},
    {Kind::Label,  "Label18",  {},        120, 2640, 2040,  252, "Frame2", "Text18"},
    {Kind::Field,  "Text18",   {},       2160, 2640,  615,  270, "Frame2"},
    {Kind::Frame,  "Frame3",   "挡墙类型", 120, 7320, 4332,  492},
    {Kind::Option, "Option1",  "直立式",  120,  240,  972,  180, "Frame3"},
    {Kind::Option, "Option2",  "衡重式", 1080,  240,  972,  180, "Frame3"},
    {Kind::Button, "Command1", "计算",   4440, 6600, 1215,  495},
    {Kind::Button, "Command2", "退出",   5760, 6600, 1215,  495},
    // beyond the original window, to its right: the checks' fields and the mean base pressure
    {Kind::Frame,  "Frame4",   "验算",   7380,  120, 7800, 7692},
    {Kind::Label,  "Label29",  {},        120,  300, 2280,  252, "Frame4", "groundx"},
    {Kind::Combo,  "groundx",  {},       2520,  270, 1335,  300, "Frame4"},
    {Kind::Label,  "Label30",  {},        120,  720, 2400,  252, "Frame4", "fax"},
    {Kind::Field,  "fax",      {},       2520,  720, 1335,  270, "Frame4"},
    {Kind::Label,  "Label31",  {},        120, 1080, 2400,  252, "Frame4", "pkx"},
    {Kind::Field,  "pkx",      {},       2520, 1080, 1335,  270, "Frame4"},
    {Kind::Label,  "Label32",  {},        120, 1440, 2400,  252, "Frame4", "leverx"},
    {Kind::Combo,  "leverx",   {},       2520, 1410, 1335,  300, "Frame4"},
    {Kind::Label,  "Label33",  {},       3960, 1440, 1140,  252, "Frame4", "sectionx"},
    {Kind::Combo,  "sectionx", {},       5100, 1410, 1335,  300, "Frame4"},
    {Kind::Label,  "Label34",  {},        120, 1800, 2400,  252, "Frame4", "tensionx"},
    {Kind::Combo,  "tensionx", {},       2520, 1770, 3300,  300, "Frame4"},
    // the limits the checks hold the wall to, the engineer's where typed
    {Kind::Label,  "Label40",  {},        120, 2190, 1080,  252, "Frame4", "Ksreqx"},
    {Kind::Field,  "Ksreqx",   {},       1200, 2175,  900,  270, "Frame4"},
    {Kind::Label,  "Label41",  {},       2280, 2190, 1080,  252, "Frame4", "Ktreqx"},
    {Kind::Field,  "Ktreqx",   {},       3360, 2175,  900,  270, "Frame4"},
    {Kind::Label,  "Label42",  {},       4440, 2190, 1140,  252, "Frame4", "ereqx"},
    {Kind::Field,  "ereqx",    {},       5580, 2175,  900,  270, "Frame4"},
    {Kind::Label,  "Label43",  {},        120, 2550, 1800,  252, "Frame4", "Ksreqsx"},
    {Kind::Field,  "Ksreqsx",  {},       1920, 2535,  900,  270, "Frame4"},
    {Kind::Label,  "Label44",  {},       3000, 2550, 1800,  252, "Frame4", "Ktreqsx"},
    {Kind::Field,  "Ktreqsx",  {},       4800, 2535,  900,  270, "Frame4"},
    // beyond that, to the right: the ground as it stands behind the wall, all optional
    {Kind::Frame,  "Frame5",   "墙后地层（可选）", 15300,  120, 4680, 7692},
};

// clang-format on

// The wall's outline alone, framed close and drawn with lines of about one pixel in a box of
// `box` pixels: dimensions and labels would be too small to read there.
Sketch thumbnailOf(const Sketch& section, QSizeF box) {
    double left = 1e300, top = 1e300, right = -1e300, bottom = -1e300;
    for (const SketchPolygon& polygon : section.polygons) {
        for (const auto& [x, y] : polygon.points) {
            left = std::min(left, x), right = std::max(right, x);
            top = std::min(top, y), bottom = std::max(bottom, y);
        }
    }
    Sketch thumbnail;
    if (right <= left || bottom <= top) {
        return thumbnail;
    }
    const double margin = 0.06 * std::max(right - left, bottom - top);
    thumbnail.width = right - left + 2 * margin;
    thumbnail.height = bottom - top + 2 * margin;
    thumbnail.stroke =
        std::max(thumbnail.width / box.width(), thumbnail.height / box.height()); // 1 px
    for (SketchPolygon polygon : section.polygons) {
        for (auto& [x, y] : polygon.points) {
            x += margin - left, y += margin - top;
        }
        thumbnail.polygons.push_back(std::move(polygon));
    }
    return thumbnail;
}

} // namespace

void WallPicture::setImage(const QImage& image) {
    image_ = image;
    update();
}

void WallPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (image_.isNull()) {
        return;
    }
    // A drawing finer than the box is scaled down to fit it; a coarser one shows at natural
    // size from the top-left corner, clipped to the box.
    QSizeF size = image_.size();
    if (size.width() > width() || size.height() > height()) {
        size.scale(QSizeF(this->size()), Qt::KeepAspectRatio);
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(QPointF(0, 0), size), image_);
}

QString GravityWallWindow::defaultPictureFolder() {
    const QDir here(QCoreApplication::applicationDirPath());
    for (const QString& candidate : {QStringLiteral("pictures"), QStringLiteral("../pictures"),
                                     QStringLiteral("../share/slope-support/pictures")}) {
        if (here.exists(candidate)) {
            return QDir::cleanPath(here.filePath(candidate));
        }
    }
    return here.filePath(QStringLiteral("pictures"));
}

GravityWallWindow::GravityWallWindow(Reporter reporter, QString pictureFolder)
    : CalculatorWindow(kGravityWall, std::move(reporter)),
      pictureFolder_(std::move(pictureFolder)) {
    setClientTwips(this, 20100, 8004);
    buildControls(this, kControls, &calculator());
    buildControls(this,
                  groundRows({.frame = "Frame5",
                              .left = 120,
                              .top = 285,
                              .labelWidth = 1680,
                              .fieldWidth = 2760,
                              .pitch = 360}),
                  &calculator());
    // the tension rule left empty: the one soil's rule, or the ground's
    control<QComboBox>(this, "tensionx")
        ->lineEdit()
        ->setPlaceholderText(QStringLiteral("默认：单一土计入，分层土不计"));
    picture_ = new WallPicture(this);
    picture_->setObjectName(QStringLiteral("Picture1"));
    setTwipsGeometry(picture_, 4680, 360, 2292, 2772);
    picture_->setImage(uprightWallDrawing()); // the drawing the window carries with it
    connect(control<QRadioButton>(this, "Option1"), &QRadioButton::clicked, this,
            [this] { loadPicture(QStringLiteral("11.bmp")); });
    connect(control<QRadioButton>(this, "Option2"), &QRadioButton::clicked, this,
            [this] { loadPicture(QStringLiteral("22.bmp")); });
    // 截面图, in the strip between the input frame and the picture
    auto* caption = new QLabel(QStringLiteral("截\n面\n图"), this);
    caption->setObjectName(QStringLiteral("SectionLabel"));
    caption->setAlignment(Qt::AlignCenter);
    setTwipsGeometry(caption, 4140, 380, 500, 700);
    thumbnail_ = new SketchPicture(this);
    thumbnail_->setObjectName(QStringLiteral("SectionPicture"));
    thumbnail_->setCursor(Qt::PointingHandCursor);
    setTwipsGeometry(thumbnail_, 4140, 1100, 500, 2000);
    connect(thumbnail_, &SketchPicture::clicked, this, &GravityWallWindow::showSection);
    connect(this, &CalculatorWindow::calculated, this, [this] { drawSection(reportRecord()); });
    for (const Field& field : calculator().fields) {
        if (auto* edit = findChild<QLineEdit*>(QString::fromUtf8(field.control))) { // not 地基类别
            connect(edit, &QLineEdit::textChanged, this,
                    [this] { drawSection({}); }); // the forces belong to the old dimensions
        }
    }
    for (const char* option : {"Option1", "Option2"}) {
        connect(control<QRadioButton>(this, option), &QRadioButton::toggled, this,
                [this] { drawSection({}); });
    }
    drawSection({});

    // every result with its verdict under the checks' fields; what the routines cannot honour,
    // under them
    addActions({.report = {5760, 7320, 1215, 495},
                .save = {4200, 30, 900, 300}, // above the picture
                .open = {5160, 30, 900, 300},
                .copy = {6120, 30, 1095, 300},
                .study = {2880, 30, 1260, 300},
                .results = {7500, 3000, 7560, 3180}});
    for (const char* name : {"Ksreqx", "Ktreqx", "ereqx", "Ksreqsx", "Ktreqsx"}) {
        control<QLineEdit>(this, name)->setPlaceholderText(QStringLiteral("默认值"));
    }
    // the earth pressure's distribution, beside the checks' fields
    addPressureDiagram({11520, 420, 1560, 600}, {13140, 300, 1860, 1140});
    // the ground's strata and loads as tables, kept in step with their fields
    addGroundTables(this, 15420, 2280, 4440, 3600);
    auto* ground = new QLabel(
        QStringLiteral(
            "均留空（kh 为 0）时按左侧单一土层计算，与原计算相同。任一项填写时，土压力按分层土、"
            "地下水（水土分算）、附录B局部荷载与地震（Mononobe–Okabe）计算，作用于其压力图形心，"
            "并计入水压力 Pw、基底扬压力 U 与墙体惯性力 kh·G；地震工况的安全系数限值"
            "（抗滑 1.1、抗倾 1.3）为程序默认值。"),
        this);
    ground->setObjectName(QStringLiteral("groundNote"));
    ground->setWordWrap(true);
    ground->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTwipsGeometry(ground, 15420, 6000, 4440, 1740);
    auto* warnings = new QLabel(this);
    warnings->setObjectName(QStringLiteral("warnings"));
    warnings->setWordWrap(true);
    warnings->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    warnings->setStyleSheet(QStringLiteral("color: #9a5b00;"));
    setTwipsGeometry(warnings, 7500, 6300, 7560, 1440);
}

void GravityWallWindow::drawSection(const CalculationRecord& record) {
    Sketch section;
    sectionReason_ = QString::fromStdString(calculator().sketch(variant(), *this, record, section));
    section_ = sectionReason_.isEmpty() ? std::move(section) : Sketch{};
    thumbnail_->setSketch(thumbnailOf(section_, thumbnail_->size()));
    thumbnail_->setToolTip(sectionReason_.isEmpty()
                               ? QStringLiteral("截面图：按所填尺寸绘出，单击放大")
                               : sectionReason_);
    if (sectionView_) {
        sectionView_->findChild<SketchPicture*>()->setSketch(section_);
    }
}

void GravityWallWindow::showSection() {
    if (!sectionReason_.isEmpty()) {
        report(sectionReason_);
        return;
    }
    if (!sectionView_) {
        sectionView_ = sketchWindow(this, QStringLiteral("SectionView"),
                                    windowTitle() + QStringLiteral(" 截面图"), QSize(520, 640));
        sectionView_->findChild<SketchPicture*>()->setSketch(section_);
    }
    sectionView_->show();
    sectionView_->raise();
    sectionView_->activateWindow();
}

void GravityWallWindow::loadPicture(const QString& fileName) {
    const QString path = QDir(pictureFolder_).filePath(fileName);
    QImage image;
    if (!image.load(path, "BMP")) {
        report(QStringLiteral("无法载入图片文件“%1”:文件不存在、无法读取或不是BMP位图。")
                   .arg(QDir::toNativeSeparators(path)));
        return;
    }
    picture_->setImage(image);
}

void GravityWallWindow::setVariant(int type) {
    for (const auto& [name, picture, chosen] : {std::tuple{"Option1", "11.bmp", WallType::Upright},
                                                {"Option2", "22.bmp", WallType::Shelf}}) {
        auto* option = control<QRadioButton>(this, name);
        option->setAutoExclusive(false); // so that neither may be chosen
        option->setChecked(WallType(type) == chosen);
        option->setAutoExclusive(true);
        if (WallType(type) == chosen) {
            loadPicture(QString::fromLatin1(picture));
        }
    }
}

QWidget* GravityWallWindow::variantChooser() const {
    return control<QRadioButton>(this, "Option1");
}

int GravityWallWindow::variant() const {
    WallType type = WallType::NotChosen;
    if (control<QRadioButton>(this, "Option1")->isChecked()) {
        type = WallType::Upright;
    }
    if (control<QRadioButton>(this, "Option2")->isChecked()) {
        type = WallType::Shelf;
    }
    return int(type);
}
