#pragma once
// Reading the values of the command line's tone options. Each reader gives
// the value, or a one-line message that names the option and what it
// accepts. Values outside the generator's limits are refused, never
// limited.

#include "engine/Envelope.h"
#include "engine/ToneGenTypes.h"
#include "cli/ToneRequest.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>

template <class T> struct OptionValue {
    std::optional<T> value;
    std::string error;

    static OptionValue Refused(std::string message) { return {std::nullopt, std::move(message)}; }
};

namespace tone_options {

inline constexpr int kMinPercent = 0;
inline constexpr int kMaxPercent = 100;
inline constexpr int kMinDurationMs = 10;
inline constexpr int kMaxDurationMs = 32767;
inline constexpr double kMinSeconds = 0.1;
inline constexpr double kMaxSeconds = 86400;
inline constexpr double kMinLevelDb = -120;
inline constexpr double kMaxLevelDb = 0;

// The text with control characters written as \xNN: what the user typed,
// fit for a one-line message.
std::string OneLine(std::string_view text);

// A whole decimal number from min to max; `what` says what the number
// counts, e.g. "Hz".
OptionValue<int> WholeNumber(std::string_view option, std::string_view text, int min, int max,
                             std::string_view what);
// One of the listed whole numbers.
OptionValue<int> Choice(std::string_view option, std::string_view text, int first, int second);
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
// A number of seconds, fractions allowed.
OptionValue<double> Seconds(std::string_view text);

} // namespace tone_options
