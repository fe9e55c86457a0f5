#pragma once

#include "calculators/savedcalculation.h"
#include "calculators/study.h"
#include "gui/errorreport.h"
#include "report/report.h"

#include <QWidget>

#include <atomic>

#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTimer;
class QTableView;
class StudyTable;
class SketchPicture;

// A study's section of the report: its first and last StudyWindow::kReportRows rows when it is
// long, the inputs `texts` it held fixed, the least value found and the chart.
// The inputs a study of `studied` held fixed, as the report and the window list them.
std::string heldInputs(const subprogram::Calculator& calculator, FieldId studied,
                       const std::vector<std::string>& texts);
ReportContext::StudyPart studyReportPart(const subprogram::Study& study, ResultId result,
                                         const std::vector<std::string>& texts,
                                         const std::string& least, const Sketch& chart);

// 参数分析: a calculator window's calculation repeated over values of one of its inputs, the other
// inputs as the window holds them, on the engine of the command line's batches. A table of every
// result, verdict and failure, a chart of one result against the input with its check's limit,
// exports (CSV for a spreadsheet, PNG, SVG), and the study added to the window's report. For a
// calculator with checks, the least value of the input at which every check holds.
class StudyWindow : public QWidget {
    Q_OBJECT
  public:
    // `texts`: the window's texts, by field; `addToReport` takes the study for the report.
    StudyWindow(const subprogram::Calculator& calculator, int variant,
                std::vector<std::string> texts, Reporter reporter,
                std::function<void(ReportContext::StudyPart, subprogram::SavedStudy)> addToReport,
                QWidget* parent);
    ~StudyWindow() override;

    // The calculator window's texts as they stand now, for the next study; the study shown, of
    // the texts it ran on, says when they are no longer the window's.
    void setTexts(std::vector<std::string> texts);

    // What the user chooses, for the tests as for the window's own controls.
    void choose(const QString& field);
    void setRange(const QString& from, const QString& to, int count);
    void setList(const QString& values);
    // Runs the study chosen: at once when it is small, else a slice at a time with the progress
    // shown and 取消 offered (the window stays responsive).
    void start();
    void cancel();
    bool running() const { return pending_ < values_.size(); }

    const subprogram::Study* study() const { return study_.get(); }
    const Sketch& chart() const { return chart_; }
    // The least value where every check holds (see findLeast), as the window shows it.
    QString leastText() const;
    // Searches the range for the least value where every check holds, at the precision's steps
    // (or among the field's standard sizes), and shows the values about it in the table; off the
    // window's thread, with its progress, and 取消 ends it at its next value.
    void findLeast();
    bool searching() const { return search_ != nullptr; }

    // A study of more than twice this many values goes into the report as its first and its last
    // rows of this many, with its chart of them all: the report stays small whatever the study.
    static constexpr std::size_t kReportRows = 100;

    // Exports, written whole or not at all; false (and a message) when a write failed.
    bool saveCsv(const QString& path);
    bool saveChart(const QString& path); // .png or .svg
    void addToReport();

  private:
    // The study of `field` over `values`: at once when it is small, else a slice at a time.
    void run(FieldId field, std::vector<std::string> values);
    void runSlice();
    void finish();
    void finishLeast(); // what the least search found, back on the window's thread
    void drawChart();
    std::optional<ResultId> chartedResult() const;
    std::optional<FieldId> chosenField() const;
    // The inputs a study of the chosen field takes: the window's, with the calculator's study
    // setting for it where its box is checked.
    std::vector<std::string> studiedTexts() const;
    const subprogram::StudySetting* settingFor(std::optional<FieldId> field) const;

    const subprogram::Calculator& calculator_;
    int variant_;
    std::vector<std::string> texts_;
    Reporter reporter_;
    std::function<void(ReportContext::StudyPart, subprogram::SavedStudy)> addToReport_;

    QComboBox* field_;
    QCheckBox* setting_; // a study setting of the chosen field, when the calculator has one
    QRadioButton* rangeOption_;
    QLineEdit *from_, *to_, *list_, *precision_ = nullptr;
    QSpinBox* count_;
    QPushButton *run_, *cancel_;
    QProgressBar* progress_;
    QLabel* status_; // where the progress bar stands while a study runs: what was just done
    QComboBox* result_;
    QTableView* table_;
    StudyTable* rows_;
    QLineEdit* exact_; // the whole text of the cell chosen
    SketchPicture* chartPicture_;
    QLabel* least_ = nullptr;
    QPushButton* leastButton_ = nullptr;
    QTimer* searchTimer_; // the least search's progress, shown as it runs
    QLabel* ranOn_;       // the inputs the study shown was run on
    QLabel* sourceNote_;  // that the calculator window's inputs have changed since

    // The least search running off the window's thread: what it was asked, how far it is, and
    // what it found (none when it was stopped).
    struct LeastSearch {
        FieldId field{};
        long long steps = 0;
        QString from, to;
        std::function<std::string(long long)> text;
        std::atomic<bool> stop{false};
        std::atomic<long long> judged{0};
        std::optional<subprogram::LeastRuns> found;
        class QThread* thread = nullptr;
    };
    std::unique_ptr<LeastSearch> search_;

    std::unique_ptr<subprogram::Study> study_;
    std::vector<std::string> studyTexts_; // the texts study_ was run on
    std::vector<std::string> ranTexts_;   // the window's texts when it was run
    subprogram::SavedStudy asked_;        // its field and values, as they were asked for
    std::vector<std::string> values_;
    std::size_t pending_ = 0; // the next value to calculate
    Sketch chart_;
};
