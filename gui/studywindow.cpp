#include "studywindow.h"

#include "core/stop.h"
#include "gui/screenfit.h"
#include "gui/sketchpicture.h"
#include "gui/studytable.h"
#include "report/studychart.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSpinBox>
#include <QTableView>
#include <QThread>
#include <QTimer>

#include <cmath>

using subprogram::Calculator;
using subprogram::Field;
using subprogram::Outcome;
using subprogram::Study;

namespace {

// A study of more values than this runs a slice at a time, with its progress shown.
constexpr std::size_t kSlice = 500;

QString q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

StudyWindow::StudyWindow(
    const Calculator& calculator, int variant, std::vector<std::string> texts, Reporter reporter,
    std::function<void(ReportContext::StudyPart, subprogram::SavedStudy)> addToReport,
    QWidget* parent)
    : QWidget(parent, Qt::Window), calculator_(calculator), variant_(variant),
      texts_(std::move(texts)), reporter_(std::move(reporter)),
      addToReport_(std::move(addToReport)) {
    setObjectName(QStringLiteral("StudyWindow"));
    setWindowTitle(q(calculator.title) + QStringLiteral(" 参数分析"));
    auto* grid = new QGridLayout(this);
    const auto named = [](QWidget* w, const char* name) {
        w->setObjectName(QString::fromLatin1(name));
        return w;
    };
    field_ = new QComboBox(this);
    named(field_, "fieldChoice");
    for (const Field& f : calculator.fields) {
        if (!f.control.empty()) {
            field_->addItem(QString::fromStdString(fieldCaption(f)), calculator.id(f).index);
        }
    }
    rangeOption_ = new QRadioButton(QStringLiteral("范围：从"), this);
    named(rangeOption_, "rangeOption");
    rangeOption_->setChecked(true);
    from_ = new QLineEdit(this);
    to_ = new QLineEdit(this);
    count_ = new QSpinBox(this);
    count_->setRange(2, 1000000);
    count_->setValue(11);
    auto* listOption = new QRadioButton(QStringLiteral("列表（以 ; 分隔）"), this);
    named(listOption, "listOption");
    list_ = new QLineEdit(this);
    named(from_, "fromEdit"), named(to_, "toEdit"), named(count_, "countEdit"),
        named(list_, "listEdit");
    run_ = new QPushButton(QStringLiteral("计算 (Ctrl+R)"), this);
    cancel_ = new QPushButton(QStringLiteral("取消"), this);
    cancel_->setEnabled(false);
    progress_ = new QProgressBar(this);
    progress_->hide();
    status_ = new QLabel(this);
    named(status_, "statusLabel");
    searchTimer_ = new QTimer(this);
    searchTimer_->setInterval(100);
    connect(searchTimer_, &QTimer::timeout, this, [this] {
        if (search_) {
            const long long judged = search_->judged.load();
            progress_->setValue(
                static_cast<int>(std::min<long long>(judged, progress_->maximum())));
            progress_->setFormat(QStringLiteral("已验算 %1 个值").arg(judged));
        }
    });
    named(run_, "runButton"), named(cancel_, "cancelButton"), named(progress_, "progress");
    result_ = new QComboBox(this);
    named(result_, "resultChoice");
    for (const subprogram::Result& r : calculator.results) {
        if (calculator.writes(calculator.variant(variant), calculator.id(r)) && !r.name.empty() &&
            !r.hidden && (!r.control.empty() || r.reported)) {
            result_->addItem(QString::fromStdString(resultCaption(r)), calculator.id(r).index);
        }
    }
    // first the result a check judges, where there is one
    for (const subprogram::Verdict& v : calculator.verdicts) {
        if (const int at = result_->findData(v.result.index); at >= 0) {
            result_->setCurrentIndex(at);
            break;
        }
    }
    auto* csv = new QPushButton(QStringLiteral("导出 CSV"), this);
    auto* png = new QPushButton(QStringLiteral("导出 PNG"), this);
    auto* svg = new QPushButton(QStringLiteral("导出 SVG"), this);
    auto* report = new QPushButton(QStringLiteral("加入计算书"), this);
    named(csv, "csvButton"), named(png, "pngButton"), named(svg, "svgButton"),
        named(report, "addToReportButton");
    table_ = new QTableView(this);
    named(table_, "studyTable");
    rows_ = new StudyTable(this);
    table_->setModel(rows_);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setWordWrap(false);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    exact_ = new QLineEdit(this);
    named(exact_, "exactCell");
    exact_->setReadOnly(true);
    exact_->setPlaceholderText(QStringLiteral("选中一格，在此显示其完整数值"));
    connect(table_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                exact_->setText(rows_->exact(current));
                exact_->setCursorPosition(0);
            });
    chartPicture_ = new SketchPicture(this);
    named(chartPicture_, "chart");
    chartPicture_->setMinimumSize(360, 220);

