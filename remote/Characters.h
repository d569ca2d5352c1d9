// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The classes of characters a client's line is read by (ASCII only).

namespace remote {

constexpr bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

constexpr bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// White space between words: space, tab, CR, VT and FF (a line feed ends
// the line).
constexpr bool IsWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

} // namespace remote
