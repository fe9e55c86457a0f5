#include "csv.h"

namespace csv {

namespace {

constexpr int kEnd = std::char_traits<char>::eof();

} // namespace

Reader::Reader(std::istream& in) : in_(*in.rdbuf()) {
    // "\xEF\xBB\xBF": what is read of it and is not all of it stays data
    for (const unsigned char mark : {0xEF, 0xBB, 0xBF}) {
        if (in_.sgetc() != mark) {
            return;
        }
        pending_.push_back(static_cast<char>(in_.sbumpc()));
    }
    pending_.clear();
    byteOrderMark_ = true;
}

int Reader::get() {
    if (!pending_.empty()) {
        const int c = static_cast<unsigned char>(pending_.front());
        pending_.erase(0, 1);
        return c;
    }
    return in_.sbumpc();
}

int Reader::peek() {
    return pending_.empty() ? in_.sgetc() : static_cast<unsigned char>(pending_.front());
}

bool Reader::next(Row& row) {
    int c = get();
    if (c == kEnd || tooLong_) {
        return false;
    }
    row.assign(1, std::string());
    line_ = nextLine_;
    quoteLine_ = 0;
    blank_ = c == '\r' || c == '\n';
    bool quoted = false;
    std::size_t opened = 0; // the line of the last opening quote
    // a line break: CR, LF or CRLF, each one line
    const auto lineBreak = [&] {
        const bool crlf = c == '\r' && peek() == '\n';
        if (crlf) {
            get();
        }
        ++nextLine_;
        return crlf ? std::string_view("\r\n") : c == '\r' ? std::string_view("\r") : "\n";
    };
    for (std::size_t size = 1;; c = get(), ++size) {
        if (size > kLongest) {
            tooLong_ = true;
            return false;
        }
        if (c == kEnd) {
            quoteLine_ = quoted ? opened : 0;
            break;
        }
        if (quoted) {
            if (c == '"' && peek() == '"') {
                row.back().push_back(static_cast<char>(get()));
            } else if (c == '"') {
                quoted = false;
            } else if (c == '\r' || c == '\n') {
                row.back() += lineBreak();
            } else {
                row.back().push_back(static_cast<char>(c));
            }
        } else if (c == '"') {
            quoted = true;
            opened = nextLine_;
        } else if (c == ',') {
            row.emplace_back();
        } else if (c == '\r' || c == '\n') {
            const std::string_view end = lineBreak();
            if (!endSeen_) {
                endSeen_ = true;
                lineEnd_ = end;
            }
            break;
        } else {
            row.back().push_back(static_cast<char>(c));
        }
    }
    return true;
}

void appendRow(std::string& out, const Row& row, std::string_view lineEnd) {
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (i > 0) {
            out += ',';
        }
        const std::string& field = row[i];
        if (field.find_first_of(",\"\r\n") == std::string::npos) {
            out += field;
            continue;
        }
        out += '"';
        for (char c : field) {
            out += c;
            if (c == '"') {
                out += '"';
            }
        }
        out += '"';
    }
    out += lineEnd;
}

} // namespace csv