    int r = 0;
    grid->addWidget(new QLabel(QStringLiteral("参数"), this), r, 0);
    grid->addWidget(field_, r, 1, 1, 5);
    ++r;
    grid->addWidget(rangeOption_, r, 0);
    grid->addWidget(from_, r, 1);
    grid->addWidget(new QLabel(QStringLiteral("到"), this), r, 2);
    grid->addWidget(to_, r, 3);
    grid->addWidget(new QLabel(QStringLiteral("个数"), this), r, 4);
    grid->addWidget(count_, r, 5);
    ++r;
    grid->addWidget(listOption, r, 0);
    grid->addWidget(list_, r, 1, 1, 5);
    ++r;
    setting_ = new QCheckBox(this);
    named(setting_, "studySetting");
    grid->addWidget(setting_, r, 0, 1, 6);
    ++r;
    grid->addWidget(run_, r, 0);
    grid->addWidget(cancel_, r, 1);
    grid->addWidget(progress_, r, 2, 1, 3);
    grid->addWidget(status_, r, 2, 1, 3);
    grid->addWidget(report, r, 5);
    ++r;
    grid->addWidget(new QLabel(QStringLiteral("图示结果"), this), r, 0);
    grid->addWidget(result_, r, 1, 1, 2);
    grid->addWidget(csv, r, 3);
    grid->addWidget(png, r, 4);
    grid->addWidget(svg, r, 5);
    ++r;
    if (!calculator.verdicts.empty()) {
        grid->addWidget(new QLabel(QStringLiteral("精度"), this), r, 0);
        precision_ = new QLineEdit(QStringLiteral("0.001"), this);
        named(precision_, "precisionEdit");
        grid->addWidget(precision_, r, 1);
        leastButton_ = new QPushButton(QStringLiteral("找满足全部验算的最小值"), this);
        named(leastButton_, "leastButton");
        grid->addWidget(leastButton_, r, 2, 1, 2);
        connect(leastButton_, &QPushButton::clicked, this, &StudyWindow::findLeast);
        least_ = new QLabel(this);
        named(least_, "leastLabel");
        least_->setWordWrap(true);
        grid->addWidget(least_, r + 1, 0, 1, 6);
        r += 2;
    }
    ranOn_ = new QLabel(this);
    named(ranOn_, "ranOnLabel");
    ranOn_->setWordWrap(true);
    ranOn_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(ranOn_, r, 0, 1, 6);
    ++r;
    sourceNote_ =
        new QLabel(QStringLiteral("计算窗口的输入在本次分析后已改变：表中结果按上列输入算出；"
                                  "再按“计算”将按计算窗口现在的输入分析。"),
                   this);
    named(sourceNote_, "sourceChangedNote");
    sourceNote_->setWordWrap(true);
    sourceNote_->setStyleSheet(QStringLiteral("color: #b00000;"));
    sourceNote_->hide();
    grid->addWidget(sourceNote_, r, 0, 1, 6);
    ++r;
    grid->addWidget(table_, r, 0, 1, 3);
    grid->addWidget(chartPicture_, r, 3, 2, 3);
    grid->setRowStretch(r, 1);
    grid->addWidget(exact_, r + 1, 0, 1, 3);

