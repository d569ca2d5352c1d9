// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ToneGen.h"

#include "core/ByteStream.h"
#include "core/ClassRegistry.h"
#include "core/DesignMessage.h"
#include "engine/AMMix.h"
#include "engine/DefaultSoundOutput.h"
#include "engine/FrameMixer.h"
#include "engine/LevelWord.h"
#include "engine/NoteName.h"
#include "engine/RealFrameMixer.h"
#include "engine/SampleRates.h"
#include "engine/SampleWriter.h"
#include "engine/SilentSoundOutput.h"
#include "engine/SoundName.h"
#include "engine/SoundOutput.h"
#include "engine/ToneLimits.h"
#include "engine/WaveFile.h"
#include "engine/WaveHeader.h"
#include "engine/signals/SignalImage.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <new>

namespace {
constexpr auto kMinPercent = static_cast<std::int16_t>(kMinTonePercent);
constexpr auto kMaxPercent = static_cast<std::int16_t>(kMaxTonePercent);
constexpr double kMinPeakLevel = -120;
constexpr double kMaxPeakLevel = 0;
} // namespace

TToneGen::TToneGen(TComponent* owner) : TToneGen(owner, DefaultSoundOutput()) {}

TToneGen::TToneGen(TComponent* owner, std::shared_ptr<SoundOutput> output)
    : TComponent(owner), output_(std::move(output)) {
    if (!output_)
        output_ = std::make_shared<SilentSoundOutput>();
    ResetAM();
    amAmplitude_ = am_.amplitudes[0];
    amWaveform_ = am_.waveforms[0];
    amFrequency_ = am_.frequencies[0];
    am_.octaves.fill(4);
    deviceId_ = 0;
    if (instanceCount_ == 0 && !IsDesigning()) {
        savedDeviceVolume_ = GetDeviceVolume();
        PresetVolume();
    }
    ++instanceCount_;
}

TToneGen::~TToneGen() {
    Stop();
    image_.reset();
    imageSize_ = 0;
    --instanceCount_;
    if (instanceCount_ == 0 && !IsDesigning() && savedDeviceVolumeRead_)
        output_->SetLevel(deviceId_, savedDeviceVolume_);
}

void TToneGen::DeclareProperties(PropertyList& props) {
    TComponent::DeclareProperties(props);
    using T = TToneGen;
    props.Int("Frequency", &T::Frequency, &T::SetFrequency, 440);
    props.Int("Duration", &T::Duration, &T::SetDuration, 100);
    props.Enum("Waveform", &T::Waveform, &T::SetWaveform, TTGWaveNames(), 0);
    props.Int("Attack", &T::Attack, &T::SetAttack, 10);
    props.Int("Hold", &T::Hold, &T::SetHold, 5);
    props.Int("Decay", &T::Decay, &T::SetDecay, 20);
    props.Int("Sustain", &T::Sustain, &T::SetSustain, 50);
    props.Int("Release", &T::Release, &T::SetRelease, 30);
    props.Bool("Async", &T::Async, &T::SetAsync, true);
    props.Bool("Loop", &T::Loop, &T::SetLoop, false);
    props.Enum("Resolution", &T::Resolution, &T::SetResolution, TTGResolutionNames(), 0);
    props.Enum("Quality", &T::Quality, &T::SetQuality, TTGQualityNames(), 0);
    props.Int("LeftVolume", &T::LeftVolume, &T::SetLeftVolume, 100);
    props.Int("RightVolume", &T::RightVolume, &T::SetRightVolume, 100);
    props.Bool("Stereo", &T::Stereo, &T::SetStereo, false);
    props.Enum("AMLevel", &T::AMLevel, &T::SetAMLevel, TTGAMLevelNames(), 0);
    // The current level's three values have no default: always stored.
    props.Int("AMAmplitude", &T::AMAmplitude, &T::SetAMAmplitude);
    props.Enum("AMWaveform", &T::AMWaveform, &T::SetAMWaveform, TTGWaveNames());
    props.Float("AMFrequency", &T::AMFrequency, &T::SetAMFrequency);
    props.Bool("AMUseMultiplier", &T::AMUseMultiplier, &T::SetAMUseMultiplier, true);
    props.Bool("Precise", &T::Precise, &T::SetPrecise, false);
}

