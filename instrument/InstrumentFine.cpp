// SPDX-License-Identifier: GPL-3.0-or-later
// The instrument's fine frequency and exact levels: their commands, and how
// they reach the generator or, between whole hertz, a stream of their own.
#include "instrument/Instrument.h"

#include "engine/RetunableTone.h"
#include "engine/ToneGen.h"
#include "instrument/DialIndex.h"
#include "instrument/FineLevels.h"
#include "instrument/FrequencyDials.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <stdexcept>

namespace instrument {

namespace {

constexpr std::int16_t kFullVolume = 100;

bool Sounds(Channel selected, OutputChannel jack) {
    return jack == OutputChannel::Left ? selected != Channel::Right : selected != Channel::Left;
}

DialPosition AmplitudeAt(int reading) {
    return {static_cast<float>(reading), reading};
}

double Share(double peakDb) {
    return std::pow(10.0, peakDb / 20);
}

} // namespace

// --- what is given to the generator and the stream --------------------------------

int Instrument::Rate() const {
    return generator_.Format().SamplesPerSecond();
}

std::optional<MilliHertz> Instrument::StreamedFrequency() const {
    const std::optional<MilliHertz>& f = state_.fine.frequency;
    // The dials' whole hertz loop an image, as do noise and the measurement
    // signals, which have frequencies of their own.
    if (!f || !Precise() || state_.waveform == TTGWave::tgNoise || PlaysMeasurementSignal() ||
        state_.sweep.active)
        return std::nullopt;
    if (f->IsWholeHertz() && f->value >= MilliHertz::FromHertz(kMinFrequency).value &&
        f->value <= MilliHertz::FromHertz(kMaxFrequency).value)
        return std::nullopt;
    return f;
}

int Instrument::GeneratorHertz() const {
    if (const std::optional<MilliHertz>& f = state_.fine.frequency)
        return std::clamp(static_cast<int>(f->value / 1000), kMinFrequency, kMaxFrequency);
    const DialPositions& d = state_.dials;
    return ComposeFrequency(d[kThousands].reading, d[kHundreds].reading, d[kUnits].reading);
}

Instrument::Levels Instrument::LevelsNow() const {
    Levels levels;
    const bool left = Sounds(state_.channel, OutputChannel::Left);
    const bool right = Sounds(state_.channel, OutputChannel::Right);
    if (StreamedFrequency()) {
        // The stream is stereo and ramps each channel to its own exact peak
        // in the samples; the level word stays at full.
        levels.left = levels.right = kFullVolume;
        const double dial = double(state_.dials[kAmplitude].reading) / kFullVolume;
        levels.peak = left ? dial : 0;
        levels.rightPeak = right ? dial : 0;
        if (state_.fine.level) {
            const ChannelLevels exact =
                LevelsFor(state_.calibration, state_.channel, *state_.fine.level);
            if (!exact.refusal.Refused()) {
                levels.peak = exact.left ? Share(*exact.left) : 0;
                levels.rightPeak = exact.right ? Share(*exact.right) : 0;
            }
        }
        return levels;
    }
    if (state_.fine.level) {
        const ChannelLevels exact =
            LevelsFor(state_.calibration, state_.channel, *state_.fine.level);
        if (!exact.refusal.Refused()) {
            // The louder channel at its exact level in the samples, the
            // other one through the level word.
            const double top = Loudest(exact);
            levels.peak = Share(top);
            levels.left = left ? kFullVolume : 0;
            levels.right = right ? kFullVolume : 0;
            if (exact.left && exact.right && *exact.left != *exact.right) {
                const auto part = [top](double db) {
                    return static_cast<std::uint32_t>(std::lround(kLevelHalfMax * Share(db - top)));
                };
                levels.word = PackLevelWord(part(*exact.left), part(*exact.right));
            }
            return levels;
        }
    }
    const auto a = static_cast<std::int16_t>(state_.dials[kAmplitude].reading);
    if (StreamedFrequency()) {
        // A stream ramps its peak: the dial's share goes there.
        levels.peak = double(a) / kFullVolume;
        levels.left = left ? kFullVolume : 0;
        levels.right = right ? kFullVolume : 0;
    } else {
        levels.left = left ? a : std::int16_t{0};
        levels.right = right ? a : std::int16_t{0};
    }
    return levels;
}

Instrument::Sound Instrument::SoundNow() const {
    return {generator_.Frequency(), streamed_, levels_};
}

std::optional<StreamedToneSettings> Instrument::PlayedStreamSettings() const {
    const std::optional<MilliHertz> frequency = StreamedFrequency();
    if (!frequency)
        return std::nullopt;
    StreamedToneSettings settings;
    settings.wave = state_.waveform;
    settings.frequency = *frequency;
    const Levels levels = LevelsNow();
    settings.peak = levels.peak;
    settings.rightPeak = levels.rightPeak;
    settings.dither = generator_.Dither();
    settings.burst = state_.burst;
    if (generator_.Format().stereo)
        settings.rightLagTenths = state_.rightLagTenths;
    return settings;
}

std::optional<StreamedToneSettings> Instrument::StreamSettings() const {
    std::optional<StreamedToneSettings> settings = PlayedStreamSettings();
    // A file in the generator's mono format holds the louder channel's
    // level, as the generator's image does.
    if (settings && !generator_.Format().stereo) {
        settings->peak = std::max(settings->peak, settings->rightPeak.value_or(0.0));
        settings->rightPeak.reset();
    }
    return settings;
}

WaveFormat Instrument::StreamFormat() const {
    // Stereo whatever the generator's image: each channel has its own level
    // in the samples.
    WaveFormat format = generator_.Format();
    format.stereo = true;
    return format;
}

bool Instrument::PlayStreamed() {
    const StreamedToneSettings settings = *PlayedStreamSettings();
    const WaveFormat format = StreamFormat();
    std::unique_ptr<RetunableTone> tone;
    try {
        tone = std::make_unique<RetunableTone>(settings, format);
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::invalid_argument&) {
        return false;
    }
    SoundOutput& output = *generator_.Output();
    const std::uint32_t word = levels_.word.value_or(
        LevelWordFromPercent(std::uint32_t(levels_.left), std::uint32_t(levels_.right)));
    output.SetLevel(generator_.DeviceId(), word);
    if (!output.PlayStream(*tone))
        return false;
    // The old stream is read no more once the new one has taken its place.
    stream_ = std::move(tone);
    streamWave_ = settings.wave;
    streamBurst_ = settings.burst;
    streamLag_ = settings.rightLagTenths;
    streamWord_ = word;
    streamBytesPerFrame_ = format.BytesPerFrame();
    streamRate_ = format.SamplesPerSecond();
    streamStereo_ = format.stereo;
    return true;
}

bool Instrument::RetuneStream() {
    streamed_ = StreamedFrequency();
    if (!stream_ || !streamed_)
        return false;
    const WaveFormat format = StreamFormat();
    if (state_.waveform != streamWave_ || format.BytesPerFrame() != streamBytesPerFrame_ ||
        format.SamplesPerSecond() != streamRate_ || format.stereo != streamStereo_)
        return false;
    // A new shape of the sine is a new tone.
    if (const auto shape = StreamSettings();
        shape->burst != streamBurst_ || shape->rightLagTenths != streamLag_)
        return false;
    ApplyLevels();
    try {
        // A shape's new tables are built here, off the feed (they may take
        // a while at the lowest frequencies).
        stream_->PrepareRetune(*streamed_);
    } catch (const std::bad_alloc&) {
        return false;
    }
    // A volume set on an idle generator reached the output at once: the
    // stream's word is put back whenever it is not the generator's.
    const std::uint32_t word = levels_.word.value_or(
        LevelWordFromPercent(std::uint32_t(levels_.left), std::uint32_t(levels_.right)));
    SoundOutput& output = *generator_.Output();
    output.SetLevel(generator_.DeviceId(), word);
    streamWord_ = word;
    // Heard from what the output has not yet played.
    const MilliHertz frequency = *streamed_;
    const Levels levels = levels_;
    RetunableTone& tone = *stream_;
    output.ChangeStream([&tone, frequency, levels] {
        tone.Retune(frequency);
        tone.Ramp(levels.peak, levels.rightPeak);
    });
    return true;
}

void Instrument::EndStream() {
    if (!stream_)
        return;
    generator_.Output()->Stop();
    stream_.reset();
}

// --- the fine settings in the state -------------------------------------------------

void Instrument::ForgetTurnedFine(const DialPositions& dials) {
    const DialPositions& d = state_.dials;
    for (std::size_t i : {kThousands, kHundreds, kUnits})
        if (dials[i].reading != d[i].reading)
            state_.fine.frequency.reset();
    if (dials[kAmplitude].reading != d[kAmplitude].reading)
        state_.fine.level.reset();
}

void Instrument::SaveFine() {
    state_.memory.SaveFine(state_.channel, state_.fine);
}

void Instrument::LoadFine(Channel channel) {
    const ChannelMemory& m = state_.memory;
    if (channel == Channel::Left)
        state_.fine = m.leftFine;
    else if (channel == Channel::Right)
        state_.fine = m.rightFine;
    else // both channels share the frequency as they share its dials
        state_.fine.level = m.bothLevel;
    // A calibration changed since: the dial's nearest position takes over.
    if (state_.fine.level && !Playable(channel, *state_.fine.level)) {
        state_.fine.level.reset();
        SaveFine();
    }
}

void Instrument::KeepFineInRange() {
    const FrequencyRange range = FrequencyRange::AtRate(Rate());
    const auto keep = [&range](std::optional<MilliHertz>& f) {
        if (f && !range.Holds(*f))
            f.reset();
    };
    const std::optional<MilliHertz> before = state_.fine.frequency;
    keep(state_.fine.frequency);
    keep(state_.memory.leftFine.frequency);
    keep(state_.memory.rightFine.frequency);
    if (state_.fine.frequency != before)
        ApplyFrequency();
}

bool Instrument::Playable(Channel channel, const WrittenLevel& level) const {
    return !LevelRefusalOf(channel, level).Refused();
}

// --- commands -------------------------------------------------------------------------

bool Instrument::SetExactFrequency(MilliHertz frequency) {
    return Command([this, frequency] {
        if (!Precise() || !FrequencyRange::AtRate(Rate()).Holds(frequency))
            return false;
        state_.fine.frequency = frequency;
        SaveFine();
        const Sound before = SoundNow();
        ApplyFrequency();
        ApplyLevels();
        if (SoundNow() != before)
            Heard();
        return true;
    });
}

bool Instrument::SetExactLevel(const WrittenLevel& level) {
    return Command([this, &level] {
        if (!Playable(state_.channel, level))
            return false;
        state_.fine.level = level;
        state_.dials[kAmplitude] = AmplitudeAt(
            NearestAmplitude(Loudest(LevelsFor(state_.calibration, state_.channel, level))));
        state_.memory.Save(state_.channel, state_.dials);
        SaveFine();
        const Sound before = SoundNow();
        ApplyLevels();
        if (SoundNow() != before)
            Heard();
        return true;
    });
}

bool Instrument::SetFrequencyOf(Channel channel, MilliHertz frequency) {
    if (channel == Channel::Both)
        return false;
    if (channel == state_.channel)
        return SetExactFrequency(frequency);
    return Command([this, channel, frequency] {
        if (!Precise() || !FrequencyRange::AtRate(Rate()).Holds(frequency))
            return false;
        FineSetting& kept =
            channel == Channel::Left ? state_.memory.leftFine : state_.memory.rightFine;
        kept.frequency = frequency;
        return true;
    });
}

bool Instrument::SetLevelOf(Channel channel, const WrittenLevel& level) {
    if (channel == Channel::Both)
        return false;
    if (channel == state_.channel)
        return SetExactLevel(level);
    return Command([this, channel, &level] {
        if (!Playable(channel, level))
            return false;
        const bool left = channel == Channel::Left;
        (left ? state_.memory.leftFine : state_.memory.rightFine).level = level;
        (left ? state_.memory.left : state_.memory.right)[kAmplitude] =
            AmplitudeAt(NearestAmplitude(Loudest(LevelsFor(state_.calibration, channel, level))));
        return true;
    });
}

MilliHertz Instrument::FrequencyOf(Channel channel) const {
    const bool selected = channel == state_.channel || channel == Channel::Both;
    const ChannelMemory& m = state_.memory;
    const FineSetting& fine =
        selected ? state_.fine : (channel == Channel::Left ? m.leftFine : m.rightFine);
    if (fine.frequency)
        return *fine.frequency;
    const DialPositions& d =
        selected ? state_.dials : (channel == Channel::Left ? m.left : m.right);
    return MilliHertz::FromHertz(
        ComposeFrequency(d[kThousands].reading, d[kHundreds].reading, d[kUnits].reading));
}

std::optional<WrittenLevel> Instrument::LevelOf(Channel channel) const {
    if (channel == state_.channel)
        return state_.fine.level;
    const ChannelMemory& m = state_.memory;
    switch (channel) {
    case Channel::Left:
        return m.leftFine.level;
    case Channel::Right:
        return m.rightFine.level;
    case Channel::Both:
        return m.bothLevel;
    }
    return std::nullopt;
}

LevelRefusal Instrument::LevelRefusalOf(Channel channel, const WrittenLevel& level) const {
    // The classic synthesis plays full scale and the dial's share only.
    if (!Precise())
        return {LevelRefusalReason::NotALevel, std::nullopt};
    return LevelsFor(state_.calibration, channel, level).refusal;
}

bool Instrument::UseCalibration(const OutputCalibration& calibration) {
    return Command([this, &calibration] {
        state_.calibration = calibration;
        if (state_.fine.level && !Playable(state_.channel, *state_.fine.level)) {
            state_.fine.level.reset();
            SaveFine();
        }
        const Sound before = SoundNow();
        ApplyLevels();
        if (SoundNow() != before)
            Heard();
        return true;
    });
}

} // namespace instrument
