#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

class QTextDocument;

// The preview of a calculation report, with "打印", "保存PDF" and "保存HTML". The page is the
// HTML the core wrote; the window's drawing travels beside it as an image.
class ReportWindow : public QWidget {
    Q_OBJECT
  public:
    // `html` refers to the drawing as "drawing.png".
    ReportWindow(const QString& title, const QString& html, const QImage& drawing,
                 QWidget* parent = nullptr);

    // Writes the report as an A4 PDF, or as one HTML file with the drawing inside it.
    bool savePdf(const QString& path) const;
    bool saveHtml(const QString& path) const;
    QTextDocument* document() const { return document_; }

  private:
    void print();
    void askAndSave(bool pdf);

    QString html_;
    QImage drawing_;
    QTextDocument* document_;
};
