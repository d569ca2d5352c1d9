// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Lexical pieces shared by the layout reader and writer: how numbers,
// strings and raw bytes are spelled.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace layout_syntax {

// Shortest text that reads back as the same float32 bits: "0.5", "1e-06",
// "-0.0"; non-finite values as "bits(0x7FC00000)".
std::string FormatFloat(float value);
// A double-quoted string with \\, \", \n, \r, \t and \xHH escapes; other
// bytes (UTF-8 included) pass through.
std::string QuoteString(std::string_view text);
// "0x00282828"
std::string FormatHex32(std::uint32_t value);
// Raw bytes as lines of hex, 16 bytes a line in groups of four.
std::vector<std::string> FormatHexLines(const std::vector<std::uint8_t>& bytes);

bool IsIdentStart(char c);
bool IsIdentChar(char c);

} // namespace layout_syntax
