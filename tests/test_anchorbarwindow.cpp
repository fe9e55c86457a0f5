#include "recorder.h"
#include "shell/formbuilder.h"
#include "shell/launcher.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class AnchorBarWindowTest : public testing::Test {
  protected:
    Recorder recorder;
    Launcher launcher{recorder.reporter()};

    AnchorBarWindow* open() {
        QTest::mouseClick(control<QPushButton>(&launcher, "anchorbar"), Qt::LeftButton);
        return launcher.anchorBarWindow();
    }
    QLineEdit* field(const char* name) const {
        return control<QLineEdit>(launcher.anchorBarWindow(), name);
    }
    void type(const char* name, const QString& text) {
        field(name)->clear();
        QTest::keyClicks(field(name), text);
    }
    void click(const char* name) {
        QTest::mouseClick(control<QWidget>(launcher.anchorBarWindow(), name), Qt::LeftButton);
    }
    QStringList results() const {
        return {field("Text5")->text(), field("Text6")->text(), field("Text7")->text(),
                field("Text8")->text()};
    }
};

struct OptionCase {
    const char* name;
    const char* click; // the option, or the label that names it
    QStringList results;
};

class AnchorBarOptions : public AnchorBarWindowTest,
                         public testing::WithParamInterface<OptionCase> {};

TEST_P(AnchorBarOptions, DefaultsGiveTheDesign) {
    open();
    click(GetParam().click);
    click("Command1");
    EXPECT_TRUE(recorder.messages.isEmpty()) << recorder.messages.join("|").toStdString();
    EXPECT_EQ(results(), GetParam().results);
}

const QStringList kPermanent{"12.5", "0.0642823749415615", "0.126313449053005",
                             "0.0409349140449553"};
const QStringList kTemporary{"12.5", "0.0482117812061711", "0.094972518084966",
                             "0.034112428370796"};

INSTANTIATE_TEST_SUITE_P(Options, AnchorBarOptions,
                         testing::Values(OptionCase{"permanent", "Option1", kPermanent},
                                         OptionCase{"temporary", "Option2", kTemporary},
                                         OptionCase{"temporary_by_label", "Label6", kTemporary},
                                         OptionCase{"permanent_by_label", "Label5", kPermanent}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(AnchorBarWindowTest, CreatedWithItsCaptionsDefaultsAndPlaces) {
    AnchorBarWindow* window = open();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->objectName(), "anchorbarfrm");
    EXPECT_EQ(window->windowTitle(), "锚杆计算");
    EXPECT_EQ(window->size(), QSize(494, 379)); // 7416 × 5688 twips
    const QStringList inputs{field("Text1")->text(),  field("Text2")->text(),
                             field("Text3")->text(),  field("Text4")->text(),
                             field("Text9")->text(),  field("Text10")->text(),
                             field("Text11")->text(), field("Text12")->text()};
    EXPECT_EQ(inputs, QStringList({"0", "10", "310", "1.1", "180", "140", "22", "2700"}));
    EXPECT_EQ(results(), QStringList({"0", "0", "0", "0"}));
    EXPECT_TRUE(control<QRadioButton>(window, "Option1")->isChecked());
    EXPECT_FALSE(control<QRadioButton>(window, "Option2")->isChecked());
    EXPECT_EQ(control<QWidget>(window, "Frame1")->geometry(), QRect(24, 16, 457, 169));
    EXPECT_EQ(field("Text10")->geometry(), QRect(416, 72, 33, 18));
    EXPECT_EQ(field("Text8")->geometry(), QRect(184, 88, 161, 18));
    EXPECT_EQ(control<QWidget>(window, "Option1")->geometry(), QRect(376, 24, 17, 12));
    EXPECT_EQ(control<QWidget>(window, "Command2")->geometry(), QRect(224, 200, 121, 41));
    EXPECT_EQ(captionOf(field("Text7")), "锚固段长度(M)");
    EXPECT_EQ(control<QWidget>(window, "Option2")->accessibleName(), "临时性锚杆");
}

TEST_F(AnchorBarWindowTest, FocusMovesInTheWindowsOrder) {
    AnchorBarWindow* window = open();
    const QStringList expected{"Text1",    "Text2",  "Text3",  "Text4", "Option1", "Option2",
                               "Command1", "Text5",  "Text6",  "Text7", "Text8",   "Command2",
                               "Text9",    "Text10", "Text11", "Text12"};
    QStringList chain;
    QWidget* w = control<QWidget>(window, "Text1");
    for (int i = 0; i < expected.size(); ++i) {
        chain << w->objectName();
        w = w->nextInFocusChain();
        while (w->objectName().isEmpty() || w->objectName().startsWith("Label") ||
               w->objectName().startsWith("Frame") || w->objectName().startsWith("qt_")) {
            w = w->nextInFocusChain();
        }
    }
    EXPECT_EQ(chain, expected);
}

struct FailureCase {
    const char* name;
    const char* field;
    const char* text;
    const char* message;
};

class AnchorBarFailures : public AnchorBarWindowTest,
                          public testing::WithParamInterface<FailureCase> {};

TEST_P(AnchorBarFailures, LeaveTheResultsAsTheyWere) {
    open();
    click("Command1");
    const QStringList before = results();
    type(GetParam().field, GetParam().text);
    click("Command1");
    ASSERT_EQ(recorder.messages.size(), 1);
    EXPECT_TRUE(recorder.messages[0].contains(QString::fromUtf8(GetParam().message)))
        << recorder.messages[0].toStdString();
    EXPECT_EQ(results(), before);
    EXPECT_EQ(field(GetParam().field)->text(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, AnchorBarFailures,
    testing::Values(FailureCase{"emptied_body", "Text10", "", "类型不匹配 (错误 13)"},
                    FailureCase{"zero_strength", "Text3", "0", "除数为零 (错误 11)"},
                    FailureCase{"zero_grout_bond", "Text12", "0", "除数为零 (错误 11)"},
                    FailureCase{"word", "Text2", "ten", "锚杆水平拉力标准值(KN)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(AnchorBarWindowTest, ExitKeepsTextsAndOptionFrameCloseRestoresDefaults) {
    AnchorBarWindow* window = open();
    type("Text2", "20");
    click("Option2");
    click("Command1");
    click("Command2");
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(open(), window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(field("Text2")->text(), "20");
    EXPECT_TRUE(control<QRadioButton>(window, "Option2")->isChecked());
    EXPECT_EQ(field("Text5")->text(), "25");

    window->close();
    AnchorBarWindow* fresh = open();
    EXPECT_NE(fresh, window);
    EXPECT_EQ(field("Text2")->text(), "10");
    EXPECT_TRUE(control<QRadioButton>(fresh, "Option1")->isChecked());
    EXPECT_EQ(field("Text5")->text(), "0");
}

} // namespace
