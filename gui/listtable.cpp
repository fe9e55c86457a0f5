#include "listtable.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QRegularExpression>

ListTable::ListTable(QWidget* parent, const QStringList& header, QList<QLineEdit*> fields)
    : QTableWidget(0, static_cast<int>(header.size()), parent), fields_(std::move(fields)) {
    setHorizontalHeaderLabels(header);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    verticalHeader()->setDefaultSectionSize(22);
    for (QLineEdit* f : fields_) {
        connect(f, &QLineEdit::textChanged, this, [this] { fill(); });
    }
    connect(this, &QTableWidget::itemChanged, this, [this] { write(); });
    fill();
}

void ListTable::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        paste(QApplication::clipboard()->text());
        return;
    }
    QTableWidget::keyPressEvent(event);
}

// the fields' texts into the cells
void ListTable::fill() {
    if (writing_) {
        return;
    }
    const QSignalBlocker block(this);
    QList<QStringList> rows;
    if (byRows()) {
        for (const QString& item : fields_[0]->text().split(';', Qt::SkipEmptyParts)) {
            rows.append(
                item.split(QRegularExpression(QStringLiteral("[ \\t]+")), Qt::SkipEmptyParts));
        }
    } else {
        for (int c = 0; c < fields_.size(); ++c) {
            const QStringList items = fields_[c]->text().split(';');
            for (int r = 0; r < items.size(); ++r) {
                while (rows.size() <= r) {
                    rows.append(QStringList());
                }
                while (rows[r].size() < c) {
                    rows[r].append(QString());
                }
                rows[r].append(items[r]);
            }
        }
    }
    setRowCount(static_cast<int>(rows.size()) + 1);
    for (int r = 0; r < rowCount(); ++r) {
        for (int c = 0; c < columnCount(); ++c) {
            const QString text =
                r < rows.size() && c < rows[r].size() ? rows[r][c].trimmed() : QString();
            setItem(r, c, new QTableWidgetItem(text));
        }
    }
}

QString ListTable::cell(int r, int c) const {
    const QTableWidgetItem* i = item(r, c);
    return i ? i->text().trimmed() : QString();
}

// the cells into the fields, as if typed there
void ListTable::write() {
    int last = rowCount() - 1; // the last row with any cell
    while (last >= 0) {
        bool any = false;
        for (int c = 0; c < columnCount(); ++c) {
            any = any || !cell(last, c).isEmpty();
        }
        if (any) {
            break;
        }
        --last;
    }
    writing_ = true;
    const auto put = [](QLineEdit* field, const QString& text) {
        if (field->text() != text) {
            field->setText(text);
            emit field->textEdited(text);
        }
    };
    if (byRows()) {
        QStringList rows;
        for (int r = 0; r <= last; ++r) {
            QStringList cells;
            for (int c = 0; c < columnCount(); ++c) {
                cells.append(cell(r, c));
            }
            rows.append(cells.join(' ').trimmed());
        }
        put(fields_[0], rows.join(';'));
    } else {
        for (int c = 0; c < fields_.size(); ++c) {
            int end = last; // a column ends at its last cell
            while (end >= 0 && cell(end, c).isEmpty()) {
                --end;
            }
            QStringList items;
            for (int r = 0; r <= end; ++r) {
                items.append(cell(r, c));
            }
            put(fields_[c], items.join(';'));
        }
    }
    writing_ = false;
    if (!cell(rowCount() - 1, 0).isEmpty()) {
        fill();
    }
}

void ListTable::paste(const QString& text) {
    const int top = std::max(currentRow(), 0), left = std::max(currentColumn(), 0);
    const QStringList lines =
        text.split(QRegularExpression(QStringLiteral("\\r?\\n")), Qt::SkipEmptyParts);
    {
        const QSignalBlocker block(this);
        for (int r = 0; r < lines.size(); ++r) {
            const QStringList cells =
                lines[r].split(QRegularExpression(QStringLiteral("[\\t ]+")), Qt::SkipEmptyParts);
            if (rowCount() <= top + r) {
                setRowCount(top + r + 1);
            }
            for (int c = 0; c < cells.size() && left + c < columnCount(); ++c) {
                setItem(top + r, left + c, new QTableWidgetItem(cells[c]));
            }
        }
    }
    write();
    fill();
}
