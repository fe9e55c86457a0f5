#include "calculators/anchorbar.h"
#include "calculators/registry.h"
#include "calculators/savedcalculation.h"
#include "cli/csv.h"
#include "cli/encoding.h"
#include "cli/options.h"
#include "cli/slopecalc.h"
#include "core/utf8.h"
#include "core/wholefile.h"

#include "uniform.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

using namespace std::string_literals;

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

std::vector<csv::Row> rowsOf(const std::string& text) {
    std::vector<csv::Row> rows;
    std::istringstream in(text);
    csv::Reader reader(in);
    for (csv::Row row; reader.next(row);) {
        rows.push_back(row);
    }
    return rows;
}

struct Case {
    const char* name;
    std::vector<std::string> args;
    int status;
    const char* out; // the results, as the window would show them before a failure
    const char* err; // what standard error holds
    const char* input = "";
};

class Runs : public testing::TestWithParam<Case> {};

TEST_P(Runs, PrintTheWindowsTextsTheFirstFailureOrWhatIsWrong) {
    const Outcome r = slopecalc(GetParam().args, GetParam().input);
    EXPECT_EQ(r.status, GetParam().status);
    EXPECT_EQ(r.out, GetParam().out);
    EXPECT_NE(r.err.find(GetParam().err), std::string::npos) << r.err;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Subcommands, Runs, testing::Values(
    Case{"coulomb", {"earth-pressure"}, 0, "Ka=0.344444462206344\nEa=77.5000039964273\nEa_compressed=77.5000039964273\n", ""},
    Case{"at_rest", {"earth-pressure", "--mode", "at-rest"}, 0, "K0=0.50000000773502\nE0=45.7500007077544\nP0=116.250001798392\nz0=1.69354838709677\n", ""},
    Case{"limited_fill", {"earth-pressure", "--mode=limited-fill"}, 0,
         "Ka=0.649407602730703\nEa=146.116710614408\nEa_compressed=146.116710614408\n", ""},
    Case{"anchor_temporary", {"anchor", "--temporary"}, 0,
         "Na=12.5\nAs=48.2117812061711\nla=0.094972518084966\nlb=0.034112428370796\n"
         "As_provided=1140.3981138\nKb=\nK=\nl_design=3\nNak=10\nAs_ok=yes\nla_ok=yes\n", ""},
    // by GB 50330-2013 (a 三级 slope's temporary anchor: Kb = 1.4, K = 1.6) with four bars; the
    // bonded length to provide is the code's least, 3 m, and the grade a word of its list
    Case{"anchor_2013", {"anchor", "edition=2013", "grade=3", "--temporary", "Htk=200", "fy=280",
                         "D=100", "frb=400", "d=25", "fb=2000", "n=4"}, 0,
         "Na=250\nAs=1000\nla=2.54647908947033\nlb=0.509295817894065\nAs_provided=1963.495375\n"
         "Kb=1.4\nK=1.6\nl_design=3\nNak=200\nAs_ok=yes\nla_ok=yes\n", ""},
        // an anchored wall by bands, by hand: 800 kN/m uniform on 10 m is 80 kPa; bands of 5 m, ribs
    // 4 m apart: 1600 kN a row, level; As = 2.0 × 1600 ÷ 310 kN·mm²/N, la = 2.4 × 1600 ÷
    // (π × 0.14 × 180), lb = 2.4 × 1600 ÷ (3π × 0.022 × 2700); no rib analysed: its results
    // empty, its check absent; a soil anchor's 48.5 m beyond its 10 m
    Case{"anchored_wall_by_bands", {"anchored-wall", "Eah=800", "H=10", "distribution=uniform",
                                    "forces=area", "sx=4", "rows=2.5;7.5", "a=0", "kind=soil"}, 0,
         "Ea_h=800\nEa_h_mod=800\ne_h=80\nRbase=\nMmax=\nzMmax=\nMmin=\nzMmin=\nVmax=\n"
         "As_provided=1140.3981138\nAs_rib_span=\nAs_rib_support=\nrib_xi=\nR1=1600\nHtk1=1600\n"
         "Nak1=1600\nAs1=10322.5806451613\nla1=48.5043636089586\nlb1=6.8592029346002\n"
         "l_design1=48.5043636089586\nR2=1600\nHtk2=1600\nNak2=1600\n"
         "As2=10322.5806451613\nla2=48.5043636089586\nlb2=6.8592029346002\n"
         "l_design2=48.5043636089586\nrow_ok1=yes\nAs_ok1=no\nla_ok1=no\nrow_ok2=yes\n"
         "As_ok2=no\nla_ok2=no\n", ""},
    Case{"anchor_grade_unknown", {"anchor", "edition=2013", "grade=四级"}, 1, "",
         "error 13: TypeMismatch (grade=\"四级\")\n"},
    Case{"anchor_bars_whole", {"anchor", "n=2.5"}, 1, "", "error 5: InvalidArgument (n=\"2.5\")\n"},
    Case{"upright_wall", {"gravity-wall", "--type", "upright"}, 0,
         "Ka=0.427106497065615\nEa=28.8723992016356\nG=118.8367\nx0=0.9329683\n"
         "Kt=2.11383\nKs=10.54241\npmax=163.9388\ne=0.2414525\npmin=2.303136\npk=83.12099\n"
         "zc=0.9870371\nKt_c=1.992047\nEa_compressed=28.8723992016356\nb2_used=1.3\nKs_ok=yes\nKt_ok=yes\ne_ok=yes\np_ok=not checked\npmax_ok=not checked\n", ""},
    Case{"shelf_wall", {"gravity-wall", "--type", "shelf"}, 0,
         "Ka=0.427106497065615\nEa=28.8723992016356\nG=112.212\nx0=1.011601\n"
         "Kt=2.161038\nKs=7.360059\npmax=139.0118\ne=0.1904505\npmin=18.33796\npk=78.6749\n"
         "zc=0.9870371\nKt_c=2.036535\nEa_compressed=28.8723992016356\nb2_used=1.3\nKs_ok=yes\nKt_ok=yes\ne_ok=yes\np_ok=not checked\npmax_ok=not checked\n", ""},
    // Ea at the centroid of its diagram: with c = 0 a trapezoid from Ka·q at the top to
    // Ka·(γH + q) at the base, its centroid H·(2·10 + 62) ÷ (3·(10 + 62)) = 0.98704 m above the
    // foot (2.6 m of soil under q = 10 kPa), higher than H/3 = 0.867 m: Kt falls to the Kt_c that
    // the H/3 rule reports beside its own
    Case{"upright_wall_centroid", {"gravity-wall", "--type", "upright", "lever=centroid"}, 0,
         "Ka=0.427106497065615\nEa=28.8723992016356\nG=118.8367\nx0=0.9329683\n"
         "Kt=1.992047\nKs=10.54241\npmax=173.4916\ne=0.2690873\npmin=0\npk=83.12099\n"
         "zc=0.9870371\nKt_c=\nEa_compressed=28.8723992016356\nb2_used=1.3\nKs_ok=yes\nKt_ok=yes\ne_ok=no\np_ok=not checked\npmax_ok=not checked\n", ""},
    // a cohesive fill (c = 5 kPa): the checks take the compressed part, Ea_compressed = 15.36
    // kN/m, not the net 14.95, and it acts higher (zc the compressed part's centroid)
    Case{"upright_wall_tension_ignored", {"gravity-wall", "--type", "upright", "c=5", "tension=ignored"}, 0,
         "Ka=0.221094549640239\nEa=14.9459915556801\nG=118.8367\nx0=0.9329683\nKt=3.85667\nKs=\npmax=96.27444\ne=0.04485303\npmin=66.8174\npk=81.54592\nzc=0.7443301\nKt_c=4.112173\nEa_compressed=15.3572738380196\nb2_used=1.3\nKs_ok=yes\nKt_ok=yes\ne_ok=yes\np_ok=not checked\npmax_ok=not checked\n", ""},
    // a wall of no type has no weight to check
    Case{"no_wall", {"gravity-wall"}, 2, "", "slopecalc: gravity-wall needs --type upright or shelf\n"},
    Case{"none", {"gravity-wall", "--type", "none"}, 2, "", "gravity-wall needs --type upright or shelf"},

    Case{"one_fixed_span", {"beam", "n=1", "upper=fixed", "lower=嵌固"}, 0,
         "M1_upper=-3.33333333333333\nM1_lower=3.33333333333333\n", ""},
    Case{"type_mismatch", {"earth-pressure", "phi=3o"}, 1, "", "error 13: TypeMismatch (phi=\"3o\")\n"},
    Case{"first_bad_in_reading_order", {"earth-pressure", "H=x", "alpha=y"}, 1, "",
         "error 13: TypeMismatch (alpha=\"y\")\n"},
    Case{"overflow_read", {"anchor", "Htk=1E400"}, 1, "", "error 6: Overflow (Htk=\"1E400\")"},
    Case{"division_by_zero", {"anchor", "fy=0"}, 1, "", "error 11: DivisionByZero\n"},
    Case{"invalid_argument", {"earth-pressure", "beta=40"}, 1, "", "error 5: InvalidArgument"},
    Case{"subscript", {"beam", "n=100"}, 1, "", "error 9: SubscriptOutOfRange (n=\"100\")"},
    // a count above 99 is refused where the solver starts, after the section and the load are
    // read; a count that is no whole number as it is read
    Case{"count_then_load", {"beam", "n=100", "q=abc"}, 1, "", "error 13: TypeMismatch (q=\"abc\")\n"},
    Case{"count_then_section", {"beam", "n=1000", "b=x"}, 1, "", "error 13: TypeMismatch (b=\"x\")\n"},
    Case{"count_first", {"beam", "n=2.5", "q=abc"}, 1, "", "error 13: TypeMismatch (n=\"2.5\")\n"},
    Case{"huge_count", {"beam", "n=1E300"}, 1, "", "error 9: SubscriptOutOfRange (n=\"1E300\")\n"},
    Case{"upright_no_batter", {"gravity-wall", "--type", "upright", "n=0"}, 1,
         "Ka=0.427106497065615\nEa=28.8723992016356\n", "error 11: DivisionByZero\n"},
    Case{"bad_length", {"beam", "lengths=2;x"}, 1, "", "13: TypeMismatch (lengths=\"2;x\")"},
    Case{"lengths_against_count", {"beam", "n=3", "lengths=2;2"}, 1, "",
         "error 5: InvalidArgument (lengths=\"2;2\")\n"},
    // a quantity beyond the original results that cannot be formed is empty, and so is its
    // check, unless the check fails without it (a resultant outside a base of no width)
    Case{"bars_beyond_a_double", {"anchor", "--json", "d=1e200"}, 0,
         "{\"Na\": 12.5, \"As\": 64.2823749415615, \"la\": 0.126313449053005, \"lb\": "
         "9.00568108989016E-201, \"As_provided\": null, \"Kb\": null, \"K\": null, \"l_design\": 3, \"Nak\": 10, "
         "\"As_ok\": null, \"la_ok\": true}\n", ""},
    Case{"base_of_no_width", {"gravity-wall", "--type", "upright", "b=0", "fa=200"}, 0,
         "Ka=0.427106497065615\nEa=28.8723992016356\nG=118.8367\nx0=0.2253529\nKt=0.4155198\n"
         "Ks=10.54241\npmax=-350.246\ne=0.2357396\npmin=0\npk=\nzc=0.9870371\nKt_c=0.3945665\nEa_compressed=28.8723992016356\nb2_used=1.3\nKs_ok=no\nKt_ok=no\ne_ok=no\n"
         "p_ok=no\npmax_ok=no\n", ""},
    Case{"no_subcommand", {}, 2, "", "no subcommand"},
    Case{"unknown_subcommand", {"retaining"}, 2, "", "unknown subcommand"},
    Case{"a_space_is_no_control", {"anchor", "a b=1"}, 2, "", "slopecalc: unknown name 'a b' for anchor"},
    Case{"names_are_case_sensitive", {"earth-pressure", "h=3"}, 2, "", "unknown name 'h'"},
    Case{"malformed", {"anchor", "Htk"}, 2, "", "malformed argument"},
    Case{"empty_name", {"anchor", "=3"}, 2, "", "malformed argument"},
    Case{"twice", {"anchor", "D=1", "D=2"}, 2, "", "given twice"},
    Case{"chosen_twice", {"gravity-wall", "--type", "shelf", "--type=upright"}, 2, "",
         "slopecalc: '--type' is given twice\n"},
    Case{"unknown_option", {"anchor", "--permanent"}, 2, "", "unknown option"},
    Case{"bad_mode", {"earth-pressure", "--mode", "passive"}, 2, "",
         "--mode is coulomb, at-rest or limited-fill, not 'passive'"},
    Case{"mode_without_value", {"earth-pressure", "--mode"}, 2, "", "needs a value"},
    Case{"bad_type", {"gravity-wall", "--type=arch"}, 2, "", "--type"},
    Case{"json_and_csv", {"anchor", "--json", "--csv", "-"}, 2, "", "together"},
    Case{"report_without_file", {"beam", "--report"}, 2, "", "needs a value"},
    Case{"missing_file", {"anchor", "--csv", "/nonexistent/x.csv"}, 2, "", "cannot read"},
    Case{"unknown_column", {"anchor", "--csv", "-"}, 2, "", "slopecalc: unknown column 'x' for anchor\n",
         "Htk,x\n1,2\n"},
    // the pressure's distribution after the results: at rest (γz + q)·K0, its base value E0
    Case{"diagram", {"earth-pressure", "--mode", "at-rest", "--diagram", "2"}, 0,
         "K0=0.50000000773502\nE0=45.7500007077544\nP0=116.250001798392\nz0=1.69354838709677\nz,p\n0,0.750000011602531\n"
         "2.5,23.2500003596784\n5,45.7500007077544\n", ""},
    Case{"diagram_json", {"earth-pressure", "--json", "--diagram=1", "q=0"}, 0,
         "{\"Ka\": 0.333333350522268, \"Ea\": 75.0000038675102, \"Ea_compressed\": 75.0000038675102, \"diagram\": [[0, 0], "
         "[5, 30.0000015470041]]}\n", ""}, // γHKa at the base
    Case{"diagram_of_a_failure", {"earth-pressure", "--diagram", "4", "H=x"}, 1, "",
         "error 13: TypeMismatch (H=\"x\")\n"},
    Case{"diagram_not_a_count", {"gravity-wall", "--type", "shelf", "--diagram", "1e3"}, 2, "",
         "--diagram takes a number of steps from 1 to 100000, not '1e3'"},
    Case{"diagram_of_an_anchor", {"anchor", "--diagram", "3"}, 2, "",
         "--diagram is for a calculator of earth pressure"},
    Case{"diagram_of_a_batch", {"earth-pressure", "--diagram", "3", "--csv", "-"}, 2, "",
         "not a --csv batch"},
    Case{"vary_range_too_short", {"anchor", "--vary", "Htk=1:2:1"}, 2, "", "takes N from 2"},
    // the least range: its two ends, As a tenth and a fifth of the default load's 64.28…
    Case{"vary_range_of_two", {"anchor", "--vary", "Htk=1:2:2"}, 0,
         "Htk,Na,As,la,lb,As_provided,Kb,K,l_design,Nak,As_ok,la_ok,error\n"
         "1,1.25,6.42823749415615,0.0126313449053005,0.00409349140449553,1140.3981138,,,3,1,yes,yes,\n"
         "2,2.5,12.8564749883123,0.025262689810601,0.00818698280899105,1140.3981138,,,3,2,yes,yes,\n", ""},
    // the steps of a span wider than a double holds are no numbers: refused, naming the range
    Case{"vary_span_overflows", {"anchor", "--vary", "Htk=1e308:-1e308:3"}, 2, "",
         "slopecalc: --vary Htk=FROM:TO:N: the steps from 1e308 to -1e308 are beyond the numbers a double holds\n"},
    // an empty value of a list is a row, which fails as an empty cell of a batch does
    Case{"vary_empty_value", {"anchor", "--vary", "Htk=1;;2"}, 1,
         "Htk,Na,As,la,lb,As_provided,Kb,K,l_design,Nak,As_ok,la_ok,error\n"
         "1,1.25,6.42823749415615,0.0126313449053005,0.00409349140449553,1140.3981138,,,3,1,yes,yes,\n"
         ",,,,,,,,,,,,13 TypeMismatch (Htk)\n"
         "2,2.5,12.8564749883123,0.025262689810601,0.00818698280899105,1140.3981138,,,3,2,yes,yes,\n", ""},
    Case{"vary_given_too", {"anchor", "Htk=3", "--vary", "Htk=1;2"}, 2, "", "'Htk' is given, and studied"},
    Case{"vary_unknown_name", {"anchor", "--vary", "X=1:2:3"}, 2, "", "unknown name 'X'"},
    Case{"vary_and_json", {"anchor", "--json", "--vary", "Htk=1;2"}, 2, "", "not with --csv, --json"},
    Case{"least_without_checks", {"beam", "--least", "q=1:2"}, 2, "", "--least is for a calculator with checks"},
    Case{"least_backwards", {"anchor", "--least", "Htk=2:1"}, 2, "", "needs FROM < TO"},
    Case{"least_no_precision", {"anchor", "--least", "Htk=1:2:0"}, 2, "", "and a precision above 0"},
    Case{"least_no_number", {"anchor", "--least", "Htk=a:1"}, 2, "", "'a' is no number"},
    // over more steps than it judges one by one, it says that a narrow run may be missed
    Case{"least_none_sampled", {"gravity-wall", "--type", "upright", "--least", "b=0.2:0.5:0.00001"}, 1, "",
         "slopecalc: no value of b from 0.2 to 0.5 in steps of 1E-05 meets every check (of its 30001 "
         "values 20001 were judged: a run that passes between two of them may be missed; narrow the range) "
         "(20001 of the 20001 values judged skipped: their calculation failed or their section cannot be "
         "formed; the first: 基底宽度 b 小于墙身底宽：墙面之前没有余地（b − A − b1 为负）)\n"},
    Case{"encoding_empty", {"anchor", "--csv", "-", "--encoding", ""}, 2, "", "slopecalc: unknown encoding ''"},
    // a bar's least diameter among the standard ones: three of 28 mm give 1847 mm² < As, of 32
    // mm 2413; a step given takes plain steps
    Case{"least_bar", {"anchor", "--least", "d=1:60", "Htk=300"}, 0,
         "d=32\nNa=375\nAs=1928.47124824684\nla=3.78940347159014\nlb=0.844282602177202\n"
         "As_provided=2412.7431168\nKb=\nK=\nl_design=3.78940347159014\nNak=300\nAs_ok=yes\nla_ok=yes\n", "slopecalc: every check holds for d in [32, 50]\n"},
    Case{"least_bar_from_36", {"anchor", "--least", "d=36:60", "Htk=300"}, 0,
         "d=36\nNa=375\nAs=1928.47124824684\nla=3.78940347159014\nlb=0.750473424157513\n"
         "As_provided=3053.6280072\nKb=\nK=\nl_design=3.78940347159014\nNak=300\nAs_ok=yes\nla_ok=yes\n", "slopecalc: every check holds for d in [36, 50]\n"},
    Case{"least_bar_stepped", {"anchor", "--least", "d=1:60:0.5", "Htk=300"}, 0,
         "d=29\nNa=375\nAs=1928.47124824684\nla=3.78940347159014\nlb=0.931622181712775\n"
         "As_provided=1981.55953245\nKb=\nK=\nl_design=3.78940347159014\nNak=300\nAs_ok=yes\nla_ok=yes\n",
         "slopecalc: every check holds for d in [29, 60]\n"},
    // when none does, the checks never met over the range are named, and whether they depend on
    // the value studied (Ks ∝ μ alone, whatever the bearing capacity)
    Case{"least_none", {"gravity-wall", "--type", "upright", "--least", "b=0.2:0.5:0.1"}, 1, "",
         "slopecalc: no value of b from 0.2 to 0.5 in steps of 0.1 meets every check (4 of the 4 "
         "values judged skipped: their calculation failed or their section cannot be formed; the "
         "first: 基底宽度 b 小于墙身底宽：墙面之前没有余地（b − A − b1 为负）)\n"},
    Case{"least_none_independent", {"gravity-wall", "--type", "upright", "--least", "fa=100:200:10", "mu=0.03"}, 1, "",
         "(never met: Ks_ok at Ks = 1.054 whatever fa is)\n"},
    Case{"version", {"--version"}, 0, "slopecalc " SLOPE_VERSION "\n", ""},
    // after "--" every argument is NAME=TEXT, options included
    Case{"options_end", {"anchor", "--json", "--", "Htk=5"}, 0,
         "{\"Na\": 6.25, \"As\": 32.1411874707807, \"la\": 0.0631567245265024, \"lb\": 0.0204674570224776, "
         "\"As_provided\": 1140.3981138, \"Kb\": null, \"K\": null, \"l_design\": 3, \"Nak\": 5, \"As_ok\": true, "
         "\"la_ok\": true}\n", ""},
    Case{"no_option_after_the_end", {"anchor", "--", "--json"}, 2, "", "malformed argument '--json'"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// A calculator's help names what its calculation prints, results and checks, and nothing else.
TEST(Slopecalc, TheHelpListsWhatACalculationPrints) {
    for (const subprogram::Calculator* c : subprogram::calculators()) {
        if (!c->resultsHelp.empty()) {
            continue; // named in words (the beam's moments, as many as its spans)
        }
        std::vector<std::string> args{std::string(c->command)};
        for (const subprogram::Variant& v : c->variants) {
            if (v.refusal.empty() && !c->variantOption.empty()) {
                args.insert(args.end(), {std::string(c->variantOption), std::string(v.name)});
                break;
            }
        }
        std::istringstream printed(slopecalc(args).out);
        std::string results, checks;
        for (std::string line; std::getline(printed, line);) {
            const std::string name = " " + line.substr(0, line.find('='));
            (name.ends_with("_ok") ? checks : results) += name;
        }
        const std::string help = slopecalc({std::string(c->command), "--help"}).out;
        EXPECT_NE(help.find("\nresults:" + results + "\n"), std::string::npos) << help;
        if (!checks.empty()) {
            EXPECT_NE(help.find("\nchecks (yes, no or not checked):" + checks + "\n"),
                      std::string::npos)
                << help;
        }
    }
}

// Every help fits a terminal of 80 columns (a Chinese character takes two), and the note on
// numbers comes out whole, its words as written.
TEST(Slopecalc, TheHelpFitsEightyColumns) {
    std::vector<std::vector<std::string>> helps{{"--help"}};
    for (const subprogram::Calculator* c : subprogram::calculators()) {
        helps.push_back({std::string(c->command), "--help"});
    }
    for (const auto& args : helps) {
        std::istringstream help(slopecalc(args).out);
        std::string words;
        for (std::string line; std::getline(help, line);) {
            std::size_t columns = 0;
            for (std::size_t i = 0; i < line.size();) {
                const std::size_t length =
                    std::max<std::size_t>(utf8::sequenceLength(line.substr(i)), 1);
                columns += length == 3 && static_cast<unsigned char>(line[i]) >= 0xE3 ? 2 : 1;
                i += length;
            }
            EXPECT_LE(columns, 80u) << args.front() << ": " << line;
            words += (words.empty() ? "" : " ") + line;
        }
        std::string note(kNumbersNote);
        EXPECT_NE(words.find(note), std::string::npos) << args.front();
    }
}

TEST(Slopecalc, UnequalSpansFollowTheThreeMomentEquation) {
    // spans L and 2L under q: q(L³ + 8L³) ÷ (8 · 3L) = 3qL²/8 over the middle support
    const Outcome r = slopecalc({"beam", "lengths=2;4"});
    EXPECT_NE(r.out.find("M1_lower=15\nM2_upper=-15\n"), std::string::npos) << r.out;
    // in a batch the count follows the lengths as well, row by row; spans 2, 4, 2 m under 10:
    // the inner supports share M by symmetry, and 2(2 + 4)M + 4M = -10(2³ + 4³)/4, M = -11.25
    const std::vector<csv::Row> rows =
        rowsOf(slopecalc({"beam", "--csv", "-"}, "lengths,q\n2;4,10\n2;4;2,10\n").out);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1][3] + ' ' + rows[1][4] + ' ' + rows[1][6] + rows[1].back(), "15 -15 ");
    EXPECT_EQ(rows[2][4] + ' ' + rows[2][5] + ' ' + rows[2][6], "-11.25 11.25 -11.25");
}

// The upright wall's defaults give b/6 = 1.49 ÷ 6 = 0.2483333, b/4 = 0.3725, pk = 83.12099 (the
// mean of pmax = 163.9388 and pmin = 2.303136), so 1.2fa passes pmax from fa = 137 (164.4) and not
// at 136 (163.2); Ks is proportional to μ: 10.54241 at 0.3 is 1.054241 at 0.03, below 1.3.
TEST(Slopecalc, WallVerdictsHoldEachResultAgainstItsLimit) {
    // Ks_ok Kt_ok e_ok p_ok pmax_ok, "-" for not checked
    const std::pair<std::vector<std::string>, std::string> table[] = {
        {{}, "yes yes yes - -"},
        {{"mu=0.03"}, "no yes yes - -"},
        {{"q=11"}, "yes yes no - -"},                 // e = 0.2528851 beyond b/6
        {{"q=11", "ground=rock"}, "yes yes yes - -"}, // within b/4
        {{"q=30", "ground=岩质"}, "yes no no - -"},   // Kt = 1.406547, e = 0.4653272
        {{"fa=137"}, "yes yes yes yes yes"},
        {{"fa=136"}, "yes yes yes yes no"},
        {{"fa=136.61566666666667"}, "yes yes yes yes yes"}, // 1.2fa is 163.9388: pmax meets it
        {{"fa=83.2"}, "yes yes yes yes no"},
        {{"fa=83"}, "yes yes yes no no"},
        // the resultant beyond the toe (e = 0.7832637 > b/2): no pressure is borne, however large
        // fa
        {{"q=60", "fa=1000"}, "no no no no no"},
        // e = 0.5089256, beyond b/3 and within b/2: the toe bears 359.1881, pmin = 0
        {{"q=34", "ground=rock", "fa=1000"}, "yes no no yes yes"},
        // Ks = -0.5964972: the base slopes so that nothing drives the wall out along it
        {{"alpha0=40"}, "yes yes no - -"},
    };
    for (const auto& [extra, expected] : table) {
        for (const bool traced : {false, true}) { // judged alike when recorded
            std::vector<std::string> args{"gravity-wall", "--type=upright"};
            if (traced) {
                args.push_back("--trace");
            }
            args.insert(args.end(), extra.begin(), extra.end());
            const Outcome r = slopecalc(args);
            std::string verdicts;
            for (const char* name : {"Ks_ok=", "Kt_ok=", "e_ok=", "p_ok=", "pmax_ok="}) {
                const std::size_t at = r.out.find(name);
                const std::string word =
                    at == std::string::npos
                        ? "?"
                        : r.out.substr(at + std::strlen(name),
                                       r.out.find('\n', at) - at - std::strlen(name));
                verdicts += (verdicts.empty() ? "" : " ") + (word == "not checked" ? "-" : word);
            }
            EXPECT_EQ(verdicts, expected) << traced << ' ' << r.out;
        }
    }
    EXPECT_EQ(slopecalc({"gravity-wall", "--type=upright", "ground=clay"}).err,
              "error 13: TypeMismatch (ground=\"clay\")\n");
}

TEST(Slopecalc, VerdictsFollowTheResultsInEveryOutput) {
    EXPECT_NE(slopecalc({"gravity-wall", "--type=shelf", "--json"})
                  .out.find("\"pk\": 78.6749, \"zc\": 0.9870371, \"Kt_c\": 2.036535, "
                            "\"Ea_compressed\": 28.8723992016356, \"b2_used\": 1.3, \"Ks_ok\": "
                            "true, \"Kt_ok\": true, \"e_ok\": true, "
                            "\"p_ok\": null, \"pmax_ok\": null}"),
              std::string::npos);
    const std::vector<csv::Row> rows = rowsOf(
        slopecalc({"gravity-wall", "--type=upright", "--csv", "-"}, "mu,fa\n0.03,136\nx,\n").out);
    const auto lastFive = [](const csv::Row& row) {
        std::string cells;
        for (std::size_t i = row.size() - 6; i < row.size(); ++i) {
            cells += row[i] + '|';
        }
        return cells;
    };
    EXPECT_EQ(lastFive(rows[0]), "Ks_ok|Kt_ok|e_ok|p_ok|pmax_ok|error|");
    EXPECT_EQ(lastFive(rows[1]), "no|yes|yes|yes|no||");
    EXPECT_EQ(lastFive(rows[2]), "|||||13 TypeMismatch (mu)|"); // failed
}

// The anchored wall's rib down its height, by hand: 10 kPa on ribs 2.5 m apart is 25 kN/m; the
// 2 m overhang gives −50 over the top row, the three-moment equation nothing over the second
// (−50·2 + 2·M·4 = −6·2·25·2³/24), so that at 3 m M = 25·2²/8 − 50/2 and V = 50/2, and the last
// span is a simple beam's (V = −25 at the foot).
TEST(Slopecalc, TheAnchoredWallsDiagramIsItsRibsLoadShearAndMoment) {
    const std::string out = slopecalc({"anchored-wall", "Eah=60", "H=6", "distribution=uniform",
                                       "rows=2;4", "--diagram", "2"})
                                .out;
    EXPECT_TRUE(out.ends_with("z,e,q_rib,V,M\n0,10,25,0,0\n3,10,25,25,-12.5\n6,10,25,-25,0\n"))
        << out;
}

TEST(Slopecalc, JsonHoldsTheResultsAndTheFailure) {
    EXPECT_EQ(
        slopecalc({"anchor", "--json"}).out,
        "{\"Na\": 12.5, \"As\": 64.2823749415615, \"la\": 0.126313449053005, "
        "\"lb\": 0.0409349140449553, \"As_provided\": 1140.3981138, \"Kb\": null, \"K\": null, "
        "\"l_design\": 3, \"Nak\": 10, \"As_ok\": true, \"la_ok\": true}\n");
    // a result in words is a string
    EXPECT_NE(slopecalc({"slope-stability", "--json"}).out.find("\"state\": \"欠稳定\""),
              std::string::npos);
    const Outcome r = slopecalc({"gravity-wall", "--json", "--type=upright", "b4=\"\n"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "{\"error\": {\"number\": 13, \"kind\": \"TypeMismatch\", \"parameter\": "
                     "\"b4\", \"text\": \"\\\"\\n\"}}\n");
}

// Rows that read their fields in other orders (a beam's lengths in one row and not in the next,
// a row that fails at its first field or at its last) each give what the same calculation gives
// alone.
TEST(Slopecalc, EveryRowOfABatchIsTheCalculationOfItsOwnCells) {
    const std::vector<csv::Row> rows = rowsOf(
        slopecalc({"beam", "--csv", "-"}, "n,lengths,q,upper\n2,2;4,10,fixed\n3,,12,hinged\n"
                                          "3,2;4;2,10,\nx,,10,\n1,,abc,\n1,3,7,free\n2,2,1,\n")
            .out);
    ASSERT_EQ(rows.size(), 8u);
    for (std::size_t r = 1; r < rows.size(); ++r) {
        std::vector<std::string> args{"beam"};
        for (std::size_t c = 0; c < 4; ++c) {
            if (!rows[r][c].empty()) {
                args.push_back(rows[0][c] + "=" + rows[r][c]);
            }
        }
        const Outcome alone = slopecalc(args);
        std::string results; // the row's written moments, as the lone calculation prints them
        for (std::size_t c = 4; c + 1 < rows[r].size(); ++c) {
            if (!rows[r][c].empty()) {
                results += rows[0][c] + "=" + rows[r][c] + "\n";
            }
        }
        EXPECT_EQ(results, alone.out) << "row " << r;
        // the same failure: "13 TypeMismatch (q)" in the row, "error 13: …" alone
        const auto number = [](const std::string& text) {
            return text.empty() ? 0 : std::stoi(text);
        };
        EXPECT_EQ(number(rows[r].back()),
                  number(alone.err.substr(std::min<std::size_t>(6, alone.err.size()))))
            << "row " << r;
    }
}

TEST(Slopecalc, BeamBatchesHaveAColumnForEveryEndOfNinetyNineSpans) {
    const Outcome r = slopecalc({"beam", "--csv", "-"}, "n,upper,lower\n1,fixed,fixed\n");
    const std::vector<csv::Row> rows = rowsOf(r.out);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].size(), 3u + 2 * 99 + 1);
    EXPECT_EQ(rows[0][3] + rows[0][200], "M1_upperM99_lower");
    EXPECT_EQ(rows[1][3] + ' ' + rows[1][4], "-3.33333333333333 3.33333333333333");
    EXPECT_EQ(rows[1][5] + rows[1].back(), "");
}

