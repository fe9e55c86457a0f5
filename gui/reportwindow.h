#pragma once

#include "gui/errorreport.h"

#include <QImage>
#include <QString>
#include <QWidget>

class QTextDocument;

// The preview of a calculation report, with "打印", "保存PDF" and "保存HTML". The page is the
// HTML the core wrote; the window's drawing travels beside it as an image.
class ReportWindow : public QWidget {
    Q_OBJECT
  public:
    // `html` refers to the drawing as "drawing.png". `reporter` tells the user what went wrong.
    ReportWindow(const QString& title, const QString& html, const QImage& drawing,
                 Reporter reporter, QWidget* parent = nullptr);

    // Writes the report as an A4 PDF, or as one HTML file with the drawing inside it, whole or
    // not at all: a file that was there stays as it was when the write fails. Returns why it
    // failed, or nothing.
    QString savePdf(const QString& path) const;
    QString saveHtml(const QString& path) const;
    // Saves as the buttons do, and tells the user the file and the reason when it fails.
    void save(const QString& path, bool pdf);
    QTextDocument* document() const { return document_; }

  private:
    void print();
    void askAndSave(bool pdf);

    QString html_;
    QImage drawing_;
    Reporter reporter_;
    QTextDocument* document_;
};
