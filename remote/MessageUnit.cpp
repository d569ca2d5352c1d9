// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/MessageUnit.h"

#include "remote/Characters.h"
#include "remote/Mnemonic.h"
#include "remote/ScpiError.h"

#include <algorithm>

namespace remote {
namespace {

// Larger channel numbers are all out of range alike; holding them here
// keeps a long run of digits from overflowing.
constexpr int kLargestNumber = 9999;
constexpr std::size_t kMostParameters = 8;

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsWhiteSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsWhiteSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

// Splits at `separator` where it is not inside a quoted string.
std::vector<std::string_view> SplitOutsideQuotes(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    char quote = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quote != 0) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == separator) {
            parts.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    parts.push_back(text.substr(start));
    return parts;
}

// A keyword and its number: "SOUR2" is SOUR and 2.
HeaderNode ReadNode(std::string_view text, std::size_t& i) {
    if (i >= text.size() || !IsLetter(text[i]))
        ThrowScpiError(kSyntaxError, "a keyword must start with a letter");
    const std::size_t start = i;
    while (i < text.size() && (IsLetter(text[i]) || IsDigit(text[i]) || text[i] == '_'))
        ++i;
    std::size_t end = i;
    while (end > start && IsDigit(text[end - 1]))
        --end;
    HeaderNode node{UpperCase(text.substr(start, end - start)), std::nullopt};
    if (end < i) {
        int number = 0;
        for (std::size_t k = end; k < i; ++k)
            number = std::min(number * 10 + (text[k] - '0'), kLargestNumber);
        node.number = number;
    }
    return node;
}

Header ReadHeader(std::string_view text, std::size_t& i) {
    Header header;
    if (text[i] == '*') {
        header.common = true;
        const std::size_t start = i++;
        while (i < text.size() && IsLetter(text[i]))
            ++i;
        if (i == start + 1)
            ThrowScpiError(kSyntaxError, "a letter must follow *");
        header.nodes.push_back({UpperCase(text.substr(start, i - start)), std::nullopt});
    } else {
        header.rooted = text[i] == ':';
        if (header.rooted)
            ++i;
        header.nodes.push_back(ReadNode(text, i));
        while (i < text.size() && text[i] == ':')
            header.nodes.push_back(ReadNode(text, ++i));
    }
    if (i < text.size() && text[i] == '?') {
        header.query = true;
        ++i;
    }
    if (i < text.size() && !IsWhiteSpace(text[i]))
        ThrowScpiError(kSyntaxError, "white space must follow the header");
    return header;
}

Parameter ReadParameter(std::string_view text) {
    if (text.empty())
        ThrowScpiError(kSyntaxError, "empty parameter");
    Parameter parameter;
    const char first = text.front();
    if (first == '"' || first == '\'') {
        if (text.size() < 2 || text.back() != first)
            ThrowScpiError(kSyntaxError, "unterminated text");
        parameter.kind = Parameter::Kind::Text;
        return parameter;
    }
    std::size_t length = 0;
    if ((parameter.number = DecimalNumber::Read(text, length))) {
        parameter.kind = Parameter::Kind::Number;
        const std::string_view unit = Trimmed(text.substr(length));
        if (!std::all_of(unit.begin(), unit.end(), IsLetter))
            ThrowScpiError(kSyntaxError, "a unit is letters only");
        parameter.unit = UpperCase(unit);
        return parameter;
    }
    if (!IsLetter(first) || !std::all_of(text.begin(), text.end(), [](char c) {
            return IsLetter(c) || IsDigit(c) || c == '_';
        }))
        ThrowScpiError(kSyntaxError, "not a number or a word");
    parameter.word = UpperCase(text);
    return parameter;
}

} // namespace

MessageUnit ReadMessageUnit(std::string_view text) {
    for (const char c : text)
        if ((c < ' ' || c > '~') && !IsWhiteSpace(c))
            ThrowScpiError(kInvalidCharacter);
    text = Trimmed(text);
    if (text.empty())
        ThrowScpiError(kSyntaxError, "empty command");
    MessageUnit unit;
    std::size_t i = 0;
    unit.header = ReadHeader(text, i);
    const std::string_view rest = Trimmed(text.substr(i));
    if (!rest.empty()) {
        const std::vector<std::string_view> parts = SplitOutsideQuotes(rest, ',');
        // No command takes more: a client's thousands are not each read.
        if (parts.size() > kMostParameters)
            ThrowScpiError(kParameterNotAllowed);
        for (const std::string_view part : parts)
            unit.parameters.push_back(ReadParameter(Trimmed(part)));
    }
    return unit;
}

std::vector<std::string_view> SplitMessage(std::string_view line) {
    return SplitOutsideQuotes(line, ';');
}

} // namespace remote
