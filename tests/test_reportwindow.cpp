#include "calculators/registry.h"
#include "driver.h"
#include "gui/printmodule.h"
#include "gui/reportwindow.h"
#include "mapform.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QRadioButton>
#include <QRawFont>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include <csignal>
#include <sys/resource.h>

namespace {

// What a reader sees of a report: every text of its blocks, title block and drawing.
QString readable(const report::Document& doc) {
    QString text = QString::fromStdString(doc.title + doc.subject);
    for (const auto& [label, value] : doc.titleBlock) {
        text += QString::fromStdString(label + value);
    }
    for (const report::Block& b : doc.blocks) {
        text += QString::fromStdString(b.html);
        for (const std::string& cell : b.cells) {
            text += QString::fromStdString(cell);
        }
    }
    for (const auto& columns : doc.tables) {
        for (const report::Column& c : columns) {
            text += QString::fromStdString(c.title);
        }
    }
    if (doc.context->sketch) {
        for (const SketchText& t : doc.context->sketch->texts) {
            text += QString::fromStdString(t.text);
        }
    }
    text.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
    return text.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
        .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
        .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
}

struct WindowCase {
    const char* launcherButton;
    const char* option;
    const char* expected; // a text the report must hold
};

class ReportButton : public Driver, public testing::WithParamInterface<WindowCase> {};

TEST_P(ReportButton, StandsInFreeSpaceAndReportsTheLastCalculation) {
    open(GetParam().launcherButton);
    for (const char* name : {"reportButton", "saveButton", "openButton", "copyButton",
                             "SectionLabel", "SectionPicture"}) {
        QWidget* button = window->findChild<QWidget*>(QString::fromLatin1(name));
        if (!button) {
            continue; // the wall window's section only
        }
        const QWidget* page = button->parentWidget(); // the window, or its page when it scrolls
        for (QWidget* other : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (other != button && other->isVisible()) {
                EXPECT_FALSE(other->geometry().intersects(button->geometry()))
                    << name << ' ' << other->objectName().toStdString();
            }
        }
        EXPECT_TRUE(page->rect().contains(button->geometry())) << name;
    }
    click("reportButton"); // nothing calculated yet
    EXPECT_TRUE(message().contains("尚未计算"));
    EXPECT_EQ(window->findChild<ReportWindow*>(), nullptr);

    if (GetParam().option) {
        control<QRadioButton>(window, GetParam().option)->click();
    }
    click("Command1");
    click("reportButton");
    auto* report = window->findChild<ReportWindow*>();
    ASSERT_NE(report, nullptr);
    const QString text = readable(report->document());
    EXPECT_TRUE(text.contains(QString::fromUtf8(GetParam().expected))) << text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Windows, ReportButton,
                         testing::Values(WindowCase{"solidstrees", nullptr, "Kq"},
                                         WindowCase{"anchorbar", nullptr, "0.126313449053005"},
                                         WindowCase{"Command6", "Option2", "衡重式挡墙"},
                                         WindowCase{"Command5", nullptr, "M2,1"}));

class ReportFiles : public Driver {};

TEST_F(ReportFiles, AValidPdfWithItsFacesAndOneHtmlFileWrittenWholeOrNotAtAll) {
    open("Command1"); // at rest: the situation drawn from the inputs travels with the report
    click("Command1");
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, Qt::Key_P, Qt::ControlModifier); // the shortcut opens it too
    auto* report = window->findChild<ReportWindow*>();
    ASSERT_NE(report, nullptr);
    control<QLineEdit>(report, "project")->setText("某边坡工程");
    emit control<QLineEdit>(report, "project")->editingFinished();
    EXPECT_EQ(report->document().titleBlock[0].second, "某边坡工程");

    QTemporaryDir folder;
    ASSERT_EQ(report->savePdf(folder.filePath("wall.pdf")), "");
    QFile pdf(folder.filePath("wall.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF-1.")) << bytes.left(8).toStdString();
    EXPECT_TRUE(bytes.trimmed().endsWith("%%EOF"));
    EXPECT_TRUE(bytes.contains("DejaVuSans") && bytes.contains("WenQuanYi")); // embedded
    EXPECT_TRUE(bytes.contains("/FontFile2"));

