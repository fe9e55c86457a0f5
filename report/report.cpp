#include "report.h"

#include "calculators/listtext.h"

#include "core/html.h"
#include "core/numerictext.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <sstream>

using subprogram::Calculator;
using subprogram::Field;
using subprogram::Result;
using subprogram::Step;
using subprogram::Variant;

// The steps a report's pressure diagram is drawn in: a smooth curve where it bends.
constexpr int kDiagramSteps = 200;

namespace report {

namespace {

// The technical code the launcher names, on which the calculations rest, and the national
// standards an engineer submits against.
constexpr std::string_view kTechnicalCode =
    "重庆建筑边坡支护技术规范；GB 50330-2013 建筑边坡工程技术规范；GB 50007-2011 "
    "建筑地基基础设计规范";

// A unit's cell: a dash for a number without one, so that no cell is left blank.
std::string unitText(std::string_view unit) {
    return unit.empty() ? "—" : html::escaped(unit);
}

// The parts of a text between the separators, blanks at their ends taken off.
std::string trimmed(std::string_view text) {
    const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return std::string(text);
}
std::vector<std::string> splitText(std::string_view text, char separator) {
    std::vector<std::string> parts;
    for (std::size_t from = 0;;) {
        const std::size_t at = text.find(separator, from);
        parts.push_back(trimmed(text.substr(from, at - from)));
        if (at == std::string_view::npos) {
            return parts;
        }
        from = at + 1;
    }
}

// A section's number in Chinese: 一 … 十, 十一 … 九十九.
std::string chineseNumeral(int n) {
    static const char* const kDigits[] = {"", "一", "二", "三", "四", "五", "六", "七", "八", "九"};
    if (n < 10) {
        return kDigits[n];
    }
    return std::string(n >= 20 ? kDigits[n / 10] : "") + "十" + kDigits[n % 10];
}

std::string valueText(const Trace::Entry& entry) {
    return entry.single ? singleToText(static_cast<float>(entry.value)) : doubleToText(entry.value);
}

// The report's tables carry the symbol and the unit in columns of their own, so a
// caption keeps only its words: "墙顶宽度b1(M)" reads "墙顶宽度", "土体重度Y(KN/M3)" "土体重度".
std::string words(std::string caption) {
    if (caption.ends_with(')') && caption.find('(') != std::string::npos) {
        caption.erase(caption.rfind('('));
    }
    std::string::size_type end = caption.size();
    for (;;) {
        std::string::size_type start = end;
        while (start > 0 && (static_cast<unsigned char>(caption[start - 1]) & 0xC0) == 0x80) {
            --start; // continuation bytes of the last character
        }
        if (start == 0) {
            return caption; // nothing but a symbol: keep it whole
        }
        --start;
        const std::string_view last(caption.data() + start, end - start);
        const bool latin = last.size() == 1 && std::isalnum(static_cast<unsigned char>(last[0]));
        const bool greek = last.size() == 2 && (last[0] == '\xCE' || last[0] == '\xCF');
        if (!latin && !greek) {
            break;
        }
        end = start;
    }
    return caption.substr(0, end);
}

class Builder {
  public:
    Builder(const ReportContext& context, const CalculationRecord& record)
        : context_(context), calculator_(*context.calculator),
          variant_(calculator_.variant(context.variant)), record_(record) {}

