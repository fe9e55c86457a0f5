#include "calculators/earthpressure.h"
#include "calculators/registry.h"
#include "calculators/savedcalculation.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace subprogram;

namespace {

// An at-rest calculation as the window would save it, every text as typed.
SavedCalculation atRest() {
    SavedCalculation s{&kEarthPressure,   int(EarthPressureMode::AtRest), {}, {}, {"Kax"},
                       "2026-12-07 10:15"};
    for (const Field& f : kEarthPressure.fields) {
        s.inputs.emplace_back(f.control, f.name == "H" ? "1,234.5" : "\"5\"\n");
    }
    s.results = {{"Kax", "0.1"}, {"Eax", "0"}, {"K0ix", "1.5E-05"}, {"E0ix", "0"}};
    return s;
}

TEST(SavedCalculation, ReadsBackWhatItWrote) {
    const std::string text = savedCalculationText(atRest());
    EXPECT_NE(text.find("\"version\": 1,\n  \"calculator\": \"earth-pressure\",\n  \"variant\": "
                        "\"at-rest\",\n  \"saved\": \"2026-12-07 10:15\",\n  \"inputs\": {\n    "
                        "\"H\": \"1,234.5\",\n    \"gamma\": \"\\\"5\\\"\\n\""),
              std::string::npos)
        << text;
    const SavedCalculation back = readSavedCalculation("\xEF\xBB\xBF" + text); // as Notepad saves
    const SavedCalculation original = atRest();
    EXPECT_EQ(back.calculator, original.calculator);
    EXPECT_EQ(back.variant, original.variant);
    EXPECT_EQ(back.inputs, original.inputs);
    EXPECT_EQ(back.results, original.results);
    EXPECT_EQ(back.stale, original.stale);
    EXPECT_EQ(back.saved, original.saved);
}

// What a saved file names, every calculator has: its command once, its default variant among
// its variants, each variant once.
TEST(SavedCalculation, EveryCalculatorCanBeNamedInAFile) {
    std::set<std::string_view> commands;
    for (const Calculator* c : calculators()) {
        EXPECT_TRUE(commands.insert(c->command).second) << c->command;
        EXPECT_EQ(c->variant(c->defaultVariant).value, c->defaultVariant) << c->command;
        std::set<std::string_view> names;
        for (const Variant& v : c->variants) {
            EXPECT_TRUE(names.insert(v.name).second) << c->command << ' ' << v.name;
        }
    }
}

struct Damage {
    const char* name;
    std::string from, to; // the first `from` of a good file replaced by `to`; the rest cut off
                          // when `to` is "…"
    const char* message;
};

class DamagedFiles : public testing::TestWithParam<Damage> {};

TEST_P(DamagedFiles, AreRefusedNamingTheLineAndTheKey) {
    std::string text = savedCalculationText(atRest());
    const std::size_t at = text.find(GetParam().from);
    text.replace(at, GetParam().to == "…" ? std::string::npos : GetParam().from.size(),
                 GetParam().to == "…" ? "" : GetParam().to);
    try {
        readSavedCalculation(text);
        ADD_FAILURE() << "read";
    } catch (const SavedFileError& e) {
        EXPECT_EQ(std::string(e.what()), GetParam().message);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Files, DamagedFiles, testing::Values(
    Damage{"truncated", "E0\": \"0", "…", "line 23: not JSON: the file ends inside a string"},
    Damage{"not_json", "{", "<html>", "line 1: not JSON: expected a value"},
    Damage{"foreign", "slope-support calculation", "a spreadsheet", "line 1, key \"format\": not a calculation saved by this program"},
    Damage{"newer", "\"version\": 1", "\"version\": 2", "line 3, key \"version\": format 2, this program reads format 1 (saved by a newer version?)"},
    Damage{"version_not_whole", "\"version\": 1", "\"version\": 1.0", "line 3, key \"version\": the format is the whole number 1, not 1.0"},
    Damage{"version_not_json", "\"version\": 1", "\"version\": 01", "line 3: not JSON: 01 is not a JSON number"},
    Damage{"unknown_calculator", "earth-pressure", "retaining", "line 4, key \"calculator\": unknown calculator \"retaining\""},
    Damage{"unknown_variant", "at-rest", "passive", "line 5, key \"variant\": unknown variant \"passive\""},
    Damage{"unknown_field", "\"gamma\"", "\"Gamma\"", "line 9, key \"Gamma\": unknown key"},
    Damage{"missing_field", "\"gamma\": \"\\\"5\\\"\\n\",", "", "line 7, key \"gamma\": missing"},
    Damage{"number_not_text", "\"1,234.5\"", "1234.5", "line 8, key \"H\": expected a text in quotes"},
    Damage{"key_twice", "\"gamma\"", "\"H\"", "line 9: not JSON: the key \"H\" is given twice"},
    Damage{"unknown_key", "\"saved\"", "\"when\"", "line 6, key \"when\": unknown key"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

} // namespace
