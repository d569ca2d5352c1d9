// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A command's header as the command table writes it, for example
// "[SOURce#:]FREQuency[:CW]" or "OUTPut#[:STATe]": keywords separated by
// colons, a bracketed keyword may be left out, and "#" marks a keyword
// that takes a channel number, 1 or 2 (1 when none is written).

#include "remote/MessageUnit.h"
#include "remote/Mnemonic.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace remote {

class CommandPattern {
public:
    explicit CommandPattern(std::string_view written);

    enum class Match : std::uint8_t { No, Yes, NumberOutOfRange };
    // Whether the written keywords name this command. On a match, `number`
    // holds the channel number the client wrote, if any.
    Match Matches(const std::vector<HeaderNode>& nodes, std::optional<int>& number) const;

private:
    struct Node {
        Mnemonic mnemonic;
        bool optional = false;
        bool numbered = false;
    };

    Match MatchFrom(std::size_t pattern, std::size_t node, const std::vector<HeaderNode>& nodes,
                    std::optional<int>& number) const;

    std::vector<Node> nodes_;
};

} // namespace remote
