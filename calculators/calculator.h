#pragma once

#include "calculators/pressurediagram.h"
#include "calculators/sketch.h"
#include "core/form.h"
#include "core/record.h"
#include "core/trace.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// A calculator described once, for every part that shows it: its window builds its fields from
// the description, slopecalc takes its parameters and help from it, and the report names its
// inputs, steps and results by it. A new calculator is one description, registered in
// calculators/registry.cpp.
namespace subprogram {

// One word a choice field offers (an end support), as the window's list and the command line
// give it, with the value it stands for.
struct Choice {
    std::string_view text;    // in the window's list: "铰支"
    std::string_view english; // on the command line also: "hinged"
    int value;
    std::string_view former = {}; // a word it once had, still read (files saved with it)
};

// How a calculation reads a field's text.
enum class Conversion {
    Double,          // textToDouble
    Single,          // textToSingle
    DoubleAndSingle, // both, each where its routine needs it
    Count,           // a whole number of spans
    Word,            // compared as a word: a choice or a grade
    Lengths,         // numbers separated by ';'
};

struct Field {
    std::string_view name;        // on the command line and in CSV headers
    std::string_view control;     // the window's field; empty for a value beyond the window
    std::string_view caption;     // the label beside the field, as the window shows it
    std::string_view defaultText; // the field's text when the window is created
    std::string_view unit;
    std::string_view english; // what it means, for --help
    std::string_view symbol;  // as the report writes it (HTML)
    Conversion conversion = Conversion::Double;
    std::string_view reportCaption = {};          // the report's name, where it differs
    std::span<const std::string_view> items = {}; // a combo box's list
    std::span<const Choice> choices = {};         // a choice field's words (they fill its list)
    int otherChoice = 0;                          // what any other text stands for
    // The version of the saved file that first holds it: an older file, saved before the field
    // was added, takes its default text.
    int since = 1;
    // The sizes a designer chooses from (bar diameters): a search for the least value that meets
    // every check tries these, not steps of a precision.
    std::span<const double> standardSizes = {};
    // One of a group of optional inputs (the ground behind the gravity wall): the report lists the
    // group only when one of them is not at its default text.
    bool optionalGroup = false;
    // A required factor or limit the engineer may set: left empty, the program's default stands,
    // which the verdicts name; the report lists it only when set.
    bool limit = false;
};

// A list input as the report tabulates it: its title, the fields whose texts are its columns —
// one field: its rows 'a b c;…' split into the columns; several: each a column of its values
// separated by ';', a value alone standing for every row — and the columns' headers with their
// units ('\n' where a window's table breaks a header).
struct ListTable {
    std::string_view title;
    std::span<const std::string_view> fields;
    std::span<const std::string_view> headers;
};

struct Result {
    std::string_view control; // the window's result field
    std::string_view name;    // on the command line; empty when only the window shows it
    std::string_view caption; // the label beside the field, as the window shows it
    std::string_view symbol;  // HTML
    std::string_view unit;
    std::string_view defaultText = "0";
    std::string_view reportCaption = {}; // the report's name, where the window has no label
    // Formed only for the checks (see Calculator::judge): never shown, printed or saved.
    bool hidden = false;
    // A quantity beyond the original results, formed by formBeyond: a calculation that succeeded
    // without it prints it empty.
    bool beyond = false;
    // Formed only from the optional group of fields (see Field::optionalGroup): a batch or a
    // study gives it a column only when its inputs set one of them.
    bool optionalGroup = false;
    // What a calculation that succeeded without forming it means, as the window and the report
    // say it ("无下滑力": no factor where nothing drives); empty on the command line.
    std::string_view absent = {};
    // Listed among the report's results though the window has no field for it (a calculator
    // whose window shows its results in the panel alone).
    bool reported = false;
};

// One part of a calculation as the report shows it: a routine and the values it formed, each
// with the formula its expression shows (see Shown in core/shown.h), after notes on the method
// where a formula alone does not say it (HTML).
// The unit of a value a step forms, by its name in the trace, for the end of its formula line.
struct ValueUnit {
    std::string_view name, unit;
};

struct Step {
    std::string_view id;    // the step's name in the trace
    std::string_view title; // its heading
    std::span<const std::string_view> notes = {};
    std::span<const ValueUnit> units = {}; // the units of its values that have one
};

// The handle of the field or result named `name` in a calculator's table (a result without a
// command-line name by its window field): evaluated while compiling, so that a name the table
// does not hold stops the build.
consteval FieldId fieldNamed(std::span<const Field> fields, std::string_view name) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].name == name) {
            return FieldId{static_cast<std::uint16_t>(i)};
        }
    }
    throw "no field of this name"; // not a constant expression: the build stops here
}
consteval ResultId resultNamed(std::span<const Result> results, std::string_view name) {
    for (std::size_t i = 0; i < results.size(); ++i) {
        if (results[i].name == name || (results[i].name.empty() && results[i].control == name)) {
            return ResultId{static_cast<std::uint16_t>(i)};
        }
    }
    throw "no result of this name";
}

