#include "recorder.h"
#include "shell/formbuilder.h"
#include "shell/launcher.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <map>
#include <random>

// Whatever is typed, a calculator stops at the first failure, names it once, keeps every field
// and goes on working; and whatever the user does with the windows, the life rules hold.
namespace {

struct Calculator {
    const char* name;
    const char* launcherButton;
    const char* option; // the wall type or anchor kind chosen first, if any
    QStringList inputs; // every field the calculation reads
    QStringList results;
};

const QStringList kEarthResults{"Eax", "Kax", "E0ix", "K0ix"};

const Calculator kCalculators[] = {
    {"coulomb",
     "solidstrees",
     nullptr,
     {"hx", "Yx", "Fix", "Qx", "Cx", "STx", "Bx", "ax", "SSx"},
     kEarthResults},
    {"at_rest", "Command1", nullptr, {"hx", "Yx", "Fix", "Qx"}, kEarthResults},
    {"limited_fill",
     "Command4",
     nullptr,
     {"hx", "Yx", "Qx", "Cx", "STx", "Bx", "ax", "SSx", "strx"},
     kEarthResults},
    {"anchor",
     "anchorbar",
     "Option2",
     {"Text1", "Text2", "Text3", "Text4", "Text9", "Text10", "Text11", "Text12"},
     {"Text5", "Text6", "Text7", "Text8"}},
    {"gravity_wall",
     "Command6",
     "Option1",
     {"Text3",  "Text4",  "Yx",     "hx",     "Fix",    "Qx",     "Cx",     "Bx",
      "Text2",  "Text5",  "Text8",  "Text11", "Text12", "Text14", "Text15", "Text26",
      "Text19", "Text20", "Text22", "Text21", "Text23", "Text24", "Text25", "Text27"},
     {"Text1", "Text6", "Text7", "Text13", "Text9", "Text10", "Text16", "Text17", "Text18"}},
    {"beam", "Command5", nullptr, {"Combo1", "Combo3", "Combo4", "Text2"}, {"Text3"}},
};

QWidget* openCalculator(Launcher& launcher, const Calculator& c) {
    control<QPushButton>(&launcher, c.launcherButton)->click();
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* window = qobject_cast<CalculatorWindow*>(w);
        if (window && w->isVisible() && !window->discarded()) {
            if (c.option) {
                control<QRadioButton>(w, c.option)->click();
            }
            return w;
        }
    }
    return nullptr;
}

QString textOf(QWidget* window, const QString& name) {
    return fieldText(control<QWidget>(window, name.toLatin1().constData()));
}

void setTextOf(QWidget* window, const QString& name, const QString& text) {
    QWidget* field = control<QWidget>(window, name.toLatin1().constData());
    if (auto* edit = qobject_cast<QLineEdit*>(field)) {
        edit->setText(text);
    } else {
        qobject_cast<QComboBox*>(field)->setEditText(text);
    }
}

class EveryField : public testing::TestWithParam<Calculator> {};

