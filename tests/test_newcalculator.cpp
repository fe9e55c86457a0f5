// A calculator added as docs/architecture.md's "Adding a calculator" says, here in a test and
// registered for its length: its routine and description, its window and its two
// registrations, and nothing else. slopecalc, its completion and manual page, the saved file,
// the report, a window and a launcher button then take it from the registries.

#include "calculators/angles.h"
#include "calculators/registry.h"
#include "cli/docs.h"
#include "cli/slopecalc.h"
#include "driver.h"
#include "windows/registry.h"

#include <QTemporaryDir>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

using namespace subprogram;

// 1. The routine: Rankine's active pressure of a dry cohesionless fill on a smooth vertical back.
struct Rankine {
    double Ka, Ea;
};
Rankine rankineActive(double friction, double unitWeight, double height, Trace* trace) {
    return evaluate<Keep>(trace, "rankineActive", [&]<typename Num>(Keep<Num> keep) {
        const Num phi = keep.input("φ", friction), gamma = keep.input("γ", unitWeight);
        const Num H = keep.input("H", height);
        const Num t = tan(radians((90 - phi) / 2));
        const Num Ka = keep("Ka", t * t);
        const Num Ea = keep("Ea", gamma * H * H * Ka / 2);
        return Rankine{Ka.value(), Ea.value()};
    });
}

// 2. Its description: fields, results, the calculation over a form.
constexpr Field kFields[] = {
    {"phi", "Text1", "内摩擦角φ(度):", "30", "°", "internal friction angle", "φ"},
    {"gamma", "Text2", "土体重度γ(KN/M3):", "18", "kN/m³", "'dry' unit weight", "γ"},
    {"H", "Text3", "墙高H(米):", "6", "m", "height of the wall", "H"},
};
constexpr Result kResults[] = {
    {"Text4", "Ka", "主动土压力系数Ka:", "K<sub>a</sub>", ""},
    {"Text5", "Ea", "主动土压力Ea(KN/M):", "E<sub>a</sub>", "kN/m"},
};
namespace in {
constexpr FieldId phi = fieldNamed(kFields, "phi"), gamma = fieldNamed(kFields, "gamma"),
                  H = fieldNamed(kFields, "H");
}
namespace out {
constexpr ResultId Ka = resultNamed(kResults, "Ka"), Ea = resultNamed(kResults, "Ea");
}
const Step kStep{"rankineActive", "朗肯主动土压力"};
const Step* const kSteps[] = {&kStep};
const Variant kOnly[] = {{0, "", "朗肯主动土压力", kSteps}};
const Calculator kRankine{
    .command = "rankine",
    .english = "Rankine active pressure (a calculator of the tests)",
    .window = "rankinefrm",
    .title = "朗肯土压力",
    .fields = kFields,
    .results = kResults,
    .variants = kOnly,
    .defaultVariant = 0,
    .variantOption = {},
    .calculate =
        [](int, Form& form, Trace* trace) {
            const double phi = form.readDouble(in::phi);
            const double gamma = form.readDouble(in::gamma);
            const double H = form.readDouble(in::H);
            const Rankine r = rankineActive(phi, gamma, H, trace);
            form.setDouble(out::Ka, r.Ka);
            form.setDouble(out::Ea, r.Ea);
        },
};

// 3. Its window: a table of controls in twips.
// clang-format off
const ControlSpec kControls[] = {
    {Kind::Label,  "Label1",   {},     120,  120, 2400, 255, nullptr, "Text1"},
    {Kind::Field,  "Text1",    {},    2640,  120, 1200, 270},
    {Kind::Label,  "Label2",   {},     120,  480, 2400, 255, nullptr, "Text2"},
    {Kind::Field,  "Text2",    {},    2640,  480, 1200, 270},
    {Kind::Label,  "Label3",   {},     120,  840, 2400, 255, nullptr, "Text3"},
    {Kind::Field,  "Text3",    {},    2640,  840, 1200, 270},
    {Kind::Button, "Command1", "计算", 120, 1320, 1200, 375},
    {Kind::Button, "Command2", "退出", 1440, 1320, 1200, 375},
    {Kind::Label,  "Label4",   {},     120, 1800, 2400, 255, nullptr, "Text4"},
    {Kind::Field,  "Text4",    {},    2640, 1800, 2400, 270},
    {Kind::Label,  "Label5",   {},     120, 2160, 2400, 255, nullptr, "Text5"},
    {Kind::Field,  "Text5",    {},    2640, 2160, 2400, 270},
};
// clang-format on

class RankineWindow : public CalculatorWindow {
  public:
    explicit RankineWindow(Reporter reporter) : CalculatorWindow(kRankine, std::move(reporter)) {
        setClientTwips(this, 5280, 2640);
        buildControls(this, kControls, &calculator());
        connectButtons();
    }
    int variant() const override { return 0; }
    void setVariant(int) override {}
};

// 4. The two registrations, one line each in the program's registries.
CalculatorWindow* createRankine(Reporter reporter) {
    return new RankineWindow(std::move(reporter));
}

// What slopecalc prints, and how it ends.
std::string slopecalc(const std::vector<std::string>& args, int status = 0,
                      const std::string& input = {}) {
    std::istringstream in(input);
    std::ostringstream out, err;
    EXPECT_EQ(runSlopecalc(args, in, out, err), status) << err.str();
    return out.str();
}