TEST(Slopecalc, TraceListsEveryValueTheCalculationFormed) {
    const Outcome r = slopecalc({"earth-pressure", "--trace"});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.out.substr(0, r.out.find("Kq=")),
              "Ka=0.344444462206344\nEa=77.5000039964273\nEa_compressed=77.5000039964273\n");
    std::string names;
    std::istringstream lines(r.out.substr(r.out.find("Kq=")));
    for (std::string line; std::getline(lines, line);) {
        names += line.substr(0, line.find('=')) + ' ';
    }
    EXPECT_EQ(names, "Kq η T A B1 B2 S F Ka Ea ");
    EXPECT_NE(r.out.find("Kq=1.03333333333333\n"), std::string::npos); // 1 + 2·1.5 ÷ 90
    // a fixed span's end moments under a uniform load, ∓qL²/12 = ∓10·2²/12, by their indices
    EXPECT_NE(slopecalc({"beam", "n=1", "--trace"})
                  .out.find("F(1,1)=-3.33333333333333\nF(1,2)=3.33333333333333\n"),
              std::string::npos);
}

TEST(Slopecalc, ReportWritesTheHtmlReportWithTheSketch) {
    const std::string path = testing::TempDir() + "slopecalc_report.html";
    const Outcome r = slopecalc({"beam", "--report", path, "n=3", "upper=fixed"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::ifstream file(path);
    const std::string html{std::istreambuf_iterator<char>(file), {}};
    EXPECT_NE(html.find("连续梁计算：上端嵌固，下端铰支，每跨 2.0 m"), std::string::npos);
    EXPECT_NE(html.find("<line x1=\"300\" y1=\"100\" x2=\"750\" y2=\"100\"/>"), std::string::npos);
    EXPECT_NE(html.find("M<sub>3,1</sub> = 4·k<sub>3</sub>"), std::string::npos);
}

TEST(Slopecalc, HelpListsEveryNameInBothLanguages) {
    EXPECT_NE(slopecalc({"-h"}).out.find("  gravity-wall    gravity retaining wall"),
              std::string::npos);
    EXPECT_NE(slopecalc({"gravity-wall", "--help"})
                  .out.find("  gamma_w   unit weight of the wall material [kN/m³], default "
                            "\"24\"\n            挡墙材料重度(KN/M)\n"),
              std::string::npos);
}

TEST(Slopecalc, HelpWrapsEachOptionWithinEightyColumns) {
    const std::string help = slopecalc({"--help"}).out;
    const std::size_t begin = help.find("  --csv FILE|-\n");
    const std::size_t end = help.find("\n  --report");
    ASSERT_LT(begin, end);
    std::istringstream lines(help.substr(begin, end - begin));
    std::string line, words, last;
    std::getline(lines, line);
    while (std::getline(lines, line)) {
        EXPECT_EQ(line.rfind("      ", 0), 0u) << line; // indented by six
        EXPECT_LE(line.size(), 80u) << line;            // ASCII: a byte a column
        // no shorter than it can be: the next word would not have fitted
        EXPECT_TRUE(last.empty() || last.size() + line.find(' ', 6) - 5 > 80) << last;
        words += (words.empty() ? "" : " ") + line.substr(6);
        last = line;
    }
    EXPECT_EQ(words, "one calculation per row of a CSV file (- for standard input) whose first "
                     "row names the parameters (missing columns take their defaults), written "
                     "back with the results and an error column");
    // every option's text as full as it can be: the next line's first word would not have fitted
    std::istringstream all(help);
    const auto columns = [](const std::string& text) { // a Chinese character takes two
        std::size_t n = 0;
        for (const char c : text) {
            const auto byte = static_cast<unsigned char>(c);
            n += (byte & 0xC0) == 0x80 ? 0 : byte >= 0xE3 && byte < 0xF0 ? 2 : 1;
        }
        return n;
    };
    std::string previous;
    while (std::getline(all, line)) {
        const bool text = line.rfind("      ", 0) == 0 && line.size() > 6 && line[6] != ' ';
        if (text && !previous.empty()) {
            EXPECT_GT(columns(previous) + columns(line.substr(6, line.find(' ', 6) - 6)), 79u)
                << previous;
        }
        previous = text ? line : "";
    }
    // the exit statuses in a column of their own
    EXPECT_NE(help.find("\n  0      every calculation succeeded\n  1      a calculation failed"),
              std::string::npos);
}

struct Batch {
    const char* name;
    const char* input;
    int status;
    const char* out; // exactly, line endings included
    const char* err = "";
};

class Batches : public testing::TestWithParam<Batch> {};

TEST_P(Batches, GoOnPastBadRowsAndSayWhatIsWrong) {
    const Outcome r = slopecalc({"anchor", "--csv", "-", "fb=2700"}, GetParam().input);
    EXPECT_EQ(r.status, GetParam().status);
    EXPECT_EQ(r.out, GetParam().out);
    EXPECT_NE(r.err.find(GetParam().err), std::string::npos) << r.err;
}

constexpr const char* kHeader = "a,Htk,Na,As,la,lb,As_provided,Kb,K,l_design,Nak,As_ok,la_ok,error";
const std::string kLong = "a,Htk\n0,10\n" + std::string(csv::Reader::kLongest, '1') + "\n0,10\n";
const std::string kLongLast = "a,Htk\n0,10\n" + std::string(csv::Reader::kLongest, '1');

TEST(Slopecalc, ARecordSplitBetweenTwoReadsIsReadWhole) {
    // 60,000 rows, some 700 kB: records straddle the reads, wherever the pipe splits them
    std::string input = "a,Htk\n";
    for (int i = 1; i <= 60000; ++i) {
        input += "0," + std::to_string(i) + "\n";
    }
    const Outcome r = slopecalc({"anchor", "--csv", "-"}, input);
    ASSERT_EQ(r.status, 0) << r.err;
    std::istringstream rows(r.out);
    std::string row;
    std::getline(rows, row); // the header
    int i = 0;
    while (std::getline(rows, row)) {
        ++i;
        ASSERT_TRUE(row.starts_with("0," + std::to_string(i) + ",") && row.ends_with(",")) << row;
    }
    EXPECT_EQ(i, 60000);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Csv, Batches, testing::Values(
    // quoted fields as RFC 4180 has them; a blank line is no record; the line ends as the input's
    Batch{"quotes_and_blank_lines", "a,Htk\r\n\"0\",\"1,000\"\r\n\r\n\"x\"\"\",\r\n", 1,
          "a,Htk,Na,As,la,lb,As_provided,Kb,K,l_design,Nak,As_ok,la_ok,error\r\n0,\"1,000\",1250,6428.23749415615,12.6313449053005,4.09349140449553,1140.3981138,,,12.6313449053005,1000,no,no,\r\n"
          "\"x\"\"\",,,,,,,,,,,,,13 TypeMismatch (a)\r\n"},
    Batch{"cr_only", "a,Htk\r0,10\r", 0,
          "a,Htk,Na,As,la,lb,As_provided,Kb,K,l_design,Nak,As_ok,la_ok,error\r0,10,12.5,64.2823749415615,0.126313449053005,0.0409349140449553,1140.3981138,,,3,10,yes,yes,\r"},
    // rows with no quote go out as they came in: CR or CRLF inside the input, a short row's
    // missing cells empty
    Batch{"plain_rows_cr", "a,Htk\r0,10\r0\r0,10", 1,
          "a,Htk,Na,As,la,lb,As_provided,Kb,K,l_design,Nak,As_ok,la_ok,error\r0,10,12.5,64.2823749415615,0.126313449053005,0.0409349140449553,1140.3981138,,,3,10,yes,yes,\r"
          "0,,,,,,,,,,,,,13 TypeMismatch (Htk)\r0,10,12.5,64.2823749415615,0.126313449053005,0.0409349140449553,1140.3981138,,,3,10,yes,yes,\r"},
    Batch{"plain_rows_crlf", "a,Htk\r\n0,10\r\n,10\r\n0,10\r\n0,\"10\r\n", 1,
          "a,Htk,Na,As,la,lb,As_provided,Kb,K,l_design,Nak,As_ok,la_ok,error\r\n0,10,12.5,64.2823749415615,0.126313449053005,0.0409349140449553,1140.3981138,,,3,10,yes,yes,\r\n"
          ",10,,,,,,,,,,,,13 TypeMismatch (a)\r\n0,10,12.5,64.2823749415615,0.126313449053005,0.0409349140449553,1140.3981138,,,3,10,yes,yes,\r\n"
          "0,\"10\r\n\",,,,,,,,,,,,the quote opened on line 5 is not closed\r\n"},
    // the output's line end is the input's first
    Batch{"mixed_line_ends", "a,Htk\r\n0,10\n0,10\n", 0,
          "a,Htk,Na,As,la,lb,As_provided,Kb,K,l_design,Nak,As_ok,la_ok,error\r\n0,10,12.5,64.2823749415615,0.126313449053005,0.0409349140449553,1140.3981138,,,3,10,yes,yes,\r\n"
          "0,10,12.5,64.2823749415615,0.126313449053005,0.0409349140449553,1140.3981138,,,3,10,yes,yes,\r\n"},
    Batch{"byte_order_mark", "\xEF\xBB\xBF" "a\n0\n", 0,
          "\xEF\xBB\xBF" "a,Na,As,la,lb,As_provided,Kb,K,l_design,Nak,As_ok,la_ok,error\n0,12.5,64.2823749415615,0.126313449053005,0.0409349140449553,1140.3981138,,,3,10,yes,yes,\n"},
    Batch{"a_longer_row_fails_alone", "a,Htk\n0,10,5\n\"\"\n", 1,
          "a,Htk,Na,As,la,lb,As_provided,Kb,K,l_design,Nak,As_ok,la_ok,error\n0,10,,,,,,,,,,,,\"row has 3 cells, the header 2\"\n,,,,,,,,,,,,,13 TypeMismatch (a)\n"},
    Batch{"unclosed_quote", "a,Htk\n0,10\n0,\"10\n\n", 1,
          "a,Htk,Na,As,la,lb,As_provided,Kb,K,l_design,Nak,As_ok,la_ok,error\n0,10,12.5,64.2823749415615,0.126313449053005,0.0409349140449553,1140.3981138,,,3,10,yes,yes,\n"
          "0,\"10\n\n\",,,,,,,,,,,,the quote opened on line 3 is not closed\n"},
    Batch{"a_record_too_long_ends_the_batch", kLong.c_str(), 1,
          "a,Htk,Na,As,la,lb,As_provided,Kb,K,l_design,Nak,As_ok,la_ok,error\n0,10,12.5,64.2823749415615,0.126313449053005,0.0409349140449553,1140.3981138,,,3,10,yes,yes,\n",
          "slopecalc: line 3 of standard input holds a record longer than 1 MiB"},
    Batch{"the_last_record_too_long", kLongLast.c_str(), 1,
          "a,Htk,Na,As,la,lb,As_provided,Kb,K,l_design,Nak,As_ok,la_ok,error\n0,10,12.5,64.2823749415615,0.126313449053005,0.0409349140449553,1140.3981138,,,3,10,yes,yes,\n",
          "slopecalc: line 3 of standard input holds a record longer than 1 MiB"},
    Batch{"a_column_twice", "a,Htk,a\n", 2, "", "the column 'a' is named twice"},
    // each bad row names its own field, whichever failed the row before
    Batch{"each_failure_its_field", "a,Htk\nx,0\n0,x\n", 1,
          "a,Htk,Na,As,la,lb,As_provided,Kb,K,l_design,Nak,As_ok,la_ok,error\nx,0,,,,,,,,,,,,13 TypeMismatch (a)\n0,x,,,,,,,,,,,,13 TypeMismatch (Htk)\n"},
    Batch{"no_header", "", 2, "", "standard input has no header row"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// A record already read into the buffer is split many bytes at a time: whatever ends a cell (a
// comma, a quote, CR, LF) is found at every place within and across those blocks, as the reader
// that unquotes finds it. (The first record fills the buffer.)
TEST(CsvReader, FindsWhatEndsACellWhereverItLies) {
    for (const std::string end : {",", "\"", "\r", "\n", "\r\n", ""}) {
        for (std::size_t at = 0; at < 40; ++at) {
            const std::string text = "0\n" + std::string(at, '1') + end + "2,3\n" +
                                     std::string(40 - at, '4') + "," + std::string(at, '5') + "\n6";
            std::istringstream in(text);
            csv::Reader views(in);
            std::vector<csv::Row> records;
            std::size_t asTheyStand = 0;
            for (csv::Record record; views.next(record);) {
                records.emplace_back(record.cells.begin(), record.cells.end());
                asTheyStand += record.verbatim;
            }
            EXPECT_EQ(records, rowsOf(text))
                << "ends with " << testing::PrintToString(end) << " after " << at << " bytes";
            // and without a quote, every record but the first and the one the input cuts is
            // split where it lies, also one that ends in the last bytes read
            if (end != "\"") {
                EXPECT_EQ(asTheyStand, records.size() - 2) << testing::PrintToString(end) << at;
            }
        }
    }
}

// Written as it comes: a character cut in two waits for its end, a flush hands on every whole
// one and succeeds, a character GBK has not is '?'.
TEST(EncodingOutput, AFlushHandsOnEveryWholeCharacter) {
    std::stringbuf sink;
    encoding::EncodingOutput gbk(sink, "GBK");
    std::ostream out(&gbk);
    out << "中\xE6\x96"; // 中, and the first two bytes of 文
    EXPECT_TRUE(out.flush());
    EXPECT_EQ(sink.str(), "\xD6\xD0");
    out << "\x87😀";
    out.put('A'); // a character at a time, as std::endl writes
    EXPECT_TRUE(out.flush() && gbk.finish());
    EXPECT_EQ(sink.str(), "\xD6\xD0\xCE\xC4?A");
}

// Read in GBK: a byte of no character is 0xFF in its place, also where a single byte is left
// after it, and a text of one byte is that byte.
TEST(DecodingInput, EveryByteIsDecodedUpToTheLast) {
    for (const auto& [gbk, utf8] :
         {std::pair{"A", "A"}, {"\xFF!", "\xFF!"}, {"\xD6\xD0!", "中!"}}) {
        std::stringbuf source(gbk);
        encoding::DecodingInput decoding(source, "GBK");
        std::istream in(&decoding);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), utf8)
            << testing::PrintToString(gbk);
    }
}

// A byte of no character just where the decoded block is full: its mark goes into the next block,
// never past the end of this one. The first read (a block) ends inside 中, so the second decodes
// its last byte and a whole block after it, which fills the output just before the invalid byte.
TEST(DecodingInput, ABadByteAtAFullBlockWaitsForTheNext) {
    const std::string a(kReadBlock - 1, 'A'), b(kReadBlock - 3, 'B');
    std::stringbuf source(a + "\xD6\xD0" + b + "\xFF\xFFz");
    encoding::DecodingInput decoding(source, "GBK");
    std::istream in(&decoding);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), a + "中" + b + "\xFF\xFFz");
}

// The first record's line end is the one the batch writes, whatever the later records end with.
TEST(CsvReader, TheFirstRecordsLineEndIsTheBatchs) {
    for (const auto& [text, end] :
         {std::pair{"a\nb\r\nc\r\n", "\n"}, {"a\r\nb\nc\n", "\r\n"}, {"a\rb\nc\r\n", "\r"}}) {
        std::istringstream in(text);
        csv::Reader views(in);
        for (csv::Record record; views.next(record);) {
        }
        EXPECT_EQ(views.lineEnd(), end) << testing::PrintToString(text);
    }
}

// A study's table is the table of single calculations at its values, for any field of any
// calculator: the results and verdicts of each row are those NAME=value gives alone.
TEST(Study, ItsRowsAreTheSingleCalculationsAtItsValues) {
    const std::vector<std::vector<std::string>> calculations = {
        {"earth-pressure"},
        {"earth-pressure", "--mode", "at-rest"},
        {"earth-pressure", "--mode", "limited-fill"},
        {"anchor"},
        {"gravity-wall", "--type", "upright"},
        {"gravity-wall", "--type", "shelf"},
        {"beam", "n=4"}};
    const std::vector<std::pair<std::string, std::string>> studies = {
        {"H", "3:9:4"},     {"phi", "20;25;x"},    {"q", "0:40:3"},    {"c", "0;12"},
        {"Htk", "5:500:4"}, {"D", "90;130;1E400"}, {"b", "0.8:2.4:5"}, {"fa", "100;;300"},
        {"h1", "1:2.5:3"},  {"q", "1:30:3"},       {"b", "150:400:3"}};
    int compared = 0;
    for (const auto& calculation : calculations) {
        for (const auto& [name, values] : studies) {
            std::vector<std::string> args = calculation;
            args.insert(args.end(), {"--vary", name + "=" + values});
            const Outcome table = slopecalc(args);
            if (table.status == 2) {
                continue; // a name this calculator does not have
            }
            const std::vector<csv::Row> rows = rowsOf(table.out);
            ASSERT_GE(rows.size(), 3u) << table.err;
            for (std::size_t r = 1; r < rows.size(); ++r) {
                std::vector<std::string> single = calculation;
                single.push_back(name + "=" + rows[r][0]);
                const Outcome one = slopecalc(single);
                // the single run as name=value lines, as the row holds them; an empty value (a
                // quantity it could not form, printed "Kb=") is an empty cell
                std::string cells;
                for (std::size_t c = 1; c + 1 < rows[0].size(); ++c) {
                    if (!rows[r][c].empty()) {
                        cells += rows[0][c] + "=" +
                                 (rows[r][c] == "not checked" ? "not checked" : rows[r][c]) + "\n";
                    }
                }
                EXPECT_EQ(cells, std::regex_replace(one.out, std::regex("[^\n=]+=\n"), ""))
                    << name << "=" << rows[r][0];
                EXPECT_EQ(rows[r].back().empty(), one.status == 0) << name << "=" << rows[r][0];
                ++compared;
            }
        }
    }
    EXPECT_GT(compared, 100);
}

// On random walls the least base width meets every check, and the step below it fails one.
TEST(Study, TheLeastValueMeetsEveryCheckAndTheStepBelowDoesNot) {
    Uniform uniform(7);
    int found = 0;
    for (int i = 0; i < 30; ++i) {
        const std::vector<std::string> wall = {
            "gravity-wall",
            "--type",
            i % 2 ? "shelf" : "upright",
            "q=" + std::to_string(uniform(0, 30)),
            "phi=" + std::to_string(uniform(25, 40)),
            "mu=" + std::to_string(uniform(0.3, 0.6)),
            "ground=" + std::string(i % 3 ? "土质" : "岩质"),
            "fa=" + std::string(i % 4 ? std::to_string(uniform(120, 400)) : "")};
        std::vector<std::string> args = wall;
        args.insert(args.end(), {"--least", "b=0.5:4:0.01"});
        const Outcome least = slopecalc(args);
        if (least.status == 1) {
            EXPECT_NE(least.err.find("meets every check"), std::string::npos);
            continue;
        }
        ASSERT_EQ(least.status, 0) << least.err;
        const std::string value = least.out.substr(2, least.out.find('\n') - 2);
        const auto judged = [&](double b) {
            std::vector<std::string> one = wall;
            one.push_back("b=" + std::to_string(b));
            const Outcome r = slopecalc(one);
            return r.status == 0 && r.out.find("=no\n") == std::string::npos;
        };
        const double b = std::stod(value);
        EXPECT_TRUE(judged(b)) << value;
        if (b > 0.5 + 1e-9) {
            EXPECT_FALSE(judged(b - 0.01)) << value;
        }
        EXPECT_NE(least.err.find("every check holds for b in [" + value), std::string::npos);
        ++found;
    }
    EXPECT_GT(found, 10);
}

// A batch read from a file closes it; the largest diagram is taken.
TEST(Slopecalc, ABatchFileIsClosedAndTheLargestDiagramTaken) {
    const auto open = [] {
        int count = 0;
        for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
            (void)entry;
            ++count;
        }
        return count;
    };
    const std::string path = testing::TempDir() + "slopecalc_closed.csv";
    std::ofstream(path) << "Htk\n1\n2\n";
    const int before = open();
    EXPECT_EQ(slopecalc({"anchor", "--csv", path}).status, 0);
    EXPECT_EQ(open(), before);
    const Outcome most = slopecalc({"earth-pressure", "--diagram", "100000"});
    EXPECT_EQ(most.status, 0);
    EXPECT_EQ(std::count(most.out.begin(), most.out.end(), '\n'), 3 + 1 + 100001);
}

