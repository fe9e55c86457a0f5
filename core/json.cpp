#include "json.h"

#include "core/utf8.h"

#include <cstdio>
#include <functional>
#include <memory>

namespace json {

namespace {

constexpr std::uint32_t kTypeBits = 3;
constexpr std::size_t kLongestText = std::size_t{1} << 28; // lines and offsets fit 32 bits

// The keys of one object, to find one given twice in time linear in their number: a table of
// their nodes, open addressing, never more than three quarters full.
class KeySet {
  public:
    // False when the key was there already.
    template <typename KeyOf> bool insert(std::string_view key, std::uint32_t node, KeyOf keyOf) {
        if ((count_ + 1) * 4 > slots_.size() * 3) {
            grow(keyOf);
        }
        for (std::size_t i = slot(key);; i = (i + 1) & (slots_.size() - 1)) {
            if (slots_[i] == kEmpty) {
                slots_[i] = node;
                ++count_;
                return true;
            }
            if (keyOf(slots_[i]) == key) {
                return false;
            }
        }
    }

  private:
    static constexpr std::uint32_t kEmpty = 0; // the root is never a key
    std::size_t slot(std::string_view key) const {
        return std::hash<std::string_view>()(key) & (slots_.size() - 1);
    }
    template <typename KeyOf> void grow(KeyOf keyOf) {
        std::vector<std::uint32_t> old(slots_.empty() ? 8 : slots_.size() * 2, kEmpty);
        old.swap(slots_);
        for (const std::uint32_t node : old) {
            if (node != kEmpty) {
                std::size_t i = slot(keyOf(node));
                while (slots_[i] != kEmpty) {
                    i = (i + 1) & (slots_.size() - 1);
                }
                slots_[i] = node;
            }
        }
    }
    std::vector<std::uint32_t> slots_;
    std::size_t count_ = 0;
};

} // namespace

class Parser {
  public:
    Parser(std::string_view text, Document& document)
        : text_(text), nodes_(document.nodes_), texts_(document.texts_) {}

    void document() {
        if (text_.size() >= kLongestText) {
            fail("the text is too long");
        }
        nodes_.reserve(text_.size() / 2 + 1); // a value takes two bytes at least, with its comma
        texts_.reserve(text_.size());
        value(0);
        space();
        if (pos_ < text_.size()) {
            fail("after the value, more text follows");
        }
    }

  private:
    using Type = Value::Type;
    using Node = Document::Node;

    [[noreturn]] void fail(const std::string& what) const { throw Error(line_, what); }

    void space() {
        while (pos_ < text_.size() &&
               std::string_view(" \t\r\n").find(text_[pos_]) != std::string_view::npos) {
            line_ += text_[pos_++] == '\n';
        }
    }
    bool take(char c) {
        space();
        const bool next = text_.substr(pos_).starts_with(c);
        pos_ += next;
        return next;
    }
    void expect(char c) {
        if (!take(c)) {
            fail(pos_ >= text_.size() ? "the file ends too early"
                                      : std::string("expected '") + c + "'");
        }
    }

    // A new node of `type` beginning on this line; its index.
    std::uint32_t node(Type type) {
        const auto index = static_cast<std::uint32_t>(nodes_.size());
        nodes_.push_back(
            {static_cast<std::uint32_t>(line_) << kTypeBits | static_cast<std::uint32_t>(type),
             static_cast<std::uint32_t>(texts_.size()), 0, index + 1});
        return index;
    }
    // The node's text: what was appended to the texts since it began.
    void endText(std::uint32_t index) {
        nodes_[index].length = static_cast<std::uint32_t>(texts_.size()) - nodes_[index].offset;
    }
    std::string_view textOf(std::uint32_t index) const {
        return std::string_view(texts_).substr(nodes_[index].offset, nodes_[index].length);
    }

    void value(int depth) {
        if (depth > 64) {
            fail("nested too deeply");
        }
        space();
        if (pos_ >= text_.size()) {
            fail("the file ends too early");
        }
        const char c = text_[pos_];
        if (c == '{' || c == '[') {
            ++pos_;
            const bool object = c == '{';
            const std::uint32_t index = node(object ? Type::Object : Type::Array);
            std::uint32_t count = 0;
            if (!take(object ? '}' : ']')) {
                std::unique_ptr<KeySet> keys = object ? std::make_unique<KeySet>() : nullptr;
                do {
                    if (object) {
                        space();
                        const int keyLine = line_;
                        if (pos_ >= text_.size() || text_[pos_] != '"') {
                            fail("expected a key in quotes");
                        }
                        const std::uint32_t key = string();
                        if (!keys->insert(textOf(key), key,
                                          [this](std::uint32_t k) { return textOf(k); })) {
                            throw Error(keyLine, "the key \"" + std::string(textOf(key)) +
                                                     "\" is given twice");
                        }
                        expect(':');
                    }
                    value(depth + 1);
                    ++count;
                } while (take(','));
                expect(object ? '}' : ']');
            }
            nodes_[index].length = count;
            nodes_[index].end = static_cast<std::uint32_t>(nodes_.size());
        } else if (c == '"') {
            string();
        } else if (word("true")) {
            nodes_[node(Type::Boolean)].length = 1; // a boolean's length is its value
        } else if (word("false")) {
            node(Type::Boolean);
        } else if (word("null")) {
            node(Type::Null);
        } else {
            number();
        }
    }

