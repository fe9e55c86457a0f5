#include "csv.h"

namespace csv {

bool Reader::next(Row& row) {
    if (pos_ >= text_.size()) {
        return false;
    }
    row.assign(1, std::string());
    bool quoted = false;
    while (pos_ < text_.size()) {
        const char c = text_[pos_++];
        if (quoted) {
            if (c != '"') {
                row.back().push_back(c);
            } else if (pos_ < text_.size() && text_[pos_] == '"') {
                row.back().push_back('"');
                ++pos_;
            } else {
                quoted = false;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            row.emplace_back();
        } else if (c == '\n') {
            break;
        } else if (c == '\r' && pos_ < text_.size() && text_[pos_] == '\n') {
            ++pos_;
            break;
        } else {
            row.back().push_back(c);
        }
    }
    return true;
}

std::string formatRow(const Row& row) {
    std::string line;
    appendRow(line, row);
    return line;
}

void appendRow(std::string& line, const Row& row) {
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (i > 0) {
            line += ',';
        }
        const std::string& field = row[i];
        if (field.find_first_of(",\"\r\n") == std::string::npos) {
            line += field;
            continue;
        }
        line += '"';
        for (char c : field) {
            line += c;
            if (c == '"') {
                line += '"';
            }
        }
        line += '"';
    }
    line += "\r\n";
}

} // namespace csv
