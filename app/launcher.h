#pragma once

#include "gui/errorreport.h"
#include "gui/windowslot.h"
#include "windows/registry.h"

#include <QWidget>

#include <map>
#include <memory>

// The start window "slope": two rows of buttons that open the calculators, and the exit button.
// It holds one slot per calculator window and nothing else; which button shows which window,
// in which variant, the window registry says.
class Launcher : public QWidget {
    Q_OBJECT
  public:
    explicit Launcher(Reporter reporter = showMessageBox);
    ~Launcher() override;

    // The window of a calculator, created on first use (null until then).
    CalculatorWindow* window(const subprogram::Calculator& calculator) const;

    // Shows a saved calculation in the window of its calculator, creating the window if need be;
    // a calculator with no window is reported, and nothing opens.
    CalculatorWindow* open(const subprogram::SavedCalculation& saved);
    // Opens a file of a saved calculation as the windows' 打开 does; a file that cannot be read
    // is reported, and nothing opens.
    void openFile(const QString& path);

  signals:
    // The exit button, or the frame's close control: the program ends at once.
    void exitRequested();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // The window of a kind, created if need be, shown in `variant` when one is given.
    CalculatorWindow* showKind(const windows::Kind& kind, std::optional<int> variant);

    Reporter reporter_;
    std::map<const subprogram::Calculator*, std::unique_ptr<WindowSlot<CalculatorWindow>>> slots_;
};
