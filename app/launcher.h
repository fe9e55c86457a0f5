#pragma once

#include "gui/errorreport.h"
#include "gui/windowslot.h"
#include "windows/anchorbarwindow.h"
#include "windows/beamwindow.h"
#include "windows/earthpressurewindow.h"
#include "windows/gravitywallwindow.h"

#include <QWidget>

// The start window "slope": two rows of buttons that open the calculators, and the exit button.
// It holds one slot per calculator window and nothing else.
class Launcher : public QWidget {
    Q_OBJECT
  public:
    explicit Launcher(Reporter reporter = showMessageBox);
    ~Launcher() override;

    // The calculator windows, each created on first use (null until then).
    EarthPressureWindow* earthPressureWindow() const { return earthPressure_.existing(); }
    AnchorBarWindow* anchorBarWindow() const { return anchorBar_.existing(); }
    GravityWallWindow* gravityWallWindow() const { return gravityWall_.existing(); }
    BeamWindow* beamWindow() const { return beam_.existing(); }

    // Shows a saved calculation in the window of its calculator, creating the window if need be.
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
    // A new window, which opens the files of other calculators through the launcher.
    template <typename Window> Window* created() {
        auto* window = new Window(reporter_);
        window->setOpener([this](const subprogram::SavedCalculation& saved) { open(saved); });
        return window;
    }

    Reporter reporter_;
    WindowSlot<EarthPressureWindow> earthPressure_{
        [this] { return created<EarthPressureWindow>(); }};
    WindowSlot<AnchorBarWindow> anchorBar_{[this] { return created<AnchorBarWindow>(); }};
    WindowSlot<GravityWallWindow> gravityWall_{[this] { return created<GravityWallWindow>(); }};
    WindowSlot<BeamWindow> beam_{[this] { return created<BeamWindow>(); }}; // its button is hidden
};