// A calculator registered with a launcher button the original layout has not: the launcher makes
// it, titled by the description, and it opens the window.
TEST(NewCalculatorButton, TheLauncherMakesItFromTheRegistry) {
    static constexpr windows::Button kButtons[] = {{"rankineButton", std::nullopt}};
    const Registration calculator{kRankine};
    const windows::Registration windowKind{{&kRankine, createRankine, kButtons}};
    Launcher launcher;
    auto* button = launcher.findChild<QPushButton*>("rankineButton");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text().toStdString(), kRankine.title);
    button->click();
    ASSERT_NE(launcher.window(kRankine), nullptr);
    EXPECT_TRUE(launcher.window(kRankine)->isVisible());
    launcher.window(kRankine)->close();
}

class NewCalculator : public Driver {
  protected:
    Registration calculator{kRankine};
    windows::Registration windowKind{{&kRankine, createRankine, {}}};
    QTemporaryDir folder;
};

TEST_F(NewCalculator, WorksEverywhereFromItsDescriptionAlone) {
    // Ka = tan²(45° − φ/2) = 1/3 at φ = 30°, Ea = ½γH²Ka = 108, up to the tool's π
    const std::string printed = slopecalc({"rankine"});
    double Ka = 0, Ea = 0;
    ASSERT_EQ(std::sscanf(printed.c_str(), "Ka=%lf\nEa=%lf\n", &Ka, &Ea), 2) << printed;
    EXPECT_NEAR(Ka, 1.0 / 3, 1e-7);
    EXPECT_NEAR(Ea, 108, 3e-5);
    EXPECT_EQ(slopecalc({"rankine", "--csv", "-"}, 1, "phi\n30\nx\n"),
              "phi,Ka,Ea,error\n30," + printed.substr(3, printed.find('\n') - 3) + "," +
                  printed.substr(printed.rfind('=') + 1, printed.size() - printed.rfind('=') - 2) +
                  ",\nx,,,13 TypeMismatch (phi)\n");
    EXPECT_NE(slopecalc({"rankine", "--help"}).find("phi       internal friction angle [°]"),
              std::string::npos);

    // the completion offers it, as bash runs it, and the manual page lists it
    const std::string script = folder.filePath("completion.bash").toStdString();
    std::ofstream(script) << completion();
    FILE* bash = popen(("bash -c 'source " + script +
                        "; COMP_LINE=\"slopecalc ran\" COMP_POINT=13 COMP_WORDBREAKS=\" \"; "
                        "_slopecalc; echo ${COMPREPLY[*]}'")
                           .c_str(),
                       "r");
    char offered[64] = {};
    ASSERT_NE(std::fgets(offered, sizeof offered, bash), nullptr);
    pclose(bash);
    EXPECT_STREQ(offered, "rankine\n");
    const std::string manual = manualPage("2026-12-07");
    EXPECT_NE(manual.find("rankine"), std::string::npos);
    EXPECT_NE(manual.find(".BI phi = TEXT\ninternal friction angle"), std::string::npos);
    // a line that would begin with a control character of roff is kept text
    EXPECT_NE(manual.find(".BI gamma = TEXT\n\\&'dry' unit weight"), std::string::npos);

    // the report writes its formulas from the routine
    const std::string report = folder.filePath("rankine.html").toStdString();
    slopecalc({"rankine", "--report", report});
    std::ifstream html(report);
    const std::string page{std::istreambuf_iterator<char>(html), {}};
    // each step a heading under the section's
    EXPECT_NE(page.find("<h2>二、计算公式</h2>\n<h3>朗肯主动土压力</h3>\n"), std::string::npos);
    EXPECT_NE(page.find("K<sub>a</sub> = tan((90 − φ) ÷ 2)·tan((90 − φ) ÷ 2) = "
                        "tan(((90 − 30) ÷ 2)°)×tan(((90 − 30) ÷ 2)°) = 0.333333319582186"),
              std::string::npos);

    // a saved file opens in its own window, which calculates as slopecalc does
    const SavedCalculation saved{&kRankine, 0,  {{"Text1", "35"}, {"Text2", "20"}, {"Text3", "5"}},
                                 {},        {}, ""};
    const QString path = folder.filePath("rankine.slope");
    std::ofstream(path.toStdString()) << savedCalculationText(saved);
    launcher.openFile(path);
    window = launcher.window(kRankine);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    click("Command1");
    EXPECT_EQ("Ka=" + text("Text4") + "\nEa=" + text("Text5") + "\n",
              QString::fromStdString(slopecalc({"rankine", "phi=35", "gamma=20", "H=5"})));
    EXPECT_TRUE(recorder.messages.isEmpty());
}

TEST_F(Driver, AFileOfACalculatorWithoutAWindowIsRefused) {
    const Registration calculator{kRankine};
    const SavedCalculation saved{&kRankine, 0, {}, {}, {}, ""};
    EXPECT_EQ(launcher.open(saved, QStringLiteral("rankine.slope")), nullptr);
    EXPECT_EQ(message(), "“朗肯土压力”没有窗口，无法打开这份计算。");
}

} // namespace