    Document build() {
        const std::string subject = std::string(calculator_.title) + "：" + context_.description;
        doc_.title = std::string(calculator_.title) + " 计算书";
        doc_.subject = subject;
        doc_.context = &context_;
        const auto orBlank = [](const std::string& s) { return s.empty() ? "　" : s; };
        doc_.titleBlock = {
            {"项目名称", orBlank(context_.project)}, {"计算内容", subject},
            {"设计", orBlank(context_.designer)},    {"校核", orBlank(context_.checker)},
            {"计算日期", context_.timestamp},        {"依据", std::string(kTechnicalCode)}};
        if (context_.outdated) {
            block(Block::Kind::Failure, std::string(kOutdatedNote));
        }
        inputs();
        if (!context_.handOvers.empty()) {
            section("窗口间传递的数值");
            for (const std::string& handOver : context_.handOvers) {
                block(Block::Kind::Paragraph, handOver);
            }
        }
        failure();
        formulas();
        parts();
        intermediateValues();
        results();
        drawing();
        pressureDiagram();
        studies();
        block(Block::Kind::Note,
              "注：计算值按程序界面的显示规则书写（双精度 15 位有效数字，单精度 7 位有效数字），"
              "约值取四位有效数字；角度换算所用的 π 见各式的代入值（土压力、锚杆原方法与"
              "挡墙取 3.1415926，边坡稳定性与锚杆 2013 版方法取 π）。");
        return doc_;
    }

  private:
    void block(Block::Kind kind, std::string html, int level = 0) {
        doc_.blocks.push_back({kind, std::move(html), level, -1, {}});
    }
    void section(const std::string& title) {
        block(Block::Kind::Heading, chineseNumeral(++sections_ % 100) + "、" + title, 2);
    }
    int table(std::vector<Column> columns) {
        doc_.tables.push_back(std::move(columns));
        return static_cast<int>(doc_.tables.size()) - 1;
    }
    void row(int table, std::vector<std::string> cells) {
        doc_.blocks.push_back({Block::Kind::Row, {}, 0, table, std::move(cells)});
    }

    std::string stepTitle(std::string_view step) const {
        if (step == kReadingStep) {
            return "读取输入";
        }
        for (const Step* s : variant_.steps) {
            if (s->id == step) {
                return std::string(s->title);
            }
        }
        return "计算";
    }

    std::string inputText(std::string_view name) const {
        const Field* field = calculator_.field(name);
        return field ? html::escaped(record_.input(calculator_.id(*field)).value_or(""))
                     : std::string();
    }

    // A value's formula line: its symbol, the formula in symbols, with the values in place, and
    // the value, each part once.
    // A value's unit: its step's, else its result's.
    std::string_view unitOf(const Trace::Entry& e) const {
        for (const Step* step : variant_.steps) {
            if (step->id == e.step) {
                for (const subprogram::ValueUnit& u : step->units) {
                    if (u.name == e.name) {
                        return u.unit;
                    }
                }
            }
        }
        for (const Result& r : calculator_.results) {
            if (!r.hidden && r.name == e.name) {
                return r.unit;
            }
        }
        return {};
    }

    // A value's formula line ends with its unit.
    std::string formulaLine(const Trace::Entry& e) const {
        std::string line = html::symbol(e.name) + " = " + e.symbols;
        if (e.values != e.symbols) {
            line += " = " + e.values;
        }
        if (const std::string value = valueText(e); value != e.values) {
            line += " = " + value;
        }
        if (const std::string_view unit = unitOf(e); !unit.empty()) {
            line += " " + std::string(unit);
        }
        return line;
    }

