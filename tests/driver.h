#pragma once

#include "app/launcher.h"
#include "calculators/anchorbar.h"
#include "calculators/beam.h"
#include "calculators/earthpressure.h"
#include "calculators/gravitywall.h"
#include "gui/formbuilder.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

// Waits, the events running, until `condition` holds or `ms` pass, and says whether it holds:
// for EXPECT_TRUE or ASSERT_TRUE. (Qt's QTRY_ macros return from a gtest test silently when
// they time out.)
template <typename Condition> bool eventually(Condition condition, int ms = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!condition() && clock.elapsed() < ms) {
        QTest::qWait(10);
    }
    return condition();
}

// gtest prints a text as text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << text.toStdString();
}

// Records what a window would have told or asked the user, in place of the modal boxes, and
// gives the answer a test chose.
struct Recorder {
    QStringList messages;
    QStringList questions;
    PendingEdits answer = PendingEdits::Cancel;
    Reporter reporter() {
        return [this](QWidget*, const QString& message) { messages << message; };
    }
    Asker asker() {
        return [this](QWidget*, const QString& question) {
            questions << question;
            return answer;
        };
    }
};

// Drives the windows as a user does: through the launcher's buttons, by typing and clicking.
class Driver : public testing::Test {
  protected:
    Recorder recorder;
    Launcher launcher{recorder.reporter()};
    CalculatorWindow* window = nullptr;
    Driver() { launcher.setAsker(recorder.asker()); }

    // Presses a launcher button (also the hidden one) and takes the window it shows.
    CalculatorWindow* open(const char* button) {
        control<QPushButton>(&launcher, button)->click();
        for (const windows::Kind& kind : windows::kinds()) {
            for (const windows::Button& b : kind.buttons) {
                if (b.name == button) {
                    window = launcher.window(*kind.calculator);
                }
            }
        }
        return window;
    }
    QWidget* widget(const char* name) const { return control<QWidget>(window, name); }
    QString text(const char* name) const { return fieldText(widget(name)); }
    QStringList texts(const QStringList& names) const {
        QStringList out;
        for (const QString& name : names) {
            out << text(name.toLatin1().constData());
        }
        return out;
    }
    // Types into a field or an editable combo box, replacing its text.
    void type(const char* name, const QString& text) {
        auto* combo = qobject_cast<QComboBox*>(widget(name));
        QLineEdit* edit = combo ? combo->lineEdit() : qobject_cast<QLineEdit*>(widget(name));
        edit->selectAll();
        edit->del();
        QTest::keyClicks(edit, text);
    }
    // A click; one that started a calculation waits for it to end, as a user would.
    void click(const char* name) {
        QTest::mouseClick(widget(name), Qt::LeftButton, {}, QPoint(4, 6));
        if (window) {
            EXPECT_TRUE(eventually([&] { return !window->calculating(); }, 60000)) << name;
        }
    }
    // The message the last action showed, and no other.
    QString message() {
        EXPECT_EQ(recorder.messages.size(), 1) << recorder.messages.join("|").toStdString();
        const QString last = recorder.messages.value(0);
        recorder.messages.clear();
        return last;
    }
};
