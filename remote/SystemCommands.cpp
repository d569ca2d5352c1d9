// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/SystemCommands.h"

#include "remote/ScpiError.h"

namespace remote {
namespace {

// The year of the protocol's standard the commands follow, as
// SYSTem:VERSion? gives it by the standard's convention.
constexpr std::string_view kProtocolVersion = "1999.0";

} // namespace

void AddSystemCommands(CommandTable& table) {
    table.Add("SYSTem:ERRor[:NEXT]", nullptr, [](CommandContext& c) {
        c.ExpectNoParameters();
        c.reply = ErrorQueueEntry(c.session.Errors().Next());
    });
    table.Add("SYSTem:ERRor:COUNt", nullptr, [](CommandContext& c) {
        c.ExpectNoParameters();
        c.reply = std::to_string(c.session.Errors().Count());
    });
    table.Add("SYSTem:VERSion", nullptr, [](CommandContext& c) {
        c.ExpectNoParameters();
        c.reply = std::string(kProtocolVersion);
    });
    table.Add(
        "SYSTem:SHUTdown",
        [](CommandContext& c) {
            c.ExpectNoParameters();
            if (!c.session.MayShutDown())
                ThrowScpiError(kCommandProtected, "this client may not end the program");
            c.target.Shutdown();
        },
        nullptr);
}

} // namespace remote
