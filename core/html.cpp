#include "html.h"

#include "core/utf8.h"

namespace html {

std::string escaped(std::string_view text) {
    std::string out;
    for (char c : utf8::replacingInvalid(text)) { // a text given in another encoding: U+FFFD
        switch (c) {
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '&':
            out += "&amp;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string symbol(std::string_view name) {
    if (const auto single = name.find(" (single)"); single != std::string_view::npos) {
        return symbol(name.substr(0, single)) + "（单精度）";
    }
    if (name.find('/') != std::string_view::npos || name.empty()) {
        return escaped(name);
    }
    if (const auto open = name.find('('); open != std::string_view::npos && name.back() == ')') {
        return escaped(name.substr(0, open)) + "<sub>" +
               escaped(name.substr(open + 1, name.size() - open - 2)) + "</sub>";
    }
    const std::size_t base = name.starts_with("EI") ? 2 : (name[0] & 0x80) ? 2 : 1; // α–ω: 2 bytes
    return base >= name.size()
               ? escaped(name)
               : escaped(name.substr(0, base)) + "<sub>" + escaped(name.substr(base)) + "</sub>";
}

} // namespace html
