// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/FineLevels.h"

#include "core/CalibrationStanding.h"
#include "engine/SampleLevel.h"
#include "engine/SignalVolts.h"
#include "instrument/FrequencyDials.h"

#include <algorithm>
#include <cmath>

namespace instrument {

namespace {

constexpr int kFullAmplitude = 100;

std::optional<double> VoltsOf(const OutputCalibration& calibration, OutputChannel channel) {
    const auto& c = calibration.Channel(channel);
    if (!c || !IsCalibrationVoltage(c->fullScaleVolts))
        return std::nullopt;
    return c->fullScaleVolts;
}

} // namespace

ChannelLevels LevelsFor(const OutputCalibration& calibration, Channel channel,
                        const WrittenLevel& level) {
    ChannelLevels levels;
    for (const OutputChannel jack : {OutputChannel::Left, OutputChannel::Right}) {
        const bool plays =
            jack == OutputChannel::Left ? channel != Channel::Right : channel != Channel::Left;
        if (!plays)
            continue;
        const SampleLevelResult sample = ToSampleLevel(level, VoltsOf(calibration, jack));
        if (!sample.peakDb)
            return {std::nullopt, std::nullopt, sample.refusal};
        (jack == OutputChannel::Left ? levels.left : levels.right) = sample.peakDb;
    }
    return levels;
}

double Loudest(const ChannelLevels& levels) {
    return std::max(levels.left.value_or(-HUGE_VAL), levels.right.value_or(-HUGE_VAL));
}

int NearestAmplitude(double peakDb) {
    const double share = std::pow(10.0, peakDb / 20);
    return std::clamp(static_cast<int>(std::lround(share * kFullAmplitude)), 0, kFullAmplitude);
}

std::optional<double> FullScaleVolts(const OutputCalibration& calibration, Channel channel) {
    const std::optional<double> left = VoltsOf(calibration, OutputChannel::Left);
    const std::optional<double> right = VoltsOf(calibration, OutputChannel::Right);
    switch (channel) {
    case Channel::Left:
        return left;
    case Channel::Right:
        return right;
    case Channel::Both:
        return left ? left : right;
    }
    return std::nullopt;
}

std::optional<ChannelReading> ReadingOf(const InstrumentState& state) {
    if (state.waveform == TTGWave::tgNoise || state.choices.signal != SignalKind::Tone ||
        state.sweep.active)
        return std::nullopt;
    const DialPositions& d = state.dials;
    ChannelReading reading;
    reading.channel = state.channel;
    reading.frequency =
        state.fine.frequency
            ? *state.fine.frequency
            : MilliHertz::FromHertz(ComposeFrequency(d[0].reading, d[1].reading, d[2].reading));
    if (const std::optional<double> volts = FullScaleVolts(state.calibration, state.channel)) {
        std::optional<double> peakDb;
        if (state.fine.level) {
            const ChannelLevels levels =
                LevelsFor(state.calibration, state.channel, *state.fine.level);
            // The same jack as the volts shown.
            const bool rightShown = state.channel == Channel::Right ||
                                    (state.channel == Channel::Both &&
                                     !VoltsOf(state.calibration, OutputChannel::Left));
            peakDb = rightShown ? levels.right : levels.left;
        } else if (d[3].reading > 0) {
            peakDb = 20 * std::log10(double(d[3].reading) / kFullAmplitude);
        }
        const OutputReport& output = state.output;
        reading.voltsValid =
            StandingOfOutput(state.calibration, output.leftVolume, output.rightVolume) !=
            CalibrationStanding::VolumeChanged;
        if (peakDb) {
            const SineVolts sine = SineVoltsAt(*peakDb, *volts);
            reading.rmsVolts = sine.rms;
            reading.dbu = sine.dbu;
        } else {
            reading.rmsVolts = 0;
        }
    }
    if (reading.frequency.IsWholeHertz() && !reading.rmsVolts)
        return std::nullopt;
    return reading;
}

} // namespace instrument