void TToneGen::DefineProperties(RawPropertyList& props) {
    TComponent::DefineProperties(props);
    props.Define(
        "AMArrayData", [this](TMemoryStream& in) { ReadAMArray(in); },
        [this](TMemoryStream& out) { WriteAMArray(out); }, true);
}

void TToneGen::ShowRangeMessage(int min, int max) const {
    ShowDesignMessage("Value must be between " + std::to_string(min) + " and " +
                          std::to_string(max),
                      "Error", MessageIcon::Error);
}

std::int16_t TToneGen::CheckRange(std::int16_t min, std::int16_t max, std::int16_t value) const {
    if (min <= value && value <= max)
        return value;
    if (IsDesigning())
        ShowRangeMessage(min, max);
    return value < min ? min : max;
}

int TToneGen::AMIndex(TTGAMLevel level) const {
    const int i = static_cast<int>(level);
    return i < kAMLevelCount ? i : -1;
}

// Setters store unconditionally and mark what they change as stale, also
// when the value is the same.

void TToneGen::SetFrequency(std::int16_t hz) {
    frequency_ = CheckRange(kMinToneFrequency, kMaxToneFrequency, hz);
    imageStale_ = true;
}

void TToneGen::SetDuration(std::int16_t ms) {
    duration_ = CheckRange(kMinToneDurationMs, kMaxToneDurationMs, ms);
    imageStale_ = true;
}

void TToneGen::SetWaveform(TTGWave wave) {
    waveform_ = wave;
    imageStale_ = true;
}

void TToneGen::SetAttack(std::int16_t percent) {
    envelope_.attack = CheckRange(kMinPercent, kMaxPercent, percent);
    envelopeStale_ = true;
}

void TToneGen::SetHold(std::int16_t percent) {
    envelope_.hold = CheckRange(kMinPercent, kMaxPercent, percent);
    envelopeStale_ = true;
}

void TToneGen::SetDecay(std::int16_t percent) {
    envelope_.decay = CheckRange(kMinPercent, kMaxPercent, percent);
    envelopeStale_ = true;
}

void TToneGen::SetSustain(std::int16_t percent) {
    envelope_.sustain = CheckRange(kMinPercent, kMaxPercent, percent);
    envelopeStale_ = true;
}

void TToneGen::SetRelease(std::int16_t percent) {
    envelope_.release = CheckRange(kMinPercent, kMaxPercent, percent);
    envelopeStale_ = true;
}

void TToneGen::SetResolution(TTGResolution resolution) {
    resolution_ = resolution;
    imageStale_ = true;
}

void TToneGen::SetQuality(TTGQuality quality) {
    quality_ = quality;
    imageStale_ = true;
}

// While a started sound may still play, a new level waits for the next
// play; otherwise (and while loading) it is applied at once.
void TToneGen::SetLeftVolume(std::int16_t percent) {
    leftVolume_ = CheckRange(kMinPercent, kMaxPercent, percent);
    if (IsLoading() || idle_)
        PresetVolume();
}

void TToneGen::SetRightVolume(std::int16_t percent) {
    rightVolume_ = CheckRange(kMinPercent, kMaxPercent, percent);
    if (IsLoading() || idle_)
        PresetVolume();
}

void TToneGen::SetStereo(bool on) {
    stereo_ = on;
    imageStale_ = true;
}

void TToneGen::SetAMLevel(TTGAMLevel level) {
    const int i = AMIndex(level);
    if (i < 0)
        return;
    amLevel_ = level;
    SetAMAmplitude(am_.amplitudes[i]);
    SetAMWaveform(am_.waveforms[i]);
    SetAMFrequency(am_.frequencies[i]);
}

void TToneGen::SetAMAmplitude(std::int16_t percent) {
    amAmplitude_ = CheckRange(kMinPercent, kMaxPercent, percent);
    am_.amplitudes[AMIndex(amLevel_)] = amAmplitude_;
    imageStale_ = true;
}

void TToneGen::SetAMWaveform(TTGWave wave) {
    amWaveform_ = wave;
    am_.waveforms[AMIndex(amLevel_)] = wave;
    imageStale_ = true;
}