TEST_P(EveryField, TextThatIsNotANumberIsNamedOnceAndChangesNothing) {
    Recorder recorder;
    Launcher launcher(recorder.reporter());
    const Calculator& c = GetParam();
    QWidget* window = openCalculator(launcher, c);
    ASSERT_NE(window, nullptr);
    auto* calculate = control<QPushButton>(window, "Command1");
    calculate->click();
    ASSERT_TRUE(recorder.messages.isEmpty()) << recorder.messages.join("|").toStdString();
    QStringList results;
    for (const QString& r : c.results) {
        results << textOf(window, r);
    }

    for (const QString& input : c.inputs) {
        const QString original = textOf(window, input);
        setTextOf(window, input, "1.2.3");
        calculate->click();
        ASSERT_EQ(recorder.messages.size(), 1) << input.toStdString();
        const QString caption = captionOf(control<QWidget>(window, input.toLatin1().constData()));
        EXPECT_FALSE(caption.isEmpty()) << input.toStdString();
        EXPECT_TRUE(recorder.messages[0].contains("类型不匹配 (错误 13)")) << input.toStdString();
        EXPECT_TRUE(recorder.messages[0].contains(caption)) << input.toStdString();
        QStringList after;
        for (const QString& r : c.results) {
            after << textOf(window, r);
        }
        EXPECT_EQ(after, results) << input.toStdString();
        EXPECT_EQ(textOf(window, input), "1.2.3");

        setTextOf(window, input, original);
        recorder.messages.clear();
        calculate->click(); // and the window goes on working
        EXPECT_TRUE(recorder.messages.isEmpty()) << input.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Calculators, EveryField, testing::ValuesIn(kCalculators),
                         [](const auto& info) { return std::string(info.param.name); });

// A thousand random presses, calculations, edits, exits and frame closes; after each, the life
// rules hold against a model of what the user should see.
TEST(WindowLife, RandomSessionsKeepTheRules) {
    Recorder recorder;
    Launcher launcher(recorder.reporter());
    std::mt19937 random(2026);
    const auto pick = [&](int n) { return std::uniform_int_distribution<>(0, n - 1)(random); };

    // objectName → the texts its inputs should show while it exists
    std::map<QString, std::map<QString, QString>> expected;
    std::map<QString, std::map<QString, QString>> defaults;
    const auto windows = [] {
        std::map<QString, CalculatorWindow*> live;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* window = qobject_cast<CalculatorWindow*>(w);
            if (window && !window->discarded()) {
                EXPECT_FALSE(live.contains(w->objectName()))
                    << "two " << w->objectName().toStdString();
                live[w->objectName()] = window;
            }
        }
        return live;
    };
    const auto inputsOf = [](const QString& objectName) {
        for (const Calculator& c : kCalculators) {
            if (QString(c.launcherButton) == "solidstrees" && objectName == "solidstress") {
                return c.inputs + QStringList{"strx"};
            }
            if (objectName == "anchorbarfrm" && QString(c.name) == "anchor")
                return c.inputs;
            if (objectName == "form1" && QString(c.name) == "gravity_wall")
                return c.inputs;
            if (objectName == "beamfrm" && QString(c.name) == "beam")
                return c.inputs;
        }
        return QStringList();
    };
    const std::pair<const char*, const char*> buttons[] = {
        {"solidstrees", "solidstress"}, {"Command1", "solidstress"}, {"Command4", "solidstress"},
        {"anchorbar", "anchorbarfrm"},  {"Command6", "form1"},       {"Command5", "beamfrm"}};

    for (int event = 0; event < 1000; ++event) {
        auto live = windows();
        const int action = pick(5);
        if (action == 0 || live.empty()) { // a launcher button
            const auto& [button, opened] = buttons[pick(6)];
            control<QPushButton>(&launcher, button)->click();
            const auto now = windows();
            ASSERT_TRUE(now.contains(opened) && now.at(opened)->isVisible()) << "event " << event;
            for (const auto& [name, window] : now) {
                if (!expected.contains(name)) { // created now: the defaults
                    for (const QString& input : inputsOf(name)) {
                        expected[name][input] = textOf(window, input);
                    }
                    if (defaults.contains(name)) {
                        EXPECT_EQ(expected[name], defaults[name]) << name.toStdString();
                    }
                    defaults[name] = expected[name];
                }
            }
        } else {
            auto it = std::next(live.begin(), pick(static_cast<int>(live.size())));
            const QString name = it->first;
            CalculatorWindow* window = it->second;
            if (action == 1) {
                control<QPushButton>(window, "Command1")->click();
            } else if (action == 2) {
                control<QPushButton>(window, "Command2")->click();
                EXPECT_FALSE(window->isVisible());
            } else if (action == 3) {
                window->close();
                expected.erase(name);
            } else if (window->isVisible()) {
                const QStringList inputs = inputsOf(name);
                const QString input = inputs[pick(static_cast<int>(inputs.size()))];
                const QString text = QStringList{"1", "2.5", "abc", "", "90", "-3"}[pick(6)];
                setTextOf(window, input, text);
                expected[name][input] = text;
            }
        }
        if (event % 50 == 0) {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        for (const auto& [name, window] : windows()) {
            for (const QString& input : inputsOf(name)) {
                ASSERT_EQ(textOf(window, input), expected[name][input])
                    << "event " << event << ": " << name.toStdString() << "."
                    << input.toStdString();
            }
        }
    }
}

} // namespace