    const auto fill = [this] { // the field's text now, and a range around it
        const std::optional<FieldId> f = chosenField();
        if (!f) {
            return;
        }
        const QString text = QString::fromStdString(texts_[f->index]);
        double value = 0;
        ErrorKind error{};
        const std::span<const double> sizes = calculator_[*f].standardSizes;
        const bool bar = !sizes.empty();
        if (::readDouble(text.toStdString(), value, error) && value != 0) {
            from_->setText(QString::fromStdString(doubleToText(bar ? sizes.front() : value / 2)));
            to_->setText(QString::fromStdString(doubleToText(bar ? sizes.back() : value * 3 / 2)));
        } else {
            from_->setText(text);
            to_->setText(text);
        }
        list_->setText(text);
        const subprogram::StudySetting* setting = settingFor(f);
        setting_->setVisible(setting != nullptr);
        setting_->setChecked(setting != nullptr);
        setting_->setText(setting ? q(setting->caption) : QString());
        if (precision_) {
            precision_->setText(bar ? QStringLiteral("标准规格") : QStringLiteral("0.001"));
            precision_->setEnabled(!bar);
        }
    };
    connect(field_, &QComboBox::currentIndexChanged, this, fill);
    fill();
    connect(run_, &QPushButton::clicked, this, &StudyWindow::start);
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_R), this), &QShortcut::activated, this,
            &StudyWindow::start);
    connect(cancel_, &QPushButton::clicked, this, &StudyWindow::cancel);
    connect(result_, &QComboBox::currentIndexChanged, this, &StudyWindow::drawChart);
    connect(chartPicture_, &SketchPicture::clicked, this, &StudyWindow::drawChart);
    const auto ask = [this](const char* title, const char* filter, auto save) {
        return [this, title, filter, save] {
            const QString path =
                askFilePath(this, true, QString::fromUtf8(title), {}, QString::fromUtf8(filter));
            if (!path.isEmpty()) {
                (this->*save)(path);
            }
        };
    };
    connect(csv, &QPushButton::clicked, this,
            ask("导出 CSV", "CSV (*.csv)", &StudyWindow::saveCsv));
    connect(png, &QPushButton::clicked, this,
            ask("导出图表", "PNG 图片 (*.png)", &StudyWindow::saveChart));
    connect(svg, &QPushButton::clicked, this,
            ask("导出图表", "SVG 图形 (*.svg)", &StudyWindow::saveChart));
    connect(report, &QPushButton::clicked, this, &StudyWindow::addToReport);
    fitResizableWindow(this, QSize(900, 640));
}

StudyWindow::~StudyWindow() {
    if (search_) { // closed while a least search runs: it stops at its next value
        search_->stop = true;
        search_->thread->wait();
        delete search_->thread;
    }
}

void StudyWindow::setTexts(std::vector<std::string> texts) {
    texts_ = std::move(texts);
    sourceNote_->setVisible(study_ && texts_ != ranTexts_);
}

std::optional<FieldId> StudyWindow::chosenField() const {
    if (field_->currentIndex() < 0) {
        return std::nullopt;
    }
    return FieldId{static_cast<std::uint16_t>(field_->currentData().toInt())};
}

std::optional<ResultId> StudyWindow::chartedResult() const {
    if (result_->currentIndex() < 0) {
        return std::nullopt;
    }
    return ResultId{static_cast<std::uint16_t>(result_->currentData().toInt())};
}

void StudyWindow::choose(const QString& field) {
    for (int i = 0; i < field_->count(); ++i) {
        if (q(calculator_.fields[static_cast<std::size_t>(field_->itemData(i).toInt())].name) ==
            field) {
            field_->setCurrentIndex(i);
        }
    }
}

