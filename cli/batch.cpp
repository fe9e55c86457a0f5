#include "batch.h"

#include "calculators/rowform.h"
#include "cli/csv.h"
#include "cli/encoding.h"
#include "cli/fdstream.h"
#include "core/stop.h"
#include "core/utf8.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using subprogram::Calculator;
using subprogram::Field;
using subprogram::Variant;

namespace {

// Opens a file to read as a stream; "cannot read FILE: reason" when it cannot be.
std::unique_ptr<FdInput> openInput(const std::string& path, std::ostream& out) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat status {};
    const int error = fd < 0                      ? errno
                      : ::fstat(fd, &status) != 0 ? errno
                      : S_ISDIR(status.st_mode)   ? EISDIR
                                                  : 0;
    if (error != 0) {
        ::close(fd); // none when the open failed: close(-1) only says EBADF
        throw UsageError("cannot read " + escapedForLine(path) + ": " + std::strerror(error));
    }
    return std::make_unique<FdInput>(fd, true, &out);
}

// Whether every byte of `text` is ASCII, eight at a time.
bool ascii(std::string_view text) {
    std::uint64_t bytes = 0;
    std::size_t i = 0;
    std::uint64_t word;
    for (; text.size() - i >= sizeof word; i += sizeof word) {
        std::memcpy(&word, text.data() + i, sizeof word);
        bytes |= word;
    }
    for (; i < text.size(); ++i) {
        bytes |= static_cast<unsigned char>(text[i]);
    }
    return !(bytes & 0x8080808080808080ULL);
}

// The first cell of a record that is not UTF-8 text, or npos.
std::size_t firstNotText(const csv::Record& record) {
    if (record.verbatim && ascii(record.text)) { // numbers, mostly
        return std::string_view::npos;
    }
    for (std::size_t i = 0; i < record.cells.size(); ++i) {
        if (!utf8::valid(record.cells[i])) {
            return i;
        }
    }
    return std::string_view::npos;
}

// The last row that reached the output whole: when the output is a descriptor, rows handed to
// it may still wait in its buffer, and a stop can drop them.
class WrittenRows {
  public:
    // After the header is handed to `out`.
    explicit WrittenRows(const std::ostream& out)
        : sink_(dynamic_cast<const FdOutput*>(out.rdbuf())) {
        if (sink_) {
            lastEnd_ = sink_->queued();
        }
    }
    // The row of the record that began on `line` is handed to the output.
    void handed(std::size_t line) {
        if (!sink_) {
            last_ = line;
            return;
        }
        handed_.push_back({sink_->queued(), line});
        settle();
    }
    std::size_t last() { // its line, 0 for none
        settle();
        return last_;
    }
    bool allWritten() {
        settle();
        return handed_.empty();
    }
    // Some bytes of the row after the last are out too: a write the stop cut in two.
    bool partly() {
        settle();
        return sink_ && sink_->written() > lastEnd_;
    }

  private:
    void settle() {
        while (!handed_.empty() && handed_.front().first <= sink_->written()) {
            lastEnd_ = handed_.front().first;
            last_ = handed_.front().second;
            handed_.pop_front();
        }
    }
    const FdOutput* sink_;
    std::deque<std::pair<unsigned long long, std::size_t>> handed_; // the output's size at its end
    std::size_t last_{};
    unsigned long long lastEnd_{}; // the output's size at the end of the last row written
};