TEST(Slopecalc, ABeamBatchRefusesTooManySpansAfterReadingEveryField) {
    const Outcome r = slopecalc({"beam", "--csv", "-"},
                                "n,q,b\n100,10,200\n100,abc,200\n1000,10,x\n2.5,abc,200\n");
    std::istringstream lines(r.out);
    std::vector<std::string> errors;
    for (std::string line; std::getline(lines, line);) {
        errors.push_back(line.substr(line.rfind(',') + 1));
    }
    EXPECT_EQ(errors,
              (std::vector<std::string>{"error", "9 SubscriptOutOfRange (n)", "13 TypeMismatch (q)",
                                        "13 TypeMismatch (b)", "13 TypeMismatch (n)"}));
}

TEST(Slopecalc, JsonIsValidUtf8AndCarriesTheTrace) {
    const Outcome r = slopecalc({"earth-pressure", "--json", "--trace", "phi=\xff\xe9\xe5\x9c"});
    EXPECT_EQ(r.out, "{\"trace\": [], \"error\": {\"number\": 13, \"kind\": \"TypeMismatch\", "
                     "\"parameter\": \"phi\", \"text\": "
                     "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\"}}\n");
    EXPECT_NE(slopecalc({"anchor", "--json", "--trace"})
                  .out.find("\"la_ok\": true, \"trace\": [{\"step\": \"anchorBarDesign\", "
                            "\"name\": \"ξ1\", \"value\": 1}"),
              std::string::npos);
    EXPECT_EQ(slopecalc({"anchor", "a=\"\n\t\x1b"}).err,
              "error 13: TypeMismatch (a=\"\\\"\\n\\t\\x1b\")\n");
    EXPECT_EQ(slopecalc({"gravity-wall", "--type=shelf", "--type", "shelf"}).status, 2);
}