void StudyWindow::setRange(const QString& from, const QString& to, int count) {
    rangeOption_->setChecked(true);
    from_->setText(from);
    to_->setText(to);
    count_->setValue(count);
}

void StudyWindow::setList(const QString& values) {
    findChild<QRadioButton*>(QStringLiteral("listOption"))->setChecked(true);
    list_->setText(values);
}

void StudyWindow::start() {
    const std::optional<FieldId> f = chosenField();
    if (!f || running() || search_) {
        return;
    }
    std::vector<std::string> values;
    if (rangeOption_->isChecked()) {
        double a = 0, b = 0;
        ErrorKind error{};
        if (!::readDouble(from_->text().toStdString(), a, error) ||
            !::readDouble(to_->text().toStdString(), b, error)) {
            reporter_(this, QStringLiteral("范围的两端须为数值。"));
            return;
        }
        auto range = subprogram::studyRange(from_->text().toStdString(), to_->text().toStdString(),
                                            count_->value());
        if (!range) {
            reporter_(this, QStringLiteral("范围 %1 至 %2 的步长超出数值的表示范围：请缩小范围。")
                                .arg(from_->text(), to_->text()));
            return;
        }
        values = std::move(*range);
    } else {
        for (const QString& v : list_->text().split(QLatin1Char(';'))) {
            values.push_back(v.trimmed().toStdString());
        }
    }
    if (least_) {
        least_->clear(); // it spoke of another study
    }
    subprogram::SavedStudy asked{.field = std::string(calculator_[*f].name)};
    if (rangeOption_->isChecked()) {
        asked.from = from_->text().toStdString();
        asked.to = to_->text().toStdString();
        asked.count = count_->value();
    } else {
        asked.values = values;
    }
    run(*f, std::move(values));
    asked_ = std::move(asked);
}

void StudyWindow::run(FieldId field, std::vector<std::string> values) {
    rows_->show(nullptr); // the table shows the study once it is done
    exact_->clear();
    studyTexts_ = studiedTexts();
    ranTexts_ = texts_;
    study_ = std::make_unique<Study>(calculator_, variant_, studyTexts_, field);
    ranOn_->setText(QStringLiteral("分析所用的其他输入：") +
                    QString::fromStdString(heldInputs(calculator_, field, studyTexts_)));
    sourceNote_->hide();
    status_->clear(); // it spoke of the study before
    values_ = std::move(values);
    pending_ = 0;
    if (values_.size() <= kSlice) {
        runSlice();
        return;
    }
    progress_->setRange(0, static_cast<int>(values_.size()));
    progress_->setValue(0);
    status_->hide();
    progress_->show();
    cancel_->setEnabled(true);
    run_->setEnabled(false);
    QTimer::singleShot(0, this, &StudyWindow::runSlice);
}

void StudyWindow::runSlice() {
    const std::size_t end = std::min(values_.size(), pending_ + kSlice);
    for (; pending_ < end; ++pending_) {
        study_->add(values_[pending_]);
    }
    progress_->setValue(static_cast<int>(pending_));
    if (running()) {
        QTimer::singleShot(0, this, &StudyWindow::runSlice);
    } else {
        finish();
    }
}

void StudyWindow::cancel() {
    if (search_) { // the least search ends at its next value
        search_->stop = true;
        return;
    }
    values_.resize(pending_); // what is calculated stays
    finish();
}

void StudyWindow::finish() {
    progress_->hide();
    status_->show();
    cancel_->setEnabled(false);
    run_->setEnabled(true);
    rows_->show(study_.get());
    exact_->clear();
    table_->resizeColumnsToContents();
    drawChart();
}

void StudyWindow::drawChart() {
    const std::optional<ResultId> result = chartedResult();
    chart_ = study_ && result ? studyChart(*study_, *result) : Sketch{};
    chartPicture_->setSketch(chart_);
}