    void inputs() {
        section("输入参数");
        const int t = table({{"参数", Align::Left, 44},
                             {"符号", Align::Left, 12},
                             {"输入值", Align::Number, 30},
                             {"单位", Align::Left, 14}});
        // in the window's order, the fields this calculation read and takes a value from (not
        // the shelf wall's sizes, which an upright wall reads in their place and leaves)
        const bool groupSet = std::ranges::any_of(calculator_.fields, [&](const Field& field) {
            const auto read = record_.input(calculator_.id(field));
            return field.optionalGroup && read && *read != field.defaultText;
        });
        const auto listed = [&](const Field& field) {
            const FieldId id = calculator_.id(field);
            return std::ranges::find(variant_.unused, id) == variant_.unused.end() &&
                   std::ranges::find(variant_.unlisted, id) == variant_.unlisted.end() &&
                   std::ranges::find(context_.idle, id) == context_.idle.end() &&
                   !(field.limit && record_.input(id).value_or("").empty()) &&
                   !(field.optionalGroup && !groupSet) && record_.input(id).has_value();
        };
        // a list read whole and given is a table of its own below, with its columns' units
        std::vector<const subprogram::ListTable*> tables;
        std::vector<FieldId> tabulated;
        for (const subprogram::ListTable& list : calculator_.listTables) {
            bool whole = true, given = false;
            for (const std::string_view name : list.fields) {
                const Field* field = calculator_.field(name);
                whole = whole && field && listed(*field);
                given = given || (field && !record_.input(calculator_.id(*field))->empty());
            }
            if (whole && given) {
                tables.push_back(&list);
                for (const std::string_view name : list.fields) {
                    tabulated.push_back(calculator_.id(*calculator_.field(name)));
                }
            }
        }
        for (const Field& field : calculator_.fields) {
            const FieldId id = calculator_.id(field);
            if (!listed(field) || std::ranges::find(tabulated, id) != tabulated.end()) {
                continue;
            }
            const std::string read = *record_.input(id);
            const auto as = std::ranges::find_if(
                context_.shownAs, [&](const auto& shownAs) { return shownAs.first == id; });
            const Field& shown = as == context_.shownAs.end() ? field : *as->second;
            row(t,
                {html::escaped(words(subprogram::fieldCaption(shown))), std::string(shown.symbol),
                 read.empty() ? "未填" : html::escaped(read), unitText(field.unit)});
        }
        for (const subprogram::ListTable* list : tables) {
            listTable(*list);
        }
    }

    // A list input's table: its rows 'a b c;…', or its fields' lists side by side.
    void listTable(const subprogram::ListTable& list) {
        std::vector<std::vector<std::string>> columns; // the cells of each field, by row
        for (const std::string_view name : list.fields) {
            std::vector<std::string> cells;
            const std::string text = *record_.input(calculator_.id(*calculator_.field(name)));
            for (const std::string& part : splitText(text, ';')) {
                cells.push_back(part);
            }
            columns.push_back(std::move(cells));
        }
        std::vector<std::vector<std::string>> rows;
        if (columns.size() == 1) { // one field: its rows split at their blanks into columns
            for (const std::string& line : columns.front()) {
                std::vector<std::string> row;
                const auto items = subprogram::itemsOf(line);
                for (const std::string_view word : items.front()) {
                    row.emplace_back(word);
                }
                if (!row.empty()) {
                    rows.push_back(std::move(row));
                }
            }
        } else { // a list each, side by side; a value alone stands for every row
            std::size_t count = 0;
            for (const auto& cells : columns) {
                count = std::max(count, cells.size());
            }
            for (std::size_t i = 0; i < count; ++i) {
                std::vector<std::string> row;
                for (const auto& cells : columns) {
                    row.push_back(cells.size() == 1 ? cells[0] : i < cells.size() ? cells[i] : "");
                }
                rows.push_back(std::move(row));
            }
        }
        block(Block::Kind::Paragraph, html::escaped(std::string(list.title)) + "：");
        std::vector<Column> header{{"序号", Align::Left, 10}};
        const int share = 90 / static_cast<int>(std::max<std::size_t>(list.headers.size(), 1));
        for (const std::string_view h : list.headers) {
            std::string title(h);
            std::replace(title.begin(), title.end(), '\n', ' ');
            header.push_back({html::escaped(title), Align::Number, share});
        }
        const int t = table(std::move(header));
        for (std::size_t i = 0; i < rows.size(); ++i) {
            std::vector<std::string> cells{std::to_string(i + 1)};
            for (std::size_t c = 0; c < list.headers.size(); ++c) {
                const std::string cell = c < rows[i].size() ? trimmed(rows[i][c]) : "";
                cells.push_back(cell.empty() ? "—" : html::escaped(cell)); // U empty: none
            }
            for (std::size_t c = list.headers.size(); c < rows[i].size(); ++c) { // beyond them
                cells.back() += " " + html::escaped(rows[i][c]);
            }
            row(t, std::move(cells));
        }
    }

