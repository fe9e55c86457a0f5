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

    // Opens a calculation saved in `path` in the window of its calculator (see
    // CalculatorWindow::openSaved), creating the window if need be; a calculator with no window
    // is reported, and nothing opens (null, as when the user kept the window's edits).
    CalculatorWindow* open(const subprogram::SavedCalculation& saved, const QString& path);
    // Opens a file of a saved calculation as the windows' 打开 does; a file that cannot be read
    // is reported, and nothing opens.
    void openFile(const QString& path);
    // Opens each of several files so (slope-support FILE…, a later start's hand-over); the files
    // that cannot be read are reported together, in one message.
    void openFiles(const QStringList& paths);

    // The files last saved or opened, the latest first (at most kRecentFiles), as kept in the
    // settings; 最近打开 offers them.
    static constexpr int kRecentFiles = 10;
    static QStringList recentFiles();
    // Opens one of them; one that is gone is removed from the list, with a message.
    void openRecent(const QString& path);

    // How every window asks before edits not yet saved to its file would be lost.
    void setAsker(Asker asker);
    // Before the program ends: each window holding such edits asks (保存/不保存/取消); false
    // when the user cancelled in one, and nothing ends.
    bool mayExit();

  signals:
    // The exit button, or the frame's close control, once no window's edits stand in the way.
    void exitRequested();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // The window of a kind, created if need be, shown in `variant` when one is given.
    CalculatorWindow* showKind(const windows::Kind& kind, std::optional<int> variant);

    static void remember(const QString& path);
    void showRecentMenu();
    void fillRecentMenu();

    Reporter reporter_;
    class QMenu* recentMenu_ = nullptr;
    Asker asker_ = askWithBox;
    std::map<const subprogram::Calculator*, std::unique_ptr<WindowSlot<CalculatorWindow>>> slots_;
};
