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
    return devices ? OutputNameIn(*devices, wanted) : std::string();
}

LevelAtOutput FindLevelAtOutput(SoundOutput& output, const std::string& wanted) {
    LevelAtOutput at;
    at.output = OutputNameFor(output, wanted);
    if (at.output.empty())
        return at;
    const StoredCalibrations stored = CalibrationStore(CalibrationStore::DefaultPath()).Load();
    at.calibration = stored.table.Find(at.output, OutputChannel::Left);
    at.rightCalibration = stored.table.Find(at.output, OutputChannel::Right);
    if (!at.calibration && !at.rightCalibration)
        return at;
    const std::optional<OutputVolume> volume = output.ReadOutputVolume(at.output);
    using Volume = std::optional<std::uint32_t>;
    at.standing = StandingOfOutput({at.calibration, at.rightCalibration},
                                   volume ? Volume(volume->left) : std::nullopt,
                                   volume ? Volume(volume->right) : std::nullopt);
    return at;
}

int SetSampleLevel(CommandLine& line, const LevelAtOutput& at) {
    if (!line.jackLevel && !line.rightJackLevel)
        return 0;
    // A multitone's level is that of its sum, not of one sine.
    if (line.multitone) {
        SayOnStandardError(
            CliText("--level in volts goes with a sine, not with --waveform multitone"));
        return 2;
    }
    // The sample level of one channel, or nothing when refused (said).
    const auto sampleLevel =
        [&](const WrittenLevel& level, const std::optional<ChannelCalibration>& calibration,
            std::string_view option, const std::string& text) -> std::optional<double> {
        const std::optional<double> volts =
            calibration ? std::optional<double>(calibration->fullScaleVolts) : std::nullopt;
        const SampleLevelResult sample = ToSampleLevel(level, volts);
        if (!sample.peakDb) {
            const std::string output = at.output.empty() ? line.device : at.output;
            SayOnStandardError(QString::fromStdString(CliString(
                tone_options::LevelRefusalMessage(option, text, sample.refusal, output))));
        }
        return sample.peakDb;
    };
    ToneRequest& tone = line.tone;
    if (line.jackLevel) {
        const auto left = sampleLevel(*line.jackLevel, at.calibration, "--level", line.levelText);
        if (!left)
            return 2;
        tone.levelDb = *left;
        if (line.steps)
            line.steps->peak = PeakFromDecibels(*left);
        if (line.streamed)
            line.streamed->tone.peak = PeakFromDecibels(*left);
        // The same volts at the right jack, through the right channel's own
        // calibration (steps play one level on both).
        const bool ownRight = tone.stereo && !line.steps && !line.rightJackLevel &&
                              !tone.rightLevelDb && at.rightCalibration;
        if (ownRight) {
            const auto right =
                sampleLevel(*line.jackLevel, at.rightCalibration, "--level", line.levelText);
            if (!right)
                return 2;
            if (*right != *left)
                tone.rightLevelDb = *right;
        }
    }
    if (line.rightJackLevel) {
        const auto right = sampleLevel(*line.rightJackLevel, at.rightCalibration, "--right-level",
                                       line.rightLevelText);
        if (!right)
            return 2;
        tone.rightLevelDb = *right;
    }
    if (line.streamed && tone.rightLevelDb)
        line.streamed->tone.rightPeak = PeakFromDecibels(*tone.rightLevelDb);
    return 0;
}

namespace {

// "level -20dBFS" and, with a calibration, what the waveform gives at the
// jack; `right` names the right channel's own level.
QString ChannelLevelText(const CommandLine& line, const LevelAtOutput& at, double peakDb,
                         const std::optional<ChannelCalibration>& calibration, bool right) {
    const ToneRequest& tone = line.tone;
    const QString dbfs = QString::fromStdString(Shown(peakDb, LevelUnit::DbFs));
    // The tones and the signals made of a sine; the noises and two-tone
    // signals are told in dBFS only.
    const SignalKind kind = tone.signal.kind;
    const bool known = !line.multitone && (kind == SignalKind::Tone || kind == SignalKind::Sweep ||
                                           kind == SignalKind::Burst);
    if (!calibration || !known)
        return right ? CliText("right channel's level %1").arg(dbfs)
                     : CliText("level %1").arg(dbfs);
    const int rate = tone.Format().SamplesPerSecond();
    const int frequency = line.streamed
                              ? int(std::lround(line.streamed->tone.frequency.value / 1000.0))
                              : tone.frequency;
    const TTGWave wave = kind == SignalKind::Tone ? tone.waveform : TTGWave::tgSine;
    const WaveVolts v = WaveVoltsAt(wave, frequency, rate, peakDb, calibration->fullScaleVolts);
    const auto shown = [](double number, LevelUnit unit) {
        return QString::fromStdString(Shown(number, unit));
    };
    return (right ? CliText("right channel's level %1; at %2: %3rms, %4, %5")
                  : CliText("level %1; at %2: %3rms, %4, %5"))
        .arg(dbfs, QString::fromStdString(tone_options::OneLine(at.output)),
             shown(v.rms, LevelUnit::Volts), shown(2 * v.peak, LevelUnit::VoltsPeakToPeak),
             shown(20 * std::log10(v.rms / kDbuVolts), LevelUnit::DbU));
}

} // namespace

bool SayTheLevel(const CommandLine& line, const LevelAtOutput& at, std::FILE* to) {
    const ToneRequest& tone = line.tone;
    std::string lines =
        "orbel: " + CliString(ChannelLevelText(line, at, tone.levelDb, at.calibration, false)) +
        '\n';
    if (tone.rightLevelDb)
        lines +=
            "orbel: " +
            CliString(ChannelLevelText(line, at, *tone.rightLevelDb, at.rightCalibration, true)) +
            '\n';
    lines += CalibrationNotice(at);
    return std::fputs(lines.c_str(), to) >= 0 && std::fflush(to) == 0;
}

std::string CalibrationNotice(const LevelAtOutput& at) {
    if (at.standing != CalibrationStanding::VolumeChanged)
        return {};
    return "orbel: " +
           CliString(CliText("the volume of %1 differs from its calibration's: the volt "
                             "figures are no longer valid (orbel calibrate again)")
                         .arg(QString::fromStdString(tone_options::OneLine(at.output)))) +
           '\n';
}
