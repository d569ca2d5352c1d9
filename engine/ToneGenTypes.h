// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The generator's enumerations, with the ordinals they are stored with.

#include <cstdint>
#include <string>
#include <vector>

// Waveform of the main tone or of an AM level. Stored AM data may carry
// codes above tgNoise; the synthesis treats every such code as noise, which
// is why the underlying type is a byte and not a closed set.
enum class TTGWave : std::uint8_t {
    tgSine = 0,
    tgSquare = 1,
    tgTriangle = 2,
    tgSawtooth = 3,
    tgNoise = 4
};

// 24 bits and float are made by the precise synthesis only; the classic
// one plays them as 16 bits.
enum class TTGResolution : std::uint8_t { tg16Bit = 0, tg8Bit = 1, tg24Bit = 2, tgFloat = 3 };

// 24 bits and float: only the precise synthesis writes them.
constexpr bool IsWideResolution(TTGResolution r) {
    return r == TTGResolution::tg24Bit || r == TTGResolution::tgFloat;
}

// tgHiQ plays 96000 samples per second, tgLoQ 44100.
enum class TTGQuality : std::uint8_t { tgHiQ = 0, tgLoQ = 1 };

enum class TTGAMLevel : std::uint8_t {
    tgAMLevel1 = 0,
    tgAMLevel2,
    tgAMLevel3,
    tgAMLevel4,
    tgAMLevel5,
    tgAMLevel6,
    tgAMLevel7,
    tgAMLevel8,
};

inline constexpr int kAMLevelCount = 8;

// Member names as the stored layout spells them.
inline const std::vector<std::string>& TTGWaveNames() {
    static const std::vector<std::string> names{"tgSine", "tgSquare", "tgTriangle", "tgSawtooth",
                                                "tgNoise"};
    return names;
}
inline const std::vector<std::string>& TTGResolutionNames() {
    static const std::vector<std::string> names{"tg16Bit", "tg8Bit", "tg24Bit", "tgFloat"};
    return names;
}
inline const std::vector<std::string>& TTGQualityNames() {
    static const std::vector<std::string> names{"tgHiQ", "tgLoQ"};
    return names;
}
inline const std::vector<std::string>& TTGAMLevelNames() {
    static const std::vector<std::string> names{"tgAMLevel1", "tgAMLevel2", "tgAMLevel3",
                                                "tgAMLevel4", "tgAMLevel5", "tgAMLevel6",
                                                "tgAMLevel7", "tgAMLevel8"};
    return names;
}