// The batch on its streams of UTF-8; `sink` is what `out` writes into in the end.
int runBatch(const Options& options, std::istream& in, std::ostream& out, std::ostream& err,
             std::ostream& sink, const std::string& source,
             const std::function<void()>& readFailure) {
    csv::Reader reader(in);
    if (const std::string_view mark = reader.foreignMark(); !mark.empty()) {
        throw UsageError(source + " begins with the byte-order mark of " + std::string(mark) +
                         ", not UTF-8: read it with --encoding " + std::string(mark));
    }
    csv::Row header;
    bool headed = reader.next(header);
    while (headed && reader.blank()) { // blank lines before the header
        headed = reader.next(header);
    }
    if (!headed) {
        readFailure();
        throw UsageError(reader.tooLong() ? "the first line of " + source + " is longer than 1 MiB"
                                          : source + " has no header row");
    }
    const Calculator& calculator = *options.calculator;
    std::vector<std::size_t> places; // each column's place among the calculator's fields
    std::vector<bool> given(calculator.fields.size());
    for (const std::string& name : header) {
        const Field* f = calculator.field(name);
        if (!f) {
            throw UsageError("unknown column '" + escapedForLine(name) + "' for " +
                             std::string(calculator.command));
        }
        places.push_back(calculator.id(*f).index);
        if (given[places.back()]) {
            throw UsageError("the column '" + escapedForLine(name) + "' is named twice");
        }
        given[places.back()] = true;
    }
    for (const auto& [name, text] : options.values) {
        given[calculator.id(*calculator.field(name)).index] = true;
    }

    const Variant& variant = calculator.variant(options.variant);
    const Columns columns =
        outputColumns(calculator, variant, setsOptionalGroup(calculator, given));
    const std::string_view lineEnd = reader.lineEnd();
    std::string line = reader.byteOrderMark() ? "\xEF\xBB\xBF" : "";
    csv::Row top = header;
    top.insert(top.end(), columns.names.begin(), columns.names.end());
    top.push_back("error");
    csv::appendRow(line, top, lineEnd);
    out << line;

    bool failed = false;
    RowForm form(calculator, startingTexts(calculator, options.values), std::move(places),
                 std::move(given), columns);
    const std::size_t results = columns.names.size() - calculator.verdicts.size();
    std::vector<std::pair<std::size_t, std::size_t>> cellIn(results); // offset, length
    csv::Record record;
    std::string problem;
    WrittenRows rows(sink);
    std::size_t cutShort = 0; // the line a record began on that a stop cut short
    while (out && !stopSignal() && reader.next(record)) {
        if (stopSignal() && reader.unterminated()) { // not the input's end: the rest never came
            cutShort = reader.line();
            break;
        }
        if (reader.blank()) {
            continue;
        }
        const std::vector<std::string_view>& row = record.cells;
        problem.clear();
        if (row.size() > header.size()) {
            problem = "row has " + std::to_string(row.size()) + " cells, the header " +
                      std::to_string(header.size());
        } else if (reader.unclosedQuote()) {
            problem = "the quote opened on line " + std::to_string(reader.unclosedQuote()) +
                      " is not closed";
        } else if (const std::size_t cell = firstNotText(record); cell != std::string::npos) {
            // never read as some other text: a GBK 嵌固 is no 铰支 or 自由
            problem = "column '" + escapedForLine(header[cell]) + "' is not " +
                      (options.encoding ? *options.encoding + " text"
                                        : "UTF-8 text: save the file as CSV UTF-8, or give its "
                                          "encoding with --encoding (GBK, GB18030 ...)");
        }
        if (problem.empty()) {
            form.start(row);
            try {
                if (const auto failure =
                        form.run([&] { calculator.calculate(options.variant, form, nullptr); })) {
                    problem = failureText(*failure, calculator, form, false);
                }
            } catch (const Stopped&) { // a stop signal within the row: the row is dropped
                break;
            }
        } else {
            form.clear();
        }
        failed = failed || !problem.empty();
        // the row as it was read (its cells up to the header's count), the results, the error
        line.clear();
        if (record.verbatim && row.size() <= header.size()) {
            line += record.text; // no cell needs quotes
            line.append(header.size() - row.size(), ',');
        } else {
            for (std::size_t i = 0; i < header.size(); ++i) {
                if (i > 0) {
                    line += ',';
                }
                csv::appendField(line, i < row.size() ? row[i] : std::string_view());
            }
        }
        // each result formatted into the line; the verdicts, after every result, judge what it
        // wrote
        for (std::size_t c = 0; c < results; ++c) {
            line += ',';
            const std::size_t offset = line.size();
            form.appendCell(line, c, true);
            cellIn[c] = {offset, line.size() - offset};
        }
        if (!calculator.verdicts.empty() && problem.empty()) {
            const RowResults written(form, [&](std::size_t c) {
                return std::string_view(line).substr(cellIn[c].first, cellIn[c].second);
            });
            for (const subprogram::Judgement& j :
                 subprogram::judge(calculator, options.variant, form, written)) {
                line += ',';
                line += outcomeWord(j.outcome);
            }
        } else {
            line.append(calculator.verdicts.size(), ',');
        }
        line += ',';
        csv::appendField(line, problem);
        line += lineEnd;
        out << line;
        rows.handed(reader.line());
    }
    readFailure();
    if (const int signal = stopSignal()) {
        out.flush(); // what the reader takes within the grace
        sink.flush();
        const std::size_t last = rows.last();
        err << "slopecalc: stopped by signal " << signal << "; "
            << (last ? "every row up to line " + std::to_string(last) + " of " + source +
                           " is written"
                     : "no row of " + source + " is written")
            << (rows.partly() ? " (and part of the next)" : "")
            << (rows.allWritten() ? "" : ", the rows calculated after it are dropped")
            << (cutShort
                    ? "; the incomplete record of line " + std::to_string(cutShort) + " is dropped"
                    : "")
            << '\n';
    }
    if (reader.tooLong()) {
        err << "slopecalc: line " << reader.line() << " of " << source
            << " holds a record longer than 1 MiB; the batch stops there\n";
        failed = true;
    }
    return failed ? kFailed : kCalculated;
}

} // namespace

int runCsv(const Options& options, std::istream& stdinStream, std::ostream& out, std::ostream& err,
           std::string_view sourceName) {
    const std::string& path = *options.csvFile;
    std::unique_ptr<FdInput> file = path == "-" ? nullptr : openInput(path, out);
    std::istream fileStream(file.get());
    std::istream& in = file ? fileStream : stdinStream;
    const std::string source = !sourceName.empty() ? std::string(sourceName)
                               : path == "-"       ? "standard input"
                                                   : escapedForLine(path);
    const auto readFailure = [&] {
        if (const int error = file ? file->error() : streamError(in)) {
            throw UsageError("cannot read " + source + ": " + std::strerror(error));
        }
    };
    if (!options.encoding) {
        return runBatch(options, in, out, err, out, source, readFailure);
    }
    // read in the encoding, written back in it
    encoding::DecodingInput decoding(*in.rdbuf(), *options.encoding);
    encoding::EncodingOutput encoding(*out.rdbuf(), *options.encoding);
    std::istream decoded(&decoding);
    std::ostream encoded(&encoding);
    const int status = runBatch(options, decoded, encoded, err, out, source, readFailure);
    if (!encoding.finish()) {
        out.setstate(std::ios::badbit);
    }
    return status;
}
