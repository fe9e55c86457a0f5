#include "guide.h"

#include "calculators/registry.h"
#include "core/html.h"

namespace {

using subprogram::Calculator;

// What the descriptions do not hold: how a calculator's window is reached, and what it is for.
struct Introduction {
    std::string_view command, reached, purpose;
};

constexpr Introduction kIntroductions[] = {
    {"earth-pressure",
     "启动窗口的“土压力计算”“静止土压力计算”“有限范围填土土压力计算”三个按钮打开同一窗口的三种模式"
     "。",
     "库仑主动土压力（考虑黏聚力、地面超载、填土面坡角、墙背倾角和墙背摩擦角）的系数 Ka 与合力 Ea；"
     "静止土压力系数 K0 与墙底处的静止土压力强度 E0；墙后有稳定岩坡时有限范围填土的主动土压力。"
     "计算后窗口右侧绘出土压力沿墙高的分布图（单击放大），其面积等于所算合力，"
     "粘性土的拉力区以阴影画出并计入合力。"},
    {"anchor", "启动窗口的“锚杆计算”。",
     "岩石锚杆的轴向拉力设计值 Na、锚筋截面积 As、锚固段长度 la 与锚筋和砂浆间的锚固长度 lb，"
     "并按 3 根直径 d 的钢筋验算实配截面。永久性锚杆与临时性锚杆取不同的系数。"},
    {"gravity-wall", "启动窗口的“重力式挡墙”。",
     "直立式或衡重式重力式挡墙的土压力、自重与重心、抗滑移与抗倾覆安全系数、基底合力偏心距和基底应"
     "力，"
     "并按地基类别与地基承载力特征值验算：偏心距限值土质地基为 b/6、岩质地基为 b/4（程序默认值）；"
     "不填地基承载力特征值时，承载力两项为“未验算”。窗口中的“截面图”按所填尺寸画出挡墙，"
     "“土压力分布图”画出墙后土压力的分布及验算所取的 H/3 作用点。"},
    {"beam",
     "启动窗口上没有它的按钮：打开一份保存的连续梁计算文件（.slope）即进入连续梁计算窗口，"
     "也可用 slopecalc beam 在命令行计算。",
     "土压力作用下连续构件各跨两端的弯矩，两端支座可为铰支、嵌固或自由。"},
};

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
    for (const Introduction& i : kIntroductions) {
        if (i.command == c.command) {
            out += "<p>" + std::string(i.purpose) + "</p>\n<p>打开方式：" + std::string(i.reached) +
                   "</p>\n";
        }
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
        out += "<tr><td>" + withoutColon(caption) + "</td><td>" + unitCell(f.unit) + "</td><td>" +
               (f.defaultText.empty() ? "（空）" : html::escaped(f.defaultText)) + "</td><td>" +
               html::escaped(f.name) + "</td></tr>\n";
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

constexpr std::string_view kUse = R"(<h2>使用</h2>
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
<li>“保存”（Ctrl+S）把计算存为 .slope 文件（UTF-8 文本），“打开”（Ctrl+O）读回；
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
