// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/SweepCommands.h"

#include "engine/steps/StepSchedule.h"
#include "remote/FrequencyParameter.h"
#include "remote/ParameterReading.h"
#include "remote/ReplyText.h"
#include "remote/ScpiError.h"

#include <array>

namespace remote {
namespace {

const std::array<Mnemonic, 2> kSpacings{Mnemonic("LINear"), Mnemonic("LOGarithmic")};
constexpr std::array<RealUnit, 3> kSeconds{{{"", 1}, {"S", 1}, {"MS", 0.001}}};
// Dwells are whole milliseconds, written in seconds unless said.
constexpr std::array<StepUnit, 3> kDwellUnits{{{"", 3}, {"S", 3}, {"MS", 0}}};
constexpr std::array<StepUnit, 1> kCount{{{"", 0}}};
const StepLimits kDwells{kShortestDwellMs, kLongestDwellMs, 1000,
                         ThousandthsText(kShortestDwellMs) + " s to " +
                             ThousandthsText(kLongestDwellMs) + " s in steps of 0.001 s"};
const StepLimits kStepCounts{1, kMostSteps, 10, "1 to " + std::to_string(kMostSteps) + " steps"};

bool ReadLinear(const CommandContext& c) {
    return ReadChoice(c.OnlyParameter(), kSpacings) == 0;
}

std::string SpacingText(bool linear) {
    return kSpacings[linear ? 0 : 1].ShortForm();
}

// A switch, a frequency or a spacing of the settings, as one command sets
// and queries it.
using SwitchField = bool& (*)(RemoteSettings&);
using FrequencyField = MilliHertz& (*)(RemoteSettings&);

void AddSwitch(CommandTable& table, std::string_view pattern, SwitchField field) {
    table.Add(
        pattern,
        [field](CommandContext& c) {
            const bool on = ReadSwitch(c.OnlyParameter());
            c.Change([&](RemoteSettings& s) { field(s) = on; });
        },
        [field](CommandContext& c) {
            c.ExpectNoParameters();
            RemoteSettings current = c.target.Current();
            c.reply = SwitchText(field(current));
        });
}

void AddFrequency(CommandTable& table, std::string_view pattern, FrequencyField field) {
    table.Add(
        pattern,
        [field](CommandContext& c) {
            const MilliHertz f = ReadFrequencyParameter(c);
            c.Change([&](RemoteSettings& s) { field(s) = f; });
        },
        [field](CommandContext& c) {
            RemoteSettings current = c.target.Current();
            c.reply = FrequencyReply(c, field(current));
        });
}

void AddSpacing(CommandTable& table, std::string_view pattern, SwitchField linearField) {
    table.Add(
        pattern,
        [linearField](CommandContext& c) {
            const bool linear = ReadLinear(c);
            c.Change([&](RemoteSettings& s) { linearField(s) = linear; });
        },
        [linearField](CommandContext& c) {
            c.ExpectNoParameters();
            RemoteSettings current = c.target.Current();
            c.reply = SpacingText(linearField(current));
        });
}

void AddContinuousSweep(CommandTable& table) {
    AddSwitch(table, "[SOURce#:]SWEep[:STATe]",
              [](RemoteSettings& s) -> bool& { return s.sweep.on; });
    AddFrequency(table, "[SOURce#:]FREQuency:STARt",
                 [](RemoteSettings& s) -> MilliHertz& { return s.sweep.start; });
    AddFrequency(table, "[SOURce#:]FREQuency:STOP",
                 [](RemoteSettings& s) -> MilliHertz& { return s.sweep.stop; });
    AddSpacing(table, "[SOURce#:]SWEep:SPACing",
               [](RemoteSettings& s) -> bool& { return s.sweep.linear; });
    table.Add(
        "[SOURce#:]SWEep:TIME",
        [](CommandContext& c) {
            const double seconds = ReadReal(c.OnlyParameter(), kSeconds);
            if (seconds <= 0)
                ThrowScpiError(kDataOutOfRange, "a sweep lasts more than 0 s");
            c.Change([&](RemoteSettings& s) { s.sweep.seconds = seconds; });
        },
        [](CommandContext& c) {
            c.ExpectNoParameters();
            c.reply = RealText(c.target.Current().sweep.seconds);
        });
}

void AddSteppedSweep(CommandTable& table) {
    AddSwitch(table, "[SOURce#:]SWEep:STEPs[:STATe]",
              [](RemoteSettings& s) -> bool& { return s.steps.on; });
    AddSwitch(table, "[SOURce#:]SWEep:STEPs:UPDown",
              [](RemoteSettings& s) -> bool& { return s.steps.upDown; });
    AddFrequency(table, "[SOURce#:]SWEep:STEPs:STARt",
                 [](RemoteSettings& s) -> MilliHertz& { return s.steps.start; });
    AddFrequency(table, "[SOURce#:]SWEep:STEPs:STOP",
                 [](RemoteSettings& s) -> MilliHertz& { return s.steps.stop; });
    AddSpacing(table, "[SOURce#:]SWEep:STEPs:SPACing",
               [](RemoteSettings& s) -> bool& { return s.steps.linear; });
    table.Add(
        "[SOURce#:]SWEep:STEPs:COUNt",
        [](CommandContext& c) {
            const auto count = int(ReadSteps(c.OnlyParameter(), kCount, kStepCounts));
            c.Change([&](RemoteSettings& s) { s.steps.count = count; });
        },
        [](CommandContext& c) {
            const auto limit = AskedLimit(c.Parameters(), kStepCounts);
            c.reply = std::to_string(limit.value_or(c.target.Current().steps.count));
        });
    table.Add(
        "[SOURce#:]SWEep:STEPs:DWELl",
        [](CommandContext& c) {
            const auto ms = int(ReadSteps(c.OnlyParameter(), kDwellUnits, kDwells));
            c.Change([&](RemoteSettings& s) { s.steps.dwellMs = ms; });
        },
        [](CommandContext& c) {
            const auto limit = AskedLimit(c.Parameters(), kDwells);
            c.reply = ThousandthsText(limit.value_or(c.target.Current().steps.dwellMs));
        });
}

} // namespace

void AddSweepCommands(CommandTable& table) {
    AddContinuousSweep(table);
    AddSteppedSweep(table);
}

} // namespace remote