// Runs a shell command line in which $S is slopecalc; its status, output and errors.
Outcome shell(const std::string& line) {
    const std::string errors = testing::TempDir() + "slopecalc.err";
    FILE* pipe = popen(("S=" SLOPECALC "; " + line + " 2>" + errors).c_str(), "r");
    std::string out;
    for (int c; (c = std::fgetc(pipe)) != EOF;) {
        out += static_cast<char>(c);
    }
    const int status = pclose(pipe);
    std::ifstream err(errors);
    return {WEXITSTATUS(status), out, {std::istreambuf_iterator<char>(err), {}}};
}

TEST(Slopecalc, EveryWriteIsChecked) {
    for (const char* args : {"earth-pressure", "anchor --json", "--help", "beam --trace"}) {
        const Outcome r = shell(std::string("$S ") + args + " >/dev/full");
        EXPECT_EQ(r.status, 3) << args;
        EXPECT_EQ(r.err, "slopecalc: cannot write standard output: No space left on device\n");
    }
    EXPECT_EQ(shell("$S anchor >&-").status, 3);
    // a closed pipe ends slopecalc quietly
    const Outcome piped = shell("(echo Htk; yes 10 | head -100000) | $S anchor --csv - | head -1");
    EXPECT_EQ(piped.out, "Htk,Na,As,la,lb,As_provided,Kb,K,l_design,Nak,As_ok,la_ok,error\n");
    EXPECT_EQ(piped.err, "");
    EXPECT_EQ(shell("$S anchor --csv /tmp").err, "slopecalc: cannot read /tmp: Is a directory\n");
    // with standard input closed, the batch's file is descriptor 0
    EXPECT_EQ(
        shell("echo Htk >/tmp/slopecalc_in.csv; $S anchor --csv /tmp/slopecalc_in.csv <&-").out,
        "Htk,Na,As,la,lb,As_provided,Kb,K,l_design,Nak,As_ok,la_ok,error\n");
}

