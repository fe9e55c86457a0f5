#include "utf8.h"

#include <algorithm>
#include <cstdio>

namespace utf8 {

std::size_t sequenceLength(std::string_view s) {
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

std::size_t firstInvalid(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        if (static_cast<unsigned char>(s[i]) < 0x80) { // ASCII, by far the most
            ++i;
            continue;
        }
        const std::size_t length = sequenceLength(s.substr(i));
        if (length == 0) {
            return i;
        }
        i += length;
    }
    return std::string_view::npos;
}

std::string replacingInvalid(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t length = sequenceLength(s.substr(i));
        if (length == 0) {
            out += "\uFFFD";
            ++i;
        } else {
            out.append(s.substr(i, length));
            i += length;
        }
    }
    return out;
}

void append(std::string& out, unsigned code) {
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

} // namespace utf8

std::string escapedForLine(std::string_view text) {
    std::string out;
    const auto hex = [&out](unsigned char c) {
        char digits[8];
        std::snprintf(digits, sizeof digits, "\\x%02x", c);
        out += digits;
    };
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            const std::size_t length = utf8::sequenceLength(text.substr(i));
            if (length == 0) {
                hex(c);
                ++i;
            } else if (c == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0) {
                // a C1 control (U+0080 … U+009F): a terminal takes U+009B as CSI
                char digits[8];
                std::snprintf(digits, sizeof digits, "\\u%04x",
                              static_cast<unsigned char>(text[i + 1]));
                out += digits;
                i += length;
            } else {
                out.append(text.substr(i, length));
                i += length;
            }
            continue;
        }
        if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\\' || c == '"') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            hex(c);
        } else {
            out += static_cast<char>(c);
        }
        ++i;
    }
    return out;
}

namespace csv {

void appendField(std::string& out, std::string_view field) {
    if (std::none_of(field.begin(), field.end(), [](char c) {
            // ',' '"' '\r' '\n' all lie below '0'
            return static_cast<unsigned char>(c) < '0' &&
                   (c == ',' || c == '"' || c == '\r' || c == '\n');
        })) {
        out += field;
        return;
    }
    out += '"';
    for (char c : field) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    out += '"';
}

} // namespace csv
