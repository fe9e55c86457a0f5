#include "cli/csv.h"
#include "cli/slopecalc.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome slopecalc(std::vector<std::string> args, const std::string& input = {}) {
    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = runSlopecalc(args, in, out, err);
    return {status, out.str(), err.str()};
}

// Every record of a CSV text.
std::vector<csv::Row> rowsOf(const std::string& text) {
    std::vector<csv::Row> rows;
    csv::Reader reader(text);
    for (csv::Row row; reader.next(row);) {
        rows.push_back(row);
    }
    return rows;
}

struct DefaultCase {
    const char* name;
    std::vector<std::string> args;
    const char* out; // the window's default results
};

class SubcommandDefaults : public testing::TestWithParam<DefaultCase> {};

TEST_P(SubcommandDefaults, GiveTheWindowsDefaultResults) {
    const Outcome r = slopecalc(GetParam().args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, GetParam().out);
    EXPECT_EQ(r.err, "");
}

INSTANTIATE_TEST_SUITE_P(
    Windows, SubcommandDefaults,
    testing::Values(
        DefaultCase{"coulomb", {"earth-pressure"}, "Ka=0.344444462206344\nEa=77.5000039964273\n"},
        DefaultCase{"at_rest",
                    {"earth-pressure", "--mode", "at-rest"},
                    "K0=0.50000000773502\nE0=45.7500007077544\n"},
        DefaultCase{"limited_fill",
                    {"earth-pressure", "--mode=limited-fill"},
                    "Ka=0.649407602730703\nEa=146.116710614408\n"},
        DefaultCase{
            "anchor",
            {"anchor"},
            "Na=12.5\nAs=0.0642823749415615\nla=0.126313449053005\nlb=0.0409349140449553\n"},
        DefaultCase{"anchor_temporary",
                    {"anchor", "--temporary"},
                    "Na=12.5\nAs=0.0482117812061711\nla=0.094972518084966\nlb=0.034112428370796\n"},
        DefaultCase{"upright_wall",
                    {"gravity-wall", "--type", "upright"},
                    "Ka=0.427106497065615\nEa=28.8723992016356\nG=118.8367\nx0=0.9329683\n"
                    "Kt=2.11383\nKs=10.54241\npmax=163.9388\ne=0.2414525\npmin=2.303136\n"},
        DefaultCase{"shelf_wall",
                    {"gravity-wall", "--type", "shelf"},
                    "Ka=0.427106497065615\nEa=28.8723992016356\nG=112.212\nx0=1.011601\n"
                    "Kt=2.161038\nKs=7.360059\npmax=139.0118\ne=0.1904505\npmin=18.33796\n"},
        DefaultCase{"no_wall",
                    {"gravity-wall"},
                    "Ka=0.427106497065615\nEa=28.8723992016356\nG=0\nx0=0\nKt=0.1334362\n"
                    "Ks=0.1169651\npmax=-0.3454699\ne=10.41995\npmin=0\n"},
        DefaultCase{"one_fixed_span",
                    {"beam", "n=1", "upper=fixed", "lower=嵌固"},
                    "M1_upper=-3.33333333333333\nM1_lower=3.33333333333333\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Slopecalc, TwoEqualSpansOfAnyLengthCarryQL2Over8) {
    const Outcome r = slopecalc({"beam", "lengths=3;3", "q=8"});
    ASSERT_EQ(r.status, 0) << r.err;
    // q·L²/8 = 8 · 9 / 8 over the middle support
    EXPECT_NE(r.out.find("M1_lower=9\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("M2_upper=-9\n"), std::string::npos) << r.out;
    EXPECT_EQ(slopecalc({"beam"}).out.find("M2_upper=-5\n") != std::string::npos, true);
}

struct FailureCase {
    const char* name;
    std::vector<std::string> args;
    const char* out; // what the window would already have written
    const char* err;
};

class CalculationFailures : public testing::TestWithParam<FailureCase> {};

TEST_P(CalculationFailures, PrintThePartialResultsAndExit1) {
    const Outcome r = slopecalc(GetParam().args);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, GetParam().out);
    EXPECT_EQ(r.err, GetParam().err);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, CalculationFailures,
    testing::Values(
        FailureCase{"type_mismatch",
                    {"earth-pressure", "phi=3o"},
                    "",
                    "error 13: TypeMismatch (phi=\"3o\")\n"},
        FailureCase{"first_bad_in_reading_order",
                    {"earth-pressure", "H=x", "alpha=y"},
                    "",
                    "error 13: TypeMismatch (alpha=\"y\")\n"},
        FailureCase{
            "overflow_read", {"anchor", "Htk=1E400"}, "", "error 6: Overflow (Htk=\"1E400\")\n"},
        FailureCase{"division_by_zero", {"anchor", "fy=0"}, "", "error 11: DivisionByZero\n"},
        FailureCase{
            "invalid_argument", {"earth-pressure", "beta=40"}, "", "error 5: InvalidArgument\n"},
        FailureCase{
            "subscript", {"beam", "n=100"}, "", "error 9: SubscriptOutOfRange (n=\"100\")\n"},
        FailureCase{"upright_no_batter",
                    {"gravity-wall", "--type", "upright", "n=0"},
                    "Ka=0.427106497065615\nEa=28.8723992016356\n",
                    "error 11: DivisionByZero\n"},
        FailureCase{"bad_length",
                    {"beam", "lengths=2;x"},
                    "",
                    "error 13: TypeMismatch (lengths=\"2;x\")\n"},
        FailureCase{"lengths_against_count",
                    {"beam", "n=3", "lengths=2;2"},
                    "",
                    "error 5: InvalidArgument (lengths=\"2;2\")\n"}),
    [](const auto& info) { return std::string(info.param.name); });

struct UsageCase {
    const char* name;
    std::vector<std::string> args;
    const char* message;
};

class UsageErrors : public testing::TestWithParam<UsageCase> {};

TEST_P(UsageErrors, SayWhatIsWrongAndExit2) {
    const Outcome r = slopecalc(GetParam().args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(GetParam().message), std::string::npos) << r.err;
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, UsageErrors,
    testing::Values(
        UsageCase{"no_subcommand", {}, "no subcommand"},
        UsageCase{"unknown_subcommand", {"retaining"}, "unknown subcommand"},
        UsageCase{"unknown_name", {"anchor", "h=3"}, "unknown name 'h'"},
        UsageCase{"names_are_case_sensitive", {"earth-pressure", "h=3"}, "unknown name 'h'"},
        UsageCase{"malformed", {"anchor", "Htk"}, "malformed argument"},
        UsageCase{"empty_name", {"anchor", "=3"}, "malformed argument"},
        UsageCase{"twice", {"anchor", "D=1", "D=2"}, "given twice"},
        UsageCase{"unknown_option", {"anchor", "--permanent"}, "unknown option"},
        UsageCase{"bad_mode", {"earth-pressure", "--mode", "passive"}, "--mode"},
        UsageCase{"mode_without_value", {"earth-pressure", "--mode"}, "needs a value"},
        UsageCase{"bad_type", {"gravity-wall", "--type=arch"}, "--type"},
        UsageCase{"json_and_csv", {"anchor", "--json", "--csv", "-"}, "together"},
        UsageCase{"missing_file", {"anchor", "--csv", "/nonexistent/x.csv"}, "cannot read"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Slopecalc, JsonHoldsTheResultsAndTheFailure) {
    Outcome r = slopecalc({"anchor", "--json"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "{\"Na\": 12.5, \"As\": 0.0642823749415615, \"la\": 0.126313449053005, "
                     "\"lb\": 0.0409349140449553}\n");
    r = slopecalc({"gravity-wall", "--json", "--type=upright", "b4="});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "{\"error\": {\"number\": 13, \"kind\": \"TypeMismatch\", \"parameter\": "
                     "\"b4\", \"text\": \"\"}}\n");
}

TEST(Slopecalc, ABatchGoesOnPastBadRows) {
    const std::string input = "phi,c,q\r\n"
                              "30,0,1.5\r\n"
                              "3o,0,1.5\r\n"
                              "\"3,0\",0,\"1.5\"\n"
                              "30,20\n";
    const Outcome r = slopecalc({"earth-pressure", "--csv", "-"}, input);
    EXPECT_EQ(r.status, 1) << r.err;
    const std::vector<csv::Row> expected = {
        {"phi", "c", "q", "Ka", "Ea", "error"},
        {"30", "0", "1.5", "0.344444462206344", "77.5000039964273", ""},
        {"3o", "0", "1.5", "", "", "13 TypeMismatch (phi)"},
        {"3,0", "0", "1.5", "0.344444462206344", "77.5000039964273", ""}, // 3,0 reads as 30
        {"30", "20", "", "", "", "13 TypeMismatch (q)"}, // a short row has empty cells
    };
    EXPECT_EQ(rowsOf(r.out), expected);
}

TEST(Slopecalc, ABatchOfAThousandRows) {
    std::string input = "a,Htk\n";
    for (int i = 0; i < 1000; ++i) {
        input += i % 100 == 37 ? "x," + std::to_string(i) + "\n" : "0," + std::to_string(i) + "\n";
    }
    const Outcome r = slopecalc({"anchor", "--csv", "-", "fb=2700"}, input);
    EXPECT_EQ(r.status, 1);
    const std::vector<csv::Row> rows = rowsOf(r.out);
    int failed = 0;
    std::map<std::string, std::string> na; // Htk → Na of the rows that calculated
    for (std::size_t i = 1; i < rows.size(); ++i) {
        ASSERT_EQ(rows[i].size(), 7u);
        failed += !rows[i].back().empty();
        if (rows[i].back().empty()) {
            na[rows[i][1]] = rows[i][2];
        }
    }
    // a level anchor: Na = 1.25 · Htk
    EXPECT_EQ(na["0"], "0");
    EXPECT_EQ(na["10"], "12.5");
    EXPECT_EQ(na["999"], "1248.75");
    EXPECT_EQ(na.count("37"), 0u);
    EXPECT_EQ(rows.size(), 1001u);
    EXPECT_EQ(failed, 10);
}

TEST(Slopecalc, BeamBatchColumnsFollowTheLargestCount) {
    const Outcome r = slopecalc({"beam", "--csv", "-"}, "n,upper,lower\n1,fixed,fixed\n2,,\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<csv::Row> rows = rowsOf(r.out);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (csv::Row{"n", "upper", "lower", "M1_upper", "M1_lower", "M2_upper",
                                 "M2_lower", "error"}));
    EXPECT_EQ(rows[1], (csv::Row{"1", "fixed", "fixed", "-3.33333333333333", "3.33333333333333", "",
                                 "", ""}));
    EXPECT_EQ(rows[2][5], "-5"); // empty end texts are neither 铰支 nor 嵌固: free, as hinged
}

TEST(Slopecalc, TraceListsEveryValueTheCalculationFormed) {
    const Outcome r = slopecalc({"earth-pressure", "--trace"});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.out.substr(0, r.out.find("Kq=")), "Ka=0.344444462206344\nEa=77.5000039964273\n");
    std::string names;
    std::istringstream lines(r.out.substr(r.out.find("Kq=")));
    for (std::string line; std::getline(lines, line);) {
        names += line.substr(0, line.find('=')) + ' ';
    }
    EXPECT_EQ(names, "Kq η T A B1 B2 S F Ka Ea ");
    EXPECT_NE(r.out.find("Kq=1.03333333333333\n"), std::string::npos); // 1 + 2·1.5 ÷ 90
}

TEST(Slopecalc, ReportWritesTheHtmlReport) {
    const std::string path = testing::TempDir() + "slopecalc_report.html";
    const Outcome r = slopecalc({"beam", "--report", path, "n=3"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::ifstream file(path);
    const std::string html{std::istreambuf_iterator<char>(file), {}};
    EXPECT_NE(html.find("连续梁计算 计算书"), std::string::npos);
    EXPECT_NE(html.find("<svg"), std::string::npos);
    EXPECT_NE(html.find("M(3,1)"), std::string::npos);
    EXPECT_NE(html.find(">-4<"), std::string::npos); // the last span's upper moment, 0.1·q·L²
    EXPECT_EQ(slopecalc({"beam", "--report"}).status, 2);
}

TEST(Slopecalc, HelpListsEveryNameInBothLanguages) {
    Outcome r = slopecalc({"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("gravity-wall"), std::string::npos);
    EXPECT_NE(r.out.find("thousands separator"), std::string::npos);
    r = slopecalc({"gravity-wall", "--help"});
    EXPECT_EQ(r.status, 0);
    for (const char* expected : {"gamma_w", "挡墙材料重度", "kN/m³", "default \".5\"", "x3"}) {
        EXPECT_NE(r.out.find(expected), std::string::npos) << expected;
    }
}

TEST(Csv, QuotedFieldsFollowRfc4180) {
    EXPECT_EQ(rowsOf("a,\"b,c\",\"say \"\"hi\"\"\"\r\n\"two\nlines\",,x\n"),
              (std::vector<csv::Row>{{"a", "b,c", "say \"hi\""}, {"two\nlines", "", "x"}}));
    EXPECT_EQ(csv::formatRow({"1,234.5", "plain", "a\"b", ""}),
              "\"1,234.5\",plain,\"a\"\"b\",\r\n");
}

} // namespace
