// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One parameter of a command as the client wrote it: a number with an
// optional unit ("1.5 kHz"), a word ("MAX", "ON", "SIN") or a quoted text.

#include "remote/DecimalNumber.h"

#include <cstdint>
#include <optional>
#include <string>

namespace remote {

struct Parameter {
    enum class Kind : std::uint8_t { Number, Word, Text };
    Kind kind = Kind::Word;
    std::optional<DecimalNumber> number;
    std::string unit; // a number's unit in upper case; empty when none
    std::string word; // a word in upper case
};

} // namespace remote
