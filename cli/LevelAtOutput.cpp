// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/LevelAtOutput.h"

#include "cli/Messages.h"
#include "cli/ToneOptions.h"
#include "core/CalibrationStore.h"
#include "engine/LevelFormat.h"
#include "engine/RealFrameMixer.h"
#include "engine/SampleLevel.h"
#include "engine/SignalVolts.h"
#include "engine/WaveFormat.h"

#include <cmath>

namespace {

constexpr double kDbuVolts = 0.7745966692414834; // sqrt(0.6)

std::string Shown(double number, LevelUnit unit) {
    return FormatLevel({number, unit});
}

} // namespace

std::string OutputNameFor(SoundOutput& output, const std::string& wanted) {
    const auto devices = output.ListDevices();
    if (!devices)
        return {};
    if (!wanted.empty()) {
        const OutputDevice* device = FindOutputDevice(*devices, wanted);
        return device ? device->name : std::string();
    }
    for (const OutputDevice& d : *devices)
        if (d.isDefault)
            return d.name;
    return {};
}

LevelAtOutput FindLevelAtOutput(SoundOutput& output, const std::string& wanted) {
    LevelAtOutput at;
    at.output = OutputNameFor(output, wanted);
    if (at.output.empty())
        return at;
    const StoredCalibrations stored = CalibrationStore(CalibrationStore::DefaultPath()).Load();
    at.calibration = stored.table.Find(at.output, OutputChannel::Left);
    if (!at.calibration)
        return at;
    const std::optional<OutputVolume> volume = output.ReadOutputVolume(at.output);
    at.standing = StandingOf(at.calibration,
                             volume ? std::optional<std::uint32_t>(volume->left) : std::nullopt);
    return at;
}

int SetSampleLevel(CommandLine& line, const LevelAtOutput& at) {
    if (!line.jackLevel)
        return 0;
    // A multitone's level is that of its sum, not of one sine.
    if (line.multitone) {
        SayOnStandardError(
            CliText("--level in volts goes with a sine, not with --waveform multitone"));
        return 2;
    }
    const std::optional<double> volts =
        at.calibration ? std::optional<double>(at.calibration->fullScaleVolts) : std::nullopt;
    const SampleLevelResult sample = ToSampleLevel(*line.jackLevel, volts);
    if (!sample.peakDb) {
        const std::string output = at.output.empty() ? line.device : at.output;
        SayOnStandardError(QString::fromStdString(CliString(
            tone_options::LevelRefusalMessage("--level", line.levelText, sample.refusal, output))));
        return 2;
    }
    line.tone.levelDb = *sample.peakDb;
    if (line.steps)
        line.steps->peak = PeakFromDecibels(*sample.peakDb);
    if (line.streamed)
        line.streamed->tone.peak = PeakFromDecibels(*sample.peakDb);
    return 0;
}

bool SayTheLevel(const CommandLine& line, const LevelAtOutput& at, std::FILE* to) {
    const ToneRequest& tone = line.tone;
    const double peakDb = tone.levelDb;
    std::string text = "orbel: level " + Shown(peakDb, LevelUnit::DbFs);
    // The tones and the signals made of a sine; the noises and two-tone
    // signals are told in dBFS only.
    const SignalKind kind = tone.signal.kind;
    const bool known = !line.multitone && (kind == SignalKind::Tone || kind == SignalKind::Sweep ||
                                           kind == SignalKind::Burst);
    if (at.calibration && known) {
        const int rate = tone.Format().SamplesPerSecond();
        const int frequency = line.streamed
                                  ? int(std::lround(line.streamed->tone.frequency.value / 1000.0))
                                  : tone.frequency;
        const TTGWave wave = kind == SignalKind::Tone ? tone.waveform : TTGWave::tgSine;
        const WaveVolts v =
            WaveVoltsAt(wave, frequency, rate, peakDb, at.calibration->fullScaleVolts);
        text += "; at " + tone_options::OneLine(at.output) + ": " + Shown(v.rms, LevelUnit::Volts) +
                "rms, " + Shown(2 * v.peak, LevelUnit::VoltsPeakToPeak) + ", " +
                Shown(20 * std::log10(v.rms / kDbuVolts), LevelUnit::DbU);
    }
    text += '\n';
    if (at.standing == CalibrationStanding::VolumeChanged)
        text += "orbel: the volume of " + tone_options::OneLine(at.output) +
                " differs from its calibration's: the volt figures are no longer valid "
                "(orbel calibrate again)\n";
    return std::fputs(text.c_str(), to) >= 0 && std::fflush(to) == 0;
}