void StudyWindow::findLeast() {
    const std::optional<FieldId> f = chosenField();
    if (!f || !least_ || running() || search_) {
        return;
    }
    const std::span<const double> sizes = calculator_[*f].standardSizes;
    const bool bar = !sizes.empty();
    double a = 0, b = 0, step = 0;
    ErrorKind error{};
    if (!::readDouble(from_->text().toStdString(), a, error) ||
        !::readDouble(to_->text().toStdString(), b, error) || !(a < b) ||
        (!bar && (!::readDouble(precision_->text().toStdString(), step, error) || !(step > 0) ||
                  (b - a) / step > 1e9))) {
        reporter_(this, QStringLiteral("请填写范围（从 < 到）与大于 0 的精度。"));
        return;
    }
    // the values: the range's steps, or the bar diameters within it
    std::vector<std::string> values;
    if (bar) {
        for (const double d : sizes) {
            if (d >= a && d <= b) {
                values.push_back(doubleToText(d));
            }
        }
    }
    const long long steps = bar ? static_cast<long long>(values.size()) - 1
                                : static_cast<long long>(std::floor((b - a) / step + 1e-9));
    // the search runs off the window's thread, the progress shown and 取消 offered: each value
    // may be a critical-circle search of its own
    search_ = std::make_unique<LeastSearch>();
    LeastSearch* const search = search_.get();
    search->field = *f;
    search->steps = steps;
    search->from = from_->text();
    search->to = to_->text();
    search->text = [values, a, step, bar](long long k) {
        return bar ? values[static_cast<std::size_t>(k)]
                   : doubleToText(a + step * static_cast<double>(k));
    };
    search->thread = QThread::create([search, texts = studiedTexts(), variant = variant_,
                                      &calculator = calculator_] {
        const StopWhen stop(search->stop); // 取消 ends the value being judged too
        try {
            search->found = search->steps < 0
                                ? subprogram::LeastRuns{}
                                : subprogram::leastRuns(calculator, variant, texts, search->field,
                                                        search->steps, [search](long long k) {
                                                            stopPoint();
                                                            ++search->judged;
                                                            return search->text(k);
                                                        });
        } catch (const Stopped&) {
        }
    });
    connect(search->thread, &QThread::finished, this, &StudyWindow::finishLeast);
    least_->setText(QStringLiteral("正在查找满足全部验算的最小值……"));
    // the values judged first, spread over the range; the turns between them are few more
    progress_->setRange(0, static_cast<int>(std::min(steps, subprogram::kJudgedParts) + 1));
    progress_->setValue(0);
    progress_->setFormat(QStringLiteral("已验算 0 个值"));
    status_->hide();
    progress_->show();
    cancel_->setEnabled(true);
    run_->setEnabled(false);
    leastButton_->setEnabled(false);
    searchTimer_->start();
    search->thread->start();
}

