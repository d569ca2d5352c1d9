// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading the values of the command line's tone options. Each reader gives
// the value, or a one-line message that names the option and what it
// accepts, translated where it is shown. Values outside the generator's
// limits are refused, never limited.

#include "cli/CliMessage.h"
#include "engine/Envelope.h"
#include "engine/LevelRefusal.h"
#include "engine/LevelUnit.h"
#include "engine/MilliHertz.h"
#include "engine/ToneGenTypes.h"
#include "engine/ToneLimits.h"
#include "engine/ToneRequest.h"
#include "engine/signals/MeasurementSignal.h"
#include "engine/signals/ToneBurst.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

template <class T> struct OptionValue {
    std::optional<T> value;
    CliMessage error;

    static OptionValue Refused(CliMessage message) { return {std::nullopt, std::move(message)}; }
};

namespace tone_options {

// The generator's limits; the options refuse values beyond them.
inline constexpr int kMinPercent = kMinTonePercent;
inline constexpr int kMaxPercent = kMaxTonePercent;
inline constexpr int kMinDurationMs = kMinToneDurationMs;
inline constexpr int kMaxDurationMs = kMaxToneDurationMs;
inline constexpr double kMinSeconds = 0.1;
inline constexpr double kMaxSeconds = 86400;
inline constexpr int kMinSweepMs = 100;
inline constexpr int kMaxSweepMs = 60000;
inline constexpr int kMaxFadeMs = kMaxSweepMs / 2;
inline constexpr int kMaxBurstCycles = kMostBurstCycles;
inline constexpr int kMaxPhaseTenths = 3600;
inline constexpr double kMinLevelDb = -120;
inline constexpr double kMaxLevelDb = 0;

// The text with control characters and bytes that are not UTF-8 written as
// \xNN: what the user typed, fit for a one-line message that cannot act on
// the terminal.
std::string OneLine(std::string_view text);
// Longer texts are cut to this many bytes when echoed.
inline constexpr std::size_t kLongestEcho = 64;
// The text cut to kLongestEcho bytes, saying how long it was.
std::string Shortened(std::string_view text);
// A value as echoed in a message: shortened, one line, in quotes.
std::string Quoted(std::string_view text);

// A whole decimal number from min to max; `what` says what the number
// counts, e.g. "Hz" (an English text, translated with the message).
OptionValue<int> WholeNumber(std::string_view option, std::string_view text, int min, int max,
                             const char* what);
// A frequency with at most three decimals, written with a point, within
// FrequencyRange::AtRate(rate); each refusal says what to write instead.
OptionValue<MilliHertz> FineFrequency(std::string_view option, std::string_view text, int rate);
// Samples per second, one of kPreciseRates; `precise` false: 96000 or
// 44100, the classic synthesis's, and a refusal that says so for the others.
OptionValue<int> Rate(std::string_view text, bool precise);
OptionValue<TTGWave> Waveform(std::string_view option, std::string_view text);
// A note name, in octave 4 unless it gives one; the value is its frequency.
OptionValue<int> Note(std::string_view option, std::string_view text);
// LEFT or LEFT,RIGHT in percent.
OptionValue<std::pair<int, int>> Volume(std::string_view text);
// A,H,D,S,R in percent.
OptionValue<EnvelopeSettings> Envelope(std::string_view text);
// LEVEL:AMPLITUDE:WAVEFORM:FREQUENCY; the level must play from 20 to
// 20000 Hz with the tone at `toneFrequency`.
OptionValue<AMRequest> AMLevel(std::string_view text, int toneFrequency, bool useMultiplier);
// 8, 16, 24 or float.
OptionValue<TTGResolution> Bits(std::string_view text);
// A peak level in dB relative to full scale, -120 to 0, taken to the
// nearest hundredth of a decibel.
OptionValue<double> Level(std::string_view text);
// A level in any unit LevelTextReader takes. A plain or dBFS level comes
// back as the sample level in dBFS (as Level reads it); a voltage or
// dBu/dBV comes back as written, for the output's calibration to turn into
// a sample level.
OptionValue<WrittenLevel> AnyLevel(std::string_view option, std::string_view text);
// The one line for a refused level: the option, the text as typed, the
// limit in the unit asked (when the refusal has one) and the output's name.
CliMessage LevelRefusalMessage(std::string_view option, std::string_view text,
                               const LevelRefusal& refusal, std::string_view output);
// A meter's reading of a sine's RMS: volts as a plain number ("0.245") or
// with a unit ("0.245V", "245mV"), above 0.
OptionValue<double> MeterReading(std::string_view option, std::string_view text);
// One reading for both channels, or LEFT,RIGHT.
OptionValue<std::pair<double, double>> MeterReadings(std::string_view text);
// A number of seconds, fractions allowed.
OptionValue<double> Seconds(std::string_view text);
// An output's name or description, as typed: anything but nothing.
OptionValue<std::string> DeviceName(std::string_view text);

// The measurement signals' readers.

// What --waveform names: a tone's waveform, or a measurement signal (pink,
// smpte, ccif) that replaces the tone.
struct WaveChoice {
    TTGWave wave = TTGWave::tgSine;
    SignalKind signal = SignalKind::Tone;
    bool multitone = false; // --waveform multitone: tones from --tones or --tones-file
};
// The command-line word of the multitone.
inline constexpr std::string_view kMultitoneWord = "multitone";
OptionValue<WaveChoice> ToneWaveform(std::string_view text);
// F1:F2, two different frequencies within FrequencyRange::AtRate(rate),
// each with at most three decimals after a point.
OptionValue<std::pair<MilliHertz, MilliHertz>> SweepRange(std::string_view text, int rate);
// ON:OFF whole cycles: ON 1..1000, OFF 0..1000.
OptionValue<BurstSettings> Burst(std::string_view text);
// Degrees from 0 to 360 in steps of 0.1; the value is in tenths.
OptionValue<int> PhaseTenths(std::string_view text);

// F1:F2:N of a multitone or a stepped sweep: two frequencies in hertz
// (decimals with a point) above 0 and at most kHighestSpanHertz, F1 below
// F2, and a whole N from 1 to `maxCount`. Whether they fit the rate is
// judged with the signal.
struct FrequencySpan {
    double f1 = 0;
    double f2 = 0;
    int count = 0;
};
inline constexpr double kHighestSpanHertz = 1e6;
OptionValue<FrequencySpan> Span(std::string_view option, std::string_view text, int maxCount);
// A transform length: a power of two from 1024 to 1048576.
OptionValue<int> FftLength(std::string_view text);

} // namespace tone_options