void TToneGen::SetAMFrequency(float frequency) {
    amFrequency_ = frequency;
    am_.frequencies[AMIndex(amLevel_)] = frequency;
    imageStale_ = true;
}

void TToneGen::SetAMUseMultiplier(bool on) {
    amUseMultiplier_ = on;
    imageStale_ = true;
}

void TToneGen::SetPrecise(bool on) {
    precise_ = on;
    imageStale_ = true;
}

void TToneGen::SetSignal(const MeasurementSignal& signal) {
    signal_ = signal;
    imageStale_ = true;
}

void TToneGen::SetPeakLevel(double decibels) {
    peakLevel_ =
        std::isnan(decibels) ? kMaxPeakLevel : std::clamp(decibels, kMinPeakLevel, kMaxPeakLevel);
    imageStale_ = true;
}

void TToneGen::SetRightPeakLevel(std::optional<double> decibels) {
    if (decibels)
        decibels = std::isnan(*decibels) ? kMaxPeakLevel
                                         : std::clamp(*decibels, kMinPeakLevel, kMaxPeakLevel);
    rightPeakLevel_ = decibels;
    imageStale_ = true;
}

void TToneGen::SetDither(bool on) {
    dither_ = on;
    imageStale_ = true;
}

void TToneGen::SetSampleRate(int rate) {
    sampleRate_ = PlaysAtRate(rate, true) ? rate : 0;
    imageStale_ = true;
}

void TToneGen::ResetAM() {
    am_.Reset();
    imageStale_ = true;
}

void TToneGen::SetAMParameter(TTGAMLevel level, std::int16_t amplitude, float frequency,
                              TTGWave wave) {
    const int i = AMIndex(level);
    if (i < 0)
        return;
    am_.amplitudes[i] = amplitude;
    am_.frequencies[i] = frequency;
    am_.waveforms[i] = wave;
    imageStale_ = true;
}

void TToneGen::WriteAMArray(TMemoryStream& out) const {
    am_.Write(out);
}

// The component is being created when this runs, so the image is stale
// already and is not marked again.
void TToneGen::ReadAMArray(TMemoryStream& in) {
    am_.Read(in);
}

WaveFormat TToneGen::Format() const {
    WaveFormat format{stereo_, resolution_ != TTGResolution::tg8Bit, quality_ == TTGQuality::tgHiQ};
    if (precise_ && resolution_ == TTGResolution::tg24Bit)
        format.wide = WideSamples::Pcm24;
    else if (precise_ && resolution_ == TTGResolution::tgFloat)
        format.wide = WideSamples::Float32;
    if (precise_)
        format.rate = sampleRate_;
    return format;
}

bool TToneGen::NeedsRealMix() const {
    return precise_ && (Format().wide != WideSamples::None || peakLevel_ < kMaxPeakLevel ||
                        RightPeakLevel() < kMaxPeakLevel || dither_);
}

namespace {

// What a steady tone's image repeats: one periodic component starts at phase
// zero on the first sample and has a cycle of rate / frequency samples; noise,
// mixes and enveloped sounds are described as nothing in particular.
ToneShape ShapeOf(const ToneComponents& components, const WaveFormat& format, bool withEnvelope) {
    const auto audible = std::count_if(components.begin(), components.end(),
                                       [](const ToneComponent& c) { return c.Audible(); });
    ToneShape shape;
    const ToneComponent& main = components[0];
    if (audible == 1 && main.Audible() && main.wave != TTGWave::tgNoise && !withEnvelope)
        shape.framesPerCycle = double(format.SamplesPerSecond()) / main.frequency;
    return shape;
}

} // namespace

