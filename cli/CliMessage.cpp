// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CliMessage.h"

std::string CliMessage::Text() const {
    return Text([](const char* english) { return std::string(english); });
}

std::string CliMessage::FillPlaceholders(std::string_view pattern,
                                         const std::vector<std::string>& arguments) {
    std::string text;
    text.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const bool placeholder = pattern[i] == '%' && i + 1 < pattern.size() &&
                                 pattern[i + 1] >= '1' && pattern[i + 1] <= '9';
        const std::size_t index = placeholder ? std::size_t(pattern[i + 1] - '1') : 0;
        if (placeholder && index < arguments.size()) {
            text += arguments[index];
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}