void StudyWindow::finishLeast() {
    if (!search_) {
        return;
    }
    const std::unique_ptr<LeastSearch> search = std::move(search_);
    search->thread->wait();
    delete search->thread;
    searchTimer_->stop();
    progress_->hide();
    progress_->setFormat(QStringLiteral("%p%"));
    status_->show();
    cancel_->setEnabled(false);
    run_->setEnabled(true);
    leastButton_->setEnabled(true);
    if (!search->found) {
        least_->setText(
            QStringLiteral("已取消：验算了 %1 个值，未找到最小值。").arg(search->judged.load()));
        return;
    }
    const subprogram::LeastRuns& found = *search->found;
    const long long steps = search->steps;
    const auto& text = search->text;
    const std::optional<FieldId> f = search->field;
    const std::vector<subprogram::PassingRun>& runs = found.runs;
    const QString name = q(calculator_[*f].name);
    // the values skipped: no section to check, or a calculation that failed
    const QString skipped =
        found.skipped == 0
            ? QString()
            : QStringLiteral(
                  "（验算的 %1 个值中有 %2 个无法计算或截面不能构成，已跳过；第一个：%3）")
                  .arg(found.judged)
                  .arg(found.skipped)
                  .arg(QString::fromStdString(found.firstSkip));
    if (runs.empty()) {
        // the table at values spread over the range, and the checks none of them meets
        std::vector<std::string> spread;
        for (long long j = 0, parts = std::min(steps, 10LL); steps >= 0 && j <= parts; ++j) {
            spread.push_back(text(parts == 0 ? 0 : steps * j / parts));
        }
        asked_ = {.field = std::string(calculator_[*f].name), .values = spread};
        run(*f, std::move(spread));
        QStringList never;
        for (const subprogram::NeverMet& n : subprogram::checksNeverMet(*study_)) {
            const subprogram::Verdict& v = calculator_.verdicts[n.verdict];
            const auto number = [](double x) { return QString::fromStdString(roundedText(x, 4)); };
            never << q(v.what) + (!std::isfinite(n.low) ? QString()
                                  : n.low == n.high
                                      ? QStringLiteral("（%1 = %2，与 %3 无关）")
                                            .arg(q(v.symbol), number(n.low), name)
                                      : QStringLiteral("（%1 从 %2 到 %3）")
                                            .arg(q(v.symbol), number(n.low), number(n.high)));
        }
        least_->setText(QStringLiteral("在 %1 = %2 到 %3 的范围内没有满足全部验算的值。")
                            .arg(name, search->from, search->to) +
                        (never.isEmpty()
                             ? QString()
                             : QStringLiteral("始终不满足：") + never.join(QStringLiteral("；")) +
                                   QStringLiteral("。")) +
                        (steps > subprogram::kJudgedParts
                             ? QStringLiteral("（范围内 %1 个值中只验算了均匀分布的 %2 "
                                              "个：两者之间的满足区间可能漏掉，请缩小范围。）")
                                   .arg(steps + 1)
                                   .arg(subprogram::kJudgedParts + 1)
                             : QString()) +
                        skipped);
        return;
    }
    QStringList intervals;
    for (const subprogram::PassingRun& run : runs) {
        intervals << QStringLiteral("[%1, %2]")
                         .arg(QString::fromStdString(text(run.first)),
                              QString::fromStdString(text(run.last)));
    }
    // the table shows the values about the least one, so that both speak of the same values
    constexpr long long kAround = 5;
    const long long first = runs.front().first;
    std::vector<std::string> around;
    for (long long k = std::max(0LL, first - kAround); k <= std::min(steps, first + kAround); ++k) {
        around.push_back(text(k));
    }
    asked_ = {.field = std::string(calculator_[*f].name), .values = around};
    run(*f, std::move(around));
    least_->setText(
        QStringLiteral("满足全部验算的最小值：%1 = %2。满足全部验算的区间：%3。"
                       "表中为最小值前后的 %4 个值。")
            .arg(name, QString::fromStdString(text(first)), intervals.join(QStringLiteral("、")))
            .arg(std::min(steps, first + kAround) - std::max(0LL, first - kAround) + 1) +
        skipped);
}

const subprogram::StudySetting* StudyWindow::settingFor(std::optional<FieldId> field) const {
    for (const subprogram::StudySetting& s : calculator_.studySettings) {
        if (field && calculator_[*field].name == s.studied) {
            return &s;
        }
    }
    return nullptr;
}

std::vector<std::string> StudyWindow::studiedTexts() const {
    std::vector<std::string> texts = texts_;
    const subprogram::StudySetting* setting = settingFor(chosenField());
    if (setting && setting_->isChecked()) {
        if (const subprogram::Field* f = calculator_.field(setting->field)) {
            texts[calculator_.id(*f).index] = std::string(setting->text);
        }
    }
    return texts;
}

QString StudyWindow::leastText() const {
    return least_ ? least_->text() : QString();
}
