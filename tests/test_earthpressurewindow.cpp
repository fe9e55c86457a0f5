#include "recorder.h"
#include "shell/formbuilder.h"
#include "shell/launcher.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using subprogram::EarthPressureMode;

namespace {

// The earth-pressure window, driven as a user drives it: through the launcher's buttons.
class EarthPressureWindowTest : public testing::Test {
  protected:
    Recorder recorder;
    Launcher launcher{recorder.reporter()};

    void press(const char* launcherButton) {
        QTest::mouseClick(control<QPushButton>(&launcher, launcherButton), Qt::LeftButton);
    }
    EarthPressureWindow* window() const { return launcher.earthPressureWindow(); }
    QLineEdit* field(const char* name) const { return control<QLineEdit>(window(), name); }
    QString text(const char* name) const { return field(name)->text(); }
    void type(const char* name, const QString& text) {
        field(name)->clear();
        QTest::keyClicks(field(name), text);
    }
    void calculate() {
        QTest::mouseClick(control<QPushButton>(window(), "Command1"), Qt::LeftButton);
    }
    QStringList results() const { return {text("Eax"), text("Kax"), text("E0ix"), text("K0ix")}; }
};

struct ModeCase {
    const char* name;
    const char* button;
    EarthPressureMode mode;
    const char* slipCaption;
    QStringList results; // Eax, Kax, E0ix, K0ix after calculating with the defaults
};

class EarthPressureModes : public EarthPressureWindowTest,
                           public testing::WithParamInterface<ModeCase> {};

TEST_P(EarthPressureModes, DefaultsGiveTheExpectedTexts) {
    const auto& c = GetParam();
    press(c.button);
    ASSERT_NE(window(), nullptr);
    EXPECT_TRUE(window()->isVisible());
    EXPECT_EQ(subprogram::earthPressureMode, static_cast<int>(c.mode));
    EXPECT_EQ(window()->windowTitle(), "土压力计算");
    EXPECT_EQ(control<QLabel>(window(), "SS")->text(), QString::fromUtf8(c.slipCaption));
    EXPECT_EQ(results(), QStringList({"0", "0", "0", "0"}));
    calculate();
    EXPECT_TRUE(recorder.messages.isEmpty()) << recorder.messages.join("|").toStdString();
    EXPECT_EQ(results(), c.results);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, EarthPressureModes,
    testing::Values(ModeCase{"Coulomb",
                             "solidstrees",
                             EarthPressureMode::Coulomb,
                             "滑裂面与水平面的夹角ss:",
                             {"77.5000039964273", "0.344444462206344", "0", "0"}},
                    ModeCase{"AtRest",
                             "Command1",
                             EarthPressureMode::AtRest,
                             "滑裂面与水平面的夹角ss:",
                             {"0", "0", "45.7500007077544", "0.50000000773502"}},
                    ModeCase{"LimitedFill",
                             "Command4",
                             EarthPressureMode::LimitedFill,
                             "稳定岩石坡面的倾角",
                             {"146.116710614408", "0.649407602730703", "0", "0"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct EnabledCase {
    const char* button;
    QStringList enabled;
    QStringList disabled;
};

class EarthPressureEnabling : public EarthPressureWindowTest,
                              public testing::WithParamInterface<EnabledCase> {};

TEST_P(EarthPressureEnabling, EachModeEnablesWhatItUses) {
    press(GetParam().button);
    for (const QString& name : GetParam().enabled) {
        EXPECT_TRUE(control<QWidget>(window(), name.toLatin1().constData())->isEnabled())
            << name.toStdString();
    }
    for (const QString& name : GetParam().disabled) {
        EXPECT_FALSE(control<QWidget>(window(), name.toLatin1().constData())->isEnabled())
            << name.toStdString();
    }
}

const QStringList kAlways{"h", "hx", "Y", "Yx", "Fi", "Fix", "Q", "Qx"};
const QStringList kWall{"C", "Cx", "ST", "STx", "B", "Bx", "a", "ax", "SS", "SSx"};
const QStringList kRock{"str", "strx"};
const QStringList kActive{"Ea", "Eax", "Ka", "Kax"};
const QStringList kAtRest{"EOi", "E0ix", "K0i", "K0ix"};

INSTANTIATE_TEST_SUITE_P(
    Modes, EarthPressureEnabling,
    testing::Values(EnabledCase{"solidstrees", kAlways + kWall + kActive, kRock + kAtRest},
                    EnabledCase{"Command1", kAlways + kAtRest, kWall + kRock + kActive},
                    EnabledCase{"Command4", kAlways + kWall + kRock + kActive, kAtRest}));

TEST_F(EarthPressureWindowTest, ControlsCarryTheirNamesCaptionsAndPlaces) {
    press("solidstrees");
    EXPECT_EQ(window()->objectName(), "solidstress");
    EXPECT_EQ(window()->size(), QSize(482, 420)); // 7236 × 6300 twips
    EXPECT_EQ(control<QWidget>(window(), "parameter")->geometry(), QRect(16, 24, 449, 273));
    EXPECT_EQ(control<QWidget>(window(), "solution")->geometry(), QRect(16, 328, 409, 89));
    EXPECT_EQ(field("hx")->geometry(), QRect(168, 16, 41, 18));
    EXPECT_EQ(field("strx")->geometry(), QRect(168, 232, 41, 18));
    EXPECT_EQ(control<QLabel>(window(), "str")->height(), 25);
    EXPECT_EQ(control<QLabel>(window(), "Y")->height(), 17);
    EXPECT_EQ(field("K0ix")->geometry(), QRect(328, 48, 41, 18));
    EXPECT_EQ(control<QWidget>(window(), "Picture1")->geometry(), QRect(216, 16, 221, 237));
    EXPECT_EQ(control<QPushButton>(window(), "Command1")->text(), "计算");
    EXPECT_EQ(control<QPushButton>(window(), "Command2")->text(), "退出");
    EXPECT_EQ(captionOf(field("Fix")), "土的内摩擦角Fi(度)");
    EXPECT_EQ(window()->focusWidget(), field("hx"));
    const QStringList defaults{text("hx"),  text("Yx"), text("Fix"), text("Qx"),  text("Cx"),
                               text("STx"), text("Bx"), text("ax"),  text("SSx"), text("strx")};
    EXPECT_EQ(defaults, QStringList({"5", "18", "30", "1.5", "0", "0", "0", "90", "45", "12"}));
}

TEST_F(EarthPressureWindowTest, SwitchingModeClearsTheResultsOnlyAndReusesTheWindow) {
    press("Command1");
    EarthPressureWindow* first = window();
    type("hx", "6");
    calculate();
    EXPECT_NE(text("E0ix"), "0");
    press("solidstrees"); // while the window is shown
    EXPECT_EQ(window(), first);
    EXPECT_EQ(results(), QStringList({"0", "0", "0", "0"}));
    EXPECT_EQ(text("hx"), "6");
    EXPECT_EQ(subprogram::earthPressureMode, 1);
}

TEST_F(EarthPressureWindowTest, FieldsAModeDoesNotReadCannotFailIt) {
    press("solidstrees");
    type("Cx", "abc"); // typed while the field is enabled
    press("Command1");
    calculate();
    EXPECT_TRUE(recorder.messages.isEmpty());
    EXPECT_EQ(text("K0ix"), "0.50000000773502");

    press("solidstrees");
    calculate();
    ASSERT_EQ(recorder.messages.size(), 1);
    EXPECT_TRUE(recorder.messages[0].contains("类型不匹配 (错误 13)"));
    EXPECT_TRUE(recorder.messages[0].contains("土的粘聚力c(KPa)"));
    EXPECT_EQ(results(), QStringList({"0", "0", "0", "0"}));
    EXPECT_EQ(text("Cx"), "abc");
}

TEST_F(EarthPressureWindowTest, TheFirstBadFieldInReadingOrderIsReported) {
    press("solidstrees");
    type("hx", "x");
    type("ax", "y"); // α is read first
    calculate();
    ASSERT_EQ(recorder.messages.size(), 1);
    EXPECT_TRUE(recorder.messages[0].contains("墙背与水平面的夹角a"))
        << recorder.messages[0].toStdString();
    EXPECT_FALSE(recorder.messages[0].contains("挡土墙高度"));
}

TEST_F(EarthPressureWindowTest, LimitedFillReadsTheRockFrictionNotTheSoilFriction) {
    press("Command4");
    type("Fix", "not read");
    type("Qx", "100");
    calculate();
    EXPECT_TRUE(recorder.messages.isEmpty());
    EXPECT_EQ(text("Kax"), "0.649407602730703");
    type("strx", "0");
    type("Qx", "0");
    calculate();
    EXPECT_EQ(text("Kax"), "1");
    EXPECT_EQ(text("Eax"), "225");
}

TEST_F(EarthPressureWindowTest, ARoutineFailureWritesNothing) {
    press("Command4");
    type("hx", "0"); // 0 ÷ 0 in the cohesion factor
    calculate();
    ASSERT_EQ(recorder.messages.size(), 1);
    EXPECT_TRUE(recorder.messages[0].contains("溢出 (错误 6)"));
    EXPECT_EQ(results(), QStringList({"0", "0", "0", "0"}));
}

TEST_F(EarthPressureWindowTest, ExitHidesKeepsInputsAndTheNextOpenClearsResults) {
    press("solidstrees");
    type("Yx", "20");
    calculate();
    QTest::mouseClick(control<QPushButton>(window(), "Command2"), Qt::LeftButton);
    EXPECT_FALSE(window()->isVisible());
    EXPECT_NE(text("Kax"), "0");
    press("solidstrees");
    EXPECT_TRUE(window()->isVisible());
    EXPECT_EQ(text("Yx"), "20");
    EXPECT_EQ(results(), QStringList({"0", "0", "0", "0"}));
}

TEST_F(EarthPressureWindowTest, FrameCloseDiscardsAndTheNextOpenHasDefaults) {
    press("solidstrees");
    type("Yx", "20");
    window()->close();
    EXPECT_EQ(window(), nullptr);
    press("Command4");
    ASSERT_NE(window(), nullptr);
    EXPECT_EQ(text("Yx"), "18");
    EXPECT_EQ(control<QLabel>(window(), "SS")->text(), "稳定岩石坡面的倾角");
    EXPECT_TRUE(field("strx")->isEnabled());
}

} // namespace
