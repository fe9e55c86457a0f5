#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The little JSON the program reads and writes: its saved calculations and slopecalc's output.
namespace json {

struct Member;

struct Value {
    enum class Type { Null, Boolean, Number, String, Array, Object };
    Type type = Type::Null;
    bool boolean = false;
    std::string text; // a string, or a number as written
    std::vector<Value> items;
    std::vector<Member> members; // in the order written
    int line = 0;                // where the value begins, from 1

    const Value* member(std::string_view key) const;
};

// One key of an object with its value. (A pair of a string and a Value would need Value
// complete where Value itself is declared.)
struct Member {
    std::string key;
    Value value;
};

// What is wrong with a text that is not JSON, and on which line.
class Error : public std::runtime_error {
  public:
    Error(int line, const std::string& what) : std::runtime_error(what), line_(line) {}
    int line() const { return line_; }

  private:
    int line_;
};

// Parses a whole text, which must be one JSON value; a key given twice in an object is an error.
Value parse(std::string_view text);

// A JSON string, always valid UTF-8: a byte that begins no valid UTF-8 sequence becomes U+FFFD.
std::string quoted(std::string_view text);

} // namespace json
