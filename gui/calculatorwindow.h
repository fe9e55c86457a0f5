#pragma once

#include "calculators/calculator.h"
#include "calculators/savedcalculation.h"
#include "core/record.h"
#include "gui/errorreport.h"
#include "gui/formbuilder.h"
#include "report/report.h"

#include <QImage>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <string>

class ResultField;
class ResultsPanel;

// The text of a text box or an editable combo box.
QString fieldText(const QWidget* field);

// A widget as it paints itself, `scale` times finer than the screen, for a report.
QImage renderedAt(const QWidget* widget, qreal scale = 2);

// Opens a calculation saved in `path` in its calculator's window, whichever window asked.
using Opener = std::function<void(const subprogram::SavedCalculation& saved, const QString& path)>;
// Shows the window of a calculator, as its launcher button does; null when it has none.
class CalculatorWindow;
using Shower = std::function<CalculatorWindow*(const subprogram::Calculator& calculator)>;

// What every calculator window shares: a fixed client area laid out from a table, its fields as
// a Form for its calculator's calculation, and the failure model. A handler stops at the first
// CalcError, one message names it, every field keeps its text, and a field that could not be read
// gets the focus with its text selected. Result fields that a failed calculation left with an
// earlier calculation's text are greyed until the next calculation succeeds.
//
// Results belong to the inputs they were calculated from: once any input (a field, the variant)
// differs from those of the last calculation, every result is greyed and its verdicts cleared,
// 复制结果 copies the inputs under the line 结果已过期 and no result, the report says that the
// inputs changed since, and a save names every result as stale. Typing the inputs back as they
// were makes the results current again.
//
// The window's own exit button (and Esc) hides it and keeps every text; closing it with the
// frame's close control discards it, so that the launcher creates it afresh with the defaults.
// Enter in any field presses 计算; Ctrl+S saves the calculation (to its file without a question
// once it has one), Ctrl+Shift+S saves it as another file, Ctrl+O opens one, Ctrl+P shows its
// report and Ctrl+Shift+C copies inputs and results as a table.
class CalculatorWindow : public QWidget, public Form {
    Q_OBJECT
  public:
    CalculatorWindow(const subprogram::Calculator& calculator, Reporter reporter);
    ~CalculatorWindow() override;

    const subprogram::Calculator& calculator() const { return calculator_; }

    // The variant the next calculation runs: the mode, the anchor kind or the wall type as the
    // window's options show it; and the options set to one.
    virtual int variant() const = 0;
    virtual void setVariant(int variant) = 0;

    // Shows the window as a launcher button does, in `variant` when one is given; a window that
    // was shown keeps every text.
    void showIn(std::optional<int> variant);

    // True once the frame's close control discarded the window (it is deleted shortly after).
    bool discarded() const { return discarded_; }

    // The calculator's fields and results as the window's controls: a field the window has no
    // control for reads as empty, and a write to a result beyond the window goes nowhere.
    std::string text(FieldId field) const override;
    void setText(ResultId result, const std::string& text) override;
    // The value of the list item the combo box's text names exactly, else the calculator's value
    // for any other text.
    int choice(FieldId field) const override;
    bool holds(FieldId field) const override;

    // The calculator's field that a control of the window shows.
    FieldId fieldOf(std::string_view control) const;

    // The text of a control by its objectName (a field or a result); empty when there is none.
    std::string controlText(std::string_view name) const;
    void setControlText(std::string_view name, const std::string& text);

    // The report of the last calculation, failed or not, as HTML; a window's picture in it is
    // "drawing.png".
    bool hasReport() const { return hasRecord_; }
    QString reportHtml() const;
    const ReportContext& reportContext() const;
    const CalculationRecord& reportRecord() const { return lastRecord_; }
    // The text the last calculation wrote for the result of this command-line name; empty when
    // it wrote none.
    std::string writtenResult(std::string_view name) const;
    const QImage& reportDrawing() const { return lastDrawing_; }

    // "计算书": the report's preview, or a message when nothing was calculated yet.
    void showReport();