// Names numbered from 1 to Count, built while compiling for a table of results (T1 … T50, the
// blocks' forces; Ka1 … Ka20, the strata's coefficients): `before`, the number, `after`.
template <std::size_t Count, std::size_t Size> struct IndexedNames { char text[Count][Size]; };
template <std::size_t Count, std::size_t Size>
constexpr IndexedNames<Count, Size> indexedNames(std::string_view before,
                                                 std::string_view after = {}) {
    IndexedNames<Count, Size> names{};
    for (std::size_t i = 0; i < Count; ++i) {
        char* p = names.text[i];
        for (const char c : before) {
            *p++ = c;
        }
        const std::size_t n = i + 1;
        if (n >= 10) {
            *p++ = static_cast<char>('0' + n / 10);
        }
        *p++ = static_cast<char>('0' + n % 10);
        for (const char c : after) {
            *p++ = c;
        }
    }
    return names;
}

// A kind of calculation of one calculator: a mode, an anchor kind, a wall type.
struct Variant {
    int value;                              // the calculator's own enum value
    std::string_view name;                  // on the command line: "at-rest"
    std::string_view title;                 // in the report: "静止土压力"
    std::span<const Step* const> steps;     // the report's formulas, in order
    std::span<const ResultId> results = {}; // the results it writes; empty: all
    std::string_view flag = {};             // a command-line flag that chooses it
    // When set, nothing is calculated in this variant: the window says this instead, and the
    // command line asks for one of the others (a wall of no type has no weight to check).
    std::string_view refusal = {};
    // Fields its routines take no value from (the shelf wall's fields, for an upright wall): the
    // window greys them. They are still read, in their place, as the calculation reads them.
    std::span<const FieldId> unused = {};
    // Fields read that take no part, which the window leaves as they are (limited fill's q):
    // the report, like the unused ones, does not list them among the inputs.
    std::span<const FieldId> unlisted = {};
};

// How a check of a calculation came out: met, not met, or not made (what it needs was not given);
// or absent: the check is of a part the calculation does not have (an anchor row beyond the
// wall's), and is neither shown nor printed.
enum class Outcome { Met, NotMet, NotChecked, Absent };

// One check a calculator makes of its results, as the window, the command line and the report
// show it: a value held against its limit.
struct Verdict {
    ResultId result;           // the result it judges, beside which it is shown
    std::string_view name;     // on the command line: "Ks_ok"
    std::string_view symbol;   // the value compared, plain text: "Ks", "|e|", "As,提供"
    std::string_view what;     // "抗滑移"
    std::string_view relation; // "≥" or "≤": where the value must stand against the limit
    std::string_view limit;    // the limit as the reader names it: "1.3", "b/6", "1.2fa", "As"
    std::string_view basis;    // where the limit comes from: a clause, or "程序默认值"
    bool single = false;       // the limit's value written as a single's, to 7 digits (else 15)
    double required = 0;       // a fixed limit, for a calculator that judges by fixed limits
};

// One check of one calculation: the value as its result shows it (7 or 15 significant digits,
// so that a factor shown as 1.3 meets 1.3 as the reader sees it), the limit it was held against,
// and why, where the comparison alone does not say.
struct Judgement {
    Outcome outcome = Outcome::NotChecked;
    double value = 0, limit = 0;
    std::string_view reason = {};
    std::string_view limitName = {}; // in the place of the verdict's, where it depends on the case
    bool valued = true;          // false where the value compared could not be formed: not shown
    std::string_view basis = {}; // in the place of the verdict's, where the engineer set the limit
};

// What a calculator's checks read of a calculation that succeeded: each result as written, as a
// number, or none when it was not written (or is no number).
class Written {
  public:
    virtual ~Written() = default;
    virtual std::optional<double> result(ResultId result) const = 0;
};

