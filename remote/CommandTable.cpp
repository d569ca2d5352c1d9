// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/CommandTable.h"

#include "remote/ScpiError.h"

#include <utility>

namespace remote {

void CommandTable::Add(std::string_view pattern, CommandHandler command, CommandHandler query) {
    entries_.push_back({CommandPattern(pattern), std::move(command), std::move(query)});
}

CommandTable::Found CommandTable::Find(const std::vector<HeaderNode>& nodes, bool query) const {
    bool numberOutOfRange = false;
    for (const Entry& entry : entries_) {
        const CommandHandler& handler = query ? entry.query : entry.command;
        std::optional<int> number;
        switch (entry.pattern.Matches(nodes, number)) {
        case CommandPattern::Match::Yes:
            if (handler)
                return {&handler, number, 0, {}};
            break;
        case CommandPattern::Match::NumberOutOfRange:
            numberOutOfRange = true;
            break;
        case CommandPattern::Match::No:
            break;
        }
    }
    if (numberOutOfRange)
        return {nullptr, std::nullopt, kHeaderSuffixOutOfRange, "channels are 1 and 2"};
    return {nullptr, std::nullopt, kUndefinedHeader, {}};
}

} // namespace remote
