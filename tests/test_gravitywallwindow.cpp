#include "recorder.h"
#include "shell/formbuilder.h"
#include "shell/launcher.h"
#include "windows/walldrawings.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const char* const kResults[] = {"Text1",  "Text6",  "Text7",  "Text13", "Text9",
                                "Text10", "Text16", "Text17", "Text18"};

class GravityWallWindowTest : public testing::Test {
  protected:
    Recorder recorder;
    Launcher launcher{recorder.reporter()};

    GravityWallWindow* open() {
        QTest::mouseClick(control<QPushButton>(&launcher, "Command6"), Qt::LeftButton);
        return launcher.gravityWallWindow();
    }
    GravityWallWindow* window() const { return launcher.gravityWallWindow(); }
    QLineEdit* field(const char* name) const { return control<QLineEdit>(window(), name); }
    void type(const char* name, const QString& text) {
        field(name)->clear();
        QTest::keyClicks(field(name), text);
    }
    void click(const char* name) {
        QTest::mouseClick(control<QWidget>(window(), name), Qt::LeftButton, {}, QPoint(4, 6));
    }
    QStringList results() const {
        QStringList texts;
        for (const char* name : kResults) {
            texts << field(name)->text();
        }
        return texts;
    }
    QImage picture() const { return control<WallPicture>(window(), "Picture1")->image(); }
};

const QString kKa = "0.427106497065615";
const QString kEa = "28.8723992016356";

struct TypeCase {
    const char* name;
    const char* option; // nullptr: no type chosen
    QStringList results;
};

class GravityWallTypes : public GravityWallWindowTest,
                         public testing::WithParamInterface<TypeCase> {};

TEST_P(GravityWallTypes, DefaultsGiveAllNineTexts) {
    open();
    if (GetParam().option) {
        click(GetParam().option);
    }
    click("Command1");
    EXPECT_TRUE(recorder.messages.isEmpty()) << recorder.messages.join("|").toStdString();
    EXPECT_EQ(results(), GetParam().results);
}

