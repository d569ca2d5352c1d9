// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where UTF-8 text starts with a valid character: file names and option
// values are bytes, and only valid sequences may be shown or decoded as
// characters.

#include <cstddef>
#include <cstdint>
#include <string_view>

// The length in bytes of the valid UTF-8 character `text` starts with (1 to
// 4), or 0 when it starts with a byte that begins none: a stray
// continuation byte, a cut-off, over-long or surrogate sequence, or a code
// past U+10FFFF.
inline std::size_t Utf8CharLength(std::string_view text) {
    if (text.empty())
        return 0;
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    const std::uint8_t lead = byte(0);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    std::uint8_t low = 0x80, high = 0xBF; // bounds of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0; // over-long
        if (lead == 0xED)
            high = 0x9F; // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90; // over-long
        if (lead == 0xF4)
            high = 0x8F; // past U+10FFFF
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF)
            return 0;
    return length;
}
