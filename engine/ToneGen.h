// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tone generator component: every tone parameter with its limits, the
// wave image built from them on demand, and playback through a sound output
// with the program's own left and right level.

#include "core/Component.h"
#include "engine/AMLevels.h"
#include "engine/Envelope.h"
#include "engine/SoundOutput.h"
#include "engine/ToneGenTypes.h"
#include "engine/WaveFormat.h"
#include "engine/signals/MeasurementSignal.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class SoundOutput;
class TMemoryStream;

class TToneGen : public TComponent {
public:
    // Uses the process-wide default sound output; a null output means a
    // silent one.
    explicit TToneGen(TComponent* owner);
    TToneGen(TComponent* owner, std::shared_ptr<SoundOutput> output);
    ~TToneGen() override;

    std::string ClassName() const override { return "TToneGen"; }
    void DeclareProperties(PropertyList& props) override;
    void DefineProperties(RawPropertyList& props) override;

    // Published properties, in declaration order.
    std::int16_t Frequency() const { return frequency_; }
    void SetFrequency(std::int16_t hz);
    std::int16_t Duration() const { return duration_; }
    void SetDuration(std::int16_t ms);
    TTGWave Waveform() const { return waveform_; }
    void SetWaveform(TTGWave wave);
    std::int16_t Attack() const { return envelope_.attack; }
    void SetAttack(std::int16_t percent);
    std::int16_t Hold() const { return envelope_.hold; }
    void SetHold(std::int16_t percent);
    std::int16_t Decay() const { return envelope_.decay; }
    void SetDecay(std::int16_t percent);
    std::int16_t Sustain() const { return envelope_.sustain; }
    void SetSustain(std::int16_t percent);
    std::int16_t Release() const { return envelope_.release; }
    void SetRelease(std::int16_t percent);
    // Plain fields: they only decide the play mode of the next play.
    bool Async() const { return async_; }
    void SetAsync(bool on) { async_ = on; }
    bool Loop() const { return loop_; }
    void SetLoop(bool on) { loop_ = on; }
    TTGResolution Resolution() const { return resolution_; }
    void SetResolution(TTGResolution resolution);
    TTGQuality Quality() const { return quality_; }
    void SetQuality(TTGQuality quality);
    std::int16_t LeftVolume() const { return leftVolume_; }
    void SetLeftVolume(std::int16_t percent);
    std::int16_t RightVolume() const { return rightVolume_; }
    void SetRightVolume(std::int16_t percent);
    bool Stereo() const { return stereo_; }
    void SetStereo(bool on);
    TTGAMLevel AMLevel() const { return amLevel_; }
    void SetAMLevel(TTGAMLevel level);
    std::int16_t AMAmplitude() const { return amAmplitude_; }
    void SetAMAmplitude(std::int16_t percent);
    TTGWave AMWaveform() const { return amWaveform_; }
    void SetAMWaveform(TTGWave wave);
    float AMFrequency() const { return amFrequency_; }
    void SetAMFrequency(float frequency);
    bool AMUseMultiplier() const { return amUseMultiplier_; }
    void SetAMUseMultiplier(bool on);
    // Off: the classic synthesis, byte for byte. On: every periodic
    // component is the ideal waveform at its exact phase, rounded to the
    // nearest step, with the square, triangle and sawtooth band-limited.
    bool Precise() const { return precise_; }
    void SetPrecise(bool on);
    // A measurement signal in place of the tone and its AM levels (precise
    // synthesis only; the classic one ignores it). A plain field, not
    // stored: the default is the steady tone, and then no byte changes.
    const MeasurementSignal& Signal() const { return signal_; }
    void SetSignal(const MeasurementSignal& signal);
    // Precise synthesis only (the classic one ignores both). The peak of
    // the signal in dB relative to full scale, -120 to 0, in the samples
    // themselves: a sine at -20 peaks at 0.1 of full scale. It scales the
    // mix of tone and AM levels the way the amplitudes share it, before the
    // envelope. Not stored with the layout.
    double PeakLevel() const { return peakLevel_; }
    void SetPeakLevel(double decibels);
    // The right channel's own peak level, in the same way, for a stereo
    // format (a mono one plays the left); none: the right follows
    // PeakLevel(). Not stored with the layout.
    double RightPeakLevel() const { return rightPeakLevel_.value_or(peakLevel_); }
    void SetRightPeakLevel(std::optional<double> decibels);
    // Triangular dither of 2 steps peak to peak before rounding to 8, 16
    // or 24 bits, from a fixed seed. Off by default so that images stay the
    // same byte for byte. Not stored with the layout.
    bool Dither() const { return dither_; }
    void SetDither(bool on);
    // Precise synthesis only: a sample rate in place of the quality's (one
    // of kPreciseRates; 0 or any other value: the quality's). Not stored
    // with the layout.
    int SampleRate() const { return sampleRate_; }
    void SetSampleRate(int rate);

