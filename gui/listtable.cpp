#include "listtable.h"

#include "calculators/listtext.h"

#include "gui/calculatorwindow.h"
#include "gui/errorreport.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QRegularExpression>

ListTable::ListTable(QWidget* parent, const QStringList& header, QList<QLineEdit*> fields,
                     int mostRows)
    : QTableWidget(0, static_cast<int>(header.size()), parent), fields_(std::move(fields)),
      mostRows_(mostRows) {
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
            // as the calculation reads it: a group in parentheses (a line's points) one cell
            const std::string text = item.toStdString();
            QStringList cells;
            const auto items = subprogram::itemsOf(text);
            for (const std::string_view word : items.front()) {
                cells.append(QString::fromUtf8(word.data(), static_cast<qsizetype>(word.size())));
            }
            rows.append(cells);
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

void ListTable::refuse(const QString& message) {
    if (auto* window = qobject_cast<CalculatorWindow*>(this->window())) {
        window->report(message);
    } else {
        showMessageBox(this, message);
    }
}

void ListTable::paste(const QString& text) {
    const int top = std::max(currentRow(), 0), left = std::max(currentColumn(), 0);
    // the rows, counted before any is read: a spreadsheet's last line ends with a line break
    QStringList lines = text.split(QRegularExpression(QStringLiteral("\\r?\\n")));
    while (!lines.isEmpty() && lines.back().trimmed().isEmpty()) {
        lines.removeLast();
    }
    if (top + lines.size() > mostRows_) {
        refuse(QStringLiteral("粘贴的 %1 行超出此表的容量（至多 %2 行），未粘贴。")
                   .arg(lines.size())
                   .arg(mostRows_));
        return;
    }
    QList<QStringList> rows;
    for (const QString& line : lines) { // a tab is a cell's end; without one, runs of blanks
        QStringList cells =
            line.contains(QLatin1Char('\t'))
                ? line.split(QLatin1Char('\t'))
                : line.split(QRegularExpression(QStringLiteral("[ ]+")), Qt::SkipEmptyParts);
        for (QString& c : cells) {
            c = c.trimmed();
        }
        rows.append(cells);
    }
    // an empty cell before a filled one of its row (points, strata) or its column (blocks)
    const auto filled = [&](int r, int c) { return c < rows[r].size() && !rows[r][c].isEmpty(); };
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size(); ++c) {
            bool needed = false;
            if (byRows()) {
                for (int later = c + 1; later < rows[r].size(); ++later) {
                    needed = needed || filled(r, later);
                }
            } else {
                for (int later = r + 1; later < rows.size(); ++later) {
                    needed = needed || filled(later, c);
                }
            }
            if (rows[r][c].isEmpty() && needed) {
                refuse(QStringLiteral("粘贴的第 %1 行第 %2 列（“%3”）为空，而其后还有数：未粘贴。"
                                      "请填上这一格，或删去其后的数。")
                           .arg(top + r + 1)
                           .arg(left + c + 1)
                           .arg(left + c < columnCount()
                                    ? horizontalHeaderItem(left + c)->text().simplified()
                                    : QString()));
                return;
            }
        }
    }
    {
        const QSignalBlocker block(this);
        if (rowCount() < top + rows.size()) {
            setRowCount(top + static_cast<int>(rows.size()));
        }
        for (int r = 0; r < rows.size(); ++r) { // each row whole, from the pasted column on
            for (int c = left; c < columnCount(); ++c) {
                const int k = c - left;
                setItem(top + r, c,
                        new QTableWidgetItem(k < rows[r].size() ? rows[r][k] : QString()));
            }
        }
    }
    write();
    fill();
}
