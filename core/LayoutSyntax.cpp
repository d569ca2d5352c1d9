// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/LayoutSyntax.h"

#include "core/LetterEscapes.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace layout_syntax {

std::string FormatFloat(float value) {
    if (!std::isfinite(value))
        return "bits(" + FormatHex32(std::bit_cast<std::uint32_t>(value)) + ")";
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    std::string s(buf, ec == std::errc() ? end : buf);
    // Keep the literal recognisably a float: "1" becomes "1.0".
    if (s.find_first_of(".e") == std::string::npos)
        s += ".0";
    return s;
}

std::string QuoteString(std::string_view text) {
    std::string out = "\"";
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        switch (ch) {
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += "\\\"";
            break;
        default:
            if (const char letter = EscapeLetter(ch, kLineEscapeLetters)) {
                out += '\\';
                out += letter;
            } else if (c < 0x20 || c == 0x7F) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\x%02X", c);
                out += buf;
            } else {
                out += ch;
            }
        }
    }
    out += '"';
    return out;
}

std::string FormatHex32(std::uint32_t value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", value);
    return buf;
}

std::vector<std::string> FormatHexLines(const std::vector<std::uint8_t>& bytes) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i % 16 == 0 && !line.empty()) {
            lines.push_back(line);
            line.clear();
        } else if (i % 4 == 0 && !line.empty()) {
            line += ' ';
        }
        char buf[4];
        std::snprintf(buf, sizeof buf, "%02X", bytes[i]);
        line += buf;
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

bool IsIdentStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool IsIdentChar(char c) {
    return IsIdentStart(c) || (c >= '0' && c <= '9');
}

} // namespace layout_syntax