    void failure() {
        if (!record_.failure) {
            return;
        }
        const auto& f = *record_.failure;
        section("计算中止");
        std::string text = "计算在“" + stepTitle(f.step) + "”一步中止：" + kindText(f.kind) + "。";
        if (f.field) {
            const Field& field = calculator_[*f.field];
            text += "无法读取“" + html::escaped(words(fieldCaption(field))) + "”的内容“" +
                    inputText(field.name) + "”。";
        }
        if (!f.reason.empty()) {
            text += html::escaped(f.reason) + "。";
        }
        block(Block::Kind::Failure, text);
        block(Block::Kind::Paragraph, record_.writes.empty()
                                          ? "中止前未写出任何结果，各结果栏保持原值。"
                                          : "中止前已写出的结果见“计算结果”；其余结果栏保持原值。");
    }

    // Each step's notes and the formula of every value it formed, for the steps that formed any.
    void formulas() {
        std::vector<std::pair<std::string, std::vector<std::string>>> steps;
        for (const Step* step : variant_.steps) {
            std::vector<std::string> lines(step->notes.begin(), step->notes.end());
            bool formed = false;
            for (const Trace::Entry& e : record_.trace.entries()) {
                if (e.step == step->id && e.remark.empty() && !e.symbols.empty()) {
                    lines.push_back(formulaLine(e));
                    formed = true;
                }
            }
            if (formed) {
                steps.emplace_back(std::string(step->title), std::move(lines));
            }
        }
        if (steps.empty()) {
            return;
        }
        section("计算公式");
        for (const auto& [title, lines] : steps) {
            block(Block::Kind::Heading, html::escaped(title), 3);
            for (const std::string& line : lines) {
                block(Block::Kind::Paragraph, line);
            }
        }
    }

    // The parts' table: the formulas above gave the first part's values.
    void parts() {
        if (!context_.parts) {
            return;
        }
        const subprogram::PartsTable& p = *context_.parts;
        section(p.title);
        std::vector<Column> columns;
        const int count = static_cast<int>(p.header.size()), share = 100 / count;
        // right-aligned whole: columns this many are too narrow for a number split on its point;
        // what the even shares leave goes a point each to the last columns
        for (int c = 0; c < count; ++c) {
            columns.push_back({p.header[std::size_t(c)], Align::Right,
                               share + (c >= count - (100 - share * count) ? 1 : 0)});
        }
        const int t = table(std::move(columns));
        for (const auto& cells : p.rows) {
            row(t, cells);
        }
        if (!p.note.empty()) {
            block(Block::Kind::Paragraph, p.note);
        }
    }

    bool hasFormulaLine(const Trace::Entry& e) const {
        return !e.symbols.empty() &&
               std::ranges::any_of(variant_.steps, [&](const Step* s) { return s->id == e.step; });
    }

    // The values formed on the way that no formula line gives (a single's narrowing, a value
    // solved for), and the routines' remarks.
    void intermediateValues() {
        bool any = false;
        std::string step;
        int t = -1;
        for (const Trace::Entry& e : record_.trace.entries()) {
            // a value whose formula line the report gave already is not given again
            if (e.step == kReadingStep || (e.remark.empty() && hasFormulaLine(e))) {
                continue;
            }
            if (!any) {
                any = true;
                section("中间值");
            }
            if (e.step != step) {
                step = e.step;
                block(Block::Kind::Heading, html::escaped(stepTitle(step)), 3);
                t = table({{"符号", Align::Left, 22},
                           {"计算值", Align::Number, 48},
                           {"约值", Align::Number, 30}});
            }
            if (e.remark.empty()) {
                row(t, {html::symbol(e.name), valueText(e),
                        roundedText(e.single ? static_cast<float>(e.value) : e.value)});
            } else {
                block(Block::Kind::Paragraph, html::escaped(e.remark));
            }
        }
    }

