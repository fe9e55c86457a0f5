#include "guide.h"

#include "calculators/registry.h"
#include "core/html.h"

namespace {

using subprogram::Calculator;

std::string withoutColon(std::string_view caption) {
    while (caption.ends_with(":") || caption.ends_with("：")) {
        caption.remove_suffix(caption.ends_with(":") ? 1 : 3);
    }
    return html::escaped(caption);
}

std::string unitCell(std::string_view unit) {
    return unit.empty() ? "—" : html::escaped(unit);
}

void describe(std::string& out, const Calculator& c) {
    out += "<h2>" + html::escaped(c.title) + "</h2>\n";
    if (!c.introduction.empty()) {
        out += "<p>" + std::string(c.introduction) + "</p>\n";
    }
    if (!c.reachedBy.empty()) {
        out += "<p>打开方式：" + std::string(c.reachedBy) + "</p>\n";
    }
    if (c.variants.size() > 1) {
        out += "<p>计算类别：";
        for (std::size_t v = 0; v < c.variants.size(); ++v) {
            out += (v ? "、" : "") + html::escaped(c.variants[v].title);
        }
        out += "。</p>\n";
    }
    out += "<h3>输入</h3>\n<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\n"
           "<tr><th>项目</th><th>单位</th><th>默认值</th><th>命令行参数</th></tr>\n";
    for (const subprogram::Field& f : c.fields) {
        const std::string_view caption = f.caption.empty() ? f.reportCaption : f.caption;
        // a symbol alone (x2, b4) with what it stands for
        const std::string meaning = f.caption.empty() || f.reportCaption.empty()
                                        ? std::string()
                                        : "（" + html::escaped(f.reportCaption) + "）";
        out += "<tr><td>" + withoutColon(caption) + meaning + "</td><td>" + unitCell(f.unit) +
               "</td><td>" + (f.defaultText.empty() ? "（空）" : html::escaped(f.defaultText)) +
               "</td><td>" + html::escaped(f.name) + "</td></tr>\n";
    }
    out += "</table>\n<h3>结果</h3>\n<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\n"
           "<tr><th>项目</th><th>单位</th><th>命令行名称</th></tr>\n";
    for (const subprogram::Result& r : c.results) {
        if (r.hidden) {
            continue;
        }
        const std::string_view caption = r.caption.empty() ? r.reportCaption : r.caption;
        out += "<tr><td>" + withoutColon(caption) + "</td><td>" + unitCell(r.unit) + "</td><td>" +
               (r.name.empty() ? "—" : html::escaped(r.name)) + "</td></tr>\n";
    }
    out += "</table>\n";
    if (!c.verdicts.empty()) {
        out += "<h3>验算</h3>\n<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\n"
               "<tr><th>验算项目</th><th>要求</th><th>依据</th></tr>\n";
        for (const subprogram::Verdict& v : c.verdicts) {
            out += "<tr><td>" + html::escaped(v.what) + "</td><td>" + html::escaped(v.symbol) +
                   " " + html::escaped(v.relation) + " " + html::escaped(v.limit) + "</td><td>" +
                   html::escaped(v.basis) + "</td></tr>\n";
        }
        out += "</table>\n";
    }
}

constexpr std::string_view kUse = R"(<h2>工作流程</h2>
<ol>
<li><b>计算</b>：在启动窗口中打开计算窗口，填写输入（数字用半角），按“计算”（或在任一输入框中按 Enter）。
结果面板列出各项结果、单位与验算结论；不满足的验算以红色显示。</li>
<li><b>参数分析与最小尺寸</b>：按“参数分析”（Ctrl+R），选择一个输入，给出范围（从、到、个数）或以分号分隔的列表，
按“计算”：表中列出每个值的结果与验算，图中画出所选结果与验算限值。挡墙与锚杆可按“找满足全部验算的最小值”，
例如求满足全部验算的最小基底宽度 b 或最小锚筋直径 d（取标准直径）；没有满足的值时，程序指出始终不满足的验算，
以及它是否与所选输入有关。</li>
<li><b>计算书</b>：按“计算书”（Ctrl+P），填写项目名称、设计、校核，打印或存为 PDF、HTML。
参数分析窗口的“加入计算书”把分析表与图加入计算书。</li>
<li><b>保存</b>：按“保存”（Ctrl+S）存为 .slope 文件，日后“打开”（Ctrl+O）即可继续；另存为用 Ctrl+Shift+S。</li>
</ol>
<p>计算后修改任何输入（数值、类别、挡墙类型），全部结果即变灰，验算结论清除，表示结果已过期；
此时“复制结果”只复制输入并注明“结果已过期”，计算书（窗口中的页面、PDF、打印与HTML）注明输入已改变，保存的文件把这些结果标为过期。
重新计算后结果恢复正常。</p>
<h2>使用</h2>
<ul>
<li>在启动窗口中按按钮打开计算窗口；每个计算窗口最多一个。窗口的“退出”（Esc）只隐藏窗口，所填内容保留；
用窗口标题栏的关闭按钮关闭则丢弃窗口，下次打开时恢复默认值。</li>
<li>“计算”（在任一输入框中按 Enter）按所填内容计算。计算失败时，提示框给出错误号与出错的字段，
该字段被选中以便修改；失败前已算出的结果保留，之后未算出的结果以灰色显示。</li>
<li>结果面板逐项列出结果（四位有效数字）、单位与验算结论；选中一行，下方显示完整数值。
保存、复制和计算书中的数值总是完整数值。</li>
<li>计算书（Ctrl+P）：计算内容、输入、公式与代入数值、结果和验算结论，可打印、存为 PDF 或 HTML。
计算书上的项目名称、设计、校核属于这份计算，随文件保存。</li>
<li>复制结果（Ctrl+Shift+C）把输入与结果复制为表格，可直接粘贴到 Excel。</li>
<li>数字请用半角字符输入（如 1.5）；全角数字或中文句号（１．５、1。5）会提示“类型不匹配”。</li>
</ul>
<h2>文件</h2>
<ul>
<li>“保存”（Ctrl+S）把计算存为 .slope 文件（UTF-8 文本），已有文件时直接存回该文件，
“另存为”（Ctrl+Shift+S）另选文件；“打开”（Ctrl+O）读回；
文件属于哪种计算，就在哪个窗口打开。启动窗口的“最近打开”列出最近保存或打开的文件。</li>
<li>打开文件时按文件中的输入重新计算；若文件中保存的结果与重新计算的结果不同（例如在公式修正之前保存的文件），
程序列出每一项保存的值与新值。</li>
<li>保存或打开过的窗口，标题显示文件名；修改后标题带“*”。打开其他文件、关闭窗口或退出程序前，
程序询问是否保存修改（保存/不保存/取消）。从未保存过的窗口不询问。</li>
<li>程序已在运行时再次启动（例如在文件管理器中双击 .slope 文件），文件交给正在运行的程序打开，
启动窗口显示到最前。</li>
</ul>
<h2>命令行计算 slopecalc</h2>
<p>slopecalc 不用窗口进行同样的计算，结果与窗口完全一致，可成批计算 CSV 文件中的每一行，
也可用 --input 计算保存的 .slope 文件。详见 slopecalc --help 与 man slopecalc。</p>
)";

} // namespace

std::string userGuide(std::string_view version) {
    std::string out =
        "<html><head><meta charset=\"utf-8\"><title>边坡支护计算程序 使用说明</title>"
        "</head><body>\n<h1>边坡支护计算程序 " +
        html::escaped(version) +
        " 使用说明</h1>\n<p>本程序计算建筑边坡支护中的挡墙土压力、岩石锚杆、重力式挡墙和"
        "土压力作用下的连续构件。验算依据 GB 50330-2013《建筑边坡工程技术规范》和 "
        "GB 50007-2011《建筑地基基础设计规范》；无法从规范条文确认的限值标为“程序默认值”。</p>\n";
    for (const Calculator* c : subprogram::calculators()) {
        describe(out, *c);
    }
    out += kUse;
    out += "</body></html>\n";
    return out;
}