    ASSERT_EQ(report->saveHtml(folder.filePath("wall.html")), "");
    QFile html(folder.filePath("wall.html"));
    ASSERT_TRUE(html.open(QIODevice::ReadOnly));
    const QString page = QString::fromUtf8(html.readAll());
    EXPECT_TRUE(page.contains("<svg"));
    EXPECT_TRUE(page.contains("<th>项目名称</th><td>某边坡工程</td>"));
    EXPECT_NE(report->saveHtml(folder.filePath("missing/folder/wall.html")), "");

    // no file may grow beyond 1000 bytes: neither is written, the old files stay, the user is told
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit small{1000, limit.rlim_max};
    std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    report->save(folder.filePath("wall.pdf"), true);
    report->save(folder.filePath("wall.html"), false);
    setrlimit(RLIMIT_FSIZE, &limit);
    ASSERT_EQ(recorder.messages.size(), 2) << recorder.messages.join("|").toStdString();
    EXPECT_TRUE(
        recorder.messages[0].startsWith("无法写入文件“" + folder.filePath("wall.pdf") + "”："))
        << recorder.messages[0].toStdString();
    EXPECT_TRUE(recorder.messages[1].endsWith("原有的文件保持不变。"));
    pdf.seek(0);
    EXPECT_EQ(pdf.readAll(), bytes);
    EXPECT_TRUE(QFile(folder.filePath("wall.html")).size() > 1000);
}

// The pages of a report: no block below the text's foot, no heading, note or drawing's note
// parted from its neighbour, no row without its table's header.
void checkPages(const report::Document& doc, const std::string& where) {
    const ReportPages pages(doc, QImage(400, 300, QImage::Format_RGB32));
    const auto& placed = pages.placed();
    int table = -1, tablePage = -1;
    for (std::size_t i = 0; i < placed.size(); ++i) {
        const ReportPages::Placed& p = placed[i];
        EXPECT_LE(p.top + p.height, pages.textBottom()) << where;
        if (p.block >= 0 && doc.blocks[p.block].kind == report::Block::Kind::Heading) {
            ASSERT_LT(i + 1, placed.size());
            EXPECT_EQ(placed[i + 1].page, p.page) << where << ": a heading alone";
        }
        if (p.block >= 0 && doc.blocks[p.block].kind == report::Block::Kind::Note) {
            EXPECT_EQ(placed[i - 1].page, p.page) << where << ": a note alone";
        }
        if (p.block <= -2) { // a table's header
            table = -2 - p.block;
            tablePage = p.page;
        }
        if (p.block >= 0 && doc.blocks[p.block].kind == report::Block::Kind::Row) {
            EXPECT_EQ(doc.blocks[p.block].table, table) << where;
            EXPECT_EQ(p.page, tablePage) << where << ": a row without its header";
        }
    }
    EXPECT_EQ(placed.front().block, -1); // the title block first
    for (std::size_t i = 1; i < placed.size(); ++i) {
        const int b = placed[i].block, before = placed[i - 1].block;
        if (b >= 0 && before >= 0 && doc.blocks[before].kind == report::Block::Kind::Drawing &&
            doc.blocks[b].kind == report::Block::Kind::Paragraph) {
            EXPECT_EQ(placed[i - 1].page, placed[i].page)
                << where << ": a drawing without its note";
        }
    }
}

// A number stands on one line in its cell, however long: a row of the longest numbers the
// program writes is no taller than one of short ones.
TEST(ReportDocuments, ANumberNeverBreaksAcrossALine) {
    using report::Align;
    using report::Block;
    ReportContext context;
    report::Document doc;
    doc.title = doc.subject = "计算书";
    doc.context = &context;
    doc.tables.push_back({{"参数", Align::Left, 44},
                          {"符号", Align::Left, 12},
                          {"数值", Align::Number, 30},
                          {"单位", Align::Left, 14}});
    for (const char* number : {"1.5", "-1.84615612211446E-105", "-123456789012345"}) {
        doc.blocks.push_back({Block::Kind::Row, {}, 0, 0, {"滑面长度", "L", number, "m"}});
    }
    const ReportPages pages(doc);
    std::vector<double> heights;
    for (const ReportPages::Placed& p : pages.placed()) {
        if (p.block >= 0) {
            heights.push_back(p.height);
        }
    }
    ASSERT_EQ(heights.size(), 3u);
    EXPECT_EQ(heights[1], heights[0]);
    EXPECT_EQ(heights[2], heights[0]);
}

