// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The names of the generator's choices, written once for every front end:
// the word the command line takes, the word the panel's settings file
// keeps, and the text the panel shows (Russian, translated where it is
// shown). The stored words are in users' settings files: never change one.
// An empty word, or no text, means that front end does not offer the choice.

#include "engine/ToneGenTypes.h"
#include "engine/signals/MeasurementSignal.h"

#include <array>
#include <cstddef>
#include <string_view>

template <class Value> struct ChoiceName {
    Value value;
    std::string_view commandWord;
    std::string_view storedWord;
    const char* shownText = nullptr;
};

namespace choice_names {

// In the order the command line's messages list them; the classic
// synthesis's 8 bits were never offered on the panel.
inline constexpr std::array<ChoiceName<TTGResolution>, 4> kBits{{
    {TTGResolution::tg8Bit, "8", "", nullptr},
    {TTGResolution::tg16Bit, "16", "16", "16 бит"},
    {TTGResolution::tg24Bit, "24", "24", "24 бита"},
    {TTGResolution::tgFloat, "float", "float", "32 бита (плавающая точка)"},
}};

// The default first, as the command line names them.
inline constexpr std::array<ChoiceName<TTGQuality>, 2> kRates{{
    {TTGQuality::tgHiQ, "96000", "96000", "96 кГц"},
    {TTGQuality::tgLoQ, "44100", "44100", "44,1 кГц"},
}};

// The faceplate's switch shows the waveforms by its own captions and the
// panel keeps none of them.
inline constexpr std::array<ChoiceName<TTGWave>, 5> kWaveforms{{
    {TTGWave::tgSine, "sine", "", nullptr},
    {TTGWave::tgSquare, "square", "", nullptr},
    {TTGWave::tgTriangle, "triangle", "", nullptr},
    {TTGWave::tgSawtooth, "sawtooth", "", nullptr},
    {TTGWave::tgNoise, "noise", "", nullptr},
}};

// The signals that replace the tone by a name alone (--waveform on the
// command line, the menu on the panel). The tone itself is the panel's
// "as the waveform switch says"; the sweep and bursts take settings.
inline constexpr std::array<ChoiceName<SignalKind>, 4> kSignals{{
    {SignalKind::Tone, "", "panel", "Как на панели"},
    {SignalKind::PinkNoise, "pink", "pink", "Розовый шум"},
    {SignalKind::Smpte, "smpte", "smpte", "Двухтональный SMPTE (60 Гц + 7 кГц)"},
    {SignalKind::Ccif, "ccif", "ccif", "Двухтональный CCIF (19 + 20 кГц)"},
}};

// The entry with this command-line word; nullptr when none has it (an
// empty word finds nothing).
template <class Value, std::size_t N>
constexpr const ChoiceName<Value>* ByCommandWord(const std::array<ChoiceName<Value>, N>& names,
                                                 std::string_view word) {
    for (const ChoiceName<Value>& name : names)
        if (!word.empty() && name.commandWord == word)
            return &name;
    return nullptr;
}

// The entry with this stored word; nullptr when none has it.
template <class Value, std::size_t N>
constexpr const ChoiceName<Value>* ByStoredWord(const std::array<ChoiceName<Value>, N>& names,
                                                std::string_view word) {
    for (const ChoiceName<Value>& name : names)
        if (!word.empty() && name.storedWord == word)
            return &name;
    return nullptr;
}

// The word kept for `value`: a value the file has no word for is kept as
// the first one it has.
template <class Value, std::size_t N>
constexpr std::string_view StoredWord(const std::array<ChoiceName<Value>, N>& names, Value value) {
    std::string_view first;
    for (const ChoiceName<Value>& name : names) {
        if (name.storedWord.empty())
            continue;
        if (name.value == value)
            return name.storedWord;
        if (first.empty())
            first = name.storedWord;
    }
    return first;
}

} // namespace choice_names