    void results() {
        section("计算结果");
        if (!record_.failure && !calculator_.verdicts.empty()) {
            block(Block::Kind::Paragraph, overall());
        }
        std::vector<std::vector<std::string>> rows;
        for (const Result& r : calculator_.results) {
            std::string text = record_.written(calculator_.id(r));
            if (text.empty() && !r.absent.empty() && !record_.failure &&
                calculator_.writes(calculator_.variant(context_.variant), calculator_.id(r))) {
                text = r.absent; // none formed, and why
            }
            // what the window shows, and what the program adds beyond it
            if (!text.empty() && (!r.control.empty() || r.beyond || r.reported)) {
                std::string rounded;
                try {
                    rounded = roundedText(textToDouble(text));
                } catch (const CalcError&) {
                }
                rows.push_back({html::escaped(words(resultCaption(r))), std::string(r.symbol),
                                html::escaped(text), rounded, unitText(r.unit)});
            }
        }
        if (rows.empty()) {
            block(Block::Kind::Paragraph, "无结果写出。");
            return;
        }
        const int t = table({{"结果", Align::Left, 24},
                             {"符号", Align::Left, 9},
                             {"计算值（全部有效数字）", Align::Number, 38},
                             {"约值（四位有效数字）", Align::Number, 19},
                             {"单位", Align::Left, 10}});
        for (auto& cells : rows) {
            row(t, std::move(cells));
        }
        verdicts();
    }

    // 验算结论: every check with its comparison, limit, basis and outcome, the overall verdict
    // first; then what the calculation warns of.
    void verdicts() {
        if (record_.failure) {
            return;
        }
        block(Block::Kind::Heading, "验算结论", 3);
        if (calculator_.verdicts.empty()) {
            block(Block::Kind::Paragraph, "本计算只求结果，不作验算。");
        } else {
            const int v = table({{"验算项目", Align::Left, 18},
                                 {"验算式", Align::Left, 40},
                                 {"依据", Align::Left, 28},
                                 {"结论", Align::Left, 14}});
            for (std::size_t i = 0; i < context_.judgements.size(); ++i) {
                const subprogram::Verdict& verdict = calculator_.verdicts[i];
                const subprogram::Judgement& j = context_.judgements[i];
                if (j.outcome == subprogram::Outcome::Absent) {
                    continue;
                }
                row(v, {html::escaped(verdict.what), html::escaped(verdictExpression(verdict, j)),
                        html::escaped(basisOf(verdict, j)), html::escaped(verdictConclusion(j))});
            }
        }
        for (const std::string& warning : context_.warnings) {
            block(Block::Kind::Paragraph, "注意：" + html::escaped(warning));
        }
    }

    // The whole calculation in one line: every check met, which are not, which were not made.
    std::string overall() const {
        std::string failed, unchecked;
        for (std::size_t i = 0; i < context_.judgements.size(); ++i) {
            const std::string what(calculator_.verdicts[i].what);
            switch (context_.judgements[i].outcome) {
            case subprogram::Outcome::Met:
                break;
            case subprogram::Outcome::NotMet:
                failed += (failed.empty() ? "" : "、") + what;
                break;
            case subprogram::Outcome::NotChecked:
                unchecked += (unchecked.empty() ? "" : "、") + what;
                break;
            case subprogram::Outcome::Absent:
                break;
            }
        }
        std::string text =
            failed.empty() ? "结论：各项验算满足要求" : "结论：" + failed + "验算不满足要求";
        if (!unchecked.empty()) {
            text += "；" + unchecked + "未验算";
        }
        return html::escaped(text + "。");
    }

    void drawing() {
        if (context_.sketch || context_.imageWidth > 0) {
            section(!calculator_.sketchTitle.empty() ? std::string(calculator_.sketchTitle)
                    : context_.sketch && !calculator_.verdicts.empty() ? "截面图（按比例）"
                                                                       : "示意图");
            doc_.blocks.push_back({Block::Kind::Drawing, {}, 0, -1, {}});
        } else if (!context_.noSketch.empty()) {
            section("示意图");
            block(Block::Kind::Paragraph, html::escaped(context_.noSketch));
        }
    }

    void pressureDiagram() {
        if (context_.diagram) {
            section("土压力分布图（按比例）");
            Block drawing{Block::Kind::Drawing, {}, 0, -1, {}};
            drawing.drawing = 1;
            doc_.blocks.push_back(std::move(drawing));
            block(Block::Kind::Paragraph, html::escaped(context_.diagramNote));
        }
    }

