// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The value of one hexadecimal digit, as the stored text files escape bytes.

// 0..15, or -1 for a character that is no hexadecimal digit.
inline int HexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}