    // The calculation as it stands: variant, every field's text, the results and their marks.
    subprogram::SavedCalculation saved() const;
    // Saves to a file, whole or not at all; says which file and why when it cannot.
    bool saveTo(const QString& path);
    // Opens a file: in this window, or through the opener in the window of its calculator. A
    // file that cannot be read or is not a calculation of this program changes nothing; the
    // message names its line and key.
    void openFile(const QString& path);
    // Shows a saved calculation: variant, field texts, results and title block; nothing is
    // calculated.
    void load(const subprogram::SavedCalculation& saved);
    // Opens a calculation saved in `path`: asks first about edits it would replace (see
    // maySetAside), shows it and calculates it again from its inputs, so that the report and the
    // verdicts follow at once. A saved result that the calculation writes otherwise is named,
    // with the saved text and the new one; a failure is reported as any calculation's, the saved
    // results it did not write stay, greyed. False when the user kept the edits.
    bool openSaved(const subprogram::SavedCalculation& saved, const QString& path);
    void setOpener(Opener opener) { opener_ = std::move(opener); }
    void setShower(Shower shower) { shower_ = std::move(shower); }

    // Types `text` into the field named `name` (its command-line name) for the user, as a value
    // carried from another window: an edit of the calculation.
    void typeInput(std::string_view name, const std::string& text);

    // Whether an input differs from those the results were calculated from (see above).
    bool outdated() const { return outdated_; }

    // The calculator's title: the window's caption, without its file and modified mark.
    QString title() const { return qstring(calculator_.title); }
    // The file the calculation was last saved to or opened from; empty while it never was.
    const QString& file() const { return file_; }
    // Edits of the fields, the variant or the title block since then. A window that was never
    // saved or opened has none to lose: it is set aside at once.
    bool hasPendingEdits() const { return !file_.isEmpty() && edited_; }
    // Before pending edits would be lost: asks whether to save them to the file (true when that
    // worked), to discard them (true) or to cancel (false). True at once without them.
    bool maySetAside();
    void setAsker(Asker asker) { asker_ = std::move(asker); }

    // The report's title block, which belongs to the calculation: saved and opened with it. A new
    // window starts from the last one typed in any.
    const subprogram::TitleBlock& titleBlock() const { return titleBlock_; }
    void setTitleBlock(const subprogram::TitleBlock& block); // an edit of the calculation

    // Inputs and results as a tab-separated table (caption, text, unit) for a spreadsheet.
    QString resultsTable() const;

    // Reads a file of a saved calculation; when it cannot be read or is not one, tells the user
    // why (its line and key) through `reporter` and gives nothing.
    static std::optional<subprogram::SavedCalculation>
    readFile(const QString& path, const Reporter& reporter, QWidget* parent);

    // The folder the file dialogs start in: the last one a calculation was saved in or opened
    // from.
    static QString lastFolder();

    // The last calculation's pressure diagram as the report draws it, while the inputs are
    // unchanged; and in a window of its own (or a message when there is none).
    const std::optional<Sketch>& pressureDiagram() const { return lastDiagram_; }
    void showPressureDiagram();
    // 参数分析 (Ctrl+R): the calculation repeated over values of one input, in a window of its
    // own that starts from the texts the window holds now, and follows them while it is open.
    void showStudy();
    std::vector<std::string> studyTexts() const; // by field; a field beyond the window's default
    // Tells the user, as the window tells a failure (its reporter: a message box, or a test's).
    void report(const QString& message);
    // A value of the last calculation handed to another window, said in its report until the
    // next calculation (inline HTML).
    void noteHandedOn(std::string html);
    // A value another window typed into `field`: the reports of this window's calculations say
    // where it came from, while the field reads `value` (inline HTML).
    void noteReceived(std::string_view field, std::string value, std::string html);

  signals:
    // After every calculation that ran, failed or not: its record is reportRecord().
    void calculated();
    // After the calculation was saved to a file or opened from one (for the recent files).
    void fileUsed(const QString& path);

  protected:
    enum class Action { Report, Save, Open, Copy, Study };

    // Every calculator has the calculate button Command1 and the exit button Command2: the first
    // runs the calculation under the failure model, the second hides the window. Also the keys.
    void connectButtons();

    // Where the actions' buttons and the panel of every result at a glance (see ResultsPanel)
    // stand, at free places of the window, in twips.
    struct Place {
        int left, top, width, height;
    };
    struct FreePlaces {
        Place report, save, open, copy, study, results;
    };
    // connectButtons(), and the actions' buttons and the results panel at their places.
    void addActions(const FreePlaces& places);

    // The earth pressure's distribution with depth, for a calculator that forms one: a small
    // drawing of the last calculation's diagram at `picture` under `caption`, cleared when an
    // input changes, which a click opens large (showPressureDiagram).
    void addPressureDiagram(const Place& caption, const Place& picture);

