#include "reportwindow.h"

#include "core/wholefile.h"
#include "gui/printmodule.h"
#include "gui/screenfit.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

// Qt's own save file reports success when the disk takes only part of a write: the core's
// writer checks every byte.
QString writeWhole(const QString& path, const QByteArray& bytes) {
    const auto error = writeWholeFile(QFile::encodeName(path).toStdString(),
                                      std::string_view(bytes.constData(), bytes.size()));
    return error ? fileErrorText(*error) : QString();
}

constexpr double kPreviewDpi = 96; // the pages on the screen

} // namespace

ReportWindow::ReportWindow(const QString& title, ReportContext context, CalculationRecord record,
                           const QImage& picture, Reporter reporter, QWidget* parent)
    : QWidget(parent, Qt::Window), context_(std::move(context)), record_(std::move(record)),
      picture_(picture), reporter_(std::move(reporter)) {
    setObjectName(QStringLiteral("report"));
    setWindowTitle(title);
    setAttribute(Qt::WA_DeleteOnClose);
    fitResizableWindow(this, QSize(880, 900));

    auto* names = new QFormLayout;
    const auto name = [&](const char* objectName, const char* label, const std::string& text) {
        auto* edit = new QLineEdit(QString::fromStdString(text), this);
        edit->setObjectName(QString::fromLatin1(objectName));
        names->addRow(QString::fromUtf8(label), edit);
        connect(edit, &QLineEdit::editingFinished, this, [this] {
            rebuild();
            if (namesChanged_) {
                namesChanged_({context_.project, context_.designer, context_.checker});
            }
        });
        return edit;
    };
    project_ = name("project", "项目名称", context_.project);
    designer_ = name("designer", "设计", context_.designer);
    checker_ = name("checker", "校核", context_.checker);

    auto* buttons = new QHBoxLayout;
    const auto button = [&](const char* objectName, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(objectName));
        buttons->addWidget(b);
        return b;
    };
    connect(button("print", QStringLiteral("打印")), &QPushButton::clicked, this,
            &ReportWindow::print);
    connect(button("savePdf", QStringLiteral("保存PDF")), &QPushButton::clicked, this,
            [this] { askAndSave(true); });
    connect(button("saveHtml", QStringLiteral("保存HTML")), &QPushButton::clicked, this,
            [this] { askAndSave(false); });
    buttons->addStretch();

    auto* pagesWidget = new QWidget;
    preview_ = new QVBoxLayout(pagesWidget);
    preview_->setSpacing(12);
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("preview"));
    scroll->setWidget(pagesWidget);
    scroll->setWidgetResizable(true);
    scroll->setBackgroundRole(QPalette::Dark);

    outdated_ = new QLabel(
        QString::fromUtf8(kOutdatedNote.data(), static_cast<qsizetype>(kOutdatedNote.size())),
        this);
    outdated_->setObjectName(QStringLiteral("outdatedNote"));
    outdated_->setWordWrap(true);
    outdated_->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    outdated_->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(outdated_);
    layout->addLayout(names);
    layout->addLayout(buttons);
    layout->addWidget(scroll);
    rebuild();
}

ReportWindow::~ReportWindow() = default;

void ReportWindow::setOutdated() {
    if (context_.outdated) {
        return;
    }
    outdated_->show();
    context_.outdated = true; // the pages, the PDF, the print and the HTML say it too
    rebuild();
}

void ReportWindow::rebuild() {
    context_.project = project_->text().toStdString();
    context_.designer = designer_->text().toStdString();
    context_.checker = checker_->text().toStdString();
    pages_.reset(); // it refers to the document
    document_ = report::document(context_, record_);
    pages_ = std::make_unique<ReportPages>(document_, picture_);
    while (QLayoutItem* item = preview_->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    const qreal ratio = devicePixelRatioF();
    const double scale = kPreviewDpi / ReportPages::kDpi * ratio;
    constexpr int kFiner = 3; // painted finer and scaled down: small text stays crisp
    for (int page = 0; page < pages_->pageCount(); ++page) {
        const QSize size = (pages_->pageSize() * scale).toSize();
        QImage fine(size * kFiner, QImage::Format_RGB32);
        QPainter painter(&fine);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(scale * kFiner, scale * kFiner);
        pages_->paintPage(painter, page);
        painter.end();
        QImage image = fine.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        image.setDevicePixelRatio(ratio);
        auto* label = new QLabel;
        label->setPixmap(QPixmap::fromImage(image));
        label->setAlignment(Qt::AlignHCenter);
        preview_->addWidget(label);
    }
}

QString ReportWindow::savePdf(const QString& path) const {
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(windowTitle());
        writer.setCreator(QStringLiteral("边坡支护计算程序"));
        if (!pages_->print(writer)) {
            return QStringLiteral("PDF 无法生成");
        }
    }
    return writeWhole(path, pdf);
}

QString ReportWindow::saveHtml(const QString& path) const {
    QString html = QString::fromStdString(reportHtml(context_, record_));
    if (!picture_.isNull()) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        picture_.save(&buffer, "PNG");
        html.replace(QStringLiteral("drawing.png"), QStringLiteral("data:image/png;base64,") +
                                                        QString::fromLatin1(png.toBase64()));
    }
    return writeWhole(path, html.toUtf8());
}

void ReportWindow::print() {
    QString error;
    PrintPages* const print = printModule(&error);
    if (!print) {
        reporter_(
            this,
            QStringLiteral("无法打印：找不到打印模块（%1）。可以保存PDF后再打印。").arg(error));
        return;
    }
    const PaintPages paint = [](const void* pages, QPagedPaintDevice& device) {
        return static_cast<const ReportPages*>(pages)->print(device);
    };
    if (print(this, paint, pages_.get()) < 0) {
        reporter_(this, QStringLiteral("无法打印。"));
    }
}

void ReportWindow::askAndSave(bool pdf) {
    const QString filter = pdf ? QStringLiteral("PDF (*.pdf)") : QStringLiteral("HTML (*.html)");
    const QString suggested =
        windowTitle() + (pdf ? QStringLiteral(".pdf") : QStringLiteral(".html"));
    const QString path = askFilePath(this, true, windowTitle(), suggested, filter);
    if (!path.isEmpty()) {
        save(path, pdf);
    }
}

void ReportWindow::save(const QString& path, bool pdf) {
    if (const QString error = pdf ? savePdf(path) : saveHtml(path); !error.isEmpty()) {
        reporter_(this, QStringLiteral("无法写入文件“%1”：%2。原有的文件保持不变。")
                            .arg(QDir::toNativeSeparators(path), error));
    }
}
