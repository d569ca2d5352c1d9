// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/CommonCommands.h"

#include "remote/ParameterReading.h"
#include "remote/ReplyText.h"
#include "remote/ScpiError.h"

#include <array>

namespace remote {
namespace {

constexpr std::array<StepUnit, 1> kPlainNumber{{{"", 0}}};
// The status byte's bits: an error waits in the queue; an event enabled
// by *ESE has happened.
constexpr int kErrorAvailable = 4;
constexpr int kEventSummary = 32;

void ThrowIfRefused(const Refusal& refusal) {
    if (refusal.Refused())
        throw ScpiError{refusal.code, refusal.detail};
}

int PresetSlot(const CommandContext& c) {
    static const StepLimits kSlots{1, 9, 1, "presets 1 to 9"};
    return int(ReadSteps(c.OnlyParameter(), kPlainNumber, kSlots));
}

} // namespace

void AddCommonCommands(CommandTable& table) {
    table.Add("*IDN", nullptr, [](CommandContext& c) {
        c.ExpectNoParameters();
        c.reply = "orbel,Audio Generator,0,";
        c.reply += c.target.Version();
    });
    table.Add(
        "*RST",
        [](CommandContext& c) {
            c.ExpectNoParameters();
            ThrowIfRefused(c.target.Reset());
            c.session.levelUnit = LevelUnit::DbFs;
        },
        nullptr);
    table.Add(
        "*CLS",
        [](CommandContext& c) {
            c.ExpectNoParameters();
            c.session.Errors().Clear();
            c.session.eventStatus = 0;
        },
        nullptr);
    // Each command is done when the session has taken it and its change
    // is queued to the output; a stepped sweep, played once through, is
    // done at its end: *OPC? and *WAI wait for it, as a bench generator's
    // do for a sweep it was triggered to play.
    table.Add(
        "*OPC",
        [](CommandContext& c) {
            c.ExpectNoParameters();
            c.session.eventStatus |= SessionState::kOperationComplete;
        },
        [](CommandContext& c) {
            c.ExpectNoParameters();
            c.waits = c.target.OperationPending();
            if (c.waits)
                return;
            c.target.WaitUntilQueued();
            c.reply = SwitchText(true);
        });
    table.Add(
        "*WAI",
        [](CommandContext& c) {
            c.ExpectNoParameters();
            c.waits = c.target.OperationPending();
            if (!c.waits)
                c.target.WaitUntilQueued();
        },
        nullptr);
    table.Add(
        "*SAV", [](CommandContext& c) { ThrowIfRefused(c.target.Save(PresetSlot(c))); }, nullptr);
    table.Add(
        "*RCL", [](CommandContext& c) { ThrowIfRefused(c.target.Recall(PresetSlot(c))); }, nullptr);
    table.Add("*ESR", nullptr, [](CommandContext& c) {
        c.ExpectNoParameters();
        c.reply = std::to_string(c.session.eventStatus);
        c.session.eventStatus = 0;
    });
    table.Add(
        "*ESE",
        [](CommandContext& c) {
            static const StepLimits kByte{0, 255, 0, "0 to 255"};
            c.session.eventEnable = std::uint8_t(ReadSteps(c.OnlyParameter(), kPlainNumber, kByte));
        },
        [](CommandContext& c) {
            c.ExpectNoParameters();
            c.reply = std::to_string(c.session.eventEnable);
        });
    table.Add("*STB", nullptr, [](CommandContext& c) {
        c.ExpectNoParameters();
        int status = 0;
        if (c.session.Errors().Count() > 0)
            status |= kErrorAvailable;
        if ((c.session.eventStatus & c.session.eventEnable) != 0)
            status |= kEventSummary;
        c.reply = std::to_string(status);
    });
}

} // namespace remote
