#include "cli/ToneOptions.h"

#include "engine/NoteName.h"

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

struct WaveName {
    std::string_view name;
    TTGWave wave;
};
constexpr std::array<WaveName, 5> kWaveNames{{
    {"sine", TTGWave::tgSine},
    {"square", TTGWave::tgSquare},
    {"triangle", TTGWave::tgTriangle},
    {"sawtooth", TTGWave::tgSawtooth},
    {"noise", TTGWave::tgNoise},
}};

std::string Quoted(std::string_view text) {
    std::string quoted(1, '\'');
    quoted.append(OneLine(text));
    quoted.push_back('\'');
    return quoted;
}

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

// The whole text as a finite decimal number ("1.5", "2", "-3e2").
std::optional<double> ParseNumber(std::string_view text) {
    double v = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, v, std::chars_format::general);
    if (text.empty() || ec != std::errc() || ptr != end || !std::isfinite(v))
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

std::string WaveNameList() {
    std::string list;
    for (const WaveName& w : kWaveNames) {
        if (!list.empty())
            list.push_back('|');
        list.append(w.name);
    }
    return list;
}

} // namespace

std::string OneLine(std::string_view text) {
    std::string line;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            line.append(escaped);
        } else {
            line.push_back(c);
        }
    }
    return line;
}

OptionValue<int> WholeNumber(std::string_view option, std::string_view text, int min, int max,
                             std::string_view what) {
    const std::optional<long long> v = ParseInteger(text);
    if (!v || *v < min || *v > max)
        return OptionValue<int>::Refused(Str(option) + " must be a whole number from " +
                                         std::to_string(min) + " to " + std::to_string(max) + " (" +
                                         Str(what) + "), not " + Quoted(text));
    return {static_cast<int>(*v), {}};
}

OptionValue<int> Choice(std::string_view option, std::string_view text, int first, int second) {
    const std::optional<long long> v = ParseInteger(text);
    if (!v || (*v != first && *v != second))
        return OptionValue<int>::Refused(Str(option) + " must be " + std::to_string(first) +
                                         " or " + std::to_string(second) + ", not " + Quoted(text));
    return {static_cast<int>(*v), {}};
}

OptionValue<TTGWave> Waveform(std::string_view option, std::string_view text) {
    for (const WaveName& w : kWaveNames)
        if (text == w.name)
            return {w.wave, {}};
    return OptionValue<TTGWave>::Refused(Str(option) + " must be " + WaveNameList() + ", not " +
                                         Quoted(text));
}

OptionValue<int> Note(std::string_view option, std::string_view text) {
    int octave = kStartOctave;
    const int f = ParseNote(text, octave);
    if (f <= 0)
        return OptionValue<int>::Refused(
            Str(option) + " must be a note name from " + std::to_string(kMinToneFrequency) +
            " to " + std::to_string(kMaxToneFrequency) +
            " Hz (A, C#, E-, >C, O5C#, N0..N114), not " + Quoted(text));
    return {f, {}};
}

OptionValue<std::pair<int, int>> Volume(std::string_view text) {
    const std::vector<std::string_view> parts = Split(text, ',');
    const auto refused = [&] {
        return OptionValue<std::pair<int, int>>::Refused(
            "--volume must be LEFT or LEFT,RIGHT, each a whole number from 0 to 100 (percent), "
            "not " +
            Quoted(text));
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
            "--envelope must be A,H,D,S,R, five whole numbers from 0 to 100 (percent), not " +
            Quoted(text));
    return {EnvelopeSettings{v[0], v[1], v[2], v[3], v[4]}, {}};
}

OptionValue<AMRequest> AMLevel(std::string_view text, int toneFrequency, bool useMultiplier) {
    const std::vector<std::string_view> parts = Split(text, ':');
    const auto refused = [&](const std::string& why) {
        return OptionValue<AMRequest>::Refused("--am " + Quoted(text) + ": " + why);
    };
    if (parts.size() != 4)
        return refused("give LEVEL:AMPLITUDE:WAVEFORM:FREQUENCY");
    AMRequest am;
    const std::optional<long long> level = ParseInteger(parts[0]);
    if (!level || *level < kMinAMLevel || *level > kMaxAMLevel)
        return refused("LEVEL must be a whole number from 1 to 8");
    am.level = static_cast<int>(*level);
    const std::optional<long long> amplitude = ParseInteger(parts[1]);
    if (!amplitude || *amplitude < kMinPercent || *amplitude > kMaxPercent)
        return refused("AMPLITUDE must be a whole number from 0 to 100 (percent)");
    am.amplitude = static_cast<int>(*amplitude);
    const OptionValue<TTGWave> wave = Waveform("WAVEFORM", parts[2]);
    if (!wave.value)
        return refused("WAVEFORM must be " + WaveNameList());
    am.waveform = *wave.value;

    const std::string range = "FREQUENCY must make the level play from " +
                              std::to_string(kMinToneFrequency) + " to " +
                              std::to_string(kMaxToneFrequency) + " Hz";
    if (const std::optional<double> number = ParseNumber(parts[3])) {
        // What the generator will play: the entry as a single-precision
        // float, times the tone with the multiplier, in whole hertz.
        am.number = static_cast<float>(*number);
        const double hz = useMultiplier ? std::trunc(double(toneFrequency) * double(am.number))
                                        : std::trunc(double(am.number));
        if (!(hz >= kMinToneFrequency && hz <= kMaxToneFrequency))
            return refused(range + (useMultiplier ? " (a multiple of the tone's " +
                                                        std::to_string(toneFrequency) + " Hz)"
                                                  : " (in hertz with --no-multiplier)"));
        return {am, {}};
    }
    int octave = kStartOctave;
    if (ParseNote(parts[3], octave) <= 0)
        return refused(range + ", as a number or a note name");
    am.note = Str(parts[3]);
    return {am, {}};
}

OptionValue<TTGResolution> Bits(std::string_view text) {
    struct BitsName {
        std::string_view name;
        TTGResolution resolution;
    };
    constexpr std::array<BitsName, 4> kBits{{{"8", TTGResolution::tg8Bit},
                                             {"16", TTGResolution::tg16Bit},
                                             {"24", TTGResolution::tg24Bit},
                                             {"float", TTGResolution::tgFloat}}};
    for (const BitsName& b : kBits)
        if (text == b.name)
            return {b.resolution, {}};
    return OptionValue<TTGResolution>::Refused("--bits must be 8, 16, 24 or float, not " +
                                               Quoted(text));
}

OptionValue<double> Level(std::string_view text) {
    const std::optional<double> v = ParseNumber(text);
    // In hundredths first, so that -120.004 is -120.00 and may pass.
    const double hundredths = v ? std::round(*v * 100) / 100 : 0;
    if (!v || !(hundredths >= kMinLevelDb && hundredths <= kMaxLevelDb))
        return OptionValue<double>::Refused(
            "--level must be a number from -120 to 0 (dB relative to full scale), not " +
            Quoted(text));
    return {hundredths == 0 ? 0.0 : hundredths, {}}; // no -0
}

OptionValue<double> Seconds(std::string_view text) {
    const std::optional<double> v = ParseNumber(text);
    if (!v || *v < kMinSeconds || *v > kMaxSeconds)
        return OptionValue<double>::Refused("--seconds must be a number from 0.1 to 86400, not " +
                                            Quoted(text));
    return {*v, {}};
}

} // namespace tone_options
