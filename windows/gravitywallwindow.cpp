#include "gravitywallwindow.h"

#include "routines/gravitywall.h"
#include "shell/formbuilder.h"
#include "windows/walldrawings.h"

#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>

using namespace subprogram;

namespace {

// clang-format off
const ControlSpec kControls[] = {
    {Kind::Frame,  "Frame1",  "Frame1",                       360,  120, 3732, 7092},
    {Kind::Label,  "Label3",  "挡墙墙背倾角α(度):",            120,  240, 2760,  252, "Frame1", "Text3"},
    {Kind::Field,  "Text3",   "90",                          2880,  240,  615,  264, "Frame1"},
    {Kind::Label,  "Label4",  "岩土对挡墙墙背摩擦角δ(度):",     120,  600, 2760,  252, "Frame1", "Text4"},
    {Kind::Field,  "Text4",   "10",                          2880,  600,  615,  270, "Frame1"},
    {Kind::Label,  "Y",       "土体重度Y(KN/M3):",             120,  960, 2760,  252, "Frame1", "Yx"},
    {Kind::Field,  "Yx",      "20",                          2880,  960,  615,  270, "Frame1"},
    {Kind::Label,  "hh",      "挡土墙高度H(米):",              120, 1320, 2760,  252, "Frame1", "hx"},
    {Kind::Field,  "hx",      "2.6",                         2880, 1320,  615,  270, "Frame1"},
    {Kind::Label,  "Fifi",    "土的内摩擦角Fi(度):",           120, 1680, 2760,  252, "Frame1", "Fix"},
    {Kind::Field,  "Fix",     "30",                          2880, 1680,  615,  270, "Frame1"},
    {Kind::Label,  "Q",       "地表均布荷载标准值q(KPa):",      120, 2040, 2760,  252, "Frame1", "Qx"},
    {Kind::Field,  "Qx",      "10",                          2880, 2040,  615,  270, "Frame1"},
    {Kind::Label,  "C",       "土的粘聚力c(KPa):",             120, 2400, 2760,  252, "Frame1", "Cx"},
    {Kind::Field,  "Cx",      "0",                           2880, 2400,  615,  270, "Frame1"},
    {Kind::Label,  "B",       "填土表面与水平面的夹角B:",       120, 2760, 2760,  252, "Frame1", "Bx"},
    {Kind::Field,  "Bx",      "0",                           2880, 2760,  615,  270, "Frame1"},
    {Kind::Label,  "Label2",  "挡墙基底倾角α0(度):",           120, 3120, 2760,  252, "Frame1", "Text2"},
    {Kind::Field,  "Text2",   "11.3",                        2880, 3120,  615,  270, "Frame1"},
    {Kind::Label,  "Label5",  "岩土对挡墙基底的摩擦系数:",       120, 3480, 2760,  252, "Frame1", "Text5"},
    {Kind::Field,  "Text5",   "0.3",                         2880, 3480,  615,  270, "Frame1"},
    {Kind::Label,  "Label8",  "基底的水平投影宽度b(m):",        120, 3840, 2760,  252, "Frame1", "Text8"},
    {Kind::Field,  "Text8",   "1.49",                        2880, 3840,  615,  270, "Frame1"},
    {Kind::Label,  "Label11", "挡墙材料重度(KN/M):",           120, 4200, 2760,  252, "Frame1", "Text11"},
    {Kind::Field,  "Text11",  "24",                          2880, 4200,  615,  270, "Frame1"},
    {Kind::Label,  "Label12", "墙顶宽度b1(M):",                120, 4560, 2760,  252, "Frame1", "Text12"},
    {Kind::Field,  "Text12",  "0.5",                         2880, 4560,  615,  270, "Frame1"},
    {Kind::Label,  "Label14", "墙体总高H(M):",                 120, 4920, 2760,  252, "Frame1", "Text14"},
    {Kind::Field,  "Text14",  "4",                           2880, 4920,  615,  264, "Frame1"},
    {Kind::Label,  "Label15", "墙面坡率:",                     120, 5280,  840,  252, "Frame1", "Text15"},
    {Kind::Field,  "Text15",  "0.05",                         960, 5280,  855,  270, "Frame1"},
    {Kind::Label,  "Label26", "x2:",                         2280, 5280,  600,  252, "Frame1", "Text26"},
    {Kind::Field,  "Text26",  "0.35",                        2880, 5280,  615,  270, "Frame1"},
    {Kind::Label,  "Label19", "h1(m):",                       120, 5640,  840,  252, "Frame1", "Text19"},
    {Kind::Field,  "Text19",  "2",                            960, 5640,  615,  270, "Frame1"},
    {Kind::Label,  "Label20", "h2(m):",                      2040, 5640,  840,  252, "Frame1", "Text20"},
    {Kind::Field,  "Text20",  "0.298",                       2880, 5640,  615,  270, "Frame1"},
    {Kind::Label,  "Label22", "b2(m):",                       120, 6000,  840,  252, "Frame1", "Text22"},
    {Kind::Field,  "Text22",  "1.30",                         960, 6000,  615,  270, "Frame1"},
    {Kind::Label,  "Label21", "b3(m):",                      2040, 6000,  840,  252, "Frame1", "Text21"},
    {Kind::Field,  "Text21",  "1.03",                        2880, 6000,  615,  270, "Frame1"},
    {Kind::Label,  "Label23", "b4(m):",                       120, 6360,  840,  252, "Frame1", "Text23"},
    {Kind::Field,  "Text23",  "0.45",                         960, 6360,  615,  270, "Frame1"},
    {Kind::Label,  "Label24", "b5(m):",                      2040, 6360,  840,  252, "Frame1", "Text24"},
    {Kind::Field,  "Text24",  ".5",                          2880, 6360,  615,  270, "Frame1"},
    {Kind::Label,  "Label25", "h4(m):",                       120, 6720,  840,  252, "Frame1", "Text25"},
    {Kind::Field,  "Text25",  "0.65",                         960, 6720,  615,  270, "Frame1"},
    {Kind::Label,  "Label27", "x3:",                         2280, 6720,  600,  252, "Frame1", "Text27"},
    {Kind::Field,  "Text27",  "0.25",                        2880, 6720,  615,  270, "Frame1"},
    {Kind::Frame,  "Frame2",  "Frame2",                      4320, 3360, 2895, 3132},
    {Kind::Label,  "Label1",  "主动土压力系数",                  120,  345, 2040,  252, "Frame2", "Text1"},
    {Kind::Field,  "Text1",   "0",                           2160,  345,  615,  270, "Frame2"},
    {Kind::Label,  "Label6",  "主动土压力(KN)",                 120,  600, 2040,  252, "Frame2", "Text6"},
    {Kind::Field,  "Text6",   "0",                           2160,  600,  615,  270, "Frame2"},
    {Kind::Label,  "Label7",  "墙体自重(KN)",                   120,  840, 2040,  252, "Frame2", "Text7"},
    {Kind::Field,  "Text7",   "0",                           2160,  840,  615,  270, "Frame2"},
    // the longest caption takes two lines, centred on its field's row
    {Kind::Label,  "Label13", "挡墙重心至墙趾的水平距离(M):",    120, 1110, 2040,  450, "Frame2", "Text13"},
    {Kind::Field,  "Text13",  "0",                           2160, 1200,  615,  270, "Frame2"},
    {Kind::Label,  "Label9",  "抗滑移系数",                     120, 1560, 2040,  252, "Frame2", "Text9"},
    {Kind::Field,  "Text9",   "0",                           2160, 1560,  615,  270, "Frame2"},
    {Kind::Label,  "Label10", "抗倾系数",                       120, 1800, 2040,  252, "Frame2", "Text10"},
    {Kind::Field,  "Text10",  "0",                           2160, 1800,  615,  270, "Frame2"},
    {Kind::Label,  "Label16", "基底最大应力(KN/MxM)",           120, 2040, 2040,  252, "Frame2", "Text16"},
    {Kind::Field,  "Text16",  "0",                           2160, 2040,  615,  270, "Frame2"},
    {Kind::Label,  "Label17", "基底合力偏心矩(M):",             120, 2280, 2040,  252, "Frame2", "Text17"},
    {Kind::Field,  "Text17",  "0",                           2160, 2280,  615,  270, "Frame2"},
    {Kind::Label,  "Label18", "基底最小应力(KN/MxM)",           120, 2640, 2040,  252, "Frame2", "Text18"},
    {Kind::Field,  "Text18",  "0",                           2160, 2640,  615,  270, "Frame2"},
    {Kind::Frame,  "Frame3",  "Frame3",                       120, 7320, 4332,  492},
    {Kind::Option, "Option1", "直立式",                        120,  240,  972,  180, "Frame3"},
    {Kind::Option, "Option2", "衡重式",                       1080,  240,  972,  180, "Frame3"},
    {Kind::Button, "Command1", "计算",                        4440, 6600, 1215,  495},
    {Kind::Button, "Command2", "退出",                        5760, 6600, 1215,  495},
};
// clang-format on

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
    : CalculatorWindow("form1", QStringLiteral("重力式挡墙计算"), std::move(reporter)),
      pictureFolder_(std::move(pictureFolder)) {
    setClientTwips(this, 7308, 8004);
    buildControls(this, kControls);
    picture_ = new WallPicture(this);
    picture_->setObjectName(QStringLiteral("Picture1"));
    setTwipsGeometry(picture_, 4680, 360, 2292, 2772);
    picture_->setImage(uprightWallDrawing()); // the drawing the window carries with it
    connect(control<QRadioButton>(this, "Option1"), &QRadioButton::clicked, this,
            [this] { loadPicture(QStringLiteral("11.bmp")); });
    connect(control<QRadioButton>(this, "Option2"), &QRadioButton::clicked, this,
            [this] { loadPicture(QStringLiteral("22.bmp")); });
    connectButtons([this] { calculate(); });
    addReportButton(5760, 7320, 1215, 495);
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

void GravityWallWindow::calculate() {
    WallType type = WallType::NotChosen;
    if (control<QRadioButton>(this, "Option1")->isChecked()) {
        type = WallType::Upright;
    }
    if (control<QRadioButton>(this, "Option2")->isChecked()) {
        type = WallType::Shelf;
    }
    calculateRecorded(gravityWallReport(type), [type](Form& form, Trace* trace) {
        calculateGravityWall(type, form, trace);
    });
}

QImage GravityWallWindow::drawing() const {
    return picture_->image();
}
