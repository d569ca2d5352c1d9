// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/PresetText.h"

#include "core/HexDigit.h"
#include "engine/ChoiceNames.h"
#include "engine/LevelTextReader.h"
#include "engine/NumberText.h"
#include "engine/SampleRates.h"
#include "engine/ToneLimits.h"
#include "engine/multitone/FftLength.h"
#include "engine/steps/StepSchedule.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <functional>
#include <set>

namespace instrument {

namespace {

using Refusal = std::optional<std::string>;

// The highest rate: a frequency is judged again at the rate it plays at.
constexpr int kHighestRate = 96000;
constexpr int kLongestDurationMs = 60000; // a sweep's; a tone's is shorter
constexpr int kLongestFadeMs = 30000;
constexpr int kMostBurstCycles = 1000;
constexpr int kMostPhaseTenths = 3600;

constexpr std::array<std::pair<PresetChannels, std::string_view>, 4> kChannelWords{{
    {PresetChannels::Mono, "mono"},
    {PresetChannels::Left, "left"},
    {PresetChannels::Right, "right"},
    {PresetChannels::Both, "both"},
}};
constexpr std::string_view kMultitoneWord = "multitone";
constexpr std::string_view kYes = "yes";
constexpr std::string_view kNo = "no";

std::string Shortest(double number) {
    char text[32];
    const auto [end, error] = std::to_chars(text, text + sizeof text, number);
    return error == std::errc() ? std::string(text, end) : std::string("0");
}

std::optional<int> WholeIn(std::string_view text, int min, int max) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || ptr != end || value < min || value > max)
        return std::nullopt;
    return value;
}

std::string RangeReason(int min, int max, std::string_view what) {
    return "a whole number from " + std::to_string(min) + " to " + std::to_string(max) +
           (what.empty() ? "" : " ") + std::string(what) + " is due";
}

// "A:B" split at its first colon.
std::optional<std::pair<std::string_view, std::string_view>> Pair(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    return std::pair{text.substr(0, colon), text.substr(colon + 1)};
}

} // namespace

std::optional<PresetSpan> ReadPresetSpan(std::string_view text) {
    const auto first = Pair(text);
    if (!first)
        return std::nullopt;
    const auto rest = Pair(first->second);
    if (!rest)
        return std::nullopt;
    const auto f1 = ParseFiniteNumber(first->first), f2 = ParseFiniteNumber(rest->first);
    const auto n = WholeIn(rest->second, 1, 1 << 30);
    if (!f1 || !f2 || !n || !(*f1 > 0) || !(*f2 > 0))
        return std::nullopt;
    return PresetSpan{*f1, *f2, *n};
}

std::string PresetSpanText(const PresetSpan& span) {
    return Shortest(span.f1) + ":" + Shortest(span.f2) + ":" + std::to_string(span.count);
}

namespace {

bool IsSpan(std::string_view text) {
    return ReadPresetSpan(text).has_value();
}

// Bytes a value cannot hold as they are: the escape itself, control
// characters, and spaces at either end (the reader trims them).
std::string Escaped(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const bool edgeSpace = byte == ' ' && (i == 0 || i + 1 == text.size());
        if (byte == '%' || byte < 0x20 || byte == 0x7f || edgeSpace) {
            constexpr char kHex[] = "0123456789ABCDEF";
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        } else {
            out += text[i];
        }
    }
    return out;
}

std::optional<std::string> Unescaped(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size())
            return std::nullopt;
        const int high = HexDigitValue(text[i + 1]), low = HexDigitValue(text[i + 2]);
        if (high < 0 || low < 0)
            return std::nullopt;
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return out;
}

// One setting: its key, how its value is read into a preset, and how it
// is written from one (nothing when the preset does not hold it).
struct Setting {
    std::string_view key;
    std::function<Refusal(Preset&, std::string_view)> read;
    std::function<std::optional<std::string>(const Preset&)> write;
};

Setting Flag(std::string_view key, bool Preset::*field) {
    return {key,
            [field](Preset& p, std::string_view v) -> Refusal {
                if (v != kYes && v != kNo)
                    return std::string("yes or no is due");
                p.*field = v == kYes;
                return std::nullopt;
            },
            [field](const Preset& p) -> std::optional<std::string> {
                if (!(p.*field))
                    return std::nullopt;
                return std::string(kYes);
            }};
}

