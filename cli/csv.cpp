#include "csv.h"

#include "core/wholefile.h"

#include <algorithm>
#include <bit>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace csv {

namespace {

constexpr int kEnd = std::char_traits<char>::eof();

bool endsCell(char c) {
    return c == ',' || c == '"' || c == '\r' || c == '\n';
}

// The cells from `begin` into `cells`, split at each comma, up to the first byte that ends the
// record ('"' '\r' '\n') or `end`, which it returns. Sixteen bytes at a time where the machine
// compares them at once (every x86-64 does), the last few one by one.
const char* splitCells(const char* const begin, const char* const end,
                       std::vector<std::string_view>& cells) {
    const char* cell = begin;
    // inlined in each of its three places: a call for every cell cost more than the cell
    const auto endCell = [&](const char* at) __attribute__((always_inline)) {
        cells.emplace_back(cell, static_cast<std::size_t>(at - cell));
        cell = at + 1;
    };
    const char* p = begin;
#ifdef __SSE2__
    const __m128i comma = _mm_set1_epi8(','), quote = _mm_set1_epi8('"'), cr = _mm_set1_epi8('\r'),
                  lf = _mm_set1_epi8('\n');
    for (; end - p >= 16; p += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i ends =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, comma), _mm_cmpeq_epi8(bytes, quote)),
                         _mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf)));
        // one bit a byte, the first byte's lowest
        for (auto marks = static_cast<unsigned>(_mm_movemask_epi8(ends)); marks != 0;
             marks &= marks - 1) {
            const char* const at = p + std::countr_zero(marks);
            endCell(at);
            if (*at != ',') {
                return at;
            }
        }
    }
#endif
    for (; p != end; ++p) {
        if (endsCell(*p)) {
            endCell(p);
            if (*p != ',') {
                return p;
            }
        }
    }
    endCell(end);
    return end;
}

} // namespace

Reader::Reader(std::istream& in) : in_(*in.rdbuf()) {
    using namespace std::string_view_literals;
    // UTF-32LE before UTF-16LE, whose mark begins its own
    constexpr std::pair<std::string_view, std::string_view> kMarks[] = {
        {"\xEF\xBB\xBF"sv, "UTF-8"},
        {"\xFF\xFE\0\0"sv, "UTF-32LE"},
        {"\0\0\xFE\xFF"sv, "UTF-32BE"},
        {"\xFF\xFE"sv, "UTF-16LE"},
        {"\xFE\xFF"sv, "UTF-16BE"}};
    // A byte is read while a mark longer than what was read begins with the bytes so far, and
    // with it (so nothing is waited for once the input can be no mark); what is no mark stays data.
    const auto mayBegin = [&](std::string_view bytes) {
        return std::any_of(std::begin(kMarks), std::end(kMarks), [&](const auto& mark) {
            return mark.first.size() > buffer_.size() && mark.first.starts_with(bytes);
        });
    };
    while (mayBegin(buffer_) && in_.sgetc() != kEnd &&
           mayBegin(buffer_ + static_cast<char>(in_.sgetc()))) {
        buffer_.push_back(static_cast<char>(in_.sbumpc()));
    }
    for (const auto& [mark, encoding] : kMarks) {
        if (std::string_view(buffer_).starts_with(mark)) {
            if (encoding == "UTF-8") {
                buffer_.erase(0, mark.size());
                byteOrderMark_ = true;
            } else {
                foreignMark_ = encoding;
            }
            return;
        }
    }
}

bool Reader::fill() {
    // called once every byte of the buffer is taken: it starts afresh
    buffer_.clear();
    position_ = 0;
    if (in_.sgetc() == kEnd) { // waits for input only here, when nothing is left
        return false;
    }
    // what the stream holds already, never more: a batch fed slowly goes out row by row
    const std::streamsize ready =
        std::min<std::streamsize>(std::max<std::streamsize>(in_.in_avail(), 1), kReadBlock);
    buffer_.resize(static_cast<std::size_t>(ready));
    buffer_.resize(static_cast<std::size_t>(in_.sgetn(buffer_.data(), ready)));
    return !buffer_.empty();
}

int Reader::peek() {
    if (position_ == buffer_.size() && !fill()) {
        return kEnd;
    }
    return static_cast<unsigned char>(buffer_[position_]);
}

