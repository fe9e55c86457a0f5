#pragma once

#include <QLineEdit>

// A result field: an ordinary text box (the user may type into it, as into every field) that
// shows its whole text in a tooltip, never lets an exponent fall out of sight in a narrow box,
// and is greyed while its text does not belong to the inputs: one of an earlier calculation than
// the one that last failed, or any result once an input changed after its calculation.
class ResultField : public QLineEdit {
    Q_OBJECT
  public:
    explicit ResultField(QWidget* parent);

    // What the box shows while it is not being edited: the text, or, when it is too wide, its
    // leading digits cut short before the exponent ("7.869…E-05"), or at the end ("0.06428…").
    QString shownText() const;

    // Written by a calculation (not the default text, nor one the user typed).
    bool calculated() const { return calculated_; }
    void setCalculated(bool calculated);
    // Stale: left by an earlier calculation than the one that last failed (setStale), or
    // outdated by an input changed since the calculation (setOutdated).
    bool stale() const { return stale_ || outdated_; }
    void setStale(bool stale);
    void setOutdated(bool outdated);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void updateLook();

    bool calculated_ = false;
    bool stale_ = false;
    bool outdated_ = false;
};
