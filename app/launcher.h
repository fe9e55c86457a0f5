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

  signals:
    // The exit button, or the frame's close control: the program ends at once.
    void exitRequested();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    Reporter reporter_;
    WindowSlot<EarthPressureWindow> earthPressure_{
        [this] { return new EarthPressureWindow(reporter_); }};
    WindowSlot<AnchorBarWindow> anchorBar_{[this] { return new AnchorBarWindow(reporter_); }};
    WindowSlot<GravityWallWindow> gravityWall_{[this] { return new GravityWallWindow(reporter_); }};
    WindowSlot<BeamWindow> beam_{
        [this] { return new BeamWindow(reporter_); }}; // its button is hidden
};