    // Runs one event handler under the failure model.
    void run(const std::function<void()>& handler);

  public:
    // A calculation runs off the window's thread: the window waits a moment for it, and one that
    // takes longer shows its progress with 取消 (the window takes no input meanwhile) and ends
    // later. calculating() while it runs; cancelCalculation() is 取消: it ends at its next stop
    // point, and the window keeps what it showed before.
    bool calculating() const { return running_ != nullptr; }
    void cancelCalculation();
    // How long the window waits for a calculation before it shows its progress.
    static constexpr int kMomentMs = 150;

  protected:
    // The window of another calculator, shown (see Shower); null when there is none.
    CalculatorWindow* showWindowOf(const subprogram::Calculator& calculator) const {
        return shower_ ? shower_(calculator) : nullptr;
    }

    // The window's sketch or drawing as the report shows it; none by default.
    virtual QImage drawing() const { return {}; }

    // The control that chooses the variant, for the focus when a variant is refused.
    virtual QWidget* variantChooser() const { return nullptr; }

    // Results set back to texts of no calculation (the earth-pressure window's "0" of a mode).
    void clearResultMarks();

    void closeEvent(QCloseEvent* event) override;
    // Before it is first shown, the window is fitted to its screen (see fitFixedWindow).
    void setVisible(bool visible) override;

  private:
    // The time a calculation is stamped with, to the minute.
    static std::string timestamp();
    void addButton(Action action, const Place& place);
    // The title block last typed in any window: where a new calculation starts from.
    static subprogram::TitleBlock lastTitleBlock();
    // Calculates the inputs as they stand, under the failure model; `then` runs after the
    // calculation is shown (or failed), not when it is cancelled.
    void calculate(std::function<void()> then = {});
    struct Running; // a calculation off the window's thread
    void finish(Running& job);
    void noteEdit();
    void drawPressureDiagram();
    void setFile(const QString& path); // saved to or opened from: no pending edits
    // After a calculation: marks the results it did not write, shows or clears the verdicts.
    void markResults(const CalculationRecord& record);
    // The variant and the texts of every field, as a calculation reads them.
    std::vector<std::string> inputs() const;
    // The results now belong to the inputs as they stand.
    void takeInputsAsCalculated();
    // After an input changed: the results outdated or current again (see the class).
    void followInputs();
    // The fields the chosen variant takes no value from, greyed with the reason (see Variant),
    // when the variant is chosen and after a calculation; one whose text cannot be read stays
    // open to mend, as the calculation still reads it.
    void greyUnused();
    void relabel();
    std::vector<FieldId> idleNow() const; // what the inputs as they stand leave unread
    void showVerdicts(bool shown);
    void save();   // to the window's file, or as saveAs() while it has none
    void saveAs(); // to a file the user chooses
    void askAndOpen();
    QWidget* field(std::string_view name) const;
    ResultField* resultField(std::string_view name) const;

    const subprogram::Calculator& calculator_;
    Reporter reporter_;
    Opener opener_;
    Shower shower_;
    Asker asker_ = askWithBox;
    QString file_;
    bool edited_ = false;
    subprogram::TitleBlock titleBlock_;
    bool discarded_ = false;
    bool fitted_ = false;
    bool hasRecord_ = false;
    std::optional<std::vector<std::string>> calculatedInputs_; // of the results shown
    std::vector<FieldId> greyedIdle_; // what the inputs left unread when last greyed
    bool outdated_ = false;
    struct Received {
        std::string control, value, html;
    };
    std::vector<Received> received_; // by noteReceived, the last for each field
    bool judged_ = false;            // the verdicts are shown while the inputs are those calculated
    ResultsPanel* panel_ = nullptr;
    std::vector<subprogram::Judgement> verdicts_; // as the window shows them; none when not judged
    CalculationRecord lastRecord_;
    ReportContext lastContext_{};
    QImage lastDrawing_;
    class SketchPicture* diagramThumbnail_ = nullptr;
    std::optional<Sketch> lastDiagram_;
    QString lastDiagramNote_;
    QWidget* diagramView_ = nullptr;
    std::vector<ReportContext::StudyPart> studies_;    // added to the report by the study window
    std::vector<subprogram::SavedStudy> askedStudies_; // the same, as they were asked for
    struct RunningEnd {                                // where Running is whole (calculatorrun.cpp)
        void operator()(Running* running) const;
    };
    std::unique_ptr<Running, RunningEnd> running_; // a calculation that took longer than a moment
};
