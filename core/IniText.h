// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The INI text of the panel's settings file, read and written without Qt
// but exactly as the earlier versions wrote it (Qt's INI form): groups in
// name order, `[group]` then `key=value` lines, a blank line between
// groups; a value is quoted when it holds `;`, `,` or `=` or starts or ends
// with a space, and control characters, `"` and `\` are escaped (`\t`,
// `\x1b`, `\\`), so that the text stays one line per value.

#include <map>
#include <optional>
#include <string>
#include <string_view>

// "group/key" (a key before any group: "key") to its value as UTF-8.
using IniValues = std::map<std::string, std::string>;

// The values of `text`, or nothing when it is not INI text: a line that is
// neither blank, a comment (`;` or `#`), a `[group]` nor `key=value`. A
// value that is a list (an unquoted comma) or a typed value (`@...`) is
// left out, so that it reads as missing.
std::optional<IniValues> ReadIniText(std::string_view text);

std::string WriteIniText(const IniValues& values);
