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
#include "engine/DefaultSoundOutput.h"
#include "engine/LevelFormat.h"
#include "engine/ToneGen.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <iostream>
#include <optional>
#include <string>

namespace {

namespace msg = command_messages;

// Asks on standard error until a reading is typed; nothing at the end of
// the input.
std::optional<double> AskReading(const char* channel) {
    for (;;) {
        std::fprintf(stderr,
                     "orbel: the meter's reading of the %s channel (V RMS, e.g. 0.245 or "
                     "245mV): ",
                     channel);
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
// alone (the other silent, so that a meter on the wrong jack reads
// nothing); nothing when none is typed or the tone cannot be made.
std::optional<double> ReadingWhilePlaying(const CommandLine& line,
                                          const std::shared_ptr<SoundOutput>& output,
                                          OutputChannel channel) {
    TToneGen gen(nullptr, output);
    ToneRequest tone = line.tone;
    const bool left = channel == OutputChannel::Left;
    tone.leftVolume = left ? tone.leftVolume : 0;
    tone.rightVolume = left ? 0 : tone.rightVolume;
    if (!tone.Build(gen)) {
        SayOnStandardError(CliText(msg::kNoMemory));
        return std::nullopt;
    }
    gen.SetLoop(true);
    gen.Play();
    const std::optional<double> reading = AskReading(left ? "left" : "right");
    gen.Output()->StopAndDrain();
    gen.Stop();
    if (!reading)
        SayOnStandardError(CliText("no reading typed: nothing stored"));
    return reading;
}

// Both readings, the left channel's first.
std::optional<std::pair<double, double>>
ReadingsWhilePlaying(const CommandLine& line, const std::shared_ptr<SoundOutput>& output) {
    if (const auto left = ReadingWhilePlaying(line, output, OutputChannel::Left))
        if (const auto right = ReadingWhilePlaying(line, output, OutputChannel::Right))
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
        std::fprintf(stderr, "orbel: playing 1000 Hz at %s on %s\n", level.c_str(),
                     tone_options::OneLine(name).c_str());
        readings = ReadingsWhilePlaying(line, output);
        if (!readings)
            return 1;
    }
    // The reading over the sample level: the volts of a full-scale sine.
    const double gain = std::pow(10.0, line.tone.levelDb / 20);
    const auto channel = [&](double reading, std::uint32_t channelVolume) {
        return ChannelCalibration{reading / gain, CalibrationDate(std::time(nullptr)),
                                  channelVolume};
    };
    const OutputCalibration calibration{channel(readings->first, volume->left),
                                        channel(readings->second, volume->right)};
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
    std::printf(
        "orbel: calibrated %s: a full-scale sine gives %s RMS on the left, %s on the right\n",
        tone_options::OneLine(name).c_str(),
        FormatLevel({calibration.left->fullScaleVolts, LevelUnit::Volts}).c_str(),
        FormatLevel({calibration.right->fullScaleVolts, LevelUnit::Volts}).c_str());
    return std::fflush(stdout) == 0 ? 0 : 1;
}
