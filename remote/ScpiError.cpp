// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/ScpiError.h"

#include <array>
#include <utility>

namespace remote {
namespace {

constexpr std::array<std::pair<int, std::string_view>, 19> kTexts{{
    {0, "No error"},
    {-100, "Command error"},
    {-101, "Invalid character"},
    {-102, "Syntax error"},
    {-104, "Data type error"},
    {-108, "Parameter not allowed"},
    {-109, "Missing parameter"},
    {-113, "Undefined header"},
    {-114, "Header suffix out of range"},
    {-131, "Invalid suffix"},
    {-200, "Execution error"},
    {-203, "Command protected"},
    {-220, "Parameter error"},
    {-221, "Settings conflict"},
    {-222, "Data out of range"},
    {-224, "Illegal parameter value"},
    {-300, "Device-specific error"},
    {-350, "Queue overflow"},
    {-400, "Query error"},
}};

// The longest error text a client has to take, as the protocol allows.
constexpr std::size_t kLongestText = 255;

std::string_view TextOf(int code) {
    for (const auto& [known, text] : kTexts)
        if (known == code)
            return text;
    return {};
}

} // namespace

std::string_view StandardErrorText(int code) {
    if (const std::string_view text = TextOf(code); !text.empty())
        return text;
    if (code <= -100 && code > -500)
        return TextOf(code / 100 * 100);
    return TextOf(-300);
}

std::string ErrorQueueEntry(const ScpiError& error) {
    std::string text(StandardErrorText(error.code));
    if (!error.detail.empty())
        text += ";" + error.detail;
    if (text.size() > kLongestText)
        text.resize(kLongestText);
    // A quote would end the string early; anything unprintable a client's
    // own input may have put into the detail is not passed on.
    for (char& c : text) {
        if (c == '"')
            c = '\'';
        else if (c < ' ' || c > '~')
            c = '?';
    }
    return std::to_string(error.code) + ",\"" + text + "\"";
}

} // namespace remote
