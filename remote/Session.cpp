// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/Session.h"

#include "remote/Characters.h"
#include "remote/CommandTable.h"
#include "remote/MessageUnit.h"
#include "remote/ScpiError.h"

#include <algorithm>
#include <exception>
#include <vector>

namespace remote {
namespace {

// More keywords than any command has (SOURce:VOLTage:LEVel:IMMediate:
// AMPLitude has five).
constexpr std::size_t kDeepestHeader = 8;

bool IsBlank(std::string_view text) {
    return std::all_of(text.begin(), text.end(), IsWhiteSpace);
}

std::string_view WithoutLineEnd(std::string_view line) {
    if (!line.empty() && line.back() == '\n')
        line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

} // namespace

Session::Session(ScpiTarget& target, bool mayShutDown) : target_(target), state_(mayShutDown) {}

std::string Session::Execute(std::string_view line) {
    std::string answers;
    bool answered = false;
    // The keywords a command without a leading colon continues from.
    std::vector<HeaderNode> level;
    for (const std::string_view text : SplitMessage(WithoutLineEnd(line))) {
        if (IsBlank(text))
            continue;
        try {
            MessageUnit unit = ReadMessageUnit(text);
            std::vector<HeaderNode> path = std::move(unit.header.nodes);
            if (!unit.header.common) {
                if (!unit.header.rooted)
                    path.insert(path.begin(), level.begin(), level.end());
                // Refused before it becomes the level: otherwise each of a
                // long line's commands would copy a longer path.
                if (path.size() > kDeepestHeader)
                    ThrowScpiError(kUndefinedHeader);
                level.assign(path.begin(), path.end() - 1);
            }
            const CommandTable::Found found = InstrumentCommands().Find(path, unit.header.query);
            if (found.handler == nullptr) {
                state_.Report({found.error, std::string(found.detail)});
                continue;
            }
            CommandContext context(target_, state_, found.number, unit.parameters);
            (*found.handler)(context);
            if (unit.header.query) {
                answers += (answered ? ";" : "") + context.reply;
                answered = true;
            }
        } catch (const ScpiError& error) {
            state_.Report(error);
        } catch (const std::exception& failure) {
            // The instrument could not do it (out of memory, ...): the
            // client hears of it and the session goes on.
            state_.Report({kExecutionError, failure.what()});
        } catch (...) {
            state_.Report({kExecutionError, {}});
        }
    }
    return answered ? answers + "\n" : std::string();
}

void Session::LineTooLong() {
    state_.Report({kSyntaxError, "line too long"});
}

} // namespace remote
