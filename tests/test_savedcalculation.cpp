#include "calculators/earthpressure.h"
#include "calculators/gravitywall.h"
#include "calculators/registry.h"
#include "calculators/savedcalculation.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

using namespace subprogram;

namespace {

// An at-rest calculation as the window would save it, every text as typed.
SavedCalculation atRest() {
    SavedCalculation s{&kEarthPressure,    int(EarthPressureMode::AtRest),  {}, {}, {"Kax"},
                       "2026-12-07 10:15", {"某边坡工程", "张三", "李\"四"}};
    for (const Field& f : kEarthPressure.fields) {
        s.inputs.emplace_back(f.control, f.name == "H" ? "1,234.5" : "\"5\"\n");
    }
    s.results = {{"Kax", "0.1"}, {"Eax", "0"}, {"K0ix", "1.5E-05"}, {"E0ix", "0"}};
    // the studies of its report: a range, and a list of any texts
    s.studies = {{.field = "H",
                  .from = "1",
                  .to = "2",
                  .count = 11,
                  .result = "E0",
                  .inputs = {{"H", "1"}, {"phi", "30"}}},
                 {.field = "phi",
                  .values = {"20", "x,\"y\"", ""},
                  .result = "K0",
                  .inputs = {},
                  .least = "满足全部验算的最小值：phi = 25"}};
    return s;
}

TEST(SavedCalculation, ReadsBackWhatItWrote) {
    const std::string text = savedCalculationText(atRest());
    EXPECT_NE(text.find("\"version\": 8,\n  \"calculator\": \"earth-pressure\",\n  \"variant\": "
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
    EXPECT_EQ(back.title, original.title);
    EXPECT_EQ(back.studies, original.studies);
}

// A file of the first version has no title block and none of the wall's checks' fields: they
// take their defaults. A file of the second that lacks them is damaged.
TEST(SavedCalculation, AFileOfTheFirstVersionTakesTheDefaultsOfWhatCameLater) {
    SavedCalculation wall{&kGravityWall,      int(WallType::Upright), {}, {}, {},
                          "2026-12-07 10:15", {"P", "D", "C"}};
    for (const Field& f : kGravityWall.fields) {
        wall.inputs.emplace_back(f.control, f.name == "fa" ? "150" : f.defaultText);
    }
    std::string text = savedCalculationText(wall);
    for (const char* later :
         {"    \"ground\": \"土质\",\n", "    \"fa\": \"150\",\n", "    \"section\": \"按输入\",\n",
          "    \"tension\": \"\",\n", "    \"lever\": \"H/3\",\n", "    \"Ks_req\": \"\",\n",
          "    \"Kt_req\": \"\",\n", "    \"e_req\": \"\",\n", "    \"Ks_req_seismic\": \"\",\n",
          "    \"Kt_req_seismic\": \"\",\n", "    \"layers\": \"\",\n", "    \"water\": \"\",\n",
          "    \"gamma_water\": \"10\",\n", "    \"loads\": \"\",\n", "    \"kh\": \"0\"\n"}) {
        text.erase(text.find(later), std::strlen(later));
    }
    text.replace(text.rfind("\n    \"x3\": \"0.25\","), 20, "\n    \"x3\": \"0.25\"");
    const std::string second = text;
    text.replace(text.find("\"version\": 8"), 12, "\"version\": 1");
    // one that carries a title block all the same: read, not passed over
    EXPECT_EQ(readSavedCalculation(text).title, (TitleBlock{"P", "D", "C"}));
    text.erase(text.find(",\n  \"title\""), text.rfind('}') - text.find(",\n  \"title\"") - 1);
    const SavedCalculation first = readSavedCalculation(text);
    EXPECT_EQ(first.inputs.size(), wall.inputs.size());
    EXPECT_EQ(first.inputs.back(), (std::pair<std::string, std::string>{"khx", "0"}));
    EXPECT_EQ(first.title, TitleBlock{});
    // the second version lacking either of them, or both, is refused, naming the first missing
    const std::string full = savedCalculationText(wall);
    std::string lacksFa = full;
    lacksFa.erase(lacksFa.find(",\n    \"fa\""), std::strlen(",\n    \"fa\": \"150\""));
    for (const auto& [damaged, key] : {std::pair{second, "ground"}, {lacksFa, "fa"}}) {
        try {
            readSavedCalculation(damaged);
            ADD_FAILURE() << "read without " << key;
        } catch (const SavedFileError& e) {
            EXPECT_NE(std::string(e.what()).find("key \"" + std::string(key) + "\": missing"),
                      std::string::npos)
                << e.what();
        }
    }
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
    const char* chinese = ""; // what the window's message says, in part
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
        EXPECT_NE(e.chinese().find(GetParam().chinese), std::string::npos) << e.chinese();
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Files, DamagedFiles, testing::Values(
    Damage{"truncated", "E0\": \"0", "…", "line 23: not JSON: the file ends inside a string"},
    Damage{"not_json", "{", "<html>", "line 1: not JSON: expected a value"},
    Damage{"foreign", "slope-support calculation", "a spreadsheet", "line 1, key \"format\": not a calculation saved by this program"},
    Damage{"newer", "\"version\": 8", "\"version\": 9", "line 3, key \"version\": format 9, this program reads formats up to 8 (saved by a newer version?)"},
    Damage{"version_not_whole", "\"version\": 8", "\"version\": 8.0", "line 3, key \"version\": the format is a whole number from 1 to 8, not 8.0"},
    Damage{"version_zero", "\"version\": 8", "\"version\": 0", "line 3, key \"version\": the format is a whole number from 1 to 8, not 0"},
    Damage{"version_not_json", "\"version\": 8", "\"version\": 02", "line 3: not JSON: 02 is not a JSON number"},
    Damage{"title_unknown_key", "\"designer\"", "\"drawn\"", "line 28, key \"drawn\": unknown key"},
    Damage{"unknown_calculator", "earth-pressure", "retaining", "line 4, key \"calculator\": unknown calculator \"retaining\""},
    Damage{"unknown_variant", "at-rest", "passive", "line 5, key \"variant\": unknown variant \"passive\""},
    Damage{"unknown_field", "\"gamma\"", "\"Gamma\"", "line 9, key \"Gamma\": unknown key"},
    Damage{"missing_field", "\"gamma\": \"\\\"5\\\"\\n\",", "", "line 7, key \"gamma\": missing"},
    Damage{"number_not_text", "\"1,234.5\"", "1234.5", "line 8, key \"H\": expected a text in quotes", "应为带引号的文本"},
    Damage{"key_twice", "\"gamma\"", "\"H\"", "line 9: not JSON: the key \"H\" is given twice"},
    Damage{"unknown_key", "\"saved\"", "\"when\"", "line 6, key \"when\": unknown key"},
    Damage{"study_of_no_field", "\"field\": \"H\"", "\"field\": \"h\"", "line 32, key \"field\": not a field of the window"},
    Damage{"study_count_too_small", "\"count\": 11", "\"count\": 1", "line 32, key \"count\": a whole number from 2 to 1000000"},
    Damage{"study_of_no_result", "\"result\": \"K0\"", "\"result\": \"pk\"", "line 33, key \"result\": not a result's name"},
    Damage{"stale_not_a_result", "\"stale\": [", "\"stale\": [\"nope\", ", "line 25, key \"stale\": not a result's name", "不是结果的名称"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

} // namespace