    void studies() {
        for (std::size_t k = 0; k < context_.studies.size(); ++k) {
            const ReportContext::StudyPart& study = context_.studies[k];
            section("参数分析：" + study.title);
            if (!study.inputs.empty()) {
                block(Block::Kind::Paragraph, "其余输入：" + html::escaped(study.inputs));
            }
            if (!study.least.empty()) {
                block(Block::Kind::Paragraph, html::escaped(study.least));
            }
            std::vector<Column> columns;
            const int width = 100 / static_cast<int>(std::max<std::size_t>(study.header.size(), 1));
            for (std::size_t c = 0; c < study.header.size(); ++c) {
                columns.push_back({html::escaped(study.header[c]),
                                   c + 1 == study.header.size() ? Align::Left : Align::Right,
                                   width});
            }
            const int t = table(std::move(columns));
            for (const std::vector<std::string>& cells : study.rows) {
                std::vector<std::string> escaped;
                for (const std::string& cell : cells) {
                    escaped.push_back(html::escaped(cell));
                }
                row(t, std::move(escaped));
            }
            Block chart{Block::Kind::Drawing, {}, 0, -1, {}};
            chart.drawing = 2 + static_cast<int>(k);
            doc_.blocks.push_back(std::move(chart));
        }
    }

    const ReportContext& context_;
    const Calculator& calculator_;
    const Variant& variant_;
    const CalculationRecord& record_;
    Document doc_;
    int sections_ = 0;
};

} // namespace

Document document(const ReportContext& context, const CalculationRecord& record) {
    return Builder(context, record).build();
}

} // namespace report

ReportContext reportContext(const Calculator& calculator, int variant, const Form& form,
                            const CalculationRecord& record) {
    const Variant& v = calculator.variant(variant);
    ReportContext context;
    context.calculator = &calculator;
    context.variant = variant;
    context.description = calculator.describe ? calculator.describe(v, form) : std::string(v.title);
    if (calculator.idle) {
        context.idle = calculator.idle(variant, form);
    }
    if (calculator.shownAs) {
        for (const Field& f : calculator.fields) {
            if (const Field* as = calculator.shownAs(calculator.id(f), form)) {
                context.shownAs.emplace_back(calculator.id(f), as);
            }
        }
    }
    if (!record.failure && !record.writes.empty()) {
        const subprogram::WrittenTexts written([&](ResultId r) { return record.written(r); });
        context.judgements = subprogram::judge(calculator, variant, form, written);
        if (calculator.warnings) {
            context.warnings = calculator.warnings(variant, form, written);
        }
    }
    if (calculator.sketch) {
        Sketch sketch;
        context.noSketch = calculator.sketch(variant, form, record, sketch);
        if (context.noSketch.empty()) {
            context.sketch = std::move(sketch);
        }
    }
    if (calculator.parts && !record.failure && !record.writes.empty()) {
        context.parts = calculator.parts(variant, form, record);
    }
    if (calculator.pressure && !record.failure && !record.writes.empty()) {
        const subprogram::WrittenTexts written([&](ResultId r) { return record.written(r); });
        if (const auto setting = calculator.pressure(variant, form, written)) {
            const subprogram::PressureDiagram d =
                subprogram::pressureDiagram(setting->law, setting->height, kDiagramSteps);
            context.diagram = subprogram::drawPressureDiagram(d, setting->labels);
            context.diagramNote = subprogram::diagramNote(d, setting->labels);
        }
    }
    return context;
}

const Sketch* drawingOf(const report::Block& block, const ReportContext& context) {
    if (block.drawing == 1) {
        return context.diagram ? &*context.diagram : nullptr;
    }
    if (block.drawing >= 2) {
        const auto k = static_cast<std::size_t>(block.drawing - 2);
        return k < context.studies.size() ? &context.studies[k].chart : nullptr;
    }
    return context.sketch ? &*context.sketch : nullptr;
}
