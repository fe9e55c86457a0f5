#include "recorder.h"
#include "shell/errorreport.h"
#include "trivialwindow.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

struct KindCase {
    ErrorKind kind;
    const char* text;
};

class KindText : public testing::TestWithParam<KindCase> {};

TEST_P(KindText, NamesTheKindInChineseWithItsNumber) {
    EXPECT_EQ(kindText(GetParam().kind), QString::fromUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, KindText,
    testing::Values(KindCase{ErrorKind::TypeMismatch, "类型不匹配 (错误 13)"},
                    KindCase{ErrorKind::Overflow, "溢出 (错误 6)"},
                    KindCase{ErrorKind::DivisionByZero, "除数为零 (错误 11)"},
                    KindCase{ErrorKind::InvalidArgument, "无效的参数 (错误 5)"},
                    KindCase{ErrorKind::SubscriptOutOfRange, "下标越界 (错误 9)"}));

class FailureModel : public testing::Test {
  protected:
    Recorder recorder;
    TrivialWindow window{recorder.reporter()};
    QLineEdit* x = control<QLineEdit>(&window, "xx");
    QLineEdit* result = control<QLineEdit>(&window, "result");
    void calculate() {
        QTest::mouseClick(control<QPushButton>(&window, "Command1"), Qt::LeftButton);
    }
};

TEST_F(FailureModel, AFieldThatIsNotANumberIsNamedFocusedAndKept) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    x->setText("3o");
    calculate();
    ASSERT_EQ(recorder.messages.size(), 1);
    const QString message = recorder.messages.front();
    EXPECT_TRUE(message.contains("类型不匹配 (错误 13)")) << message.toStdString();
    EXPECT_TRUE(message.contains("数值x")) << message.toStdString();
    EXPECT_TRUE(message.contains("3o")) << message.toStdString();
    EXPECT_EQ(x->text(), "3o");
    EXPECT_EQ(result->text(), "0");
    EXPECT_TRUE(x->hasFocus());
    EXPECT_EQ(x->selectedText(), "3o");
}

TEST_F(FailureModel, AnOverflowingFieldIsReportedAsOverflow) {
    x->setText("1E400");
    calculate();
    ASSERT_EQ(recorder.messages.size(), 1);
    EXPECT_TRUE(recorder.messages.front().contains("溢出 (错误 6)"));
    EXPECT_EQ(result->text(), "0");
}

TEST_F(FailureModel, AnArithmeticFailureIsReportedWithoutAField) {
    x->setText("1E308");
    calculate(); // x + x overflows
    ASSERT_EQ(recorder.messages.size(), 1);
    EXPECT_TRUE(recorder.messages.front().contains("溢出 (错误 6)"));
    EXPECT_FALSE(recorder.messages.front().contains("1E308"));
    EXPECT_EQ(result->text(), "0");
}

TEST_F(FailureModel, TheWindowGoesOnWorkingAfterAFailure) {
    x->setText("abc");
    calculate();
    x->setText("2.5");
    calculate();
    EXPECT_EQ(recorder.messages.size(), 1);
    EXPECT_EQ(result->text(), "5");
}

TEST(MessageBox, TheRealBoxShowsTheMessageAndClosesWithOk) {
    TrivialWindow window(showMessageBox);
    window.show();
    QString seen;
    QString title;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = box->text();
        title = box->windowTitle();
        box->button(QMessageBox::Ok)->click();
    });
    control<QLineEdit>(&window, "xx")->setText("abc");
    QTest::mouseClick(control<QPushButton>(&window, "Command1"), Qt::LeftButton);
    EXPECT_TRUE(seen.contains("类型不匹配 (错误 13)")) << seen.toStdString();
    EXPECT_EQ(title, "试验");
}

} // namespace
