#pragma once

#include <exception>
#include <string>
#include <string_view>

// The one failure of every calculation: a conversion, an arithmetic step or a table index.
// Each kind carries the number that the failure message shows to the user.
enum class ErrorKind {
    InvalidArgument = 5,     // a function outside its domain (square root of a negative)
    Overflow = 6,            // beyond the range of the target type, or an invalid operation (0 / 0)
    SubscriptOutOfRange = 9, // an index outside a fixed-size table
    DivisionByZero = 11,     // a non-zero number divided by zero
    TypeMismatch = 13,       // a text that is not a number
};

// English name of a kind ("TypeMismatch"), for logs and the command line.
const char* kindName(ErrorKind kind);

// Chinese name of a kind ("类型不匹配").
const char* chineseKindName(ErrorKind kind);

// The kind as the messages and reports show it: "类型不匹配 (错误 13)".
std::string kindText(ErrorKind kind);

class CalcError : public std::exception {
  public:
    explicit CalcError(ErrorKind kind) : kind_(kind) {}
    // With the reason in words, where the kind alone does not say what is wrong ("应不小于0"):
    // a text that lives as long as the program (a literal).
    CalcError(ErrorKind kind, const char* reason) : kind_(kind), reason_(reason) {}

    ErrorKind kind() const { return kind_; }
    int number() const { return static_cast<int>(kind_); }
    const char* what() const noexcept override { return kindName(kind_); }
    // Empty when the kind says it all.
    std::string_view reason() const { return reason_ ? reason_ : ""; }

  private:
    ErrorKind kind_;
    const char* reason_ = nullptr;
};

// Refuses an input the physics does not allow, saying why (InvalidArgument).
[[noreturn]] inline void refuseInput(const char* reason) {
    throw CalcError(ErrorKind::InvalidArgument, reason);
}

// Throws CalcError(kind). Kept out of line and marked cold, so that the checks around every
// operation stay small enough to inline.
[[noreturn, gnu::cold, gnu::noinline]] inline void failWith(ErrorKind kind) {
    throw CalcError(kind);
}
