// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ToneOptions.h"

#include "core/Utf8.h"
#include "engine/ChoiceNames.h"
#include "engine/LevelFormat.h"
#include "engine/LevelTextReader.h"
#include "engine/MeterReadingText.h"
#include "engine/NoteName.h"
#include "engine/NumberText.h"
#include "engine/SampleLevel.h"
#include "engine/SampleRates.h"
#include "engine/multitone/FftLength.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

namespace tone_options {
namespace {

constexpr int kStartOctave = 4;
constexpr int kMinAMLevel = 1;
constexpr int kMaxAMLevel = kAMLevelCount;

std::string Str(std::string_view text) {
    return std::string(text);
}

// The whole text as a decimal integer; no signs other than a leading
// minus, no spaces, no other number forms.
std::optional<long long> ParseInteger(std::string_view text) {
    long long v = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, v);
    if (text.empty() || ec != std::errc() || ptr != end)
        return std::nullopt;
    return v;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = text.find(separator, start);
        parts.push_back(text.substr(start, at == std::string_view::npos ? at : at - start));
        if (at == std::string_view::npos)
            return parts;
        start = at + 1;
    }
}

// The names' command-line words, joined by '|'.
template <class T, std::size_t N>
std::string WordList(const std::array<ChoiceName<T>, N>& names, std::string list = {}) {
    for (const ChoiceName<T>& name : names) {
        if (name.commandWord.empty())
            continue;
        if (!list.empty())
            list.push_back('|');
        list.append(name.commandWord);
    }
    return list;
}

std::string WaveNameList() {
    return WordList(choice_names::kWaveforms);
}

} // namespace

std::string OneLine(std::string_view text) {
    std::string line;
    while (!text.empty()) {
        const std::size_t length = Utf8CharLength(text);
        const auto lead = static_cast<unsigned char>(text[0]);
        const auto second = length > 1 ? static_cast<unsigned char>(text[1]) : 0;
        // Undecodable bytes and C0, DEL and C1 controls are shown, not sent.
        const bool shown = length == 0 || (length == 1 && (lead < 0x20 || lead == 0x7F)) ||
                           (length == 2 && lead == 0xC2 && second < 0xA0);
        const std::size_t take = length == 0 ? 1 : length;
        if (shown) {
            for (std::size_t i = 0; i < take; ++i) {
                char escaped[5];
                std::snprintf(escaped, sizeof escaped, "\\x%02X",
                              static_cast<unsigned char>(text[i]));
                line.append(escaped);
            }
        } else {
            line.append(text.substr(0, take));
        }
        text.remove_prefix(take);
    }
    return line;
}

std::string Shortened(std::string_view text) {
    if (text.size() <= kLongestEcho)
        return std::string(text);
    std::size_t cut = kLongestEcho;
    // Never in the middle of a character.
    for (int back = 0;
         back < 3 && cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80; ++back)
        --cut;
    return std::string(text.substr(0, cut)) + "... (" + std::to_string(text.size()) + " bytes)";
}

std::string Quoted(std::string_view text) {
    // Built up in place: GCC 12 warns falsely about "'" + std::string at -O3.
    std::string quoted(1, '\'');
    quoted += OneLine(Shortened(text));
    quoted += '\'';
    return quoted;
}

OptionValue<int> WholeNumber(std::string_view option, std::string_view text, int min, int max,
                             const char* what) {
    const std::optional<long long> v = ParseInteger(text);
    if (!v || *v < min || *v > max)
        return OptionValue<int>::Refused(
            {"%1 must be a whole number from %2 to %3 (%4), not %5",
             {Str(option), min, max, CliFragment{what}, Quoted(text)}});
    return {static_cast<int>(*v), {}};
}

