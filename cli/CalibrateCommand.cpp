// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CalibrateCommand.h"

#include "cli/CommandMessages.h"
#include "cli/DeviceCommands.h"
#include "cli/LevelAtOutput.h"
#include "cli/Messages.h"
#include "cli/ServerWait.h"
#include "cli/ToneOptions.h"
#include "core/CalibrationDate.h"
#include "core/CalibrationStore.h"
#include "engine/CalibrationTone.h"
#include "engine/DefaultSoundOutput.h"
#include "engine/LevelFormat.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <iostream>
#include <optional>
#include <string>

namespace {

namespace msg = command_messages;

// Asks on standard error until a reading is typed; nothing at the end of
// the input.
std::optional<double> AskReading(OutputChannel channel) {
    const QString question =
        channel == OutputChannel::Left
            ? CliText("the meter's reading of the left channel (V RMS, e.g. 0.245 or 245mV): ")
            : CliText("the meter's reading of the right channel (V RMS, e.g. 0.245 or 245mV): ");
    for (;;) {
        std::fprintf(stderr, "orbel: %s", CliString(question).c_str());
        std::fflush(stderr);
        std::string typed;
        if (!std::getline(std::cin, typed))
            return std::nullopt;
        const auto reading = tone_options::MeterReading("reading", typed);
        if (reading.value)
            return reading.value;
        SayOnStandardError(QString::fromStdString(CliString(reading.error)));
    }
}

// The reading of one channel, typed while the tone plays on that channel
// alone; nothing when none is typed or the tone cannot be made.
std::optional<double> ReadingWhilePlaying(CalibrationTone& tone, OutputChannel channel) {
    if (!tone.Play(channel)) {
        SayOnStandardError(CliText(msg::kNoMemory));
        return std::nullopt;
    }
    const std::optional<double> reading = AskReading(channel);
    tone.Stop();
    if (!reading)
        SayOnStandardError(CliText("no reading typed: nothing stored"));
    return reading;
}

// Both readings, the left channel's first.
std::optional<std::pair<double, double>>
ReadingsWhilePlaying(const CommandLine& line, const std::shared_ptr<SoundOutput>& output) {
    CalibrationTone tone(output, line.tone.levelDb);
    if (const auto left = ReadingWhilePlaying(tone, OutputChannel::Left))
        if (const auto right = ReadingWhilePlaying(tone, OutputChannel::Right))
            return std::pair{*left, *right};
    return std::nullopt;
}

} // namespace

int RunCalibrate(const CommandLine& line) {
    std::shared_ptr<SoundOutput> output = DefaultSoundOutput();
    if (!output->WaitForServer(kServerWait)) {
        SayOnStandardError(WithServerReason(CliText(msg::kNoServer), output->FailureReason()));
        return 1;
    }
    if (const int status = ChooseOutputDevice(line.device); status != 0)
        return status;
    const std::string name = OutputNameFor(*output, line.device);
    const std::optional<OutputVolume> volume = output->ReadOutputVolume(name);
    if (!volume) {
        SayOnStandardError(
            WithServerReason(CliText("cannot read the volume of %1")
                                 .arg(QString::fromStdString(tone_options::OneLine(name))),
                             output->FailureReason()));
        return 1;
    }
    const std::string level = FormatLevel({line.tone.levelDb, LevelUnit::DbFs});
    std::optional<std::pair<double, double>> readings = line.measured;
    if (!readings) {
        SayOnStandardError(CliText("playing 1000 Hz at %1 on %2")
                               .arg(QString::fromStdString(level),
                                    QString::fromStdString(tone_options::OneLine(name))));
        readings = ReadingsWhilePlaying(line, output);
        if (!readings)
            return 1;
    }
    const OutputCalibration calibration =
        CalibrationFromReadings(line.tone.levelDb, readings->first, readings->second, *volume,
                                CalibrationDate(std::time(nullptr)));
    for (const auto& c : {calibration.left, calibration.right})
        if (!IsCalibrationVoltage(c->fullScaleVolts)) {
            SayOnStandardError(
                CliText("a full-scale sine would give %1 V: not a reading of this output")
                    .arg(QString::fromStdString(
                        FormatLevel({c->fullScaleVolts, LevelUnit::Volts}))));
            return 2;
        }
    const CalibrationStore store(CalibrationStore::DefaultPath());
    switch (store.Save(name, calibration)) {
    case CalibrationSaveResult::Saved:
        break;
    case CalibrationSaveResult::FileKept:
        SayOnStandardError(
            CliText("%1 does not read as calibrations: left as it is, nothing stored")
                .arg(QString::fromStdString(tone_options::OneLine(store.Path()))));
        return 1;
    default:
        SayOnStandardError(CliText("cannot store the calibration in %1")
                               .arg(QString::fromStdString(tone_options::OneLine(store.Path()))));
        return 1;
    }
    const auto volts = [](double number) {
        return QString::fromStdString(FormatLevel({number, LevelUnit::Volts}));
    };
    std::printf(
        "orbel: %s\n",
        CliString(CliText("calibrated %1: a full-scale sine gives %2 RMS on the left, %3 on "
                          "the right")
                      .arg(QString::fromStdString(tone_options::OneLine(name)),
                           volts(calibration.left->fullScaleVolts),
                           volts(calibration.right->fullScaleVolts)))
            .c_str());
    return std::fflush(stdout) == 0 ? 0 : 1;
}
