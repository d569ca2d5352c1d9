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
    if (Waiting()) {
        later_.emplace_back(std::string(line));
        heldBytes_ += line.size();
        return {};
    }
    LineRun run;
    return Finish(WithoutLineEnd(line), run);
}

void Session::LineTooLong() {
    if (Waiting())
        later_.emplace_back(std::nullopt);
    else
        state_.Report({kSyntaxError, "line too long"});
}

std::string Session::Resume() {
    if (!held_ || target_.OperationPending())
        return {};
    LineRun run = std::move(*held_);
    held_.reset();
    const std::string text = std::move(run.text);
    std::string answers = Finish(text, run);
    while (!held_ && !later_.empty()) {
        const std::optional<std::string> line = std::move(later_.front());
        later_.pop_front();
        if (!line) {
            LineTooLong();
            continue;
        }
        LineRun next;
        answers += Finish(WithoutLineEnd(*line), next);
    }
    heldBytes_ = held_ ? held_->text.size() : 0;
    for (const auto& line : later_)
        heldBytes_ += line ? line->size() : 0;
    return answers;
}

std::string Session::Finish(std::string_view text, LineRun& run) {
    if (!Run(text, run)) {
        run.text = std::string(text);
        heldBytes_ += run.text.size();
        held_ = std::move(run);
        return {};
    }
    return run.answered ? run.answers + "\n" : std::string();
}

bool Session::Run(std::string_view text, LineRun& run) {
    const std::vector<std::string_view> units = SplitMessage(text);
    for (; run.next < units.size(); ++run.next) {
        const std::string_view unitText = units[run.next];
        if (IsBlank(unitText))
            continue;
        try {
            MessageUnit unit = ReadMessageUnit(unitText);
            std::vector<HeaderNode> path = std::move(unit.header.nodes);
            if (!unit.header.common) {
                if (!unit.header.rooted)
                    path.insert(path.begin(), run.level.begin(), run.level.end());
                // Refused before it becomes the level: otherwise each of a
                // long line's commands would copy a longer path.
                if (path.size() > kDeepestHeader)
                    ThrowScpiError(kUndefinedHeader);
                run.level.assign(path.begin(), path.end() - 1);
            }
            const CommandTable::Found found = InstrumentCommands().Find(path, unit.header.query);
            if (found.handler == nullptr) {
                state_.Report({found.error, std::string(found.detail)});
                continue;
            }
            CommandContext context(target_, state_, found.number, unit.parameters);
            (*found.handler)(context);
            // Only common commands wait, and they leave the level as it
            // was: the unit runs again as it is once the wait is over.
            if (context.waits)
                return false;
            if (unit.header.query) {
                run.answers += (run.answered ? ";" : "") + context.reply;
                run.answered = true;
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
    return true;
}

} // namespace remote
