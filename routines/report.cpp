#include "report.h"

#include "routines/beam.h"
#include "shell/numerictext.h"

#include <algorithm>

namespace subprogram {

std::string RecordingForm::text(std::string_view field) const {
    std::string t = inner_.text(field);
    const bool seen = std::any_of(record_.inputs.begin(), record_.inputs.end(),
                                  [&](const auto& input) { return input.first == field; });
    if (!seen) {
        record_.inputs.emplace_back(std::string(field), t);
    }
    return t;
}

void RecordingForm::setText(std::string_view field, const std::string& text) {
    record_.writes.emplace_back(std::string(field), text);
    inner_.setText(field, text);
}

namespace {

// The technical code the launcher names, on which the calculations rest.
constexpr std::string_view kTechnicalCode = "重庆建筑边坡支护技术规范";

struct Formula {
    std::string_view step;
    std::string_view html; // {name}: a value the step formed; {in:name}: an input as typed
};

// clang-format off
const Formula kCoulomb[] = {
    {"coulombActive", "K<sub>q</sub> = 1 + 2q·sinα·cosβ ÷ [γ·H·sin(α+β)] = 1 + 2×{in:q}×sin{in:alpha}°×cos{in:beta}° ÷ [{in:gamma}×{in:H}×sin({in:alpha}°+{in:beta}°)] = {Kq}"},
    {"coulombActive", "η = 2c ÷ (γ·H) = 2×{in:c} ÷ ({in:gamma}×{in:H}) = {η}"},
    {"coulombActive", "T = sin(α+β)·sin(α−δ) + sin(φ+δ)·sin(φ−β) = {T}"},
    {"coulombActive", "A = K<sub>q</sub>·T + 2η·sinα·cosφ·cos(α+β−φ−δ) = {A}"},
    {"coulombActive", "B<sub>1</sub> = K<sub>q</sub>·sin(α+β)·sin(φ−β) + η·sinα·cosφ = {B1}"},
    {"coulombActive", "B<sub>2</sub> = K<sub>q</sub>·sin(α−δ)·sin(φ+δ) + η·sinα·cosφ = {B2}"},
    {"coulombActive", "S = √(B<sub>1</sub>·B<sub>2</sub>) = √({B1}×{B2}) = {S}"},
    {"coulombActive", "F = sin(α+β) ÷ [sin²α·sin²(α+β−φ−δ)] = {F}"},
    {"coulombActive", "K<sub>a</sub> = F·(A − 2S) = {F}×({A} − 2×{S}) = {Ka}"},
    {"coulombActive", "E<sub>a</sub> = ½·γ·H²·K<sub>a</sub> = ½×{in:gamma}×{in:H}²×{Ka} = {Ea}"},
};
const Formula kAtRest[] = {
    {"atRestEarthPressure", "K<sub>0</sub> = 1 − sinφ = 1 − sin{in:phi}° = {K0}"},
    {"atRestEarthPressure", "E<sub>0</sub> = (γ·H + q)·K<sub>0</sub> = ({in:gamma}×{in:H} + {in:q})×{K0} = {E0}"},
};
const Formula kLimitedFill[] = {
    {"limitedFillEarthPressure", "A = sin(α+β) ÷ sin(α−δ+θ−δ<sub>r</sub>) ÷ sin(θ−β) = {A}"},
    {"limitedFillEarthPressure", "B = sin(θ+α)·sin(θ−δ<sub>r</sub>) ÷ sin²α = {B}"},
    {"limitedFillEarthPressure", "η = 2c ÷ (γ·H) = 2×{in:c} ÷ ({in:gamma}×{in:H}) = {η}"},
    {"limitedFillEarthPressure", "C = η·cosδ<sub>r</sub> ÷ sinα = {C}"},
    {"limitedFillEarthPressure", "K<sub>a</sub> = A·(B − C) = {A}×({B} − {C}) = {Ka}"},
    {"limitedFillEarthPressure", "E<sub>a</sub> = ½·γ·H²·K<sub>a</sub> = ½×{in:gamma}×{in:H}²×{Ka} = {Ea}"},
};
const Formula kAnchor[] = {
    {"anchorBarDesign", "N<sub>ak</sub> = H<sub>tk</sub> ÷ cos a = {in:Htk} ÷ cos{in:a}° = {Nak}"},
    {"anchorBarDesign", "N<sub>a</sub> = 1.25·N<sub>ak</sub> = 1.25×{Nak} = {Na}"},
    {"anchorBarDesign", "A<sub>s</sub> = γ<sub>0</sub>·N<sub>a</sub> ÷ (ξ<sub>2</sub>·f<sub>y</sub>) = {in:gamma0}×{Na} ÷ ({ξ2}×{in:fy}) = {As}"},
    {"anchorBarDesign", "l<sub>a</sub> = N<sub>ak</sub> ÷ (ξ<sub>1</sub>·π·D·f<sub>rb</sub>) = {Nak} ÷ ({ξ1}×3.1415926×{in:D}/1000×{in:frb}) = {la}"},
    {"anchorBarDesign", "l<sub>b</sub> = γ<sub>0</sub>·N<sub>a</sub> ÷ (ξ<sub>3</sub>·n·π·d·f<sub>b</sub>) = {in:gamma0}×{Na} ÷ ({ξ3}×3×3.1415926×{in:d}/1000×{in:fb}) = {lb}"},
};
const Formula kUprightWall[] = {
    {"uprightWallWeight", "r<sub>0</sub> = α<sub>0</sub>·π ÷ 180 = {in:alpha0}×3.1415926 ÷ 180 = {r0}；t = tan r<sub>0</sub> = {t}"},
    {"uprightWallWeight", "A = (H<sub>t</sub> − b<sub>1</sub>·t) ÷ (1/n + t) = ({in:Ht} − {in:b1}×{t}) ÷ (1/{in:n} + {t}) = {A}"},
    {"uprightWallWeight", "B = H<sub>t</sub> − b<sub>1</sub>·t = {B}"},
    {"uprightWallWeight", "W<sub>2</sub> = (2H<sub>t</sub> − b<sub>1</sub>·t)·b<sub>1</sub>·γ<sub>w</sub> ÷ 2 = {W2}"},
    {"uprightWallWeight", "W<sub>1</sub> = A·B·γ<sub>w</sub> ÷ 2 = {A}×{B}×{in:gamma_w} ÷ 2 = {W1}"},
    {"uprightWallWeight", "W<sub>3</sub> = b<sub>2</sub>·h<sub>1</sub>·γ<sub>w</sub> = {in:b2}×{in:h1}×{in:gamma_w} = {W3}"},
    {"uprightWallWeight", "L<sub>3</sub> = (n·h<sub>1</sub> + b<sub>2</sub>) ÷ 2 = {L3}"},
    {"uprightWallWeight", "m<sub>2</sub> = [(2H<sub>t</sub> + B)·b<sub>1</sub> ÷ 3] ÷ (B + H<sub>t</sub>) = {m2}"},
    {"uprightWallWeight", "m<sub>1</sub> = ⅔·A = {m1}"},
    {"uprightWallWeight", "c<sub>0</sub> = b − A − b<sub>1</sub> = {in:b} − {A} − {in:b1} = {c0}"},
    {"uprightWallWeight", "G = W<sub>1</sub> + W<sub>2</sub> + W<sub>3</sub> = {W1} + {W2} + {W3} = {G}"},
    {"uprightWallWeight", "x<sub>0</sub> = [(m<sub>2</sub> + c<sub>0</sub> + A)·W<sub>2</sub> + (c<sub>0</sub> + m<sub>1</sub>)·W<sub>1</sub> + W<sub>3</sub>·L<sub>3</sub>] ÷ G = {x0}"},
};
const Formula kShelfWall[] = {
    {"shelfWallWeight", "块1 上墙前三角：A<sub>1</sub> = n·h<sub>1</sub>² ÷ 2 = {A1}，L<sub>1</sub> = {L1}"},
    {"shelfWallWeight", "块2 上墙前带：A<sub>2</sub> = b<sub>5</sub>·h<sub>1</sub> = {A2}，L<sub>2</sub> = {L2}"},
    {"shelfWallWeight", "块3 上墙背三角：A<sub>3</sub> = x<sub>2</sub>·h<sub>1</sub>² ÷ 2 = {A3}，L<sub>3</sub> = {L3}"},
    {"shelfWallWeight", "块4 下墙前带：A<sub>4</sub> = h′·b<sub>3</sub> = {A4}，L<sub>4</sub> = {L4}"},
    {"shelfWallWeight", "块5 下墙背三角：A<sub>5</sub> = h′·(b<sub>1</sub> + b<sub>2</sub> − b<sub>3</sub>) ÷ 2 = {A5}，L<sub>5</sub> = M<sub>5</sub> ÷ A<sub>5</sub> + b<sub>4</sub> + b<sub>3</sub> = {L5}"},
    {"shelfWallWeight", "块6 墙底板：A<sub>6</sub> = b·h<sub>4</sub> = {A6}，L<sub>6</sub> = {L6}"},
    {"shelfWallWeight", "块7 墙踵外三角：A<sub>7</sub> = (b<sub>3</sub> + b<sub>4</sub> − b)·h<sub>4</sub> ÷ 2 = {A7}，L<sub>7</sub> = {L7}"},
    {"shelfWallWeight", "A = ΣA<sub>i</sub> = {A}；h′ = H<sub>t</sub> − h<sub>1</sub> − h<sub>4</sub>"},
    {"shelfWallWeight", "x<sub>0</sub> = ΣA<sub>i</sub>·L<sub>i</sub> ÷ A = {x0}"},
    {"shelfWallWeight", "G = γ<sub>w</sub>·A = {in:gamma_w}×{A} = {G}"},
};
const Formula kWallChecks[] = {
    {"antiSlidingFactor", "G<sub>n</sub> = G·cos α<sub>0</sub> = {Gn}；G<sub>t</sub> = G·sin α<sub>0</sub> = {Gt}"},
    {"antiSlidingFactor", "E<sub>at</sub> = E<sub>a</sub>·sin(α − α<sub>0</sub> − δ) = {Eat}；E<sub>an</sub> = E<sub>a</sub>·cos(α − α<sub>0</sub> − δ) = {Ean}"},
    {"antiSlidingFactor", "K<sub>s</sub> = (G<sub>n</sub> + E<sub>an</sub>)·μ ÷ (E<sub>at</sub> − G<sub>t</sub>) = ({Gn} + {Ean})×{in:mu} ÷ ({Eat} − {Gt}) = {Ks}"},
    {"leverHeight", "z = H ÷ 3 + H<sub>t</sub> − H = {in:H} ÷ 3 + {in:Ht} − {in:H} = {z}"},
    {"antiOverturningFactor", "E<sub>ax</sub> = E<sub>a</sub>·sin(α − δ) = {Eax}；E<sub>az</sub> = E<sub>a</sub>·cos(α − δ) = {Eaz}"},
    {"antiOverturningFactor", "x<sub>f</sub> = b − z ÷ tan α = {xf}；z<sub>f</sub> = z − b·tan α<sub>0</sub> = {zf}"},
    {"antiOverturningFactor", "K<sub>t</sub> = (G·x<sub>0</sub> + E<sub>az</sub>·x<sub>f</sub>) ÷ (E<sub>ax</sub>·z<sub>f</sub>) = {Kt}"},
    {"baseStress", "z<sub>E</sub> = H ÷ 3 + H<sub>t</sub> − H − h<sub>2</sub> = {zE}"},
    {"baseStress", "N = E<sub>a</sub>·sin θ + G = {N}（θ = 3.14159 ÷ 2 + δ − α）"},
    {"baseStress", "c = (G·x<sub>0</sub> − E<sub>a</sub>·cos θ·z<sub>E</sub> + E<sub>a</sub>·sin θ·b) ÷ N = {c}"},
    {"baseStress", "e = b ÷ 2 − c = {in:b} ÷ 2 − {c} = {e}；b ÷ 6 = {b/6}"},
    {"baseStress", "e &gt; b/6 时：p<sub>max</sub> = 2N ÷ (3c)，p<sub>min</sub> = 0；否则：p = (N ÷ b)·(1 ± 6e ÷ b)"},
    {"baseStress", "p<sub>max</sub> = {pmax}；p<sub>min</sub> = {pmin}"},
};
const Formula kBeam[] = {
    {"solveContinuousBeam", "荷载：自上端由 0 线性增至 0.2H 处的 q，其下为 q；跨越折点的跨按全跨均布 q 计"},
    {"solveContinuousBeam", "EI<sub>i</sub> = E<sub>c</sub>·b·h³ ÷ 12（b、h 换算为 m）；k<sub>i</sub> = EI<sub>i</sub> ÷ L<sub>i</sub>"},
    {"solveContinuousBeam", "转角方程：2k<sub>i−1</sub>θ<sub>i−1</sub> + (4k<sub>i−1</sub> + 4k<sub>i</sub>)θ<sub>i</sub> + 2k<sub>i</sub>θ<sub>i+1</sub> = −F<sub>i−1,2</sub> − F<sub>i,1</sub>；嵌固端 θ = 0"},
    {"solveContinuousBeam", "M<sub>i,1</sub> = 4k<sub>i</sub>θ<sub>i</sub> + 2k<sub>i</sub>θ<sub>i+1</sub> + F<sub>i,1</sub>；M<sub>i,2</sub> = 2k<sub>i</sub>θ<sub>i</sub> + 4k<sub>i</sub>θ<sub>i+1</sub> + F<sub>i,2</sub>"},
};
// clang-format on

std::span<const Formula> formulas(FormulaSet set) {
    switch (set) {
    case FormulaSet::Coulomb:
        return kCoulomb;
    case FormulaSet::AtRest:
        return kAtRest;
    case FormulaSet::LimitedFill:
        return kLimitedFill;
    case FormulaSet::Anchor:
        return kAnchor;
    case FormulaSet::UprightWall:
        return kUprightWall;
    case FormulaSet::ShelfWall:
        return kShelfWall;
    case FormulaSet::WallChecks:
        return kWallChecks;
    case FormulaSet::Beam:
        return kBeam;
    }
    return {};
}

std::string stepTitle(std::string_view step) {
    struct Title {
        std::string_view step, title;
    };
    static constexpr Title kTitles[] = {
        {kReadingStep, "读取输入"},
        {"coulombActive", "库仑主动土压力"},
        {"atRestEarthPressure", "静止土压力"},
        {"limitedFillEarthPressure", "有限范围填土主动土压力"},
        {"anchorBarDesign", "锚杆设计"},
        {"uprightWallWeight", "直立式挡墙自重与重心"},
        {"shelfWallWeight", "衡重式挡墙自重与重心"},
        {"antiSlidingFactor", "抗滑移验算"},
        {"leverHeight", "土压力作用点高度"},
        {"antiOverturningFactor", "抗倾覆验算"},
        {"baseStress", "基底应力验算"},
        {"solveContinuousBeam", "连续梁转角位移法求解"},
    };
    for (const Title& t : kTitles) {
        if (t.step == step) {
            return std::string(t.title) + "（" + std::string(step) + "）";
        }
    }
    return std::string(step);
}

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
        : context_(context), record_(record) {}