// Every report — each calculator, each variant, and a failed calculation of each — has a glyph
// for every character in its faces, names nothing by the code's identifiers, and lies on its A4
// pages with no row, line or drawing split and no heading left at the foot of a page.
TEST(ReportDocuments, HaveEveryGlyphNoIdentifierAndCleanPages) {
    const QRawFont latin = QRawFont::fromFont(QFont(QStringLiteral("DejaVu Sans")));
    const QRawFont chinese = QRawFont::fromFont(QFont(QStringLiteral("WenQuanYi Micro Hei")));
    ASSERT_EQ(latin.familyName(), "DejaVu Sans");
    ASSERT_EQ(chinese.familyName(), "WenQuanYi Micro Hei");
    for (const subprogram::Calculator* c : subprogram::calculators()) {
        for (const subprogram::Variant& v : c->variants) {
            for (const bool fails : {false, true}) {
                MapForm form(*c);
                CalculationRecord record;
                const auto calculate = [&] {
                    try {
                        recordCalculation(form, record,
                                          [&](Form& f, Trace* t) { c->calculate(v.value, f, t); });
                    } catch (const CalcError&) {
                    }
                };
                calculate();
                if (fails && !record.inputs.empty()) { // the first field read, made unreadable
                    form.texts[std::string(
                        subprogram::Calculator::place((*c)[record.inputs.front().first]))] = "½x";
                    calculate();
                }
                ReportContext context = reportContext(*c, v.value, form, record);
                context.timestamp = "2026-12-07 10:15";
                const report::Document doc = report::document(context, record);
                const std::string where = std::string(c->command) + " " + std::string(v.name);
                for (const char32_t ch : readable(doc).toStdU32String()) {
                    EXPECT_TRUE(latin.supportsCharacter(ch) || chinese.supportsCharacter(ch))
                        << where << ": U+" << std::hex << unsigned(ch);
                }
                for (const subprogram::Step* step : v.steps) {
                    EXPECT_FALSE(
                        readable(doc).contains(QString::fromStdString(std::string(step->id))))
                        << where;
                }
                EXPECT_FALSE(readable(doc).contains("readFields") ||
                             readable(doc).contains("single"));

                checkPages(doc, where);
                // wherever the page breaks: the same report after more and more lines
                if (!fails && c == subprogram::calculators().front() && &v == &c->variants[0]) {
                    for (int filler = 1; filler <= 48; ++filler) {
                        report::Document longer = doc;
                        longer.blocks.insert(longer.blocks.begin(), filler,
                                             {report::Block::Kind::Paragraph, "一行", 0, -1, {}});
                        checkPages(longer, where + " after " + std::to_string(filler) + " lines");
                    }
                }
            }
        }
    }
}

// Printing is loaded when first wanted: the module is found beside the program, shows Qt's print
// dialog, and paints nothing when the dialog is cancelled.
TEST(ReportPrinting, LoadsItsModuleWhichAsksForAPrinter) {
    QString error;
    PrintPages* const print = printModule(&error);
    ASSERT_NE(print, nullptr) << error.toStdString();
    bool asked = false;
    QTimer::singleShot(0, [&] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            asked = true;
            dialog->reject();
        }
    });
    const PaintPages paint = [](const void*, QPagedPaintDevice&) {
        ADD_FAILURE() << "painted after a cancelled dialog";
        return true;
    };
    EXPECT_EQ(print(nullptr, paint, nullptr), 0);
    EXPECT_TRUE(asked);
}

} // namespace
