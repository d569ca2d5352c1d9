// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One command or query of a line, read: its header and its parameters.
//
// A header is a common command ("*RST", "*IDN?") or keywords separated by
// colons, each with an optional number ("SOUR2:FREQ"), rooted when it
// starts with a colon, a query when it ends with "?". Parameters follow
// after white space, separated by commas: numbers with an optional unit
// ("1.5 kHz", "-6DBFS") or words ("MAX", "ON", "SIN").

#include "remote/Parameter.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace remote {

struct HeaderNode {
    std::string mnemonic; // upper case; a common command keeps its "*"
    std::optional<int> number;
};

struct Header {
    bool common = false;
    bool rooted = false;
    bool query = false;
    std::vector<HeaderNode> nodes;
};

struct MessageUnit {
    Header header;
    std::vector<Parameter> parameters;
};

// Reads one unit (the text between semicolons); throws ScpiError -101,
// -102 or -114 when it cannot be read.
MessageUnit ReadMessageUnit(std::string_view text);

// The line's units: the text between semicolons that are not inside a
// quoted string.
std::vector<std::string_view> SplitMessage(std::string_view line);

} // namespace remote
