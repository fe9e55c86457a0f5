#pragma once

#include "gui/calculatorwindow.h"
#include "gui/sketchpicture.h"

#include <QImage>

// The picture box of the wall window: shows a drawing from its top-left corner, scaled down to
// fit the box when the drawing is finer than the screen, so that it stays sharp at any DPI.
class WallPicture : public QWidget {
    Q_OBJECT
  public:
    using QWidget::QWidget;
    void setImage(const QImage& image);
    const QImage& image() const { return image_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage image_;
};

// "form1": the gravity retaining wall check. Reads all 24 fields, then writes Ka and Ea, the
// wall's weight and centroid, the two safety factors and the base stresses, in that order; a
// failure inside a routine leaves the results written before it.
class GravityWallWindow : public CalculatorWindow {
    Q_OBJECT
  public:
    // `pictureFolder` holds "11.bmp" and "22.bmp", the drawings the wall-type options load.
    explicit GravityWallWindow(Reporter reporter, QString pictureFolder = defaultPictureFolder());

    // The folder beside the executable (the build tree), or the installed copy under share/.
    static QString defaultPictureFolder();

    int variant() const override;
    void setVariant(int type) override;

    // 截面图: the cross-section the fields describe, as the report draws it, with the forces of
    // the last calculation until a field changes; empty, with the reason, when the fields
    // describe no wall.
    const Sketch& section() const { return section_; }
    const QString& sectionReason() const { return sectionReason_; }
    // The section drawn large in a window of its own, or the reason it cannot be drawn.
    void showSection();

  protected:
    QWidget* variantChooser() const override;

  private:
    void loadPicture(const QString& fileName);
    void drawSection(const CalculationRecord& record);

    QString pictureFolder_;
    WallPicture* picture_;
    SketchPicture* thumbnail_;
    Sketch section_;
    QString sectionReason_;
    QWidget* sectionView_ = nullptr;
};
