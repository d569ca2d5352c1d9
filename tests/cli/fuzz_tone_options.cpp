// SPDX-License-Identifier: GPL-3.0-or-later
// Any text as the value of any tone option: no crash; a value is inside
// the option's limits, a refusal is one non-empty line.
#include "cli/ToneOptions.h"
#include "engine/NoteName.h"
#include "engine/SampleRates.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

namespace to = tone_options;

void Expect(bool ok) {
    if (!ok)
        std::abort();
}

template <class T> bool Refusal(const OptionValue<T>& v) {
    Expect(v.value.has_value() == v.error.empty());
    Expect(v.error.Text().find('\n') == std::string::npos);
    return !v.value;
}

bool Percent(int v) {
    return v >= to::kMinPercent && v <= to::kMaxPercent;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    switch (data[0] % 17) {
    case 0: {
        const auto v =
            to::WholeNumber("--frequency", text, kMinToneFrequency, kMaxToneFrequency, "Hz");
        if (!Refusal(v))
            Expect(*v.value >= kMinToneFrequency && *v.value <= kMaxToneFrequency);
        const int rate = (data[0] & 0x80) != 0 ? 44100 : 96000;
        const auto fine = to::FineFrequency("--frequency", text, rate);
        if (!Refusal(fine))
            Expect(FrequencyRange::AtRate(rate).Holds(*fine.value));
        break;
    }
    case 1: {
        const auto rate = to::Rate(text, (data[0] & 0x80) != 0);
        if (!Refusal(rate))
            Expect(PlaysAtRate(*rate.value, (data[0] & 0x80) != 0));
        if (!Refusal(to::DeviceName(text)))
            Expect(!text.empty());
        break;
    }
    case 2:
        Refusal(to::Waveform("--waveform", text));
        break;
    case 3: {
        const auto v = to::Note("--note", text);
        if (!Refusal(v))
            Expect(*v.value >= kMinToneFrequency && *v.value <= kMaxToneFrequency);
        break;
    }
    case 4: {
        const auto v = to::Volume(text);
        if (!Refusal(v))
            Expect(Percent(v.value->first) && Percent(v.value->second));
        break;
    }
    case 5: {
        const auto v = to::Envelope(text);
        if (!Refusal(v))
            Expect(Percent(v.value->attack) && Percent(v.value->hold) && Percent(v.value->decay) &&
                   Percent(v.value->sustain) && Percent(v.value->release));
        break;
    }
    case 6: {
        const bool multiplier = (data[0] & 0x80) != 0;
        const auto v = to::AMLevel(text, 20 + data[0] * 78, multiplier);
        if (!Refusal(v))
            Expect(v.value->level >= 1 && v.value->level <= kAMLevelCount &&
                   Percent(v.value->amplitude));
        break;
    }
    case 8:
        Refusal(to::ToneWaveform(text));
        break;
    case 9: {
        const int rate = (data[0] & 0x80) != 0 ? 44100 : 192000;
        const auto v = to::SweepRange(text, rate);
        const FrequencyRange range = FrequencyRange::AtRate(rate);
        if (!Refusal(v))
            Expect(v.value->first != v.value->second && range.Holds(v.value->first) &&
                   range.Holds(v.value->second));
        break;
    }
    case 10: {
        const auto v = to::Burst(text);
        if (!Refusal(v))
            Expect(v.value->onCycles >= 1 && v.value->offCycles >= 0 &&
                   v.value->onCycles <= to::kMaxBurstCycles &&
                   v.value->offCycles <= to::kMaxBurstCycles);
        break;
    }
    case 11: {
        const auto v = to::PhaseTenths(text);
        if (!Refusal(v))
            Expect(*v.value >= 0 && *v.value <= to::kMaxPhaseTenths);
        break;
    }
    case 12: {
        const auto v = to::Bits(text);
        if (!Refusal(v))
            Expect(*v.value == TTGResolution::tg8Bit || *v.value == TTGResolution::tg16Bit ||
                   *v.value == TTGResolution::tg24Bit || *v.value == TTGResolution::tgFloat);
        break;
    }
    case 13: {
        // Within the range and on the hundredths grid.
        const auto v = to::Level(text);
        if (!Refusal(v))
            Expect(*v.value >= to::kMinLevelDb && *v.value <= to::kMaxLevelDb &&
                   std::fabs(*v.value * 100 - std::round(*v.value * 100)) < 1e-6);
        break;
    }
    case 7: {
        // Any unit: dBFS within the range; volts above 0; readings above 0.
        const auto v = to::AnyLevel("--level", text);
        if (!Refusal(v))
            Expect(v.value->unit == LevelUnit::DbFs
                       ? v.value->number >= to::kMinLevelDb && v.value->number <= to::kMaxLevelDb
                       : std::isfinite(v.value->number) &&
                             (!IsInVolts(v.value->unit) || v.value->number > 0));
        const auto readings = to::MeterReadings(text);
        if (!Refusal(readings))
            Expect(readings.value->first > 0 && readings.value->second > 0 &&
                   std::isfinite(readings.value->first) && std::isfinite(readings.value->second));
        break;
    }
    case 14: {
        const int most = (data[0] & 0x80) != 0 ? 1000 : 10000;
        const auto v = to::Span("--tones", text, most);
        if (!Refusal(v))
            Expect(v.value->f1 > 0 && v.value->f1 < v.value->f2 &&
                   v.value->f2 <= to::kHighestSpanHertz && v.value->count >= 1 &&
                   v.value->count <= most);
        break;
    }
    case 15: {
        const auto v = to::FftLength(text);
        if (!Refusal(v))
            Expect(*v.value >= 1024 && *v.value <= (1 << 20) && (*v.value & (*v.value - 1)) == 0);
        break;
    }
    default: {
        const auto v = to::Seconds(text);
        if (!Refusal(v))
            Expect(*v.value >= to::kMinSeconds && *v.value <= to::kMaxSeconds);
        break;
    }
    }
    return 0;
}