Setting Whole(std::string_view key, std::optional<int> Preset::*field, int min, int max,
              std::string_view what) {
    return {key,
            [=](Preset& p, std::string_view v) -> Refusal {
                const auto n = WholeIn(v, min, max);
                if (!n)
                    return RangeReason(min, max, what);
                p.*field = *n;
                return std::nullopt;
            },
            [field](const Preset& p) -> std::optional<std::string> {
                if (!(p.*field))
                    return std::nullopt;
                return std::to_string(*(p.*field));
            }};
}

Setting FrequencySetting(std::string_view key, std::optional<MilliHertz> Preset::*field) {
    return {key,
            [field](Preset& p, std::string_view v) -> Refusal {
                const FrequencyReading reading = ReadFrequency(v, kHighestRate);
                if (!reading.frequency)
                    return std::string("a frequency in hertz with at most three decimals "
                                       "after a point is due");
                p.*field = *reading.frequency;
                return std::nullopt;
            },
            [field](const Preset& p) -> std::optional<std::string> {
                if (!(p.*field))
                    return std::nullopt;
                return FrequencyText(*(p.*field));
            }};
}

Setting LevelSetting(std::string_view key, std::optional<WrittenLevel> Preset::*field) {
    return {key,
            [field](Preset& p, std::string_view v) -> Refusal {
                const LevelTextReading reading = ReadLevelText(v);
                if (!reading.level)
                    return std::string("a level such as -20, -20dBFS, 0dBu or 0.775V is due");
                p.*field = *reading.level;
                return std::nullopt;
            },
            [field](const Preset& p) -> std::optional<std::string> {
                if (!(p.*field))
                    return std::nullopt;
                const WrittenLevel& l = *(p.*field);
                return Shortest(l.number) + std::string(UnitSymbol(l.unit));
            }};
}

Setting Text(std::string_view key, std::optional<std::string> Preset::*field,
             bool (*valid)(std::string_view), const char* due) {
    return {key,
            [=](Preset& p, std::string_view v) -> Refusal {
                if (v.empty() || !valid(v))
                    return std::string(due);
                p.*field = std::string(v);
                return std::nullopt;
            },
            [field](const Preset& p) { return p.*field; }};
}

bool AnyText(std::string_view) {
    return true;
}

template <class Value, std::size_t N>
Setting Choice(std::string_view key, std::optional<Value> Preset::*field,
               const std::array<ChoiceName<Value>, N>& names, const char* due) {
    return {key,
            [=, &names](Preset& p, std::string_view v) -> Refusal {
                const ChoiceName<Value>* name = choice_names::ByCommandWord(names, v);
                if (!name)
                    return std::string(due);
                p.*field = name->value;
                return std::nullopt;
            },
            [=, &names](const Preset& p) -> std::optional<std::string> {
                if (!(p.*field))
                    return std::nullopt;
                for (const ChoiceName<Value>& name : names)
                    if (name.value == *(p.*field) && !name.commandWord.empty())
                        return std::string(name.commandWord);
                return std::nullopt;
            }};
}

Refusal ReadVolume(Preset& p, std::string_view v) {
    const std::size_t comma = v.find(',');
    const auto left = WholeIn(v.substr(0, comma), kMinTonePercent, kMaxTonePercent);
    const auto right = comma == std::string_view::npos
                           ? left
                           : WholeIn(v.substr(comma + 1), kMinTonePercent, kMaxTonePercent);
    if (!left || !right)
        return std::string("LEFT or LEFT,RIGHT in percent, 0 to 100, is due");
    p.volume = std::pair{*left, *right};
    return std::nullopt;
}

Refusal ReadChannels(Preset& p, std::string_view v) {
    for (const auto& [channels, word] : kChannelWords)
        if (word == v) {
            p.channels = channels;
            return std::nullopt;
        }
    return std::string("mono, left, right or both is due");
}

Refusal ReadWaveform(Preset& p, std::string_view v) {
    PresetWave wave;
    if (const auto* w = choice_names::ByCommandWord(choice_names::kWaveforms, v))
        wave.wave = w->value;
    else if (const auto* s = choice_names::ByCommandWord(choice_names::kSignals, v))
        wave.signal = s->value;
    else if (v == kMultitoneWord)
        wave.multitone = true;
    else
        return std::string("sine, square, triangle, sawtooth, noise, pink, smpte, ccif or "
                           "multitone is due");
    p.waveform = wave;
    return std::nullopt;
}

std::optional<std::string> WriteWaveform(const Preset& p) {
    if (!p.waveform)
        return std::nullopt;
    if (p.waveform->multitone)
        return std::string(kMultitoneWord);
    if (p.waveform->signal != SignalKind::Tone) {
        for (const auto& name : choice_names::kSignals)
            if (name.value == p.waveform->signal && !name.commandWord.empty())
                return std::string(name.commandWord);
        return std::nullopt;
    }
    for (const auto& name : choice_names::kWaveforms)
        if (name.value == p.waveform->wave)
            return std::string(name.commandWord);
    return std::nullopt;
}

