// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/SignalCommands.h"

#include "engine/signals/ToneBurst.h"
#include "remote/ParameterReading.h"
#include "remote/ReplyText.h"
#include "remote/ScpiError.h"

#include <array>

namespace remote {
namespace {

// In the order of Function.
const std::array<Mnemonic, 9> kFunctions{
    Mnemonic("SINusoid"), Mnemonic("SQUare"), Mnemonic("TRIangle"),
    Mnemonic("RAMP"),     Mnemonic("NOISe"),  Mnemonic("PINK"),
    Mnemonic("SMPTe"),    Mnemonic("CCIF"),   Mnemonic("MULTitone")};

constexpr std::array<RealUnit, 2> kDegrees{{{"", 1}, {"DEG", 1}}};
constexpr std::array<StepUnit, 1> kCycles{{{"", 0}}};
const StepLimits kSoundingCycles{1, kMostBurstCycles, 10,
                                 "1 to " + std::to_string(kMostBurstCycles) + " cycles"};
const StepLimits kSilentCycles{0, kMostBurstCycles, 90,
                               "0 to " + std::to_string(kMostBurstCycles) + " cycles"};

// The phase belongs to the right output; SOURce1:PHASe would speak of the
// left's, which follows the right's by definition.
void ExpectRightOutput(const CommandContext& c) {
    if (c.Number() == 1)
        ThrowScpiError(kHeaderSuffixOutOfRange, "the phase is the right output's: SOURce2:PHASe");
}

} // namespace

void AddSignalCommands(CommandTable& table) {
    table.Add(
        "[SOURce#:]FUNCtion[:SHAPe]",
        [](CommandContext& c) {
            const auto function = Function(ReadChoice(c.OnlyParameter(), kFunctions));
            c.Change([&](RemoteSettings& s) { s.function = function; });
        },
        [](CommandContext& c) {
            c.ExpectNoParameters();
            c.reply = kFunctions[std::size_t(c.target.Current().function)].ShortForm();
        });
    table.Add(
        "[SOURce#:]PHASe[:ADJust]",
        [](CommandContext& c) {
            ExpectRightOutput(c);
            const double degrees = ReadReal(c.OnlyParameter(), kDegrees);
            c.Change([&](RemoteSettings& s) { s.rightPhaseDegrees = degrees; });
        },
        [](CommandContext& c) {
            ExpectRightOutput(c);
            c.ExpectNoParameters();
            c.reply = RealText(c.target.Current().rightPhaseDegrees);
        });
    table.Add(
        "[SOURce#:]BURSt[:STATe]",
        [](CommandContext& c) {
            const bool on = ReadSwitch(c.OnlyParameter());
            c.Change([&](RemoteSettings& s) { s.burst.on = on; });
        },
        [](CommandContext& c) {
            c.ExpectNoParameters();
            c.reply = SwitchText(c.target.Current().burst.on);
        });
    table.Add(
        "[SOURce#:]BURSt:NCYCles",
        [](CommandContext& c) {
            const auto cycles = int(ReadSteps(c.OnlyParameter(), kCycles, kSoundingCycles));
            c.Change([&](RemoteSettings& s) { s.burst.cycles = cycles; });
        },
        [](CommandContext& c) {
            const auto limit = AskedLimit(c.Parameters(), kSoundingCycles);
            c.reply = std::to_string(limit.value_or(c.target.Current().burst.cycles));
        });
    table.Add(
        "[SOURce#:]BURSt:OFFCycles",
        [](CommandContext& c) {
            const auto cycles = int(ReadSteps(c.OnlyParameter(), kCycles, kSilentCycles));
            c.Change([&](RemoteSettings& s) { s.burst.offCycles = cycles; });
        },
        [](CommandContext& c) {
            const auto limit = AskedLimit(c.Parameters(), kSilentCycles);
            c.reply = std::to_string(limit.value_or(c.target.Current().burst.offCycles));
        });
}

} // namespace remote