INSTANTIATE_TEST_SUITE_P(WallTypes, GravityWallTypes,
                         testing::Values(TypeCase{"upright",
                                                  "Option1",
                                                  {kKa, kEa, "118.8367", "0.9329683", "10.54241",
                                                   "2.11383", "163.9388", "0.2414525", "2.303136"}},
                                         TypeCase{"shelf",
                                                  "Option2",
                                                  {kKa, kEa, "112.212", "1.011601", "7.360059",
                                                   "2.161038", "139.0118", "0.1904505",
                                                   "18.33796"}},
                                         TypeCase{"none",
                                                  nullptr,
                                                  {kKa, kEa, "0", "0", "0.1169651", "0.1334362",
                                                   "-0.3454699", "10.41995", "0"}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GravityWallWindowTest, CreatedWithItsCaptionsDefaultsAndDrawing) {
    open();
    ASSERT_NE(window(), nullptr);
    EXPECT_EQ(window()->objectName(), "form1");
    EXPECT_EQ(window()->windowTitle(), "重力式挡墙计算");
    EXPECT_EQ(window()->size(), QSize(487, 534)); // 7308 × 8004 twips
    for (const char* frame : {"Frame1", "Frame2", "Frame3"}) {
        EXPECT_EQ(control<QGroupBox>(window(), frame)->title(), frame);
    }
    EXPECT_FALSE(control<QRadioButton>(window(), "Option1")->isChecked());
    EXPECT_FALSE(control<QRadioButton>(window(), "Option2")->isChecked());
    EXPECT_EQ(control<QRadioButton>(window(), "Option1")->text(), "直立式");
    EXPECT_EQ(control<QRadioButton>(window(), "Option2")->text(), "衡重式");
    EXPECT_EQ(picture(), uprightWallDrawing());
    EXPECT_EQ(control<QWidget>(window(), "Picture1")->geometry(), QRect(312, 24, 153, 185));
    EXPECT_EQ(field("Text24")->text(), ".5");
    EXPECT_EQ(field("Text22")->text(), "1.30");
    EXPECT_EQ(field("Text15")->geometry(), QRect(64, 352, 57, 18));
    EXPECT_EQ(field("Text27")->geometry(), QRect(192, 448, 41, 18));
    EXPECT_EQ(field("Text3")->height(), 18); // 264 twips
    EXPECT_EQ(captionOf(field("Text26")), "x2");
    EXPECT_EQ(results(), QStringList(9, "0"));
}

TEST_F(GravityWallWindowTest, NoBatterFailsTheUprightWeightAfterKaAndEa) {
    open();
    click("Option1");
    type("Text15", "0");
    click("Command1");
    ASSERT_EQ(recorder.messages.size(), 1);
    EXPECT_TRUE(recorder.messages[0].contains("除数为零 (错误 11)"));
    QStringList expected(9, "0");
    expected[0] = kKa;
    expected[1] = kEa;
    EXPECT_EQ(results(), expected);
}

TEST_F(GravityWallWindowTest, TheShelfTypeAcceptsNoBatter) {
    open();
    click("Option2");
    type("Text15", "0");
    click("Command1");
    EXPECT_TRUE(recorder.messages.isEmpty());
    EXPECT_NE(field("Text18")->text(), "0");
}

TEST_F(GravityWallWindowTest, AnEmptiedShelfFieldStopsTheUprightWallBeforeAnyWrite) {
    open();
    click("Option1");
    type("Text23", "");
    click("Command1");
    ASSERT_EQ(recorder.messages.size(), 1);
    EXPECT_TRUE(recorder.messages[0].contains("类型不匹配 (错误 13)"));
    EXPECT_TRUE(recorder.messages[0].contains("b4(m)"));
    EXPECT_EQ(results(), QStringList(9, "0"));
}

TEST_F(GravityWallWindowTest, TheEarthPressureUsesTheRetainedHeightNotTheWallHeight) {
    open();
    click("Option1");
    type("Text14", "5");
    click("Command1");
    EXPECT_EQ(field("Text1")->text(), kKa);
    EXPECT_EQ(field("Text6")->text(), kEa);
    EXPECT_NE(field("Text7")->text(), "118.8367");
}

TEST_F(GravityWallWindowTest, SwitchingTheTypeChangesOnlyThePicture) {
    open();
    click("Option1");
    click("Command1");
    const QStringList before = results();
    const QImage upright = picture();
    click("Option2");
    EXPECT_EQ(results(), before);
    QImage shelf;
    ASSERT_TRUE(shelf.load(QDir(GravityWallWindow::defaultPictureFolder()).filePath("22.bmp")));
    EXPECT_EQ(picture(), shelf);
    EXPECT_NE(picture(), upright);
    click("Command1");
    EXPECT_EQ(field("Text7")->text(), "112.212");
}

TEST_F(GravityWallWindowTest, ExitKeepsEverythingFrameCloseRestoresDefaults) {
    GravityWallWindow* first = open();
    click("Option2");
    type("Qx", "12");
    click("Command1");
    const QStringList texts = results();
    click("Command2");
    EXPECT_FALSE(first->isVisible());
    EXPECT_EQ(open(), first);
    EXPECT_EQ(results(), texts);
    EXPECT_TRUE(control<QRadioButton>(first, "Option2")->isChecked());
    EXPECT_EQ(field("Qx")->text(), "12");
    first->close();
    GravityWallWindow* fresh = open();
    EXPECT_NE(fresh, first);
    EXPECT_EQ(field("Qx")->text(), "10");
    EXPECT_FALSE(control<QRadioButton>(fresh, "Option2")->isChecked());
    EXPECT_EQ(picture(), uprightWallDrawing());
}

// Pictures from a folder the test controls.
class WallPictures : public testing::Test {
  protected:
    QTemporaryDir folder;
    Recorder recorder;
    void writeFile(const char* name, const QByteArray& bytes) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
};

TEST_F(WallPictures, AMissingOrForeignFileIsReportedAndThePictureKept) {
    // 22.bmp is a real bitmap; 11.bmp is missing at first, then a PNG under a .bmp name
    ASSERT_TRUE(shelfWallDrawing(1).save(folder.filePath("22.bmp"), "BMP"));
    GravityWallWindow window(recorder.reporter(), folder.path());
    auto* picture = control<WallPicture>(&window, "Picture1");
    auto* upright = control<QRadioButton>(&window, "Option1");
    auto* shelf = control<QRadioButton>(&window, "Option2");
    const QImage stored = picture->image();

    upright->click();
    ASSERT_EQ(recorder.messages.size(), 1);
    EXPECT_TRUE(recorder.messages[0].contains(QDir::toNativeSeparators(folder.filePath("11.bmp"))))
        << recorder.messages[0].toStdString();
    EXPECT_TRUE(upright->isChecked());
    EXPECT_EQ(picture->image(), stored);

    shelf->click();
    EXPECT_EQ(recorder.messages.size(), 1);
    const QImage shelfPicture = picture->image();
    EXPECT_NE(shelfPicture, stored);

    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        uprightWallDrawing(1).save(&buffer, "PNG");
    }
    writeFile("11.bmp", png);
    upright->click();
    ASSERT_EQ(recorder.messages.size(), 2);
    EXPECT_TRUE(recorder.messages[1].contains("11.bmp"));
    EXPECT_TRUE(upright->isChecked());
    EXPECT_EQ(picture->image(), shelfPicture);
}

TEST(WallDrawings, FitThePictureBoxAtTheirDensity) {
    EXPECT_EQ(uprightWallDrawing(1).size(), QSize(153, 185));
    EXPECT_EQ(shelfWallDrawing(3).size(), QSize(459, 555));
    // light lines on black: the corner is black, and the drawing has light pixels
    const QImage drawing = uprightWallDrawing(2);
    EXPECT_EQ(drawing.pixelColor(0, 0), QColor(Qt::black));
    int light = 0;
    for (int y = 0; y < drawing.height(); y += 2) {
        for (int x = 0; x < drawing.width(); x += 2) {
            light += drawing.pixelColor(x, y).lightness() > 200;
        }
    }
    EXPECT_GT(light, 100);
}

} // namespace
