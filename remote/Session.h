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
//
// *WAI and *OPC? wait while the instrument's operation with an end (a
// stepped sweep) is under way: the rest of the line and the lines after it
// are held, in order, until Resume finds the operation ended. Only this
// client waits; the server goes on serving the others.

#include "remote/MessageUnit.h"
#include "remote/ScpiTarget.h"
#include "remote/SessionState.h"

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace remote {

class Session {
public:
    // `mayShutDown`: whether this client may end the program
    // (SYSTem:SHUTdown), as the server decides by its address.
    Session(ScpiTarget& target, bool mayShutDown);

    // The line's answers, separated by semicolons and ending in a line
    // feed; empty when the line has no query that answered (or while the
    // session waits: the answers come from Resume then). A final LF or
    // CR LF is taken off.
    std::string Execute(std::string_view line);
    // A line too long to read (the server drops it): queues -102, in turn.
    void LineTooLong();

    // Lines are held until the instrument's operation has ended.
    bool Waiting() const { return held_.has_value(); }
    // The bytes of the lines held.
    std::size_t HeldBytes() const { return heldBytes_; }
    // Once the operation has ended: the held lines run, and their answers
    // come back as Execute would have given them (empty while it goes on).
    std::string Resume();

    std::size_t QueuedErrors() const { return state_.Errors().Count(); }

private:
    // A line under way: its text, the unit to run next, the keywords the
    // next command continues from and the answers so far.
    struct LineRun {
        std::string text;
        std::size_t next = 0;
        std::vector<HeaderNode> level;
        std::string answers;
        bool answered = false;
    };

    // Runs the line's units on from the run's next one; false when one
    // waits.
    bool Run(std::string_view text, LineRun& run);
    // Runs the line on: its answers, or none yet when it is held.
    std::string Finish(std::string_view text, LineRun& run);

    ScpiTarget& target_;
    SessionState state_;
    std::optional<LineRun> held_;
    // Lines that came while waiting (none: a line too long).
    std::deque<std::optional<std::string>> later_;
    std::size_t heldBytes_ = 0;
};

} // namespace remote