OptionValue<MilliHertz> FineFrequency(std::string_view option, std::string_view text, int rate) {
    const FrequencyReading reading = ReadFrequency(text, rate);
    if (reading.frequency)
        return {*reading.frequency, {}};
    const FrequencyRange range = FrequencyRange::AtRate(rate);
    const std::string lowest = FrequencyText(range.lowest), highest = FrequencyText(range.highest);
    switch (reading.refusal) {
    case FrequencyRefusal::Comma:
        return OptionValue<MilliHertz>::Refused(
            {"%1 %2: use a point for decimals, not a comma", {Str(option), Quoted(text)}});
    case FrequencyRefusal::TooManyDecimals:
        return OptionValue<MilliHertz>::Refused(
            {"%1 takes at most three decimals (steps of 0.001 Hz), not %2",
             {Str(option), Quoted(text)}});
    case FrequencyRefusal::OutOfRange:
        return OptionValue<MilliHertz>::Refused(
            {"%1 must be from %2 to %3 Hz at %4 samples per second, not %5",
             {Str(option), lowest, highest, rate, Quoted(text)}});
    case FrequencyRefusal::None:
    case FrequencyRefusal::NotANumber:
        break;
    }
    return OptionValue<MilliHertz>::Refused(
        {"%1 must be a number of hertz from %2 to %3 with at most three decimals, not %4",
         {Str(option), lowest, highest, Quoted(text)}});
}

OptionValue<int> Rate(std::string_view text, bool precise) {
    // As a number: 096000 is 96000.
    const std::optional<long long> v = ParseInteger(text);
    const bool known = v && *v <= kPreciseRates.back() && PlaysAtRate(int(*v), true);
    if (!known) {
        std::string rates;
        for (std::size_t i = 0; i + 1 < kPreciseRates.size(); ++i)
            rates += (i > 0 ? ", " : "") + std::to_string(kPreciseRates[i]);
        return OptionValue<int>::Refused(
            {"%1 must be %2 or %3, not %4", {"--rate", rates, kPreciseRates.back(), Quoted(text)}});
    }
    if (!precise && !PlaysAtRate(int(*v), false))
        return OptionValue<int>::Refused(
            {"--rate %1 needs the precise synthesis; --classic plays 96000 or 44100", {int(*v)}});
    return {int(*v), {}};
}

OptionValue<TTGWave> Waveform(std::string_view option, std::string_view text) {
    if (const auto* name = choice_names::ByCommandWord(choice_names::kWaveforms, text))
        return {name->value, {}};
    return OptionValue<TTGWave>::Refused(
        {"%1 must be %2, not %3", {Str(option), WaveNameList(), Quoted(text)}});
}

OptionValue<int> Note(std::string_view option, std::string_view text) {
    int octave = kStartOctave;
    const int f = ParseNote(text, octave);
    if (f <= 0)
        return OptionValue<int>::Refused(
            {"%1 must be a note name from %2 to %3 Hz (A, C#, E-, >C, O5C#, N0..N114), not %4",
             {Str(option), kMinToneFrequency, kMaxToneFrequency, Quoted(text)}});
    return {f, {}};
}

OptionValue<std::pair<int, int>> Volume(std::string_view text) {
    const std::vector<std::string_view> parts = Split(text, ',');
    const auto refused = [&] {
        return OptionValue<std::pair<int, int>>::Refused(
            {"--volume must be LEFT or LEFT,RIGHT, each a whole number from %1 to %2 (percent), "
             "not %3",
             {kMinPercent, kMaxPercent, Quoted(text)}});
    };
    if (parts.size() > 2)
        return refused();
    std::array<int, 2> levels{};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::optional<long long> v = ParseInteger(parts[i]);
        if (!v || *v < kMinPercent || *v > kMaxPercent)
            return refused();
        levels[i] = static_cast<int>(*v);
    }
    if (parts.size() == 1)
        levels[1] = levels[0];
    return {std::pair{levels[0], levels[1]}, {}};
}

OptionValue<EnvelopeSettings> Envelope(std::string_view text) {
    const std::vector<std::string_view> parts = Split(text, ',');
    std::array<int, 5> v{};
    bool valid = parts.size() == v.size();
    for (std::size_t i = 0; valid && i < v.size(); ++i) {
        const std::optional<long long> n = ParseInteger(parts[i]);
        valid = n && *n >= kMinPercent && *n <= kMaxPercent;
        if (valid)
            v[i] = static_cast<int>(*n);
    }
    if (!valid)
        return OptionValue<EnvelopeSettings>::Refused(
            {"--envelope must be A,H,D,S,R, five whole numbers from %1 to %2 (percent), not %3",
             {kMinPercent, kMaxPercent, Quoted(text)}});
    return {EnvelopeSettings{v[0], v[1], v[2], v[3], v[4]}, {}};
}