    // Operations.
    void Play();
    void PlayADSR();
    void Stop();
    void PresetVolume();
    bool Prepare();
    bool PrepareADSR();
    void ResetAM();
    void SetAMParameter(TTGAMLevel level, std::int16_t amplitude, float frequency, TTGWave wave);
    // Lends the current image (null when there is none); it is replaced at
    // the next build and released with the component.
    const std::uint8_t* GetDataBuffer() const { return image_.get(); }
    std::uint32_t ImageSize() const { return imageSize_; }
    // Writes the image as a WAV file (see WriteWholeFile); on failure `why`
    // gets the errno value that says why (ENODATA: nothing built yet).
    bool ExportFile(const std::string& fileName, int* why = nullptr);
    int SetNote(const std::string& name);
    float SetAMNote(TTGAMLevel level, const std::string& name);

    void WriteAMArray(TMemoryStream& out) const;
    void ReadAMArray(TMemoryStream& in);

    // State, for the panel and for tests.
    bool ImageStale() const { return imageStale_; }
    bool EnvelopeStale() const { return envelopeStale_; }
    bool ImageHasEnvelope() const { return imageHasEnvelope_; }
    bool Idle() const { return idle_; }
    std::uint32_t DeviceId() const { return deviceId_; }
    std::int32_t Octave() const { return octave_; }
    const AMLevels& AMArrays() const { return am_; }
    WaveFormat Format() const;
    const std::shared_ptr<SoundOutput>& Output() const { return output_; }

    static std::uint32_t InstanceCount() { return instanceCount_; }
    static std::uint32_t SavedDeviceVolume() { return savedDeviceVolume_; }

protected:
    // Limits a value to min..max; in design mode a message says so.
    std::int16_t CheckRange(std::int16_t min, std::int16_t max, std::int16_t value) const;
    bool BuildImage(bool withEnvelope);
    // The sample data for the formats and settings only the real-valued mix
    // gives: wider samples, a level below full scale, dither.
    bool NeedsRealMix() const;
    ToneShape MixReal(const WaveFormat& format, std::uint32_t dataLength, bool withEnvelope,
                      std::uint8_t* data) const;
    // The built image becomes the generator's, with or without its envelope.
    void KeepImage(std::unique_ptr<std::uint8_t[]> block, std::size_t size, bool withEnvelope);
    void StartPlayback();
    std::uint32_t GetDeviceVolume();
    // Null when no memory is available; tests override it to simulate that.
    virtual std::unique_ptr<std::uint8_t[]> AllocateImage(std::size_t size);

private:
    void ShowRangeMessage(int min, int max) const;
    // Stops the output before the image goes; while a looped sound is being
    // replaced, as the first half of that change.
    void StopOutputForImage();
    void Replay(bool withEnvelope);
    int AMIndex(TTGAMLevel level) const;
    bool PlaysSignal() const { return precise_ && signal_.Active(); }
    // The tone and its AM levels, as sample data of `dataLength` bytes.
    ToneShape MixTone(const WaveFormat& format, std::uint32_t dataLength, std::uint8_t* data,
                      bool withEnvelope) const;

    std::int16_t frequency_ = 440;
    std::int16_t duration_ = 100;
    TTGWave waveform_ = TTGWave::tgSine;
    EnvelopeSettings envelope_;
    bool async_ = true;
    bool loop_ = false;
    TTGResolution resolution_ = TTGResolution::tg16Bit;
    TTGQuality quality_ = TTGQuality::tgHiQ;
    std::int16_t leftVolume_ = 100;
    std::int16_t rightVolume_ = 100;
    bool stereo_ = false;
    TTGAMLevel amLevel_ = TTGAMLevel::tgAMLevel1;
    std::int16_t amAmplitude_ = 0;
    TTGWave amWaveform_ = TTGWave::tgSine;
    float amFrequency_ = 0;
    bool amUseMultiplier_ = true;
    bool precise_ = false;
    MeasurementSignal signal_;
    double peakLevel_ = 0;
    std::optional<double> rightPeakLevel_;
    bool dither_ = false;
    int sampleRate_ = 0;

    bool imageStale_ = true;
    bool envelopeStale_ = true;
    bool imageHasEnvelope_ = true;
    bool idle_ = true;
    bool changing_ = false; // a looped sound plays and is being replaced
    ToneShape shape_;       // what the image repeats
    std::unique_ptr<std::uint8_t[]> image_;
    std::uint32_t imageSize_ = 0;
    std::uint32_t deviceId_ = 0;
    std::int32_t octave_ = 4;
    AMLevels am_;

    std::shared_ptr<SoundOutput> output_;

    static inline std::uint32_t instanceCount_ = 0;
    static inline std::uint32_t savedDeviceVolume_ = 0;
    // Only a level that was actually read is given back at the end.
    static inline bool savedDeviceVolumeRead_ = false;
};

// Makes "TToneGen" known to the layout reader. Call before reading a layout
// that holds a generator.
void RegisterToneGenClass();
