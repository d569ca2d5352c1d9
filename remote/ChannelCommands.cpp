// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/ChannelCommands.h"

#include "remote/FrequencyParameter.h"
#include "remote/ParameterReading.h"
#include "remote/ReplyText.h"
#include "remote/ScpiError.h"

#include <algorithm>
#include <array>
#include <utility>

namespace remote {
namespace {

// The units VOLTage:UNIT chooses from, in the words it takes and answers.
const std::array<Mnemonic, 5> kUnitWords{Mnemonic("VPP"), Mnemonic("VRMS"), Mnemonic("DBV"),
                                         Mnemonic("DBU"), Mnemonic("DBFS")};
constexpr std::array<LevelUnit, 5> kUnits{LevelUnit::VoltsPeakToPeak, LevelUnit::Volts,
                                          LevelUnit::DbV, LevelUnit::DbU, LevelUnit::DbFs};

// The units a level may be written with. V and mV are RMS, as everywhere
// in the program; peak-to-peak is said.
constexpr std::array<std::pair<std::string_view, LevelUnit>, 9> kLevelSuffixes{{
    {"V", LevelUnit::Volts},
    {"VRMS", LevelUnit::Volts},
    {"MV", LevelUnit::MilliVolts},
    {"MVRMS", LevelUnit::MilliVolts},
    {"VPP", LevelUnit::VoltsPeakToPeak},
    {"MVPP", LevelUnit::MilliVoltsPeakToPeak},
    {"DBV", LevelUnit::DbV},
    {"DBU", LevelUnit::DbU},
    {"DBFS", LevelUnit::DbFs},
}};

WrittenLevel ReadLevel(const CommandContext& c) {
    const Parameter& p = c.OnlyParameter();
    LevelUnit unit = c.session.levelUnit;
    if (p.kind == Parameter::Kind::Number && !p.unit.empty()) {
        const auto* suffix = std::find_if(kLevelSuffixes.begin(), kLevelSuffixes.end(),
                                          [&](const auto& s) { return s.first == p.unit; });
        if (suffix == kLevelSuffixes.end())
            ThrowScpiError(kInvalidSuffix);
        unit = suffix->second;
    }
    const std::array<RealUnit, 1> plain{{{"", 1}}};
    Parameter number = p;
    number.unit.clear();
    const double value = ReadReal(number, plain);
    if (IsInVolts(unit) && value <= 0)
        ThrowScpiError(kDataOutOfRange, "a voltage is above 0");
    return {value, unit};
}

} // namespace

void AddChannelCommands(CommandTable& table) {
    table.Add(
        "OUTPut#[:STATe]",
        [](CommandContext& c) {
            const bool on = ReadSwitch(c.OnlyParameter());
            c.Change([&](RemoteSettings& s) { c.ChannelIn(s).on = on; });
        },
        [](CommandContext& c) {
            c.ExpectNoParameters();
            c.reply = SwitchText(c.ChannelIn(c.target.Current()).on);
        });
    table.Add(
        "[SOURce#:]FREQuency[:CW]",
        [](CommandContext& c) {
            const MilliHertz f = ReadFrequencyParameter(c);
            c.Change([&](RemoteSettings& s) { c.ChannelIn(s).frequency = f; });
        },
        [](CommandContext& c) {
            c.reply = FrequencyReply(c, c.target.FrequencyHeard(c.Channel()));
        });
    table.Add(
        "[SOURce#:]VOLTage[:LEVel][:IMMediate][:AMPLitude]",
        [](CommandContext& c) {
            const WrittenLevel level = ReadLevel(c);
            c.Change([&](RemoteSettings& s) { c.ChannelIn(s).level = level; });
        },
        [](CommandContext& c) {
            c.ExpectNoParameters();
            const std::optional<double> level = c.target.LevelIn(c.Channel(), c.session.levelUnit);
            if (!level)
                ThrowScpiError(kSettingsConflict, "the output has no calibration for volts");
            c.reply = RealText(*level);
        });
    table.Add(
        "[SOURce#:]VOLTage:UNIT",
        [](CommandContext& c) {
            c.session.levelUnit = kUnits[ReadChoice(c.OnlyParameter(), kUnitWords)];
        },
        [](CommandContext& c) {
            c.ExpectNoParameters();
            const auto* unit = std::find(kUnits.begin(), kUnits.end(), c.session.levelUnit);
            c.reply = kUnitWords[std::size_t(unit - kUnits.begin())].ShortForm();
        });
}

} // namespace remote