OptionValue<AMRequest> AMLevel(std::string_view text, int toneFrequency, bool useMultiplier) {
    const std::vector<std::string_view> parts = Split(text, ':');
    // Each message names the level as typed (%1), then says what is wrong.
    const auto refused = [&](const char* english, std::vector<CliArgument> arguments = {}) {
        arguments.insert(arguments.begin(), Quoted(text));
        return OptionValue<AMRequest>::Refused({english, std::move(arguments)});
    };
    if (parts.size() != 4)
        return refused("--am %1: give LEVEL:AMPLITUDE:WAVEFORM:FREQUENCY");
    AMRequest am;
    const std::optional<long long> level = ParseInteger(parts[0]);
    if (!level || *level < kMinAMLevel || *level > kMaxAMLevel)
        return refused("--am %1: LEVEL must be a whole number from %2 to %3",
                       {kMinAMLevel, kMaxAMLevel});
    am.level = static_cast<int>(*level);
    const std::optional<long long> amplitude = ParseInteger(parts[1]);
    if (!amplitude || *amplitude < kMinPercent || *amplitude > kMaxPercent)
        return refused("--am %1: AMPLITUDE must be a whole number from %2 to %3 (percent)",
                       {kMinPercent, kMaxPercent});
    am.amplitude = static_cast<int>(*amplitude);
    const OptionValue<TTGWave> wave = Waveform("WAVEFORM", parts[2]);
    if (!wave.value)
        return refused("--am %1: WAVEFORM must be %2", {WaveNameList()});
    am.waveform = *wave.value;

    if (const std::optional<double> number = ParseFiniteNumber(parts[3])) {
        // What the generator will play: the entry as a single-precision
        // float, times the tone with the multiplier, in whole hertz.
        am.number = static_cast<float>(*number);
        const double hz = useMultiplier ? std::trunc(double(toneFrequency) * double(am.number))
                                        : std::trunc(double(am.number));
        if (!(hz >= kMinToneFrequency && hz <= kMaxToneFrequency))
            return useMultiplier ? refused("--am %1: FREQUENCY must make the level play from %2 "
                                           "to %3 Hz (a multiple of the tone's %4 Hz)",
                                           {kMinToneFrequency, kMaxToneFrequency, toneFrequency})
                                 : refused("--am %1: FREQUENCY must make the level play from %2 "
                                           "to %3 Hz (in hertz with --no-multiplier)",
                                           {kMinToneFrequency, kMaxToneFrequency});
        return {am, {}};
    }
    int octave = kStartOctave;
    if (ParseNote(parts[3], octave) <= 0)
        return refused("--am %1: FREQUENCY must make the level play from %2 to %3 Hz, as a "
                       "number or a note name",
                       {kMinToneFrequency, kMaxToneFrequency});
    am.note = Str(parts[3]);
    return {am, {}};
}

OptionValue<WaveChoice> ToneWaveform(std::string_view text) {
    if (text == kMultitoneWord)
        return {WaveChoice{TTGWave::tgSine, SignalKind::Tone, true}, {}};
    if (const auto* name = choice_names::ByCommandWord(choice_names::kSignals, text))
        return {WaveChoice{TTGWave::tgSine, name->value}, {}};
    const OptionValue<TTGWave> wave = Waveform("--waveform", text);
    if (!wave.value)
        return OptionValue<WaveChoice>::Refused(
            {"%1 must be %2, not %3",
             {"--waveform",
              WordList(choice_names::kSignals, WaveNameList()) + "|" + Str(kMultitoneWord),
              Quoted(text)}});
    return {WaveChoice{*wave.value, SignalKind::Tone}, {}};
}