ToneShape TToneGen::MixReal(const WaveFormat& format, std::uint32_t dataLength, bool withEnvelope,
                            std::uint8_t* data) const {
    RealFrameMixer mixer(format, dataLength);
    NoiseSource noise(1);
    const ToneComponents components =
        MixComponents(frequency_, waveform_, am_, amUseMultiplier_, [this] {
            if (IsDesigning())
                ShowRangeMessage(kMinToneFrequency, kMaxToneFrequency);
        });
    for (const ToneComponent& c : components)
        mixer.Add(c, noise);
    TpdfDither dither;
    if (format.stereo && RightPeakLevel() != peakLevel_) {
        // Each channel scaled from the same mix by its own level, so that
        // neither is rounded through the other's.
        if (withEnvelope)
            mixer.ApplyEnvelope(envelope_);
        const auto scaled = [&](double decibels) {
            std::vector<double> channel = mixer.Frames();
            const double peak = PeakFromDecibels(decibels);
            for (double& v : channel)
                v *= peak;
            return channel;
        };
        WriteChannelSamples(scaled(peakLevel_), scaled(RightPeakLevel()), format,
                            dither_ ? &dither : nullptr, data);
        return ShapeOf(components, format, withEnvelope);
    }
    mixer.Scale(PeakFromDecibels(peakLevel_));
    if (withEnvelope)
        mixer.ApplyEnvelope(envelope_);
    WriteSamples(mixer.Frames(), format, dither_ ? &dither : nullptr, data);
    return ShapeOf(components, format, withEnvelope);
}

std::unique_ptr<std::uint8_t[]> TToneGen::AllocateImage(std::size_t size) {
    return std::unique_ptr<std::uint8_t[]>(new (std::nothrow) std::uint8_t[size]);
}

void TToneGen::StopOutputForImage() {
    if (changing_)
        output_->StopForChange();
    else
        output_->Stop();
}

ToneShape TToneGen::MixTone(const WaveFormat& format, std::uint32_t dataLength, std::uint8_t* data,
                            bool withEnvelope) const {
    FrameMixer mixer(format, dataLength, precise_);
    NoiseSource noise(1);
    const ToneComponents components =
        MixComponents(frequency_, waveform_, am_, amUseMultiplier_, [this] {
            if (IsDesigning())
                ShowRangeMessage(kMinToneFrequency, kMaxToneFrequency);
        });
    for (const ToneComponent& c : components)
        mixer.Add(c, noise);
    mixer.WriteData(data);
    return ShapeOf(components, format, withEnvelope);
}

void TToneGen::KeepImage(std::unique_ptr<std::uint8_t[]> block, std::size_t size,
                         bool withEnvelope) {
    image_ = std::move(block);
    imageSize_ = static_cast<std::uint32_t>(size);
    imageStale_ = false;
    envelopeStale_ = !withEnvelope;
    imageHasEnvelope_ = withEnvelope;
}

bool TToneGen::BuildImage(bool withEnvelope) {
    // The output may be reading the old image: stop it before releasing it.
    StopOutputForImage();
    image_.reset();
    imageSize_ = 0;
    shape_ = ToneShape{};

    const WaveFormat format = Format();
    // A measurement signal may set its own length (a sweep, whole bursts):
    // its samples come first, and the image is sized to them.
    ChannelSamples signal;
    std::uint32_t dataLength = format.DataLength(duration_);
    if (PlaysSignal()) {
        try {
            signal = SignalSamples(signal_, frequency_, format.SamplesPerSecond(),
                                   dataLength / format.BytesPerFrame());
        } catch (const std::bad_alloc&) {
            return false;
        }
        dataLength = static_cast<std::uint32_t>(signal.Frames() * format.BytesPerFrame());
    }
    const std::size_t headerSize = WaveHeaderSize(format);
    const std::size_t size = WaveImageSize(format, dataLength);
    std::unique_ptr<std::uint8_t[]> block = AllocateImage(size);
    if (!block)
        return false;
    std::memset(block.get(), format.ZeroLevelByte(), size);
    WriteWaveHeader(block.get(), format, dataLength);

    if (PlaysSignal() && NeedsRealMix()) {
        // Wide samples, a level or dither: scaled, enveloped and rounded
        // once from the signal's real values.
        try {
            if (withEnvelope) {
                const std::vector<double> gains =
                    EnvelopeGains(dataLength, format.BytesPerFrame(), envelope_);
                for (std::vector<double>* channel : {&signal.left, &signal.right})
                    for (std::size_t i = 0; i < std::min(gains.size(), channel->size()); ++i)
                        (*channel)[i] *= gains[i];
            }
            TpdfDither dither;
            WriteSignalData(signal, format, PeakFromDecibels(peakLevel_),
                            PeakFromDecibels(RightPeakLevel()), dither_ ? &dither : nullptr,
                            block.get() + headerSize);
        } catch (const std::bad_alloc&) {
            return false;
        }
        KeepImage(std::move(block), size, withEnvelope);
        return true;
    }
    if (NeedsRealMix()) {
        try {
            shape_ = MixReal(format, dataLength, withEnvelope, block.get() + headerSize);
        } catch (const std::bad_alloc&) {
            return false;
        }
        KeepImage(std::move(block), size, withEnvelope);
        return true;
    }

    try {
        if (PlaysSignal())
            WriteSignalData(signal, format, 1.0, nullptr, block.get() + kWaveHeaderSize);
        else
            shape_ = MixTone(format, dataLength, block.get() + kWaveHeaderSize, withEnvelope);
    } catch (const std::bad_alloc&) {
        return false;
    }

    KeepImage(std::move(block), size, false);
    if (withEnvelope) {
        ApplyEnvelope(image_.get() + kWaveHeaderSize, dataLength, format.stereo, format.sixteenBit,
                      envelope_);
        envelopeStale_ = false;
        imageHasEnvelope_ = true;
    }
    return true;
}

