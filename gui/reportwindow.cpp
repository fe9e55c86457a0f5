#include "reportwindow.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QMessageBox>
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
                           QWidget* parent)
    : QWidget(parent, Qt::Window), html_(html), drawing_(drawing) {
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

bool ReportWindow::savePdf(const QString& path) const {
    QPdfWriter writer(path);
    writer.setTitle(windowTitle());
    writer.setCreator(QStringLiteral("边坡支护计算程序"));
    QTextDocument copy; // printing lays the document out for the page; the preview keeps its own
    if (!drawing_.isNull()) {
        copy.addResource(QTextDocument::ImageResource, QUrl(kDrawingName), drawing_);
    }
    copy.setDefaultFont(document_->defaultFont());
    copy.setHtml(html_);
    layOutForPaper(copy, writer);
    return QFile(path).size() > 0;
}

bool ReportWindow::saveHtml(const QString& path) const {
    QString html = html_;
    if (!drawing_.isNull()) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        drawing_.save(&buffer, "PNG");
        html.replace(kDrawingName, QStringLiteral("data:image/png;base64,") +
                                       QString::fromLatin1(png.toBase64()));
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    return file.write(html.toUtf8()) >= 0;
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
    if (!(pdf ? savePdf(path) : saveHtml(path))) {
        QMessageBox::warning(
            this, windowTitle(),
            QStringLiteral("无法写入文件“%1”。").arg(QDir::toNativeSeparators(path)));
    }
}
