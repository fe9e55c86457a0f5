#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

// Lists typed into one field: items separated by ';', an item's words by spaces or tabs. Every
// number is read as a field reads one (textToDouble) before any is counted, so that a text that
// is no number fails as one; a count that does not fit fails with InvalidArgument.
// A ',' inside a number stands only in a thousands grouping ("1,500"): "1,5" is refused.
namespace subprogram {

// One number of a list, read as a field reads one; a ',' stands only in a thousands grouping
// (1,500), any other is refused.
double listNumber(std::string_view word);

// "a;b;c" → its numbers.
std::vector<double> numberList(std::string_view text);

// "w1 w2;w3" → each item's words; a group in parentheses, "(x y, x y)", is one word.
std::vector<std::vector<std::string_view>> itemsOf(std::string_view text);

// "x y;x y" → rows of `least` to `most` numbers each.
std::vector<std::vector<double>> rowsOf(std::string_view text, std::size_t least, std::size_t most);
inline std::vector<std::vector<double>> rowsOf(std::string_view text, std::size_t columns) {
    return rowsOf(text, columns, columns);
}

} // namespace subprogram