void TToneGen::Play() {
    Replay(false);
}

void TToneGen::PlayADSR() {
    Replay(true);
}

// A Play while a looped sound plays is a change: the output hears the
// stops before the new image as the first half of it, and the new image
// continues the old one's phase.
void TToneGen::Replay(bool withEnvelope) {
    changing_ = !idle_ && loop_;
    if (withEnvelope ? imageStale_ || envelopeStale_ : imageStale_ || imageHasEnvelope_)
        BuildImage(withEnvelope);
    idle_ = false;
    StartPlayback();
    changing_ = false;
    idle_ = !(async_ || loop_);
}

void TToneGen::Stop() {
    output_->Stop();
    idle_ = true;
}

void TToneGen::StartPlayback() {
    StopOutputForImage();
    idle_ = true;
    PresetVolume();
    std::uint32_t flags = SND_MEMORY;
    if (loop_)
        flags |= SND_ASYNC | SND_LOOP;
    else if (async_)
        flags |= SND_ASYNC;
    if (image_) {
        output_->DescribeSound(SoundName(waveform_, frequency_));
        output_->PlayTone(std::span<const std::uint8_t>(image_.get(), imageSize_), flags, shape_);
    } else if (changing_) {
        output_->Stop(); // no image to change to: what was held stops
    }
}

void TToneGen::PresetVolume() {
    output_->SetLevel(
        deviceId_, LevelWordFromPercent(std::uint32_t(leftVolume_), std::uint32_t(rightVolume_)));
}

bool TToneGen::Prepare() {
    PresetVolume();
    return BuildImage(false);
}

bool TToneGen::PrepareADSR() {
    PresetVolume();
    return BuildImage(true);
}

std::uint32_t TToneGen::GetDeviceVolume() {
    const std::optional<LevelReading> reading = output_->ReadLevel(deviceId_);
    savedDeviceVolumeRead_ = reading.has_value();
    if (!reading)
        return 0;
    std::uint32_t level = reading->level;
    if (!reading->separateChannels)
        level = PackLevelWord(LeftLevel(level), LeftLevel(level));
    return level;
}

bool TToneGen::ExportFile(const std::string& fileName, int* why) {
    const int error = image_ ? WriteWholeFile(fileName, image_.get(), imageSize_) : ENODATA;
    if (why)
        *why = error;
    return error == 0;
}

int TToneGen::SetNote(const std::string& name) {
    int octave = octave_;
    const int f = ParseNote(name, octave);
    if (f <= 0)
        return 0;
    SetFrequency(static_cast<std::int16_t>(f));
    octave_ = octave;
    imageStale_ = true;
    return f;
}

float TToneGen::SetAMNote(TTGAMLevel level, const std::string& name) {
    const int i = AMIndex(level);
    if (i < 0)
        return 0;
    int octave = am_.octaves[i];
    const int f = ParseNote(name, octave);
    if (f <= 0)
        return 0;
    float v = static_cast<float>(f);
    if (amUseMultiplier_)
        v = v / static_cast<float>(frequency_);
    am_.frequencies[i] = v;
    am_.octaves[i] = octave;
    imageStale_ = true;
    return v;
}

void RegisterToneGenClass() {
    ClassRegistry::Instance().Register<TToneGen>("TToneGen");
}