    std::string page() {
        const std::string title = std::string(context_.spec->title) + " 计算书";
        html_ += "<!DOCTYPE html>\n<html lang=\"zh-CN\"><head><meta charset=\"utf-8\">\n<title>" +
                 escaped(title) + "</title>\n<style>" + std::string(kStyle) +
                 "</style></head>\n<body>\n";
        html_ += "<h1>" + escaped(title) + "</h1>\n";
        html_ += "<table class=\"meta\" cellpadding=\"2\"><tr><td>计算内容</td><td>" + escaped(context_.spec->title) +
                 "：" + escaped(context_.variant) + "</td></tr>\n<tr><td>计算时间</td><td>" +
                 escaped(context_.timestamp) + "</td></tr>\n<tr><td>依据</td><td>" +
                 std::string(kTechnicalCode) + "</td></tr></table>\n";
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

    std::string inputText(std::string_view name) const {
        const FieldSpec* spec = findField(*context_.spec, name);
        if (!spec) {
            return {};
        }
        const std::string_view field = spec->field.empty() ? spec->name : spec->field;
        for (const auto& [f, text] : record_.inputs) {
            if (f == field) {
                return escaped(text);
            }
        }
        return {};
    }

    // The formula with its values in place, or nothing when a value was never formed.
    std::optional<std::string> substituted(const Formula& formula) const {
        std::string out;
        std::string_view rest = formula.html;
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
                const Trace::Entry* entry = lookup(record_.trace, formula.step, key);
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
        for (const FieldSpec& spec : context_.spec->fields) {
            const std::string_view field = spec.field.empty() ? spec.name : spec.field;
            const auto read = std::find_if(record_.inputs.begin(), record_.inputs.end(),
                                           [&](const auto& input) { return input.first == field; });
            if (read == record_.inputs.end()) {
                continue;
            }
            html_ += "<tr><td>" + escaped(spec.caption) + "</td><td>" + std::string(spec.symbol) +
                     "</td><td class=\"num\">" + escaped(read->second) + "</td><td>" +
                     escaped(spec.unit) + "</td></tr>\n";
        }
        html_ += "</table>\n";
    }

    void failure() {
        if (!record_.failure) {
            return;
        }
        const auto& f = *record_.failure;
        html_ += "<h2>计算中止</h2>\n<p class=\"failure\">计算在“" + escaped(stepTitle(f.step)) +
                 "”一步中止：" + std::string(chineseKindName(f.kind)) + " (错误 " +
                 std::to_string(static_cast<int>(f.kind)) + ")。";
        if (const FieldSpec* spec = fieldOfControl(*context_.spec, f.field)) {
            html_ +=
                "无法读取“" + escaped(spec->caption) + "”的内容“" + inputText(spec->name) + "”。";
        }
        html_ += "</p>\n<p>" +
                 std::string(record_.writes.empty()
                                 ? "中止前未写出任何结果，各结果栏保持原值。"
                                 : "中止前已写出的结果见“计算结果”；其余结果栏保持原值。") +
                 "</p>\n";
    }

    void formulaLines() {
        std::string lines;
        std::string step;
        for (FormulaSet set : context_.formulas) {
            for (const Formula& formula : formulas(set)) {
                const auto line = substituted(formula);
                if (!line) {
                    continue;
                }
                if (formula.step != step) {
                    step = formula.step;
                    lines += "<h3>" + escaped(stepTitle(step)) + "</h3>\n";
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
        std::string rows;
        for (const ResultSpec& r : context_.spec->results) {
            const auto written = std::find_if(record_.writes.rbegin(), record_.writes.rend(),
                                              [&](const auto& w) { return w.first == r.field; });
            if (written == record_.writes.rend()) {
                continue;
            }
            rows += "<tr><td>" + escaped(r.caption) + "</td><td>" + std::string(r.symbol) +
                    "</td><td class=\"num\">" + escaped(written->second) + "</td><td>" +
                    escaped(r.unit) + "</td></tr>\n";
        }
        html_ += rows.empty() ? "<p>无结果写出。</p>\n"
                              : std::string(kTable) +
                                    "<tr><th>结果</th><th>符号</th><th>数值</th><th>单位</th>"
                                    "</tr>\n" +
                                    rows + "</table>\n";
    }

    const ReportContext& context_;
    const CalculationRecord& record_;
    std::string html_;
};

} // namespace

std::string reportHtml(const ReportContext& context, const CalculationRecord& record) {
    return Writer(context, record).page();
}

ReportContext earthPressureReport(std::int16_t mode) {
    switch (static_cast<EarthPressureMode>(mode)) {
    case EarthPressureMode::Coulomb:
        break;
    case EarthPressureMode::AtRest:
        return {&kEarthPressureSpec, "静止土压力", {FormulaSet::AtRest}, {}, {}};
    case EarthPressureMode::LimitedFill:
        return {&kEarthPressureSpec, "有限范围填土主动土压力", {FormulaSet::LimitedFill}, {}, {}};
    }
    return {&kEarthPressureSpec, "库仑主动土压力", {FormulaSet::Coulomb}, {}, {}};
}

ReportContext anchorReport(bool permanent) {
    return {&kAnchorSpec, permanent ? "永久性锚杆" : "临时性锚杆", {FormulaSet::Anchor}, {}, {}};
}

ReportContext gravityWallReport(WallType type) {
    switch (type) {
    case WallType::Upright:
        return {&kGravityWallSpec,
                "直立式挡墙",
                {FormulaSet::Coulomb, FormulaSet::UprightWall, FormulaSet::WallChecks},
                {},
                {}};
    case WallType::Shelf:
        return {&kGravityWallSpec,
                "衡重式挡墙",
                {FormulaSet::Coulomb, FormulaSet::ShelfWall, FormulaSet::WallChecks},
                {},
                {}};
    case WallType::NotChosen:
        break;
    }
    return {&kGravityWallSpec,
            "未选择墙型（墙体自重与重心取 0）",
            {FormulaSet::Coulomb, FormulaSet::WallChecks},
            {},
            {}};
}

ReportContext beamReport(std::string_view upper, std::string_view lower, std::string_view spans) {
    return {&kBeamSpec,
            "上端" + std::string(upper) + "，下端" + std::string(lower) + "，" + std::string(spans),
            {FormulaSet::Beam},
            {},
            {}};
}

std::string sketchSvg(const BeamSketch& sketch) {
    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"177\" height=\"329\" "
                      "viewBox=\"0 0 2655 4935\"><rect width=\"2655\" height=\"4935\" "
                      "fill=\"white\"/><g stroke=\"black\" stroke-width=\"15\" fill=\"none\">";
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

} // namespace subprogram
