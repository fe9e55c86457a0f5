#pragma once

#include <cstdint>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// The little JSON the program reads and writes: its saved calculations and slopecalc's output.
//
// A parsed text is a Document: its values in one array, sixteen bytes each, in the order they
// are written, and their texts in one string. So a document takes at most about ten times the
// bytes of its text (a value takes at least two bytes of text, its separator included), whatever
// it holds: a file of a million zeros takes no more than one of a few long texts.
namespace json {

class Document;

// A value of a document, valid while the document lives.
class Value {
  public:
    enum class Type : std::uint8_t { Null, Boolean, Number, String, Array, Object };

    Type type() const;
    bool boolean() const;          // true or false
    std::string_view text() const; // a string, or a number as written
    int line() const;              // where the value begins, from 1

    // The value of an object's key, if it has that key.
    std::optional<Value> member(std::string_view key) const;

    // An array's items, or an object's members (each a key and its value), in the order written.
    class Children;
    Children items() const;
    Children members() const;

  private:
    friend class Document;
    Value(const Document& document, std::uint32_t node) : document_(&document), node_(node) {}
    const Document* document_;
    std::uint32_t node_;
};

struct Member {
    std::string_view key;
    Value value;
};

class Value::Children {
  public:
    class iterator {
      public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = Member;
        using difference_type = std::ptrdiff_t;

        Member operator*() const; // for an array's items, the key is empty
        iterator& operator++();
        bool operator==(const iterator& other) const { return node_ == other.node_; }

      private:
        friend class Children;
        iterator(const Document* document, std::uint32_t node, bool keyed)
            : document_(document), node_(node), keyed_(keyed) {}
        const Document* document_;
        std::uint32_t node_;
        bool keyed_;
    };
    iterator begin() const { return {document_, first_, keyed_}; }
    iterator end() const { return {document_, end_, keyed_}; }
    std::size_t size() const { return size_; }

  private:
    friend class Value;
    const Document* document_;
    std::uint32_t first_, end_;
    std::size_t size_;
    bool keyed_;
};

// What is wrong with a text that is not JSON, and on which line.
class Error : public std::runtime_error {
  public:
    Error(int line, const std::string& what) : std::runtime_error(what), line_(line) {}
    int line() const { return line_; }

  private:
    int line_;
};

class Document {
  public:
    Value root() const { return Value(*this, 0); }

  private:
    friend class Value;
    friend class Parser;
    // A value: its type and line; a string's or a number's text in texts_ (offset, length), or
    // a container's count of children, which follow it; and the node after all of it.
    struct Node {
        std::uint32_t typeAndLine; // the type in the low three bits
        std::uint32_t offset, length;
        std::uint32_t end;
    };
    std::vector<Node> nodes_;
    std::string texts_;
};

// Parses a whole text, which must be one JSON value; a key given twice in an object is an error.
// In time and memory linear in the text's length.
Document parse(std::string_view text);

// A JSON string, always valid UTF-8: a byte that begins no valid UTF-8 sequence becomes U+FFFD.
std::string quoted(std::string_view text);

} // namespace json