Refusal ReadSweep(Preset& p, std::string_view v) {
    const auto parts = Pair(v);
    const auto f1 =
        parts ? WholeIn(parts->first, kMinToneFrequency, kMaxToneFrequency) : std::nullopt;
    const auto f2 =
        parts ? WholeIn(parts->second, kMinToneFrequency, kMaxToneFrequency) : std::nullopt;
    if (!f1 || !f2 || *f1 == *f2)
        return std::string("F1:F2, two different whole frequencies from 20 to 20000 Hz, is due");
    p.sweep = std::pair{*f1, *f2};
    return std::nullopt;
}

Refusal ReadBurst(Preset& p, std::string_view v) {
    const auto parts = Pair(v);
    const auto on = parts ? WholeIn(parts->first, 1, kMostBurstCycles) : std::nullopt;
    const auto off = parts ? WholeIn(parts->second, 0, kMostBurstCycles) : std::nullopt;
    if (!on || !off)
        return std::string("ON:OFF whole cycles, ON 1 to 1000 and OFF 0 to 1000, is due");
    p.burst = BurstSettings{*on, *off};
    return std::nullopt;
}

Refusal ReadPhase(Preset& p, std::string_view v) {
    const auto degrees = ParseFiniteNumber(v);
    const double tenths = degrees ? *degrees * 10 : -1;
    const double whole = std::round(tenths);
    if (!degrees || whole < 0 || whole > kMostPhaseTenths || std::fabs(tenths - whole) > 1e-6)
        return std::string("degrees from 0 to 360 in steps of 0.1 are due");
    p.phaseTenths = static_cast<int>(whole);
    return std::nullopt;
}

Refusal ReadRate(Preset& p, std::string_view v) {
    const auto rate = WholeIn(v, 1, 1 << 30);
    if (!rate || !PlaysAtRate(*rate, true))
        return std::string("44100, 48000, 88200, 96000, 176400 or 192000 is due");
    p.rate = *rate;
    return std::nullopt;
}

Refusal ReadFft(Preset& p, std::string_view v) {
    const auto n = WholeIn(v, 1, 1 << 30);
    if (!n || !IsFftLength(*n))
        return std::string("a power of two from 1024 to 1048576 is due");
    p.fftLength = *n;
    return std::nullopt;
}

const std::vector<Setting>& Settings() {
    static const std::vector<Setting> settings = [] {
        std::vector<Setting> s;
        s.push_back({"channel", ReadChannels, [](const Preset& p) -> std::optional<std::string> {
                         if (!p.channels)
                             return std::nullopt;
                         return std::string(kChannelWords[std::size_t(*p.channels)].second);
                     }});
        s.push_back(FrequencySetting("frequency", &Preset::frequency));
        s.push_back(FrequencySetting("right-frequency", &Preset::rightFrequency));
        s.push_back(LevelSetting("level", &Preset::level));
        s.push_back(LevelSetting("right-level", &Preset::rightLevel));
        s.push_back({"volume", ReadVolume, [](const Preset& p) -> std::optional<std::string> {
                         if (!p.volume)
                             return std::nullopt;
                         return std::to_string(p.volume->first) + "," +
                                std::to_string(p.volume->second);
                     }});
        s.push_back({"waveform", ReadWaveform, WriteWaveform});
        s.push_back({"sweep", ReadSweep, [](const Preset& p) -> std::optional<std::string> {
                         if (!p.sweep)
                             return std::nullopt;
                         return std::to_string(p.sweep->first) + ":" +
                                std::to_string(p.sweep->second);
                     }});
        s.push_back(Flag("linear", &Preset::linear));
        s.push_back(
            Whole("duration", &Preset::durationMs, kMinToneDurationMs, kLongestDurationMs, "ms"));
        s.push_back(Whole("fade", &Preset::fadeMs, 0, kLongestFadeMs, "ms"));
        s.push_back({"burst", ReadBurst, [](const Preset& p) -> std::optional<std::string> {
                         if (!p.burst)
                             return std::nullopt;
                         return std::to_string(p.burst->onCycles) + ":" +
                                std::to_string(p.burst->offCycles);
                     }});
        s.push_back({"phase", ReadPhase, [](const Preset& p) -> std::optional<std::string> {
                         if (!p.phaseTenths)
                             return std::nullopt;
                         char text[16];
                         std::snprintf(text, sizeof text, "%d.%d", *p.phaseTenths / 10,
                                       *p.phaseTenths % 10);
                         std::string degrees(text);
                         if (degrees.ends_with(".0"))
                             degrees.resize(degrees.size() - 2);
                         return degrees;
                     }});
        s.push_back(Text("tones", &Preset::tones, IsSpan, "F1:F2:N is due"));
        s.push_back(Text("tones-file", &Preset::tonesFile, AnyText, "a file's name is due"));
        s.push_back({"fft", ReadFft, [](const Preset& p) -> std::optional<std::string> {
                         if (!p.fftLength)
                             return std::nullopt;
                         return std::to_string(*p.fftLength);
                     }});
        s.push_back(Text("steps", &Preset::steps, IsSpan, "F1:F2:N is due"));
        s.push_back(Whole("dwell", &Preset::dwellMs, kShortestDwellMs, kLongestDwellMs, "ms"));
        s.push_back(Flag("up-down", &Preset::upDown));
        s.push_back(Text("device", &Preset::device, AnyText, "an output's name is due"));
        s.push_back(
            Choice("bits", &Preset::bits, choice_names::kBits, "8, 16, 24 or float is due"));
        s.push_back({"rate", ReadRate, [](const Preset& p) -> std::optional<std::string> {
                         if (!p.rate)
                             return std::nullopt;
                         return std::to_string(*p.rate);
                     }});
        s.push_back(Flag("dither", &Preset::dither));
        return s;
    }();
    return settings;
}