// A judged verdict in words: "Ks = 10.54241 ≥ 1.3 满足", "|e| = 0.3 > b/6 = 0.2483333 不满足",
// "未验算（未填地基承载力特征值）"; without the value, where the result stands beside it:
// "Ks ≥ 1.3 满足", "|e| > b/6 = 0.2483333 不满足", "As,提供 ≥ As 满足" (a named limit of fifteen
// digits without its value, which stands in its own row).
std::string verdictText(const Verdict& verdict, const Judgement& judgement, bool withValue = true);
// Its two parts, as the report's table gives them: the comparison ("Ks = 10.54241 ≥ 1.3"; "—"
// for a check not made) and the conclusion ("满足", "未验算（未填地基承载力特征值 fa）").
std::string verdictExpression(const Verdict& verdict, const Judgement& judgement,
                              bool withValue = true);
std::string verdictConclusion(const Judgement& judgement);
// Where the limit comes from: the engineer's, where they set it, else the verdict's basis.
inline std::string_view basisOf(const Verdict& verdict, const Judgement& judgement) {
    return judgement.basis.empty() ? verdict.basis : judgement.basis;
}

// A field that a study of another field sets by default, where the window's own setting would
// mislead the study (a least base width searched with the toe block as typed counts an overlap
// twice): the study window offers it checked, and the study's inputs say what it took.
struct StudySetting {
    std::string_view studied; // the field studied, by name: "b"
    std::string_view field;   // the field it sets, by name: "section"
    std::string_view text;    // to this text: "推定b2"
    std::string_view caption; // the study window's check box
};

// A table of a calculation's parts that the report gives after the formulas (a slope's blocks
// or slices): the first part's formulas stand among the formulas, every part's values here.
struct PartsTable {
    std::string title;
    std::vector<std::string> header;            // symbol and unit (HTML)
    std::vector<std::vector<std::string>> rows; // numbers as text
    std::string note;                           // under it (HTML); may be empty
};

// A calculation's values down its height at equal steps, beyond an earth pressure's diagram (the
// anchored wall's load, shear and moment): the columns' names, then one row per depth.
struct Profile {
    std::vector<std::string> columns;
    std::vector<std::vector<double>> rows;
};

struct Calculator {
    std::string_view command;           // the slopecalc subcommand
    std::string_view english;           // what it calculates, for --help
    std::string_view window;            // the window's objectName
    std::string_view title;             // the window's caption
    std::string_view button = {};       // the launcher's button, where shorter than the title
    std::string_view introduction = {}; // what it is for, as the user's guide says it (HTML)
    std::string_view reachedBy = {};    // how its window is reached, as the guide says it
    std::span<const Field> fields;      // in the window's order
    std::span<const Result> results;    // in the order the calculation writes them
    std::span<const Variant> variants;  // at least one
    int defaultVariant;                 // without a choice on the command line
    std::string_view variantOption;     // the command-line option naming a variant ("--mode")

    // Reads the fields through `form`, runs the routines and writes the results, in the
    // window's order; a CalcError leaves what was written before it.
    void (*calculate)(int variant, Form& form, Trace* trace);