OptionValue<std::pair<MilliHertz, MilliHertz>> SweepRange(std::string_view text, int rate) {
    const std::vector<std::string_view> parts = Split(text, ':');
    std::array<MilliHertz, 2> ends{};
    bool valid = parts.size() == ends.size();
    for (std::size_t i = 0; valid && i < ends.size(); ++i) {
        const FrequencyReading reading = ReadFrequency(parts[i], rate);
        valid = reading.frequency.has_value();
        if (valid)
            ends[i] = *reading.frequency;
    }
    if (!valid || ends[0] == ends[1]) {
        const FrequencyRange range = FrequencyRange::AtRate(rate);
        return OptionValue<std::pair<MilliHertz, MilliHertz>>::Refused(
            {"--sweep must be F1:F2, two different frequencies from %1 to %2 Hz at %3 samples per "
             "second, with at most three decimals after a point, not %4",
             {FrequencyText(range.lowest), FrequencyText(range.highest), rate, Quoted(text)}});
    }
    return {std::pair{ends[0], ends[1]}, {}};
}

OptionValue<BurstSettings> Burst(std::string_view text) {
    const std::vector<std::string_view> parts = Split(text, ':');
    const std::optional<long long> on = parts.size() == 2 ? ParseInteger(parts[0]) : std::nullopt;
    const std::optional<long long> off = parts.size() == 2 ? ParseInteger(parts[1]) : std::nullopt;
    if (!on || !off || *on < 1 || *on > kMaxBurstCycles || *off < 0 || *off > kMaxBurstCycles)
        return OptionValue<BurstSettings>::Refused(
            {"--burst must be ON:OFF whole cycles, ON from 1 and OFF from 0, each at most %1, "
             "not %2",
             {kMaxBurstCycles, Quoted(text)}});
    return {BurstSettings{int(*on), int(*off)}, {}};
}

OptionValue<int> PhaseTenths(std::string_view text) {
    // Digits, then at most one decimal: 90, 90.5, 0.1.
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view tenth = point == std::string_view::npos ? "0" : text.substr(point + 1);
    const bool digits = !whole.empty() &&
                        whole.find_first_not_of("0123456789") == std::string_view::npos &&
                        tenth.size() == 1 && tenth[0] >= '0' && tenth[0] <= '9';
    const std::optional<long long> degrees =
        digits && whole.size() <= 4 ? ParseInteger(whole) : std::nullopt;
    if (!degrees || *degrees * 10 + (tenth[0] - '0') > kMaxPhaseTenths)
        return OptionValue<int>::Refused(
            {"--phase must be degrees from 0 to 360 in steps of 0.1, not %1", {Quoted(text)}});
    return {int(*degrees * 10 + (tenth[0] - '0')), {}};
}

OptionValue<FrequencySpan> Span(std::string_view option, std::string_view text, int maxCount) {
    const std::vector<std::string_view> parts = Split(text, ':');
    const bool three = parts.size() == 3;
    const std::optional<double> f1 = three ? ParseFiniteNumber(parts[0]) : std::nullopt;
    const std::optional<double> f2 = three ? ParseFiniteNumber(parts[1]) : std::nullopt;
    const std::optional<long long> n = three ? ParseInteger(parts[2]) : std::nullopt;
    if (!f1 || !f2 || !n || !(*f1 > 0) || !(*f1 < *f2) || *f2 > kHighestSpanHertz || *n < 1 ||
        *n > maxCount)
        return OptionValue<FrequencySpan>::Refused(
            {"%1 must be F1:F2:N, frequencies in Hz with F1 below F2, and N a whole number from "
             "1 to %2, not %3",
             {Str(option), maxCount, Quoted(text)}});
    return {FrequencySpan{*f1, *f2, int(*n)}, {}};
}

OptionValue<int> FftLength(std::string_view text) {
    const std::optional<long long> n = ParseInteger(text);
    if (!n || !IsFftLength(*n))
        return OptionValue<int>::Refused({"--fft must be a power of two from %1 to %2, not %3",
                                          {kShortestFft, kLongestFft, Quoted(text)}});
    return {int(*n), {}};
}

