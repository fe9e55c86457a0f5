#pragma once

#include "core/utf8.h"

#include <istream>
#include <string>
#include <string_view>
#include <vector>

// CSV as RFC 4180 writes it: fields separated by commas, a field in double quotes may hold
// commas, line breaks and doubled quotes. That is how a text such as "1,234.5", with its
// thousands separator, travels through a spreadsheet.
namespace csv {

using Row = std::vector<std::string>;

// One record as views: into the reader's own bytes when the record holds no quote (the common
// case, read without a copy), else into the unquoted strings kept here. Valid until the next
// record is read.
struct Record {
    std::vector<std::string_view> cells;
    bool verbatim = false; // no cell was quoted: `text` is the record as it stands
    std::string_view text; // without its line end
    Row unquoted;
};

// Reads the records of a stream one at a time, holding no more than one record. CR, LF and CRLF
// each end a record (also one after another in one file); a UTF-8 byte-order mark before the
// first record, as spreadsheet programs write it, is skipped, and one of UTF-16 or UTF-32 is
// named (foreignMark()): such a file is no UTF-8 text.
class Reader {
  public:
    static constexpr std::size_t kLongest = 1 << 20; // bytes in one record

    explicit Reader(std::istream& in);

    // The next record into `row`; false at the end of the input, and when the record runs
    // longer than kLongest (tooLong() then says so, and reading stops).
    bool next(Row& row);
    // The same, as views.
    bool next(Record& record);

    std::size_t line() const { return line_; } // where the last record began, from 1
    bool blank() const { return blank_; }      // it was an empty line
    std::size_t unclosedQuote() const {
        return quoteLine_;
    } // the line of a quote the input
      // ended in, or 0
    bool tooLong() const { return tooLong_; }
    // The last record ended where the input did, with no line end: it may be cut short.
    bool unterminated() const { return unterminated_; }
    bool byteOrderMark() const { return byteOrderMark_; }
    // The encoding whose byte-order mark the input begins with, when it is not UTF-8
    // ("UTF-16LE"), else empty.
    std::string_view foreignMark() const { return foreignMark_; }
    // The input's line ending, from its first record: "\r\n", "\r", or "\n" when unsure.
    std::string_view lineEnd() const { return lineEnd_; }

  private:
    bool fill(); // the next bytes into the emptied buffer, waiting only then; false at the end
    int peek();

    std::streambuf& in_;
    std::string buffer_;       // bytes read and not yet taken
    std::size_t position_ = 0; // of the next byte in buffer_
    std::size_t line_ = 0, nextLine_ = 1, quoteLine_ = 0;
    bool blank_ = false, tooLong_ = false, byteOrderMark_ = false, endSeen_ = false;
    bool unterminated_ = false;
    std::string_view lineEnd_ = "\n", foreignMark_;
};

// Appends one record with `lineEnd` to `out`, its fields as appendField writes them.
void appendRow(std::string& out, const Row& row, std::string_view lineEnd);

} // namespace csv
