// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The commands a session takes: each a header pattern with what its
// command form does and what its query answers.

#include "remote/CommandContext.h"
#include "remote/CommandPattern.h"

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace remote {

using CommandHandler = std::function<void(CommandContext&)>;

class CommandTable {
public:
    // Either handler may be empty: a query-only or command-only header.
    void Add(std::string_view pattern, CommandHandler command, CommandHandler query);

    struct Found {
        const CommandHandler* handler = nullptr;
        std::optional<int> number;
        // Without a handler: -113 when no command has the keywords, -114
        // for a channel number other than 1 or 2.
        int error = 0;
        std::string_view detail;
    };
    // The handler the written keywords name, in the command or the query
    // form. Unknown keywords are a client's commonest fault, so they are
    // answered without an exception.
    Found Find(const std::vector<HeaderNode>& nodes, bool query) const;

private:
    struct Entry {
        CommandPattern pattern;
        CommandHandler command;
        CommandHandler query;
    };
    std::vector<Entry> entries_;
};

// Every command of the instrument.
const CommandTable& InstrumentCommands();

} // namespace remote
