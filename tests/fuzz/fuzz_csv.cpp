#include "calculators/registry.h"
#include "cli/csv.h"
#include "cli/slopecalc.h"

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::size_t records(const std::string& text, bool skipBlank) {
    std::istringstream in(text);
    csv::Reader reader(in);
    std::size_t count = 0;
    for (csv::Row row; reader.next(row);) {
        count += !(skipBlank && reader.blank());
    }
    return count;
}

// The two ways of reading a record agree: the same cells, lines, blank lines, unclosed quotes.
void sameRecords(const std::string& text) {
    std::istringstream a(text), b(text);
    csv::Reader rows(a), views(b);
    csv::Row row;
    csv::Record record;
    for (;;) {
        const bool more = rows.next(row);
        if (more != views.next(record)) {
            __builtin_trap();
        }
        if (!more) {
            break;
        }
        if (!std::equal(row.begin(), row.end(), record.cells.begin(), record.cells.end()) ||
            rows.line() != views.line() || rows.blank() != views.blank() ||
            rows.unclosedQuote() != views.unclosedQuote()) {
            __builtin_trap();
        }
    }
    if (rows.tooLong() != views.tooLong() || rows.lineEnd() != views.lineEnd()) {
        __builtin_trap();
    }
}

} // namespace

// Random bytes as a whole batch for one calculator (the first byte chooses it): slopecalc answers
// 0, 1 or 2 and never crashes, and a batch it takes has one output row per input record.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const auto calculators = subprogram::calculators();
    const std::string command(calculators[data[0] % calculators.size()]->command);
    const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    sameRecords(input);
    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = runSlopecalc({command, "--csv", "-"}, in, out, err);
    if (status < 0 || status > 2) {
        __builtin_trap();
    }
    // the header and every record after it but a blank line: one row each
    if (status != 2 && records(out.str(), false) != records(input, true)) {
        __builtin_trap();
    }
    return 0;
}
