#include "calculatorwindow.h"

#include "core/stop.h"
#include "gui/screenfit.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <exception>
#include <functional>
#include <string>
#include <vector>

// The calculation of the window's inputs, beside the window: its thread, its progress and 取消,
// and what it shows when it ends.

namespace {

// The inputs of a calculation as they stood when it started, for its thread: the window's own
// widgets stay on the window's. What the calculation writes, its record keeps.
class InputsForm final : public Form {
  public:
    InputsForm(const subprogram::Calculator& calculator, const Form& window) {
        for (const subprogram::Field& f : calculator.fields) {
            const FieldId id = calculator.id(f);
            texts_.push_back(window.text(id));
            choices_.push_back(window.choice(id));
            holds_.push_back(window.holds(id));
        }
    }
    std::string text(FieldId field) const override { return texts_[field.index]; }
    int choice(FieldId field) const override { return choices_[field.index]; }
    bool holds(FieldId field) const override { return holds_[field.index]; }
    void setText(ResultId, const std::string&) override {}

  private:
    std::vector<std::string> texts_;
    std::vector<int> choices_;
    std::vector<bool> holds_;
};

} // namespace

struct CalculatorWindow::Running {
    Running(const subprogram::Calculator& calculator, const CalculatorWindow& window, int variant)
        : form(calculator, window), variant(variant), inputs(window.inputs()) {}
    ~Running(); // stops the calculation and waits for its thread
    InputsForm form;
    int variant;
    std::vector<std::string> inputs; // as the window's followInputs compares them
    std::function<void()> then;
    CalculationRecord record;
    std::exception_ptr error; // the calculation's failure, thrown again on the window's thread
    std::atomic<bool> stop{false};
    bool stopped = false;
    QThread* thread = nullptr;
    QProgressDialog* progress = nullptr;
    QElapsedTimer clock;
};

CalculatorWindow::Running::~Running() {
    stop = true;
    if (thread) {
        thread->wait();
        delete thread;
    }
    delete progress;
}

void CalculatorWindow::RunningEnd::operator()(Running* running) const {
    delete running;
}

CalculatorWindow::~CalculatorWindow() = default; // a calculation running is stopped, and ends

void CalculatorWindow::calculate(std::function<void()> then) {
    if (running_) {
        return;
    }
    const int v = variant();
    if (const std::string_view refusal = calculator_.variant(v).refusal; !refusal.empty()) {
        report(qstring(refusal));
        if (QWidget* chooser = variantChooser()) {
            chooser->setFocus(Qt::OtherFocusReason);
            reveal(chooser);
        }
        return;
    }
    auto job = std::make_unique<Running>(calculator_, *this, v);
    job->then = std::move(then);
    job->thread = QThread::create([job = job.get(), &calculator = calculator_] {
        const StopWhen stop(job->stop);
        try {
            recordCalculation(job->form, job->record, [&](Form& form, Trace* trace) {
                calculator.calculate(job->variant, form, trace);
            });
        } catch (const Stopped&) {
            job->stopped = true;
        } catch (...) {
            job->error = std::current_exception();
        }
    });
    job->clock.start();
    job->thread->start();
    const auto done = [this](Running& ended) {
        run([&] { finish(ended); });
        if (ended.then) {
            ended.then();
        }
    };
    if (job->thread->wait(QDeadlineTimer(kMomentMs))) {
        done(*job);
        return;
    }
    // a long one: its progress, with 取消, and the window takes no input until it ends; no
    // verdict shows meanwhile
    running_.reset(job.release());
    showVerdicts(false);
    auto* progress =
        new QProgressDialog(QStringLiteral("正在计算……"), QStringLiteral("取消"), 0, 0, this);
    progress->setObjectName(QStringLiteral("calculationProgress"));
    progress->setWindowTitle(title());
    progress->setWindowModality(Qt::WindowModal);
    progress->setMinimumDuration(0);
    progress->setAutoClose(false);
    progress->setAutoReset(false);
    running_->progress = progress;
    connect(progress, &QProgressDialog::canceled, this, &CalculatorWindow::cancelCalculation);
    auto* ticks = new QTimer(progress);
    connect(ticks, &QTimer::timeout, progress, [this, progress] {
        if (running_ && !running_->stop) {
            progress->setLabelText(QStringLiteral("正在计算……已用 %1 秒")
                                       .arg(double(running_->clock.elapsed()) / 1000, 0, 'f', 1));
        }
    });
    ticks->start(200);
    progress->show();
    connect(running_->thread, &QThread::finished, this, [this, done] {
        const std::unique_ptr<Running, RunningEnd> ended = std::move(running_);
        ended->thread->wait();
        ended->progress->hide();
        if (ended->stopped || inputs() != ended->inputs) {
            // 取消, or another window typed into this one meanwhile: nothing of it is shown,
            // the window keeps what it showed
            showVerdicts(judged_ && !outdated_);
            if (!ended->stopped) {
                report(QStringLiteral("计算期间输入已改变，本次计算的结果未采用，请重新计算。"));
            }
            return;
        }
        done(*ended);
    });
}

void CalculatorWindow::cancelCalculation() {
    if (running_) {
        running_->stop = true;
        running_->progress->setLabelText(QStringLiteral("正在停止……"));
        running_->progress->setCancelButton(nullptr);
    }
}

// The calculation that ended, shown as if it had run on the window's own fields: what it wrote,
// its record, report and marks; its failure thrown on under the failure model.
void CalculatorWindow::finish(Running& job) {
    hasRecord_ = true;
    lastRecord_ = std::move(job.record);
    for (const auto& [result, text] : lastRecord_.writes) {
        setText(result, text);
    }
    const int v = job.variant;
    lastContext_ = ::reportContext(calculator_, v, *this, lastRecord_);
    lastContext_.timestamp = timestamp();
    lastContext_.studies = studies_;
    for (const Received& r : received_) { // what another window typed, if it still stands
        if (controlText(r.control) == r.value) {
            lastContext_.handOvers.push_back(r.html);
        }
    }
    lastDrawing_ = calculator_.sketch ? QImage() : drawing();
    lastContext_.imageWidth =
        static_cast<int>(lastDrawing_.width() / lastDrawing_.devicePixelRatio());
    lastContext_.imageHeight =
        static_cast<int>(lastDrawing_.height() / lastDrawing_.devicePixelRatio());
    takeInputsAsCalculated();
    greyUnused(); // a field that failed is open to mend, whatever the variant
    markResults(lastRecord_);
    emit calculated();
    if (job.error) {
        std::rethrow_exception(job.error);
    }
}
