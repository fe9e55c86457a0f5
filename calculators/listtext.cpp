#include "listtext.h"

#include "core/numerictext.h"

#include <algorithm>

namespace subprogram {

namespace {

// A ',' in a number of a list stands only in a thousands grouping (1,500 and 12,345.6; not 1,5),
// so that a comma typed for a decimal point or a separator is not silently read away.
bool groupedWell(std::string_view word) {
    const std::size_t comma = word.find(',');
    if (comma == std::string_view::npos) {
        return true;
    }
    std::size_t start = word.find_first_of("0123456789");
    if (start == std::string_view::npos || start > comma) {
        return false;
    }
    std::size_t end = word.find_first_not_of("0123456789,", start);
    end = end == std::string_view::npos ? word.size() : end;
    const std::string_view whole = word.substr(start, end - start);
    std::size_t group = whole.find(',');
    if (group == 0 || group > 3) {
        return false;
    }
    while (group != std::string_view::npos) {
        const std::size_t next = whole.find(',', group + 1);
        const std::size_t length = (next == std::string_view::npos ? whole.size() : next) - group;
        if (length != 4) {
            return false;
        }
        group = next;
    }
    return word.find(',', end) == std::string_view::npos;
}

} // namespace

double listNumber(std::string_view word) {
    if (!groupedWell(word)) {
        refuseInput("逗号只能作千位分隔符（如 1,500）：各项以分号“;”分隔，一项中的各数以空格分隔");
    }
    return textToDouble(word);
}

std::vector<double> numberList(std::string_view text) {
    std::vector<double> numbers;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(';', start);
        numbers.push_back(listNumber(text.substr(start, end - start)));
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
            // a group in parentheses is one word, its blanks and all (a line's points)
            const std::size_t close = item[at] == '(' ? item.find(')', at) : std::string_view::npos;
            const std::size_t stop = close != std::string_view::npos
                                         ? close + 1
                                         : std::min(item.find_first_of(" \t", at), item.size());
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
            row.push_back(listNumber(word));
        }
        if (row.size() < least || row.size() > most) {
            refuseInput("列表中有一项的数的个数不对（各项以分号“;”分隔，一项中的各数以空格分隔）");
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace subprogram