    std::string_view resultsHelp = {};      // --help's line of results, when not their names
    std::span<const Verdict> verdicts = {}; // judged after every calculation that succeeds
    std::string_view checksHelp = {};       // --help's line of checks, when not their names
    // Judges every verdict (`out` follows `verdicts`) of a calculation of `variant` that
    // succeeded, from its fields and what it wrote; without it, each verdict's result is held
    // against its fixed limit.
    void (*judge)(int variant, const Form& fields, const Written& written,
                  std::span<Judgement> out) = nullptr;
    // What a calculation of `variant` that succeeded should not be trusted for without a look:
    // geometry its routines cannot honour. Shown beside the results and in the report.
    std::vector<std::string> (*warnings)(int variant, const Form& fields,
                                         const Written& written) = nullptr;
    // The report's line naming what was calculated, when not the variant's title.
    std::string (*describe)(const Variant& variant, const Form& form) = nullptr;
    // The drawing a report shows of what was calculated (`record`: the last calculation, whose
    // results it may show). Returns why the fields describe nothing that can be drawn, in words
    // for the report, or nothing.
    std::string (*sketch)(int variant, const Form& form, const CalculationRecord& record,
                          Sketch& sketch) = nullptr;
    // The earth pressure's distribution with depth, for a calculator that forms one: the law of a
    // calculation of `variant` on `fields` that succeeded, its height and its labels (`written`:
    // what it wrote). Nothing for a variant without one, or fields that cannot be read.
    std::optional<PressureSetting> (*pressure)(int variant, const Form& fields,
                                               const Written& written) = nullptr;
    // Beyond the pressure's diagram: the values --diagram prints of a calculation of `variant`
    // on `fields` that succeeded, at `steps` equal steps of its height; nothing where the fields
    // describe none.
    std::optional<Profile> (*profile)(int variant, const Form& fields, int steps) = nullptr;
    // The table of a calculation of `variant` that succeeded (`record`), when it has parts.
    std::optional<PartsTable> (*parts)(int variant, const Form& form,
                                       const CalculationRecord& record) = nullptr;
    // Fields the inputs as they stand leave unread, beyond those the variant leaves (γ0 under
    // the anchor's 2013 method, the typed h2 where the wall's section follows b): the window
    // greys them and the report does not list them.
    std::vector<FieldId> (*idle)(int variant, const Form& fields) = nullptr;
    // A field shown under another caption and symbol where the inputs call for it (the anchor's
    // bond strength: a characteristic value by the original method, an ultimate standard value
    // by the 2013 one): its description as the window's label and the report then give it, or
    // none.
    const Field* (*shownAs)(FieldId field, const Form& fields) = nullptr;
    // Fields a study of another sets by default (see StudySetting).
    std::span<const StudySetting> studySettings = {};
    // Beyond the window: fills, on the command line, a parameter that was not given from those
    // that were (`texts` and `given` follow `fields`).
    void (*completeParameters)(std::span<std::string> texts,
                               const std::vector<bool>& given) = nullptr;
    // The list inputs as the report tabulates them.
    std::span<const ListTable> listTables = {};
    // The report's heading of its sketch, where not a section's (截面图) or a sketch's (示意图).
    std::string_view sketchTitle = {};

    const Field* field(std::string_view name) const;             // by command-line name
    const Field* fieldOfControl(std::string_view control) const; // by window field (or name)
    const Result* result(std::string_view control) const;        // by window field
    const Variant& variant(int value) const; // the first one for a value it does not know
    const Field& operator[](FieldId f) const { return fields[f.index]; }
    const Result& operator[](ResultId r) const { return results[r.index]; }
    FieldId id(const Field& f) const { return {static_cast<std::uint16_t>(&f - fields.data())}; }
    ResultId id(const Result& r) const { return {static_cast<std::uint16_t>(&r - results.data())}; }
    // Whether the variant writes the result.
    bool writes(const Variant& variant, ResultId result) const;
    // The place where a field's text travels: its window field, or its name beyond the window.
    static std::string_view place(const Field& field) {
        return field.control.empty() ? field.name : field.control;
    }
};

// A quantity the program forms beyond a calculator's original results, written by `form`: when
// it cannot be formed (a bar of 1e200 mm overflows its section), it stays unwritten and the
// checks on it read "not checked", so that it never turns a calculation that succeeded into a
// failure. A field that cannot be read still fails the calculation.
template <typename FormIt> void formBeyond(FormIt formIt) {
    try {
        formIt();
    } catch (const FieldError&) {
        throw;
    } catch (const CalcError&) {
    }
}

// Reads a choice field's text as one of its words, in the window's list or in English, and
// refuses any other text (CalcError TypeMismatch): for form.readWith.
inline auto chosenFrom(std::span<const Choice> choices) {
    return [choices](std::string_view text) {
        for (const Choice& c : choices) {
            if (text == c.text || text == c.english || (!c.former.empty() && text == c.former)) {
                return c.value;
            }
        }
        throw CalcError(ErrorKind::TypeMismatch);
    };
}

// The verdicts of a calculation of `variant` that succeeded, judged once for the window, the
// command line and the report alike, in the order of the calculator's verdicts.
std::vector<Judgement> judge(const Calculator& calculator, int variant, const Form& fields,
                             const Written& written);

// A Written over any function of a result to its text as written (empty: not written).
template <typename TextOf> class WrittenTexts : public Written {
  public:
    explicit WrittenTexts(TextOf textOf) : textOf_(std::move(textOf)) {}
    std::optional<double> result(ResultId result) const override {
        const auto& text = textOf_(result);
        double value = 0;
        ErrorKind error{};
        return !std::string_view(text).empty() && ::readDouble(text, value, error)
                   ? std::optional(value)
                   : std::nullopt;
    }

  private:
    TextOf textOf_;
};

// The report's name of a result: the label without its colon and the unit in brackets, which
// the report gives in a column of its own.
std::string resultCaption(const Result& result);
// The report's name of an input: the label without its colon.
std::string fieldCaption(const Field& field);

} // namespace subprogram
