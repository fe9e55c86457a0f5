#pragma once

#include <string>
#include <string_view>
#include <vector>

// CSV as RFC 4180 writes it: fields separated by commas, a field in double quotes may hold
// commas, line breaks and doubled quotes. That is how a text such as "1,234.5", with its
// thousands separator, travels through a spreadsheet.
namespace csv {

using Row = std::vector<std::string>;

// Reads the records of a text held in memory, one at a time, into a reused row. A line ending
// is LF or CRLF; an unclosed quote runs to the end of the text.
class Reader {
  public:
    explicit Reader(std::string_view text) : text_(text) {}
    // False at the end of the text.
    bool next(Row& row);

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

// Appends one record with its line ending to `out`.
void appendRow(std::string& out, const Row& row);

// One record with its line ending (CRLF, as RFC 4180 has it); fields are quoted only when they
// hold a comma, a quote or a line break.
std::string formatRow(const Row& row);

} // namespace csv
