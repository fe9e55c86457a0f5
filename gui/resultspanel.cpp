#include "resultspanel.h"

#include "gui/formbuilder.h"
#include "gui/studytable.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>

using subprogram::Judgement;
using subprogram::Outcome;
using subprogram::Verdict;

namespace {

enum Column { Name, Value, Unit, Check };

QString verdictColour(Outcome outcome) {
    switch (outcome) {
    case Outcome::Met:
        return QStringLiteral("color: #1a7f1a;");
    case Outcome::NotMet:
        return QStringLiteral("color: #c00000;");
    case Outcome::NotChecked:
    case Outcome::Absent:
        break;
    }
    return QStringLiteral("color: gray;");
}

} // namespace

ResultsPanel::ResultsPanel(const subprogram::Calculator& calculator, QWidget* parent)
    : QWidget(parent), calculator_(calculator), table_(new QTableWidget(this)),
      exact_(new QLineEdit(this)) {
    setObjectName(QStringLiteral("resultsPanel"));
    table_->setObjectName(QStringLiteral("resultsTable"));
    const bool checks = !calculator.verdicts.empty();
    table_->setColumnCount(checks ? 4 : 3);
    QStringList headers{QStringLiteral("结果"), QStringLiteral("数值"), QStringLiteral("单位")};
    if (checks) {
        headers << QStringLiteral("验算");
    }
    table_->setHorizontalHeaderLabels(headers);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setWordWrap(false);
    QHeaderView* header = table_->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setStretchLastSection(checks); // the verdicts, else the names take what is left
    if (!checks) {
        header->setSectionResizeMode(Name, QHeaderView::Stretch);
    }
    header->setHighlightSections(false);
    exact_->setObjectName(QStringLiteral("exactResult"));
    exact_->setReadOnly(true);
    exact_->setPlaceholderText(QStringLiteral("选中一行，在此显示其完整数值"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(table_, 1);
    layout->addWidget(exact_);
    connect(table_, &QTableWidget::itemSelectionChanged, this, &ResultsPanel::showExact);
}

void ResultsPanel::show(const std::vector<Row>& rows, std::span<const Judgement> verdicts) {
    rows_ = rows;
    // the verdicts shown so far go with the rows (later); by name, only the new ones are found
    for (QLabel* old : table_->findChildren<QLabel*>()) {
        old->setObjectName(QString());
    }
    table_->clearContents();
    table_->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const subprogram::Result& r = calculator_[rows[i].result];
        const int row = static_cast<int>(i);
        const auto cell = [&](Column column, const QString& text) {
            auto* item = new QTableWidgetItem(text);
            if (rows[i].stale) {
                item->setForeground(Qt::gray);
                item->setToolTip(QStringLiteral("已过期：不是按现在的输入算出的结果"));
            }
            table_->setItem(row, column, item);
            return item;
        };
        cell(Name, QString::fromStdString(resultCaption(r)))
            ->setToolTip(QString::fromStdString(resultCaption(r)));
        QTableWidgetItem* value = cell(Value, fourDigits(rows[i].text));
        value->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (!rows[i].stale) {
            value->setToolTip(QString::fromStdString(rows[i].text));
        }
        cell(Unit, r.unit.empty() ? QStringLiteral("—") : qstring(r.unit));
    }
    for (std::size_t v = 0; v < calculator_.verdicts.size(); ++v) {
        const Verdict& verdict = calculator_.verdicts[v];
        const auto at = std::find_if(rows.begin(), rows.end(),
                                     [&](const Row& row) { return row.result == verdict.result; });
        if (at == rows.end() || (v < verdicts.size() && verdicts[v].outcome == Outcome::Absent)) {
            continue;
        }
        auto* label = new QLabel;
        label->setObjectName(qstring(verdict.name));
        label->setContentsMargins(4, 0, 4, 0);
        if (v < verdicts.size()) {
            const Judgement& j = verdicts[v];
            label->setText(QString::fromStdString(verdictText(verdict, j, false)));
            label->setStyleSheet(verdictColour(j.outcome));
            label->setToolTip(QStringLiteral("%1验算：%2（%3）")
                                  .arg(qstring(verdict.what),
                                       QString::fromStdString(verdictText(verdict, j)),
                                       QString::fromStdString(std::string(basisOf(verdict, j)))));
        }
        table_->setCellWidget(static_cast<int>(at - rows.begin()), Check, label);
    }
    showExact();
}

void ResultsPanel::showExact() {
    const QList<QTableWidgetItem*> selected = table_->selectedItems();
    const int row = selected.isEmpty() ? -1 : selected.front()->row();
    if (row < 0 || row >= static_cast<int>(rows_.size())) {
        exact_->clear();
        return;
    }
    const subprogram::Result& r = calculator_[rows_[static_cast<std::size_t>(row)].result];
    exact_->setText(QString::fromStdString(resultCaption(r)) + QStringLiteral(" = ") +
                    QString::fromStdString(rows_[static_cast<std::size_t>(row)].text) +
                    (r.unit.empty() ? QString() : QStringLiteral(" ") + qstring(r.unit)));
    exact_->setCursorPosition(0);
}

void ResultsPanel::setOutdated(bool outdated) {
    exact_->setPlaceholderText(outdated ? QStringLiteral("输入已改变，结果已过期：请按“计算”")
                                        : QStringLiteral("选中一行，在此显示其完整数值"));
    if (outdated) {
        table_->clearSelection();
    }
}

QStringList ResultsPanel::rowTexts(int row) const {
    QStringList texts;
    for (int c = 0; c < table_->columnCount(); ++c) {
        if (const auto* label = qobject_cast<const QLabel*>(table_->cellWidget(row, c))) {
            texts << label->text();
        } else {
            const QTableWidgetItem* item = table_->item(row, c);
            texts << (item ? item->text() : QString());
        }
    }
    return texts;
}

int ResultsPanel::rowCount() const {
    return table_->rowCount();
}
