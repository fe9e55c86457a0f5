#include "report.h"

#include "core/numerictext.h"

#include <algorithm>
#include <optional>

using subprogram::Calculator;
using subprogram::Field;
using subprogram::Result;
using subprogram::Step;
using subprogram::Variant;

namespace {

// The technical code the launcher names, on which the calculations rest.
constexpr std::string_view kTechnicalCode = "重庆建筑边坡支护技术规范";

std::string escaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '&':
            out += "&amp;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string valueText(const Trace::Entry& entry) {
    return entry.single ? singleToText(static_cast<float>(entry.value)) : doubleToText(entry.value);
}

const Trace::Entry* lookup(const Trace& trace, std::string_view step, std::string_view name) {
    const Trace::Entry* found = nullptr;
    for (const Trace::Entry& e : trace.entries()) {
        if (e.step == step && e.remark.empty() && e.name == name) {
            found = &e;
        }
    }
    return found;
}

class Writer {
  public:
    Writer(const ReportContext& context, const CalculationRecord& record)
        : context_(context), calculator_(*context.calculator),
          variant_(calculator_.variant(context.variant)), record_(record) {}

    std::string page() {
        const std::string title = std::string(calculator_.title) + " 计算书";
        html_ += "<!DOCTYPE html>\n<html lang=\"zh-CN\"><head><meta charset=\"utf-8\">\n<title>" +
                 escaped(title) + "</title>\n<style>" + std::string(kStyle) +
                 "</style></head>\n<body>\n";
        html_ += "<h1>" + escaped(title) + "</h1>\n";
        html_ += "<table class=\"meta\" cellpadding=\"2\"><tr><td>计算内容</td><td>" +
                 escaped(calculator_.title) + "：" + escaped(context_.description) +
                 "</td></tr>\n<tr><td>计算时间</td><td>" + escaped(context_.timestamp) +
                 "</td></tr>\n<tr><td>依据</td><td>" + std::string(kTechnicalCode) +
                 "</td></tr></table>\n";
        inputs();
        failure();
        formulaLines();
        intermediateValues();
        results();
        if (!context_.drawing.empty()) {
            html_ += "<h2>示意图</h2>\n<div class=\"drawing\">" + context_.drawing + "</div>\n";
        }
        html_ += "<p class=\"note\">数值按程序界面的显示规则书写（双精度 15 位有效数字，单精度 7 "
                 "位有效数字）；角度换算采用 π = 3.1415926。</p>\n</body></html>\n";
        return html_;
    }

  private:
    // attributes as well as style: Qt's rich text reads the former
    static constexpr std::string_view kTable =
        "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">";
    static constexpr std::string_view kStyle =
        "body{font-family:'WenQuanYi Micro Hei','Noto Sans CJK SC',sans-serif;font-size:10pt;}"
        "h1{font-size:16pt;text-align:center;}h2{font-size:12pt;margin-top:14pt;}"
        "table{border-collapse:collapse;}td,th{border:1px solid #888;padding:2pt 6pt;}"
        "table.meta td{border:none;}th{background:#eee;}td.num{text-align:right;}"
        ".failure{color:#a00000;font-weight:bold;}.note{color:#555;font-size:8pt;}";

    // The heading of a step: its title from the calculation's steps.
    std::string stepTitle(std::string_view step) const {
        if (step == kReadingStep) {
            return "读取输入（" + std::string(step) + "）";
        }
        for (const Step* s : variant_.steps) {
            if (s->id == step) {
                return std::string(s->title) + "（" + std::string(step) + "）";
            }
        }
        return std::string(step);
    }

    std::string inputText(std::string_view name) const {
        const Field* field = calculator_.field(name);
        return field ? escaped(record_.input(Calculator::place(*field))) : std::string();
    }

    // The formula with its values in place, or nothing when a value was never formed.
    std::optional<std::string> substituted(const Step& step, std::string_view formula) const {
        std::string out;
        std::string_view rest = formula;
        for (;;) {
            const auto open = rest.find('{');
            if (open == std::string_view::npos) {
                return out + std::string(rest);
            }
            const auto close = rest.find('}', open);
            out += rest.substr(0, open);
            const std::string_view key = rest.substr(open + 1, close - open - 1);
            if (key.starts_with("in:")) {
                const std::string text = inputText(key.substr(3));
                if (text.empty()) {
                    return std::nullopt;
                }
                out += text;
            } else {
                const Trace::Entry* entry = lookup(record_.trace, step.id, key);
                if (!entry) {
                    return std::nullopt;
                }
                out += valueText(*entry);
            }
            rest = rest.substr(close + 1);
        }
    }

    void inputs() {
        html_ += "<h2>输入参数</h2>\n" + std::string(kTable) +
                 "<tr><th>参数</th><th>符号</th><th>输入值</th><th>单位</th></tr>\n";
        // in the window's order, the fields this calculation read
        for (const Field& field : calculator_.fields) {
            const std::string_view place = Calculator::place(field);
            const auto read = std::find_if(record_.inputs.begin(), record_.inputs.end(),
                                           [&](const auto& input) { return input.first == place; });
            if (read == record_.inputs.end()) {
                continue;
            }
            html_ += "<tr><td>" + escaped(fieldCaption(field)) + "</td><td>" +
                     std::string(field.symbol) + "</td><td class=\"num\">" + escaped(read->second) +
                     "</td><td>" + escaped(field.unit) + "</td></tr>\n";
        }
        html_ += "</table>\n";
    }

