#pragma once

#include "calculators/rowform.h"

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A study of one field: a calculator's calculation for each of a list of values of the field,
// every other field as given, on the engine of the command line's batches (a RowForm row for
// each value).
namespace subprogram {

class Study {
  public:
    // A check of a row, as a study keeps it: what it came to, the value held against its limit
    // (where there was one) and why, where the comparison alone does not say.
    struct Judged {
        Outcome outcome;
        bool valued;
        double value, limit;
        std::string_view reason;
    };
    struct Row {
        std::string value;               // the field's text
        std::string text;                // every output cell as written, one after another
        std::vector<std::uint32_t> ends; // where each output column's text ends in `text`
        std::vector<Judged> judgements;  // of a row that succeeded, by verdict
        std::string error;               // what stopped it: "13 TypeMismatch (b)"
        // An output column's text as written (empty: not written).
        std::string_view cell(std::size_t column) const {
            const std::uint32_t begin = column == 0 ? 0 : ends[column - 1];
            return std::string_view(text).substr(begin, ends[column] - begin);
        }
    };

    // `texts`: by field, its text (the window's, or the defaults); `field` is the one studied.
    Study(const Calculator& calculator, int variant, std::vector<std::string> texts, FieldId field);

    // Calculates the field at `value` and adds its row.
    const Row& add(const std::string& value);

    const Calculator& calculator() const { return calculator_; }
    int variant() const { return variant_; }
    FieldId field() const { return field_; }
    const Columns& columns() const { return columns_; }
    // In the order added; a row stays where it is as others are added (a deque: no row moves).
    const std::deque<Row>& rows() const { return rows_; }
    // The output column of a result the variant writes, or RowForm::kNoColumn.
    std::size_t columnOf(ResultId result) const { return columns_.ofResult[result.index]; }

    // Every check of the row holds: it succeeded and no verdict is NotMet (a check not made does
    // not fail).
    static bool holds(const Row& row);
    // Why the row cannot be judged on its own terms, or nothing: its calculation failed, or no
    // check could be held against a value (a wall whose section cannot be formed).
    static std::string_view skipped(const Row& row);

  private:
    const Calculator& calculator_;
    int variant_;
    FieldId field_;
    Columns columns_;
    RowForm form_;
    std::deque<Row> rows_;
};

// The checks that no row of a study meets, where some row succeeded and was not skipped: each
// with the least and the greatest value it compared (equal when the check does not depend on
// the field studied).
struct NeverMet {
    std::size_t verdict; // its index among the calculator's verdicts
    double low, high;
};
std::vector<NeverMet> checksNeverMet(const Study& study);

// N values from `from` to `to` at equal steps (N ≥ 2), the ends as typed, the others as the
// program writes a double (15 significant digits): the texts the field then reads. None when a
// value between the ends is beyond a double (the span overflows: from 1e308 to -1e308).
std::optional<std::vector<std::string>> studyRange(const std::string& from, const std::string& to,
                                                   int count);
// The same range one value at a time, in flat memory: whether it holds numbers (the span does
// not overflow), and its value i.
class StudyRange {
  public:
    StudyRange(std::string from, std::string to, int count);
    bool overflows() const;
    int count() const { return count_; }
    std::string value(int i) const;

  private:
    double number(int i) const;
    std::string from_, to_;
    double a_, b_;
    int count_;
};

// The study as CSV for a spreadsheet: UTF-8 with a byte-order mark (Excel on a Chinese Windows
// then reads it as UTF-8), CRLF line ends, a header of the field's name and the output columns,
// then a row for each value with its error.
std::string studyCsv(const Study& study);

// The runs of values where every check holds, each as its first and last index among `steps`+1
// values judged by `holds(k)`. Every value is judged where there are at most 20,000 steps; with
// more, every 20,000th part is, and each change between two of them is narrowed down to one step
// by bisection (a run narrower than such a part may then be missed).
struct PassingRun {
    long long first, last;
};
constexpr long long kJudgedParts = 20000;
template <typename Holds> std::vector<PassingRun> passingRuns(long long steps, Holds holds) {
    const long long parts = steps < kJudgedParts ? steps : kJudgedParts;
    std::vector<PassingRun> runs;
    long long previous = 0;
    bool held = holds(0);
    if (held) {
        runs.push_back({0, 0});
    }
    for (long long j = 1; j <= parts; ++j) {
        const long long k = steps * j / parts;
        const bool now = holds(k);
        if (now != held) { // the step where the verdict turns, between the two
            long long low = previous, high = k;
            while (high - low > 1) {
                const long long mid = low + (high - low) / 2;
                (holds(mid) == held ? low : high) = mid;
            }
            if (now) {
                runs.push_back({high, high});
            } else {
                runs.back().last = low;
            }
        }
        if (now) {
            runs.back().last = k;
        }
        previous = k;
        held = now;
    }
    return runs;
}

// The runs of the values text(0) … text(steps) of `field` where every check holds (see
// Study::holds and passingRuns), each value calculated once; and how many of the values judged
// were skipped (Study::skipped), with the first one's reason.
struct LeastRuns {
    std::vector<PassingRun> runs;
    std::size_t judged = 0, skipped = 0;
    std::string firstSkip;
};
template <typename Text>
LeastRuns leastRuns(const Calculator& calculator, int variant,
                    const std::vector<std::string>& texts, FieldId field, long long steps,
                    Text text) {
    Study trial(calculator, variant, texts, field);
    std::map<long long, bool> judged;
    LeastRuns found;
    found.runs = passingRuns(steps, [&](long long k) {
        if (const auto at = judged.find(k); at != judged.end()) {
            return at->second;
        }
        const Study::Row& row = trial.add(text(k));
        if (const std::string_view why = Study::skipped(row); !why.empty()) {
            if (found.skipped++ == 0) {
                found.firstSkip = std::string(why);
            }
        }
        return judged[k] = Study::holds(row);
    });
    found.judged = judged.size();
    return found;
}

} // namespace subprogram
