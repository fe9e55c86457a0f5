#include "reportwindow.h"

#include "core/wholefile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QPageLayout>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

namespace {

const QString kDrawingName = QStringLiteral("drawing.png");

void layOutForPaper(QTextDocument& document, QPagedPaintDevice& device) {
    device.setPageSize(QPageSize(QPageSize::A4));
    device.setPageMargins(QMarginsF(18, 15, 18, 15), QPageLayout::Millimeter);
    document.print(&device);
}

} // namespace

ReportWindow::ReportWindow(const QString& title, const QString& html, const QImage& drawing,
                           Reporter reporter, QWidget* parent)
    : QWidget(parent, Qt::Window), html_(html), drawing_(drawing), reporter_(std::move(reporter)) {
    setObjectName(QStringLiteral("report"));
    setWindowTitle(title);
    setAttribute(Qt::WA_DeleteOnClose);
    resize(720, 820);

    auto* view = new QTextBrowser(this);
    view->setObjectName(QStringLiteral("preview"));
    document_ = view->document();
    if (!drawing_.isNull()) {
        document_->addResource(QTextDocument::ImageResource, QUrl(kDrawingName), drawing_);
    }
    view->setHtml(html_);

    auto* buttons = new QHBoxLayout;
    const auto button = [&](const char* name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
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

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(view);
}

namespace {

// Qt's own save file reports success when the disk takes only part of a write: the core's
// writer checks every byte.
QString writeWhole(const QString& path, const QByteArray& bytes) {
    const auto error = writeWholeFile(QFile::encodeName(path).toStdString(),
                                      std::string_view(bytes.constData(), bytes.size()));
    return error ? QString::fromLocal8Bit(error->c_str()) : QString();
}

} // namespace

QString ReportWindow::savePdf(const QString& path) const {
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(windowTitle());
        writer.setCreator(QStringLiteral("边坡支护计算程序"));
        QTextDocument copy; // printing lays the document out for the page; the preview keeps its
        if (!drawing_.isNull()) {
            copy.addResource(QTextDocument::ImageResource, QUrl(kDrawingName), drawing_);
        }
        copy.setDefaultFont(document_->defaultFont());
        copy.setHtml(html_);
        layOutForPaper(copy, writer);
    }
    return writeWhole(path, pdf);
}

QString ReportWindow::saveHtml(const QString& path) const {
    QString html = html_;
    if (!drawing_.isNull()) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        drawing_.save(&buffer, "PNG");
        html.replace(kDrawingName, QStringLiteral("data:image/png;base64,") +
                                       QString::fromLatin1(png.toBase64()));
    }
    return writeWhole(path, html.toUtf8());
}

void ReportWindow::print() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted) {
        QTextDocument copy;
        if (!drawing_.isNull()) {
            copy.addResource(QTextDocument::ImageResource, QUrl(kDrawingName), drawing_);
        }
        copy.setHtml(html_);
        copy.print(&printer);
    }
}

void ReportWindow::askAndSave(bool pdf) {
    const QString filter = pdf ? QStringLiteral("PDF (*.pdf)") : QStringLiteral("HTML (*.html)");
    const QString suggested =
        windowTitle() + (pdf ? QStringLiteral(".pdf") : QStringLiteral(".html"));
    const QString path = QFileDialog::getSaveFileName(this, windowTitle(), suggested, filter);
    if (path.isEmpty()) {
        return;
    }
    save(path, pdf);
}

void ReportWindow::save(const QString& path, bool pdf) {
    if (const QString error = pdf ? savePdf(path) : saveHtml(path); !error.isEmpty()) {
        reporter_(this, QStringLiteral("无法写入文件“%1”：%2。原有的文件保持不变。")
                            .arg(QDir::toNativeSeparators(path), error));
    }
}