    bool word(std::string_view w) {
        if (text_.substr(pos_, w.size()) != w) {
            return false;
        }
        pos_ += w.size();
        return true;
    }

    void number() {
        const std::uint32_t index = node(Type::Number);
        const std::size_t start = pos_;
        const auto digits = [&] {
            const std::size_t from = pos_;
            while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') {
                ++pos_;
            }
            return pos_ - from;
        };
        take('-');
        const std::size_t whole = pos_;
        const std::size_t count = digits();
        bool ok = count > 0;
        if (ok && count > 1 && text_[whole] == '0') {
            fail(std::string(text_.substr(start, pos_ - start)) + " is not a JSON number");
        }
        if (ok && pos_ < text_.size() && text_[pos_] == '.') {
            ++pos_;
            ok = digits() > 0;
        }
        if (ok && pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
            ++pos_;
            if (pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-')) {
                ++pos_;
            }
            ok = digits() > 0;
        }
        if (!ok) {
            fail("expected a value");
        }
        texts_.append(text_.substr(start, pos_ - start));
        endText(index);
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

    // A string's node, its text unescaped.
    std::uint32_t string() {
        const std::uint32_t index = node(Type::String);
        ++pos_; // the opening quote
        for (;;) {
            if (pos_ >= text_.size()) {
                fail("the file ends inside a string");
            }
            const char c = text_[pos_];
            if (c == '"') {
                ++pos_;
                endText(index);
                return index;
            }
            if (static_cast<unsigned char>(c) < 0x20) {
                fail("a string holds a control character");
            }
            if (c != '\\') {
                const std::size_t length = utf8::sequenceLength(text_.substr(pos_));
                if (length == 0) {
                    fail("a string is not valid UTF-8");
                }
                texts_.append(text_.substr(pos_, length));
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
                texts_ += meant[at];
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
                utf8::append(texts_, code);
            } else {
                fail(std::string("\\") + e + " is no escape");
            }
        }
    }

    std::string_view text_;
    std::vector<Node>& nodes_;
    std::string& texts_;
    std::size_t pos_ = 0;
    int line_ = 1;
};

Value::Type Value::type() const {
    return static_cast<Type>(document_->nodes_[node_].typeAndLine & ((1u << kTypeBits) - 1));
}

bool Value::boolean() const {
    return type() == Type::Boolean && document_->nodes_[node_].length != 0;
}

std::string_view Value::text() const {
    const Document::Node& n = document_->nodes_[node_];
    if (type() != Type::String && type() != Type::Number) {
        return {};
    }
    return std::string_view(document_->texts_).substr(n.offset, n.length);
}

int Value::line() const {
    return static_cast<int>(document_->nodes_[node_].typeAndLine >> kTypeBits);
}

std::optional<Value> Value::member(std::string_view key) const {
    for (const Member m : members()) {
        if (m.key == key) {
            return m.value;
        }
    }
    return std::nullopt;
}

Value::Children Value::items() const {
    Children c{};
    c.document_ = document_;
    c.keyed_ = false;
    const bool array = type() == Type::Array;
    c.first_ = node_ + 1;
    c.end_ = array ? document_->nodes_[node_].end : c.first_;
    c.size_ = array ? document_->nodes_[node_].length : 0;
    return c;
}

Value::Children Value::members() const {
    Children c = items();
    c.keyed_ = true;
    const bool object = type() == Type::Object;
    c.end_ = object ? document_->nodes_[node_].end : c.first_;
    c.size_ = object ? document_->nodes_[node_].length : 0;
    return c;
}

Member Value::Children::iterator::operator*() const {
    if (!keyed_) {
        return {{}, Value(*document_, node_)};
    }
    const Value key(*document_, node_);
    return {key.text(), Value(*document_, node_ + 1)};
}

Value::Children::iterator& Value::Children::iterator::operator++() {
    // past the key, then past the value and all it holds
    node_ = document_->nodes_[node_ + (keyed_ ? 1 : 0)].end;
    return *this;
}

Document parse(std::string_view text) {
    Document document;
    Parser(text, document).document();
    return document;
}

std::string quoted(std::string_view s) {
    std::string out = "\"";
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        const std::size_t length = utf8::sequenceLength(s.substr(i));
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