OptionValue<TTGResolution> Bits(std::string_view text) {
    if (const auto* name = choice_names::ByCommandWord(choice_names::kBits, text))
        return {name->value, {}};
    return OptionValue<TTGResolution>::Refused(
        {"--bits must be 8, 16, 24 or float, not %1", {Quoted(text)}});
}

OptionValue<double> Level(std::string_view text) {
    const std::optional<double> v = ParseFiniteNumber(text);
    // In hundredths first, so that -120.004 is -120.00 and may pass.
    const double hundredths = v ? std::round(*v * 100) / 100 : 0;
    if (!v || !(hundredths >= kMinLevelDb && hundredths <= kMaxLevelDb))
        return OptionValue<double>::Refused(
            {"--level must be a number from -120 to 0 (dB relative to full scale), not %1",
             {Quoted(text)}});
    return {hundredths == 0 ? 0.0 : hundredths, {}}; // no -0
}

OptionValue<WrittenLevel> AnyLevel(std::string_view option, std::string_view text) {
    // A plain number exactly as it always was read.
    if (const auto db = Level(text); db.value)
        return {WrittenLevel{*db.value, LevelUnit::DbFs}, {}};
    const LevelTextReading reading = ReadLevelText(text);
    if (!reading.level)
        return OptionValue<WrittenLevel>::Refused(
            LevelRefusalMessage(option, text, reading.refusal, ""));
    if (reading.level->unit == LevelUnit::DbFs) {
        const SampleLevelResult sample = ToSampleLevel(*reading.level, std::nullopt);
        if (!sample.peakDb)
            return OptionValue<WrittenLevel>::Refused(
                LevelRefusalMessage(option, text, sample.refusal, ""));
        return {WrittenLevel{*sample.peakDb == 0 ? 0.0 : *sample.peakDb, LevelUnit::DbFs}, {}};
    }
    return {*reading.level, {}};
}

CliMessage LevelRefusalMessage(std::string_view option, std::string_view text,
                               const LevelRefusal& refusal, std::string_view output) {
    const LevelRounding rounding =
        refusal.reason == LevelRefusalReason::AboveFullScale ? LevelRounding::Down
        : refusal.reason == LevelRefusalReason::BelowLowest  ? LevelRounding::Up
                                                             : LevelRounding::Nearest;
    return {LevelRefusalText(refusal.reason),
            {std::string(option), Quoted(text),
             refusal.limit ? FormatLevel(*refusal.limit, rounding) : std::string(),
             OneLine(output.empty() ? std::string_view("NAME") : output)}};
}

OptionValue<double> MeterReading(std::string_view option, std::string_view text) {
    const std::optional<double> volts = ReadMeterVolts(text);
    if (!volts)
        return OptionValue<double>::Refused(
            {"%1 must be the meter's reading in volts above 0, such as 0.245, 0.245V or 245mV, "
             "not %2",
             {std::string(option), Quoted(text)}});
    return {*volts, {}};
}

OptionValue<std::pair<double, double>> MeterReadings(std::string_view text) {
    const std::size_t comma = text.find(',');
    const auto left = MeterReading("--measured", text.substr(0, comma));
    if (!left.value)
        return OptionValue<std::pair<double, double>>::Refused(left.error);
    if (comma == std::string_view::npos)
        return {std::pair{*left.value, *left.value}, {}};
    const auto right = MeterReading("--measured", text.substr(comma + 1));
    if (!right.value)
        return OptionValue<std::pair<double, double>>::Refused(right.error);
    return {std::pair{*left.value, *right.value}, {}};
}

OptionValue<double> Seconds(std::string_view text) {
    const std::optional<double> v = ParseFiniteNumber(text);
    if (!v || *v < kMinSeconds || *v > kMaxSeconds)
        return OptionValue<double>::Refused(
            {"--seconds must be a number from 0.1 to 86400, not %1", {Quoted(text)}});
    return {*v, {}};
}

OptionValue<std::string> DeviceName(std::string_view text) {
    if (text.empty())
        return OptionValue<std::string>::Refused(
            {"--device needs the name or description of an output"});
    return {std::string(text), {}};
}

} // namespace tone_options
