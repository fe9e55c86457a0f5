#include "driver.h"
#include "mapform.h"

#include <QRadioButton>

#include <map>
#include <random>

// Whatever is typed, a calculator stops at the first failure, names it once, keeps every field
// and goes on working; and whatever the user does with the windows, the life rules hold.
namespace {

using subprogram::Conversion;

struct Way {
    const char* button;
    const char* option; // the wall type or anchor kind chosen first, if any
};

class EveryField : public Driver, public testing::WithParamInterface<Way> {};

TEST_P(EveryField, TextThatIsNotANumberIsNamedOnceAndChangesNothing) {
    open(GetParam().button);
    if (GetParam().option) {
        control<QRadioButton>(window, GetParam().option)->click();
    }
    click("Command1");
    ASSERT_TRUE(recorder.messages.isEmpty()) << recorder.messages.join("|").toStdString();
    QStringList results;
    for (const subprogram::Result& r : window->calculator().results) {
        results << qstring(r.control);
    }
    const QStringList before = texts(results);
    MapForm form(window->calculator()); // learns which fields the calculation reads
    CalculationRecord record;
    recordCalculation(form, record, [&](Form& f, Trace*) {
        window->calculator().calculate(window->variant(), f, nullptr);
    });
    for (const subprogram::Field& f : window->calculator().fields) {
        const std::string name(f.control);
        if (record.input(name).empty() || f.conversion == Conversion::Word) {
            continue;
        }
        const QString original = text(name.c_str());
        type(name.c_str(), "1.2.3");
        click("Command1");
        const QString shown = message();
        EXPECT_TRUE(shown.contains("类型不匹配 (错误 13)")) << name;
        EXPECT_TRUE(shown.contains(captionOf(widget(name.c_str())))) << name;
        EXPECT_EQ(texts(results), before) << name;
        EXPECT_EQ(text(name.c_str()), "1.2.3");
        type(name.c_str(), original);
        click("Command1"); // and the window goes on working
        EXPECT_TRUE(recorder.messages.isEmpty()) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Calculators, EveryField,
                         testing::Values(Way{"solidstrees", nullptr}, Way{"Command1", nullptr},
                                         Way{"Command4", nullptr}, Way{"anchorbar", "Option2"},
                                         Way{"Command6", "Option1"}, Way{"Command5", nullptr}));

// A thousand random presses, calculations, edits, exits and frame closes; after each, every
// existing window holds what the user left in it, and a window created afresh its defaults.
TEST_F(Driver, RandomSessionsKeepTheLifeRules) {
    std::mt19937 random(2026);
    const auto pick = [&](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
    };
    const char* const buttons[] = {"solidstrees", "Command1", "Command4",
                                   "anchorbar",   "Command6", "Command5"};
    const QStringList inputs{"hx", "Text2", "Qx"}; // one field each window has at least one of
    std::map<CalculatorWindow*, std::map<QString, QString>> expected;
    for (int event = 0; event < 1000; ++event) {
        std::erase_if(expected, [](const auto& e) { return e.first->discarded(); });
        const std::size_t action = expected.empty() ? 0 : pick(5);
        auto it = expected.begin();
        std::advance(it, expected.empty() ? 0 : pick(expected.size()));
        if (action == 0) {
            CalculatorWindow* w = open(buttons[pick(6)]);
            ASSERT_TRUE(w->isVisible());
            if (!expected.contains(w)) { // created now: the defaults
                for (const subprogram::Field& f : w->calculator().fields) {
                    if (!f.control.empty()) {
                        expected[w][qstring(f.control)] = qstring(f.defaultText);
                    }
                }
            }
        } else if (action == 1) {
            control<QPushButton>(it->first, "Command1")->click();
        } else if (action == 2) {
            control<QPushButton>(it->first, "Command2")->click();
            EXPECT_FALSE(it->first->isVisible());
        } else if (action == 3) {
            it->first->close();
        } else if (it->first->isVisible()) {
            window = it->first;
            for (const QString& input : inputs) {
                if (it->second.contains(input)) {
                    const QString t = QStringList{"1", "2.5", "abc", "", "90", "-3"}[pick(6)];
                    type(input.toLatin1().constData(), t);
                    it->second[input] = t;
                    break;
                }
            }
        }
        if (event % 50 == 0) {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        for (const auto& [w, fields] : expected) {
            for (const auto& [name, t] : fields) {
                if (!w->discarded()) {
                    ASSERT_EQ(fieldText(control<QWidget>(w, name.toLatin1().constData())), t)
                        << "event " << event << ": " << name.toStdString();
                }
            }
        }
    }
}

} // namespace