const Setting* Find(std::string_view key) {
    for (const Setting& setting : Settings())
        if (setting.key == key)
            return &setting;
    return nullptr;
}

constexpr std::string_view kNameKey = "name";

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

} // namespace

PresetSettings SettingsOf(const Preset& preset) {
    PresetSettings settings;
    for (const Setting& setting : Settings())
        if (auto value = setting.write(preset))
            settings.emplace_back(std::string(setting.key), std::move(*value));
    return settings;
}

bool IsPresetKey(std::string_view key) {
    return Find(key) != nullptr;
}

std::optional<std::string> SetPresetValue(Preset& preset, std::string_view key,
                                          std::string_view value) {
    const Setting* setting = Find(key);
    if (!setting)
        return "no setting is called " + std::string(key);
    Preset changed = preset;
    if (auto refused = setting->read(changed, value))
        return refused;
    preset = std::move(changed);
    return std::nullopt;
}

std::string WritePresetText(const Preset& preset) {
    std::string text(kPresetFirstLine);
    text += "\n";
    text += std::string(kNameKey) + " = " + Escaped(preset.name) + "\n";
    for (const auto& [key, value] : SettingsOf(preset))
        text += key + " = " + Escaped(value) + "\n";
    return text;
}

PresetReading ReadPresetText(std::string_view text) {
    const auto refuse = [](int line, std::string reason) {
        return PresetReading{std::nullopt, line, std::move(reason)};
    };
    Preset preset;
    std::set<std::string, std::less<>> seen;
    int number = 0;
    bool named = false;
    while (!text.empty() || number == 0) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (number == 1) {
            if (line != kPresetFirstLine)
                return refuse(1, "not a preset: the first line is not \"" +
                                     std::string(kPresetFirstLine) + "\"");
            continue;
        }
        const std::string_view trimmed = Trimmed(line);
        if (trimmed.empty() || trimmed.front() == '#')
            continue;
        const std::size_t equals = trimmed.find('=');
        if (equals == std::string_view::npos)
            return refuse(number, "not a key = value line");
        const std::string_view key = Trimmed(trimmed.substr(0, equals));
        const std::string_view value = Trimmed(trimmed.substr(equals + 1));
        if (key != kNameKey && !Find(key))
            return refuse(number, "no setting is called " + std::string(key));
        if (!seen.insert(std::string(key)).second)
            return refuse(number, std::string(key) + " is given twice");
        if (key == kNameKey) {
            auto name = Unescaped(value);
            if (!name || name->empty())
                return refuse(number, "the name is empty or holds a % that is not followed by "
                                      "two hexadecimal digits");
            preset.name = std::move(*name);
            named = true;
            continue;
        }
        const auto unescaped = Unescaped(value);
        if (!unescaped)
            return refuse(number, std::string(key) + ": a % that is not followed by two "
                                                     "hexadecimal digits");
        if (auto refused = Find(key)->read(preset, *unescaped))
            return refuse(number, std::string(key) + ": " + *refused);
    }
    if (!named)
        return refuse(0, "the preset has no name");
    return {std::move(preset), 0, {}};
}

} // namespace instrument
