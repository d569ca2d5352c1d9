// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as stored AM data: either the stream's read error (and nothing
// changed) or levels that a build can turn into an image without fault.
#include "core/ByteStream.h"
#include "engine/AMLevels.h"
#include "engine/AMMix.h"
#include "engine/FrameMixer.h"

#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    AMLevels levels;
    levels.Reset();
    levels.octaves.fill(4);
    const AMLevels before = levels;
    TMemoryStream in(std::vector<std::uint8_t>(data, data + size));
    try {
        levels.Read(in);
    } catch (const EReadError&) {
        if (std::memcmp(&levels, &before, sizeof levels) != 0)
            std::abort();
        return 0;
    }
    // Build a short image of every format from what was read, with and
    // without the multiplier, classic and precise.
    for (int variant = 0; variant < 8; ++variant) {
        const int v = variant % 4;
        const WaveFormat format{v % 2 == 1, v < 2, v % 3 == 0};
        const std::uint32_t L = format.DataLength(10);
        std::vector<std::uint8_t> image(L + 32, format.ZeroLevelByte());
        FrameMixer mixer(format, L, variant >= 4);
        NoiseSource noise;
        for (const ToneComponent& c :
             MixComponents(1000, TTGWave::tgSine, levels, v % 2 == 0, nullptr))
            mixer.Add(c, noise);
        mixer.WriteData(image.data());
    }
    return 0;
}
