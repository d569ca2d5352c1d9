// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/IniText.h"

#include "core/HexDigit.h"
#include "core/LetterEscapes.h"

#include <cstdint>

namespace {

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

void AppendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xC0 | (code >> 6));
        out += char(0x80 | (code & 0x3F));
    } else {
        out += char(0xE0 | (code >> 12));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    }
}

// A value's text after `=`: quotes, escapes and the trimming of unquoted
// blanks undone. Nothing for a list or a typed value.
std::optional<std::string> UnescapedValue(std::string_view raw) {
    std::string value;
    std::size_t kept = 0; // the length without unquoted trailing blanks
    bool quoted = false;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c == '"') {
            quoted = !quoted;
            kept = value.size();
        } else if (!quoted && (c == ';')) {
            break; // a comment ends the line
        } else if (!quoted && c == ',') {
            return std::nullopt; // a list
        } else if (!quoted && (c == ' ' || c == '\t' || c == '\r')) {
            if (!value.empty())
                value += c;
        } else if (c == '\\' && i + 1 < raw.size()) {
            const char e = raw[++i];
            switch (e) {
            case 'x': {
                std::uint32_t code = 0;
                int digits = 0;
                while (digits < 4 && i + 1 < raw.size() && HexDigitValue(raw[i + 1]) >= 0) {
                    code = code * 16 + static_cast<std::uint32_t>(HexDigitValue(raw[++i]));
                    ++digits;
                }
                AppendUtf8(value, code);
                break;
            }
            case '0':
            case '1':
            case '2':
            case '3':
            case '4':
            case '5':
            case '6':
            case '7': {
                std::uint32_t code = std::uint32_t(e - '0');
                for (int digits = 1;
                     digits < 3 && i + 1 < raw.size() && raw[i + 1] >= '0' && raw[i + 1] <= '7';
                     ++digits)
                    code = code * 8 + std::uint32_t(raw[++i] - '0');
                AppendUtf8(value, code);
                break;
            }
            default:
                if (const char control = EscapedControl(e, kAllEscapeLetters))
                    value += control;
                else
                    value += e;
                break; // \" \' \? \\ and the rest: the character
            }
            kept = value.size();
        } else {
            value += c;
            kept = value.size();
        }
    }
    value.resize(kept);
    if (!value.empty() && value.front() == '@') {
        if (value.size() > 1 && value[1] == '@')
            return value.substr(1);
        return std::nullopt; // a typed value
    }
    return value;
}

// Written as the earlier versions wrote it, so that either reads the other.
std::string EscapedValue(const std::string& value) {
    static const char kHex[] = "0123456789abcdef";
    std::string out;
    bool needsQuotes = false;
    bool escapeHexDigit = false; // after a numeric escape a hex digit is escaped too
    const std::string text = !value.empty() && value.front() == '@' ? '@' + value : value;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == ';' || c == ',' || c == '=')
            needsQuotes = true;
        if (escapeHexDigit && HexDigitValue(c) >= 0) {
            out += "\\x";
            if (u >= 16)
                out += kHex[u >> 4];
            out += kHex[u & 15];
            continue;
        }
        escapeHexDigit = false;
        switch (c) {
        case '\0':
            out += "\\0";
            escapeHexDigit = true;
            break;
        case '"':
        case '\\':
            out += '\\';
            out += c;
            break;
        default:
            if (const char letter = EscapeLetter(c, kAllEscapeLetters)) {
                out += '\\';
                out += letter;
            } else if (u <= 0x1F) {
                out += "\\x";
                if (u >= 16)
                    out += kHex[u >> 4];
                out += kHex[u & 15];
                escapeHexDigit = true;
            } else {
                out += c;
            }
        }
    }
    if (needsQuotes || (!out.empty() && (out.front() == ' ' || out.back() == ' ')))
        out = '"' + out + '"';
    return out;
}

} // namespace

std::optional<IniValues> ReadIniText(std::string_view text) {
    IniValues values;
    std::string group;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = Trimmed(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            if (close == std::string_view::npos)
                return std::nullopt;
            group = std::string(Trimmed(line.substr(1, close - 1)));
            if (group == "General")
                group.clear();
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            return std::nullopt;
        const std::string_view key = Trimmed(line.substr(0, equals));
        if (key.empty())
            continue;
        const std::string name = group.empty() ? std::string(key) : group + '/' + std::string(key);
        if (auto value = UnescapedValue(line.substr(equals + 1)))
            values[name] = std::move(*value);
        else
            values.erase(name);
    }
    return values;
}

std::string WriteIniText(const IniValues& values) {
    std::string text;
    std::string group = "\n"; // no group has this name
    for (const auto& [name, value] : values) {
        const std::size_t slash = name.rfind('/');
        const std::string valueGroup =
            slash == std::string::npos ? "General" : name.substr(0, slash);
        if (valueGroup != group) {
            if (!text.empty())
                text += '\n';
            text += '[' + valueGroup + "]\n";
            group = valueGroup;
        }
        text += name.substr(slash == std::string::npos ? 0 : slash + 1) + '=' +
                EscapedValue(value) + '\n';
    }
    return text;
}