TEST(Slopecalc, AReportIsWrittenWholeOrNotAtAllAfterTheResults) {
    const std::string path = testing::TempDir() + "slopecalc_old.html";
    std::ofstream(path) << "the report before";
    // no file may grow beyond one block of 512 bytes: the report cannot be written
    // (the limit's signal, which would end slopecalc, is not sent to it)
    const Outcome r = shell("ulimit -f 1; $S anchor --report " + path);
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.out,
              "Na=12.5\nAs=64.2823749415615\nla=0.126313449053005\nlb=0.0409349140449553\n"
              "As_provided=1140.3981138\nKb=\nK=\nl_design=3\nNak=10\nAs_ok=yes\nla_ok=yes\n");
    EXPECT_EQ(r.err, "slopecalc: cannot write " + path + ": File too large\n");
    std::ifstream file(path);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), "the report before");
    EXPECT_EQ(shell("ls -a " + testing::TempDir() + " | grep -c slopecalc_old").out, "1\n");
    // a descriptor's name is written through it: what its file held stays, the report follows
    const Outcome log =
        shell("echo OLD >" + path + "; $S anchor --report /dev/stdout >>" + path + "; cat " + path);
    EXPECT_TRUE(log.out.starts_with("OLD\nNa=12.5\nAs=64.2823749415615\nla=0.126313449053005\n"
                                    "lb=0.0409349140449553\nAs_provided=1140.3981138\nKb=\nK=\nl_"
                                    "design=3\nNak=10\nAs_ok=yes\nla_ok=yes\n"
                                    "<!DOCTYPE html>"))
        << log.out;
    EXPECT_TRUE(log.out.ends_with("</html>\n"));
}

