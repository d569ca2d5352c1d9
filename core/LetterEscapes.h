// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one-letter escapes of control characters ("\n" for a line feed) that
// the stored text files write; each format knows all or only some of them.

#include <string_view>

// The letters of every such escape, and those the layout files know.
inline constexpr std::string_view kAllEscapeLetters = "abfnrtv";
inline constexpr std::string_view kLineEscapeLetters = "nrt";

// The letter that escapes `c` if `letters` holds it, else 0.
inline char EscapeLetter(char c, std::string_view letters) {
    constexpr std::string_view controls = "\a\b\f\n\r\t\v";
    const std::size_t at = controls.find(c);
    const char letter = at == std::string_view::npos ? '\0' : kAllEscapeLetters[at];
    return letter != '\0' && letters.find(letter) != std::string_view::npos ? letter : '\0';
}

// The control character that `letter` escapes if `letters` holds it, else 0.
inline char EscapedControl(char letter, std::string_view letters) {
    constexpr std::string_view controls = "\a\b\f\n\r\t\v";
    const std::size_t at = kAllEscapeLetters.find(letter);
    return at != std::string_view::npos && letters.find(letter) != std::string_view::npos
               ? controls[at]
               : '\0';
}