    void failure() {
        if (!record_.failure) {
            return;
        }
        const auto& f = *record_.failure;
        html_ += "<h2>计算中止</h2>\n<p class=\"failure\">计算在“" + escaped(stepTitle(f.step)) +
                 "”一步中止：" + kindText(f.kind) + "。";
        if (const Field* field = calculator_.fieldOfControl(f.field)) {
            html_ += "无法读取“" + escaped(fieldCaption(*field)) + "”的内容“" +
                     inputText(field->name) + "”。";
        }
        html_ += "</p>\n<p>" +
                 std::string(record_.writes.empty()
                                 ? "中止前未写出任何结果，各结果栏保持原值。"
                                 : "中止前已写出的结果见“计算结果”；其余结果栏保持原值。") +
                 "</p>\n";
    }

    void formulaLines() {
        std::string lines;
        for (const Step* step : variant_.steps) {
            bool titled = false;
            for (const std::string_view formula : step->formulas) {
                const auto line = substituted(*step, formula);
                if (!line) {
                    continue;
                }
                if (!titled) {
                    titled = true;
                    lines += "<h3>" + escaped(stepTitle(step->id)) + "</h3>\n";
                }
                lines += "<p>" + *line + "</p>\n";
            }
        }
        if (!lines.empty()) {
            html_ += "<h2>计算公式</h2>\n" + lines;
        }
    }

    void intermediateValues() {
        std::string rows;
        std::string step;
        for (const Trace::Entry& e : record_.trace.entries()) {
            if (e.step == kReadingStep) {
                continue;
            }
            if (e.step != step) {
                step = e.step;
                rows += "<tr><th colspan=\"2\">" + escaped(stepTitle(step)) + "</th></tr>\n";
            }
            rows += e.remark.empty()
                        ? "<tr><td>" + escaped(e.name) + "</td><td class=\"num\">" + valueText(e) +
                              "</td></tr>\n"
                        : "<tr><td colspan=\"2\">" + escaped(e.remark) + "</td></tr>\n";
        }
        if (!rows.empty()) {
            html_ += "<h2>中间值</h2>\n" + std::string(kTable) +
                     "<tr><th>符号</th><th>数值</th></tr>\n" + rows + "</table>\n";
        }
    }

    void results() {
        html_ += "<h2>计算结果</h2>\n";
        // the last text written to each result field, in the window's order
        std::string rows, verdicts;
        for (const Result& r : calculator_.results) {
            const auto written = std::find_if(record_.writes.rbegin(), record_.writes.rend(),
                                              [&](const auto& w) { return w.first == r.control; });
            if (written == record_.writes.rend()) {
                continue;
            }
            rows += "<tr><td>" + escaped(resultCaption(r)) + "</td><td>" + std::string(r.symbol) +
                    "</td><td class=\"num\">" + escaped(written->second) + "</td><td>" +
                    escaped(r.unit) + "</td></tr>\n";
        }
        // the verdicts of a calculation that succeeded, against their required values
        if (!record_.failure) {
            for (const subprogram::Verdict& v : calculator_.verdicts) {
                const auto written = std::find_if(
                    record_.writes.rbegin(), record_.writes.rend(),
                    [&](const auto& w) { return w.first == v.result; });
                if (written != record_.writes.rend()) {
                    verdicts += "<tr><td>" + std::string(v.what) + "验算</td><td colspan=\"3\">" +
                                escaped(verdictText(v, written->second)) + "</td></tr>\n";
                }
            }
        }
        html_ += rows.empty() ? "<p>无结果写出。</p>\n"
                              : std::string(kTable) +
                                    "<tr><th>结果</th><th>符号</th><th>数值</th><th>单位</th>"
                                    "</tr>\n" +
                                    rows + verdicts + "</table>\n";
    }

    const ReportContext& context_;
    const Calculator& calculator_;
    const Variant& variant_;
    const CalculationRecord& record_;
    std::string html_;
};

} // namespace

ReportContext reportContext(const Calculator& calculator, int variant, const Form& form) {
    const Variant& v = calculator.variant(variant);
    return {&calculator,
            variant,
            calculator.describe ? calculator.describe(v, form) : std::string(v.title),
            {},
            {}};
}

std::string reportHtml(const ReportContext& context, const CalculationRecord& record) {
    return Writer(context, record).page();
}

std::string sketchSvg(const Sketch& sketch) {
    const auto px = [](double units) { return doubleToText(units / 15); };
    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + px(sketch.width) +
                      "\" height=\"" + px(sketch.height) + "\" viewBox=\"0 0 " +
                      doubleToText(sketch.width) + " " + doubleToText(sketch.height) +
                      "\"><rect width=\"" + doubleToText(sketch.width) + "\" height=\"" +
                      doubleToText(sketch.height) +
                      "\" fill=\"white\"/><g stroke=\"black\" stroke-width=\"15\" fill=\"none\">";
    for (const SketchLine& l : sketch.lines) {
        svg += "<line x1=\"" + doubleToText(l.x1) + "\" y1=\"" + doubleToText(l.y1) + "\" x2=\"" +
               doubleToText(l.x2) + "\" y2=\"" + doubleToText(l.y2) + "\"/>";
    }
    for (const SketchCircle& c : sketch.circles) {
        svg += "<circle cx=\"" + doubleToText(c.x) + "\" cy=\"" + doubleToText(c.y) + "\" r=\"" +
               doubleToText(c.r) + "\"/>";
    }
    return svg + "</g></svg>";
}