// The most memory slopecalc held while it ran with these arguments, in bytes.
long peakMemory(const std::vector<std::string>& args) {
    const pid_t child = ::fork();
    if (child == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::dup2(null, 2);
        std::vector<char*> argv{const_cast<char*>(SLOPECALC)};
        for (const std::string& arg : args) {
            argv.push_back(const_cast<char*>(arg.c_str()));
        }
        argv.push_back(nullptr);
        ::execv(SLOPECALC, argv.data());
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    return usage.ru_maxrss * 1024L;
}

TEST(Slopecalc, ASavedFileIsReadWithinAMebibyteAndSixteenTimesItsSize) {
    const std::string small = testing::TempDir() + "slopecalc_small.slope";
    const std::string large = testing::TempDir() + "slopecalc_large.slope";
    std::ofstream(small) << "[0]";
    std::string zeros = "["; // a megabyte of values, as many as a megabyte can hold
    for (int i = 0; i < 499999; ++i) {
        zeros += "0,";
    }
    std::ofstream(large) << zeros << "0]";
    EXPECT_LE(peakMemory({"--input", large}) - peakMemory({"--input", small}),
              16L * static_cast<long>(zeros.size()));
    // beyond a mebibyte (a file, or a device without end), refused without being read whole
    std::ofstream(large) << std::string(kLargestReadFile + 1, ' ');
    for (const std::string& path : {large, std::string("/dev/zero")}) {
        const Outcome r = slopecalc({"--input", path});
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err, "slopecalc: cannot read " + path + ": larger than 1 MiB\n");
    }
}

