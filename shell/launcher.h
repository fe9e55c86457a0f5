#pragma once

#include "shell/errorreport.h"

#include <QFont>
#include <QWidget>

// The face of every caption and field: a Song face where one is installed, else a CJK sans face.
QFont applicationFont();

// The start window "slope": two rows of buttons that open the calculators, and the exit button.
// It holds one slot per calculator window and nothing else.
class Launcher : public QWidget {
    Q_OBJECT
  public:
    explicit Launcher(Reporter reporter = showMessageBox);
    ~Launcher() override;

  signals:
    // The exit button, or the frame's close control: the program ends at once.
    void exitRequested();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    Reporter reporter_;
};
