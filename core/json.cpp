#include "json.h"

#include <cstdio>

namespace json {

namespace {

// The length of the UTF-8 sequence that starts `s`, or 0 when it is not a valid one.
std::size_t utf8Length(std::string_view s) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(0);
    const std::size_t length = lead < 0x80                   ? 1
                               : lead >= 0xC2 && lead < 0xE0 ? 2
                               : lead >= 0xE0 && lead < 0xF0 ? 3
                               : lead >= 0xF0 && lead < 0xF5 ? 4
                                                             : 0;
    if (length == 0 || length > s.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return 0;
        }
    }
    // no overlong forms, no surrogates, nothing beyond U+10FFFF
    if ((lead == 0xE0 && byte(1) < 0xA0) || (lead == 0xED && byte(1) >= 0xA0) ||
        (lead == 0xF0 && byte(1) < 0x90) || (lead == 0xF4 && byte(1) >= 0x90)) {
        return 0;
    }
    return length;
}

void appendUtf8(std::string& out, unsigned code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | code >> 18);
        out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

class Parser {
  public:
    explicit Parser(std::string_view text) : text_(text) {}

    Value document() {
        Value v = value(0);
        space();
        if (pos_ < text_.size()) {
            fail("after the value, more text follows");
        }
        return v;
    }

  private:
    [[noreturn]] void fail(const std::string& what) const { throw Error(line_, what); }

    void space() {
        while (pos_ < text_.size() &&
               std::string_view(" \t\r\n").find(text_[pos_]) != std::string_view::npos) {
            line_ += text_[pos_++] == '\n';
        }
    }
    bool take(char c) {
        space();
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    void expect(char c) {
        if (!take(c)) {
            fail(pos_ >= text_.size() ? "the file ends too early"
                                      : std::string("expected '") + c + "'");
        }
    }

    Value value(int depth) {
        if (depth > 64) {
            fail("nested too deeply");
        }
        space();
        Value v;
        v.line = line_;
        if (pos_ >= text_.size()) {
            fail("the file ends too early");
        }
        const char c = text_[pos_];
        if (c == '{') {
            ++pos_;
            v.type = Value::Type::Object;
            if (!take('}')) {
                do {
                    space();
                    const int keyLine = line_;
                    if (pos_ >= text_.size() || text_[pos_] != '"') {
                        fail("expected a key in quotes");
                    }
                    std::string key = string();
                    if (v.member(key)) {
                        throw Error(keyLine, "the key \"" + key + "\" is given twice");
                    }
                    expect(':');
                    v.members.push_back({std::move(key), value(depth + 1)});
                } while (take(','));
                expect('}');
            }
        } else if (c == '[') {
            ++pos_;
            v.type = Value::Type::Array;
            if (!take(']')) {
                do {
                    v.items.push_back(value(depth + 1));
                } while (take(','));
                expect(']');
            }
        } else if (c == '"') {
            v.type = Value::Type::String;
            v.text = string();
        } else if (word("true")) {
            v.type = Value::Type::Boolean;
            v.boolean = true;
        } else if (word("false")) {
            v.type = Value::Type::Boolean;
        } else if (word("null")) {
            v.type = Value::Type::Null;
        } else {
            v.type = Value::Type::Number;
            v.text = number();
        }
        return v;
    }

    bool word(std::string_view w) {
        if (text_.substr(pos_, w.size()) != w) {
            return false;
        }
        pos_ += w.size();
        return true;
    }

    std::string number() {
        const std::size_t start = pos_;
        const auto digits = [&] {
            const std::size_t from = pos_;
            while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') {
                ++pos_;
            }
            return pos_ > from;
        };
        take('-');
        bool ok = digits();
        if (ok && pos_ < text_.size() && text_[pos_] == '.') {
            ++pos_;
            ok = digits();
        }
        if (ok && pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
            ++pos_;
            if (pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-')) {
                ++pos_;
            }
            ok = digits();
        }
        if (!ok) {
            fail("expected a value");
        }
        return std::string(text_.substr(start, pos_ - start));
    }

    unsigned hex4() {
        if (pos_ + 4 > text_.size()) {
            fail("the file ends too early");
        }
        unsigned code = 0;
        for (int i = 0; i < 4; ++i) {
            const char h = text_[pos_++];
            const int d = h >= '0' && h <= '9'   ? h - '0'
                          : h >= 'a' && h <= 'f' ? h - 'a' + 10
                          : h >= 'A' && h <= 'F' ? h - 'A' + 10
                                                 : -1;
            if (d < 0) {
                fail("a \\u escape needs four hexadecimal digits");
            }
            code = code * 16 + static_cast<unsigned>(d);
        }
        return code;
    }

    std::string string() {
        ++pos_; // the opening quote
        std::string out;
        for (;;) {
            if (pos_ >= text_.size()) {
                fail("the file ends inside a string");
            }
            const char c = text_[pos_];
            if (c == '"') {
                ++pos_;
                return out;
            }
            if (static_cast<unsigned char>(c) < 0x20) {
                fail("a string holds a control character");
            }
            if (c != '\\') {
                const std::size_t length = utf8Length(text_.substr(pos_));
                if (length == 0) {
                    fail("a string is not valid UTF-8");
                }
                out.append(text_.substr(pos_, length));
                pos_ += length;
                continue;
            }
            if (++pos_ >= text_.size()) {
                fail("the file ends inside a string");
            }
            const char e = text_[pos_++];
            const std::string_view plain = "\"\\/bfnrt";
            const std::string_view meant = "\"\\/\b\f\n\r\t";
            if (const auto at = plain.find(e); at != std::string_view::npos) {
                out += meant[at];
            } else if (e == 'u') {
                unsigned code = hex4();
                if (code >= 0xD800 && code < 0xDC00 && text_.substr(pos_, 2) == "\\u") {
                    pos_ += 2;
                    const unsigned low = hex4();
                    if (low < 0xDC00 || low >= 0xE000) {
                        fail("a surrogate pair is broken");
                    }
                    code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                } else if (code >= 0xD800 && code < 0xE000) {
                    fail("a surrogate pair is broken");
                }
                appendUtf8(out, code);
            } else {
                fail(std::string("\\") + e + " is no escape");
            }
        }
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1;
};

} // namespace

const Value* Value::member(std::string_view key) const {
    for (const auto& [k, v] : members) {
        if (k == key) {
            return &v;
        }
    }
    return nullptr;
}

Value parse(std::string_view text) {
    return Parser(text).document();
}

std::string quoted(std::string_view s) {
    std::string out = "\"";
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        const std::size_t length = utf8Length(s.substr(i));
        if (length == 0) {
            out += "\uFFFD";
            ++i;
            continue;
        }
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n' || c == '\r' || c == '\t') {
            out += c == '\n' ? "\\n" : c == '\r' ? "\\r" : "\\t";
        } else if (c < 0x20) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
            out += buffer;
        } else {
            out.append(s.substr(i, length));
        }
        i += length;
    }
    return out + "\"";
}

} // namespace json