// A saved calculation's report carries its title block, as the window's does.
TEST(Slopecalc, AReportFromASavedFileCarriesItsTitleBlock) {
    subprogram::SavedCalculation saved{
        &subprogram::kAnchorBar, 0, {}, {}, {}, "2026-12-08 10:00", {"北坡锚杆", "张工", "李工"}};
    for (const subprogram::Field& f : subprogram::kAnchorBar.fields) {
        saved.inputs.emplace_back(subprogram::Calculator::place(f), f.defaultText);
    }
    const std::string path = testing::TempDir() + "slopecalc_titled.slope";
    const std::string report = testing::TempDir() + "slopecalc_titled.html";
    std::ofstream(path) << subprogram::savedCalculationText(saved);
    EXPECT_EQ(slopecalc({"--input", path, "--report", report}).status, 0);
    std::stringstream html;
    html << std::ifstream(report).rdbuf();
    for (const char* name : {"北坡锚杆", "张工", "李工"}) {
        EXPECT_NE(html.str().find(name), std::string::npos) << name;
    }
}

TEST(Slopecalc, RowsGoOutWhileTheInputIsStillComing) {
    // the input stops for four seconds after its first row: that row is out within three
    const Outcome r =
        shell("(printf 'Htk\\n8\\n'; sleep 4) | $S anchor --csv - | timeout 3 head -2 | tail -1");
    EXPECT_EQ(
        r.out,
        "8,10,51.4258999532492,0.101050759242404,0.0327479312359642,1140.3981138,,,3,8,yes,yes,\n");
}

