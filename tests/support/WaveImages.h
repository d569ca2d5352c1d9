// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small wave images for the output's tests: a header of the format and the
// given sample bytes.

#include "engine/WaveFormat.h"
#include "engine/WaveHeader.h"

#include <cstdint>
#include <cstring>
#include <vector>

inline std::vector<std::uint8_t> MakeImage(const WaveFormat& f,
                                           const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> img(WaveImageSize(std::uint32_t(data.size())), f.ZeroLevelByte());
    WriteWaveHeader(img.data(), f, std::uint32_t(data.size()));
    std::memcpy(img.data() + 44, data.data(), data.size());
    return img;
}

// 16-bit samples as little-endian bytes.
inline std::vector<std::uint8_t> Samples16(const std::vector<std::int16_t>& v) {
    std::vector<std::uint8_t> out;
    for (std::int16_t s : v) {
        out.push_back(std::uint8_t(s));
        out.push_back(std::uint8_t(std::uint16_t(s) >> 8));
    }
    return out;
}