bool Reader::next(Row& row) {
    if (tooLong_ || peek() == kEnd) {
        return false;
    }
    // the row's strings are kept from record to record: no allocation once they are large enough
    std::size_t cells = 0;
    const auto newCell = [&]() -> std::string& {
        if (cells == row.size()) {
            row.emplace_back();
        }
        std::string& cell = row[cells++];
        cell.clear();
        return cell;
    };
    std::string* cell = &newCell();
    line_ = nextLine_;
    quoteLine_ = 0;
    unterminated_ = false;
    blank_ = buffer_[position_] == '\r' || buffer_[position_] == '\n';
    bool quoted = false;
    std::size_t opened = 0; // the line of the last opening quote
    std::size_t size = 0;   // bytes of this record taken, a CRLF and a doubled quote as one
    // a line break: CR, LF or CRLF, each one line
    const auto lineBreak = [&](char c) {
        const bool crlf = c == '\r' && peek() == '\n';
        if (crlf) {
            ++position_;
        }
        ++nextLine_;
        return crlf ? std::string_view("\r\n") : c == '\r' ? std::string_view("\r") : "\n";
    };
    for (;;) {
        if (position_ == buffer_.size() && !fill()) {
            if (++size > kLongest) { // the end counts as a byte, as a line break does
                tooLong_ = true;
                return false;
            }
            quoteLine_ = quoted ? opened : 0;
            unterminated_ = true;
            break;
        }
        // a run of plain bytes, taken at once
        const char* begin = buffer_.data() + position_;
        const char* end = buffer_.data() + buffer_.size();
        const char* stop = begin;
        if (quoted) {
            while (stop < end && *stop != '"' && *stop != '\r' && *stop != '\n') {
                ++stop;
            }
        } else {
            while (stop < end && *stop != ',' && *stop != '"' && *stop != '\r' && *stop != '\n') {
                ++stop;
            }
        }
        const auto run = static_cast<std::size_t>(stop - begin);
        if (size + run + (stop < end ? 1 : 0) > kLongest) {
            tooLong_ = true;
            return false;
        }
        cell->append(begin, run);
        size += run;
        position_ += run;
        if (stop == end) {
            continue;
        }
        const char c = *stop;
        ++position_;
        ++size;
        if (quoted) {
            if (c == '"' && peek() == '"') { // the second quote is not counted, as a CRLF's LF
                cell->push_back('"');
                ++position_;
            } else if (c == '"') {
                quoted = false;
            } else {
                cell->append(lineBreak(c));
            }
        } else if (c == '"') {
            quoted = true;
            opened = nextLine_;
        } else if (c == ',') {
            cell = &newCell();
        } else {
            const std::string_view ending = lineBreak(c);
            if (!endSeen_) {
                endSeen_ = true;
                lineEnd_ = ending;
            }
            break;
        }
    }
    row.resize(cells);
    return true;
}

bool Reader::next(Record& record) {
    record.cells.clear();
    // A record whose line end is already read and that holds no quote is split where it lies;
    // anything else (a quote, a record cut by the end of what was read, a CR as the last byte
    // read) is read as a row of strings.
    const char* begin = buffer_.data() + position_;
    const char* end = buffer_.data() + buffer_.size();
    const char* const stop = splitCells(begin, end, record.cells);
    const auto length = static_cast<std::size_t>(stop - begin);
    // (the buffer never holds a record as long as kLongest: it takes a block at a time)
    static_assert(2 * kReadBlock < kLongest);
    if (!tooLong_ && stop < end && *stop != '"' && (*stop == '\n' || stop + 1 < end)) {
        record.verbatim = true;
        record.text = std::string_view(begin, length);
        line_ = nextLine_++;
        quoteLine_ = 0;
        unterminated_ = false;
        blank_ = length == 0;
        // (the first record is never read here: it fills the empty buffer, the other way, which
        // takes its line end as the batch's)
        const bool crlf = *stop == '\r' && stop[1] == '\n';
        position_ += length + (crlf ? 2 : 1);
        return true;
    }
    record.cells.clear();
    record.verbatim = false;
    record.text = {};
    if (!next(record.unquoted)) {
        return false;
    }
    record.cells.assign(record.unquoted.begin(), record.unquoted.end());
    return true;
}

void appendRow(std::string& out, const Row& row, std::string_view lineEnd) {
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (i > 0) {
            out += ',';
        }
        appendField(out, row[i]);
    }
    out += lineEnd;
}

} // namespace csv
