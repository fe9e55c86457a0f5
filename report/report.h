#pragma once

#include "calculators/calculator.h"
#include "calculators/sketch.h"
#include "core/record.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Calculation reports (计算书): a title block, the inputs, the formulas with their values, every
// value the calculation formed, the results exact and rounded, the verdicts and a drawing — for
// any calculator from its description. Every number is the text the fields show, or the
// conversion the fields use (15 or 7 digits). The report is built as a document of blocks, which
// the windows lay out on A4 pages (gui/reportpages.*) and which is written as HTML here.

// What a report of a calculation whose inputs changed after it says first, on every copy.
inline constexpr std::string_view kOutdatedNote =
    "输入在计算后已改变：本计算书按计算时的输入编制，与窗口中现在的输入不同。"
    "请重新计算后再出计算书。";

struct ReportContext {
    const subprogram::Calculator* calculator = nullptr;
    int variant = 0;
    std::string description; // what was calculated: the mode, anchor kind, wall type or supports
    std::string timestamp;   // date and time of the calculation
    std::string project, designer, checker; // the title block's, as the user typed them
    std::optional<Sketch> sketch;           // the calculator's drawing of it, to scale
    std::string noSketch;                   // or why there is none
    std::vector<FieldId> idle;              // fields the inputs left unread (Calculator::idle)
    // fields the inputs showed under another caption and symbol (Calculator::shownAs)
    std::vector<std::pair<FieldId, const subprogram::Field*>> shownAs;
    bool outdated = false; // the inputs were changed after the calculation: said on every copy
    // values this calculation handed to another window, or took from one (inline HTML each)
    std::vector<std::string> handOvers;
    int imageWidth = 0, imageHeight = 0; // or the window's picture, "drawing.png", in pixels
    // of a calculation that succeeded: its verdicts, following the calculator's, and what it
    // warns of
    std::vector<subprogram::Judgement> judgements;
    std::vector<std::string> warnings;
    // of a calculation of earth pressure that succeeded: the pressure's distribution with depth,
    // to scale, and what is said under it
    std::optional<Sketch> diagram;
    std::string diagramNote;
    // of a calculation with parts that succeeded (a slope's blocks or slices): their table
    std::optional<subprogram::PartsTable> parts;
    // studies of one input the user added from the study window: a table and its chart each
    struct StudyPart {
        std::string title;                          // "基底宽度 b(m) 从 1 到 2，5 个值"
        std::vector<std::string> header;            // the table's columns
        std::vector<std::vector<std::string>> rows; // its cells (text, escaped when written)
        Sketch chart;
        std::string inputs; // the other inputs, as the study held them (text)
        std::string least;  // the least value that meets every check, as found (text; or none)
    };
    std::vector<StudyPart> studies;
};

// The context of a calculation of `variant` on `form`, and its drawing when the calculator has
// one (`record`: the calculation, whose results the drawing may show); no time, no names.
ReportContext reportContext(const subprogram::Calculator& calculator, int variant, const Form& form,
                            const CalculationRecord& record = {});

namespace report {

// How a column sets its cells: a number column lines its numbers up on the decimal point.
enum class Align { Left, Right, Number };

struct Column {
    std::string title;
    Align align;
    int percent; // of the text width
};

struct Block {
    enum class Kind { Heading, Paragraph, Failure, Row, Drawing, Note };
    Kind kind;
    std::string html;               // a heading's, paragraph's or note's text (inline HTML)
    int level = 0;                  // a heading's: 2 for a section, 3 for a step
    int table = -1;                 // a row's table
    std::vector<std::string> cells; // a row's cells (inline HTML; a number's text as written)
    // a drawing's: 0 the calculator's drawing, 1 the pressure diagram, 2 + k study k's chart
    int drawing = 0;
};

struct Document {
    std::string title;   // "重力式挡墙计算 计算书"
    std::string subject; // "重力式挡墙计算：直立式挡墙", in every page's footer
    std::vector<std::pair<std::string, std::string>> titleBlock; // label, text
    std::vector<std::vector<Column>> tables;
    std::vector<Block> blocks;
    const ReportContext* context; // the drawings
};

Document document(const ReportContext& context, const CalculationRecord& record);

// A number split on its decimal point, for two cells that line numbers up: "1,234" ".5".
std::pair<std::string, std::string> decimalParts(const std::string& text);
// Whether a cell of a number column is aligned on its point: a number is; a text in words or a
// list ("3 18 0 30;2.5 19 12 22") stands whole, across both halves.
bool alignsOnPoint(const std::string& text);

} // namespace report

// The whole report as one HTML page, with its drawing inside it as SVG, or as the picture
// "drawing.png" the window keeps beside it.
std::string reportHtml(const ReportContext& context, const CalculationRecord& record);

// The drawing a Drawing block shows: the pressure diagram, the calculator's sketch, or none (the
// window's picture).
const Sketch* drawingOf(const report::Block& block, const ReportContext& context);

// A sketch as inline SVG, a pixel for every 15 of its units.
std::string sketchSvg(const Sketch& sketch);
