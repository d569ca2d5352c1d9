// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One client's conversation with the instrument: it takes the client's
// lines one by one and answers the queries among them.
//
// A line holds one or more commands separated by semicolons. A command
// continues at the previous command's level of keywords ("SWE:TIME 2;SPAC
// LIN" is SWE:SPAC) unless it starts with a colon (the root) or a star
// (a common command, which leaves the level where it was); every line
// starts at the root. A command that cannot be done changes nothing and
// queues its error; the line's later commands still run.

#include "remote/ScpiTarget.h"
#include "remote/SessionState.h"

#include <string>
#include <string_view>

namespace remote {

class Session {
public:
    // `mayShutDown`: whether this client may end the program
    // (SYSTem:SHUTdown), as the server decides by its address.
    Session(ScpiTarget& target, bool mayShutDown);

    // The line's answers, separated by semicolons and ending in a line
    // feed; empty when the line has no query that answered. A final LF or
    // CR LF is taken off.
    std::string Execute(std::string_view line);
    // A line too long to read (the server drops it): queues -102.
    void LineTooLong();

    std::size_t QueuedErrors() const { return state_.Errors().Count(); }

private:
    ScpiTarget& target_;
    SessionState state_;
};

} // namespace remote
