#include "listtext.h"

#include "core/numerictext.h"

#include <algorithm>

namespace subprogram {

std::vector<double> numberList(std::string_view text) {
    std::vector<double> numbers;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(';', start);
        numbers.push_back(textToDouble(text.substr(start, end - start)));
        if (end == std::string_view::npos) {
            return numbers;
        }
        start = end + 1;
    }
}

std::vector<std::vector<std::string_view>> itemsOf(std::string_view text) {
    std::vector<std::vector<std::string_view>> items;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(';', start);
        const std::string_view item = text.substr(start, end - start);
        std::vector<std::string_view> words;
        for (std::size_t at = item.find_first_not_of(" \t"); at != std::string_view::npos;) {
            const std::size_t stop = std::min(item.find_first_of(" \t", at), item.size());
            words.push_back(item.substr(at, stop - at));
            at = item.find_first_not_of(" \t", stop);
        }
        items.push_back(std::move(words));
        if (end == std::string_view::npos) {
            return items;
        }
        start = end + 1;
    }
}

std::vector<std::vector<double>> rowsOf(std::string_view text, std::size_t least,
                                        std::size_t most) {
    std::vector<std::vector<double>> rows;
    for (const auto& words : itemsOf(text)) {
        std::vector<double> row;
        for (const std::string_view word : words) {
            row.push_back(textToDouble(word));
        }
        if (row.size() < least || row.size() > most) {
            throw CalcError(ErrorKind::InvalidArgument);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace subprogram
