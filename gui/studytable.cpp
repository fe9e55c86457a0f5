#include "studytable.h"

#include <QColor>

using subprogram::Calculator;
using subprogram::Outcome;
using subprogram::Study;

namespace {

QString q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString withUnit(std::string caption, std::string_view unit) {
    if (!unit.empty() && !caption.ends_with(')')) {
        caption += "(" + std::string(unit) + ")";
    }
    return QString::fromStdString(caption);
}

const char* verdictWord(Outcome outcome) {
    return outcome == Outcome::Met      ? "满足"
           : outcome == Outcome::NotMet ? "不满足"
           : outcome == Outcome::Absent ? ""
                                        : "未验算";
}

} // namespace

QString fourDigits(const std::string& text) {
    double value = 0;
    ErrorKind error{};
    if (!readDouble(text, value, error)) {
        return QString::fromStdString(text);
    }
    return QString::fromStdString(roundedText(value, 4));
}

void StudyTable::show(const Study* study) {
    beginResetModel();
    study_ = study;
    shown_.clear();
    header_.clear();
    if (study) {
        const Calculator& calculator = study->calculator();
        const subprogram::Field& f = calculator[study->field()];
        header_ << withUnit(fieldCaption(f), f.unit);
        for (const subprogram::Result& r : calculator.results) {
            const std::size_t c = study->columnOf(calculator.id(r));
            if (c == RowForm::kNoColumn) {
                continue;
            }
            for (const Study::Row& row : study->rows()) {
                if (!row.cell(c).empty()) {
                    shown_.push_back(c);
                    header_ << withUnit(resultCaption(r), r.unit);
                    break;
                }
            }
        }
        for (const subprogram::Verdict& v : calculator.verdicts) {
            header_ << q(v.what) + QStringLiteral("验算");
        }
        header_ << QStringLiteral("错误");
    }
    endResetModel();
}

int StudyTable::rowCount(const QModelIndex& parent) const {
    return study_ && !parent.isValid() ? static_cast<int>(study_->rows().size()) : 0;
}

int StudyTable::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(header_.size());
}

QString StudyTable::exact(const QModelIndex& index) const {
    if (!study_ || !index.isValid()) {
        return {};
    }
    const Study::Row& row = study_->rows()[static_cast<std::size_t>(index.row())];
    const auto c = static_cast<std::size_t>(index.column());
    const std::size_t verdicts = study_->calculator().verdicts.size();
    if (c == 0) {
        return QString::fromStdString(row.value);
    }
    if (c <= shown_.size()) {
        return QString::fromUtf8(row.cell(shown_[c - 1]));
    }
    if (c <= shown_.size() + verdicts) {
        const std::size_t v = c - shown_.size() - 1;
        return row.judgements.empty() ? QString()
                                      : QString::fromUtf8(verdictWord(row.judgements[v].outcome));
    }
    return QString::fromStdString(row.error);
}

QVariant StudyTable::data(const QModelIndex& index, int role) const {
    if (!study_ || !index.isValid()) {
        return {};
    }
    const auto c = static_cast<std::size_t>(index.column());
    const bool number = c >= 1 && c <= shown_.size(); // a result; the input stands as typed
    switch (role) {
    case Qt::DisplayRole:
        return number ? fourDigits(exact(index).toStdString()) : exact(index);
    case Qt::ToolTipRole:
        return exact(index);
    case Qt::TextAlignmentRole:
        return number ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    case Qt::ForegroundRole: { // a check not met, and the error, in red
        const QString text = exact(index);
        const bool failed =
            !number && (c == static_cast<std::size_t>(header_.size()) - 1 ? !text.isEmpty()
                                                                          : text == "不满足");
        return failed ? QVariant(QColor(Qt::red)) : QVariant();
    }
    default:
        return {};
    }
}

QVariant StudyTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) {
        return {};
    }
    if (orientation == Qt::Vertical) {
        return section + 1;
    }
    return section >= 0 && section < header_.size() ? QVariant(header_[section]) : QVariant();
}