TEST(Slopecalc, AStopDropsTheRecordItCutAndEndsAWriteNobodyTakes) {
    // SIGINT before the rest of "140" arrives: the row of D = 1 is never calculated
    const Outcome cut = shell(
        "d=$(mktemp -d); mkfifo $d/f; (printf 'Htk,a,D\\n10,0,140\\n20,0,1'; sleep 3; "
        "printf '40\\n') >$d/f & $S anchor --csv $d/f 2>$d/err & p=$!; sleep 1; kill -INT $p; "
        "wait $p; echo status $?; sed \"s|$d/||\" $d/err; rm -r $d");
    EXPECT_EQ(cut.out, "Htk,a,D,Na,As,la,lb,As_provided,Kb,K,l_design,Nak,As_ok,la_ok,error\n"
                       "10,0,140,12.5,64.2823749415615,0.126313449053005,0.0409349140449553,1140."
                       "3981138,,,3,10,yes,yes,\n"
                       "status 130\n"
                       "slopecalc: stopped by signal 2; every row up to line 2 of f is written; "
                       "the incomplete record of line 3 is dropped\n");
    // a reader that takes nothing: SIGTERM, or SIGHUP (signal 1), ends slopecalc within a second
    for (const auto& [name, number] : {std::pair{"TERM", 15}, std::pair{"HUP", 1}}) {
        const Outcome stalled = shell(
            "d=$(mktemp -d); (echo Htk; yes 10 | head -100000) >$d/in.csv; "
            "($S anchor --csv $d/in.csv 2>$d/err & echo $! >$d/pid; wait $!; echo $? >$d/status) "
            "| sleep 9 >/dev/null & sleep 1; kill -" +
            std::string(name) +
            " $(cat $d/pid); sleep 1.5; kill $!; cat $d/status $d/err; rm -r $d");
        EXPECT_EQ(stalled.out.substr(0, 4), std::to_string(128 + number) + "\n") << name;
        EXPECT_NE(stalled.out.find("stopped by signal " + std::to_string(number) +
                                   "; every row up to line "),
                  std::string::npos)
            << stalled.out;
        EXPECT_NE(stalled.out.find("the rows calculated after it are dropped\n"),
                  std::string::npos);
    }
    // a least search of a searched circle (minutes of calculations) ends at its next value,
    // writing nothing of its search
    const Outcome least = shell(
        "d=$(mktemp -d); ($S slope-stability --method bishop --least c=1:60 >$d/out 2>$d/err & "
        "echo $! >$d/pid; wait $!; echo $? >$d/status) & sleep 1; kill -TERM $(cat $d/pid); "
        "sleep 2.5; cat $d/status $d/out $d/err; kill -KILL $(cat $d/pid) 2>/dev/null; rm -r $d");
    EXPECT_EQ(least.out, "143\nslopecalc: stopped by signal 15; the search for the least c is "
                         "dropped, nothing of it is written\n");
    // a --vary of the searched circle, row by row as a batch: the rows done are written, and its
    // rows are named as the table of --vary, not as standard input
    const Outcome varied = shell(
        "d=$(mktemp -d); ($S slope-stability --method bishop --vary c=1:60:50 >$d/out 2>$d/err & "
        "echo $! >$d/pid; wait $!; echo $? >$d/status) & sleep 1; kill -TERM $(cat $d/pid); "
        "sleep 2.5; cat $d/status $d/err; kill -KILL $(cat $d/pid) 2>/dev/null; rm -r $d");
    EXPECT_EQ(varied.out.substr(0, 4), "143\n");
    EXPECT_NE(varied.out.find("of the table of --vary (its header line 1) is written"),
              std::string::npos)
        << varied.out;
    // one long calculation (a second of circles) ends within half a second, writing nothing
    const Outcome single = shell(
        "d=$(mktemp -d); $S slope-stability --method bishop slices=1000 >$d/out 2>$d/err & p=$!; "
        "sleep 0.3; kill -TERM $p; t=$(date +%s%N); wait $p; s=$?; "
        "echo $s $(( ($(date +%s%N) - t) < 500000000 )); cat $d/out $d/err; rm -r $d");
    EXPECT_EQ(single.out, "143 1\nslopecalc: stopped by signal 15; the calculation is dropped, "
                          "nothing of it is written\n");
}

TEST(Slopecalc, BytesThatAreNoUtf8TextAreNeverTakenForText) {
    const std::string utf8Batch = "n,upper\n1,嵌固\n1,铰支\n";
    const std::string gbkBatch = "n,upper\n1,\xC7\xB6\xB9\xCC\n1,\xBD\xC2\xD6\xA7\n";
    const std::vector<csv::Row> plain = rowsOf(slopecalc({"beam", "--csv", "-"}, utf8Batch).out);
    // GBK read as UTF-8: fixed would have been read as hinged (no word of the list)
    const Outcome asUtf8 = slopecalc({"beam", "--csv", "-"}, gbkBatch);
    EXPECT_EQ(asUtf8.status, 1);
    EXPECT_EQ(rowsOf(asUtf8.out)[1].back(),
              "column 'upper' is not UTF-8 text: save the file as CSV UTF-8, or give its encoding "
              "with --encoding (GBK, GB18030 ...)");
    // read in GBK, written back in GBK, with the results of the text it stands for
    const Outcome gbk = slopecalc({"beam", "--csv", "-", "--encoding", "GBK"}, gbkBatch);
    EXPECT_EQ(gbk.status, 0);
    std::vector<csv::Row> back = rowsOf(gbk.out);
    back[1][1] = "嵌固";
    back[2][1] = "铰支";
    EXPECT_EQ(back, plain);
    // a byte that is no GBK text fails its row alone: what follows it is read as before
    const std::vector<csv::Row> bad = rowsOf(
        slopecalc({"beam", "--csv", "-", "--encoding", "GBK"}, "n,upper\n1,\xffx\n1,fixed\n").out);
    ASSERT_EQ(bad.size(), 3u);
    EXPECT_EQ(bad[1].back(), "column 'upper' is not GBK text");
    EXPECT_EQ(bad[2][2] + bad[2].back(), "-5");
    // UTF-16 with its mark: named, and read when its encoding is given
    const std::string utf16 = "\xFF\xFEn\0,\0u\0p\0p\0e\0r\0\n\0"
                              "1\0,\0\x4C\x5D\xFA\x56\n\0"s;
    EXPECT_EQ(slopecalc({"beam", "--csv", "-"}, utf16).err,
              "slopecalc: standard input begins with the byte-order mark of UTF-16LE, not UTF-8: "
              "read it with --encoding UTF-16LE\n");
    const std::string out = slopecalc({"beam", "--csv", "-", "--encoding=UTF-16LE"}, utf16).out;
    EXPECT_EQ(out.substr(0, 6), "\xFF\xFEn\0,\0"s);
    EXPECT_EQ(out.find("-3.33333333333333"), std::string::npos); // UTF-16, not ASCII
    EXPECT_EQ(slopecalc({"beam", "--encoding", "NOSUCH", "--csv", "-"}).err,
              "slopecalc: unknown encoding 'NOSUCH'; iconv -l lists the names\n");
}

TEST(Slopecalc, WhatIsEchoedBreaksNoLineAndWhatIsWrittenIsUtf8) {
    EXPECT_EQ(slopecalc({"an\x1b[2Jchor"}).err,
              "slopecalc: unknown subcommand 'an\\x1b[2Jchor'; see slopecalc --help\n");
    // the C1 controls too (U+009B is a terminal's CSI); the letters after them are text
    EXPECT_EQ(slopecalc({"\u009b2J\u0080\u009f\u00a0x"}).err,
              "slopecalc: unknown subcommand '\\u009b2J\\u0080\\u009f\u00a0x'; see slopecalc "
              "--help\n");
    EXPECT_EQ(slopecalc({"anchor", "a\nb\xff=1"}).err,
              "slopecalc: unknown name 'a\\nb\\xff' for anchor; see slopecalc anchor --help\n");
    EXPECT_EQ(slopecalc({"anchor", "--csv", "-"}, "\n\r\nHtk,\"x\0y\"\n"s).err,
              "slopecalc: unknown column 'x\\x00y' for anchor\n"); // after the blank lines
    const std::string path = testing::TempDir() + "slopecalc_latin1.html";
    EXPECT_EQ(slopecalc({"anchor", "a=\xe9", "--report", path}).status, 1);
    std::ifstream file(path);
    const std::string html{std::istreambuf_iterator<char>(file), {}};
    EXPECT_TRUE(utf8::valid(html));
    EXPECT_NE(html.find("\uFFFD"), std::string::npos);
}

} // namespace
