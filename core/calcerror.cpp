#include "calcerror.h"

namespace {

struct KindNames {
    const char* english;
    const char* chinese;
};

// The one table of the kinds' names; a new kind without a row is a -Wswitch warning.
KindNames namesOf(ErrorKind kind) {
    switch (kind) {
    case ErrorKind::InvalidArgument:
        return {"InvalidArgument", "无效的参数"};
    case ErrorKind::Overflow:
        return {"Overflow", "溢出"};
    case ErrorKind::SubscriptOutOfRange:
        return {"SubscriptOutOfRange", "下标越界"};
    case ErrorKind::DivisionByZero:
        return {"DivisionByZero", "除数为零"};
    case ErrorKind::TypeMismatch:
        return {"TypeMismatch", "类型不匹配"};
    }
    return {"CalcError", "计算错误"};
}

} // namespace

const char* kindName(ErrorKind kind) {
    return namesOf(kind).english;
}

const char* chineseKindName(ErrorKind kind) {
    return namesOf(kind).chinese;
}

std::string kindText(ErrorKind kind) {
    return std::string(chineseKindName(kind)) + " (错误 " + std::to_string(static_cast<int>(kind)) +
           ")";
}
