// SPDX-License-Identifier: GPL-3.0-or-later
// Writes one wave image of the generator to a file, for measurements:
//   engine_tone_image WAVE FREQUENCY DURATION_MS classic|precise FILE
// WAVE is sine, square, triangle or sawtooth; the image is 16-bit mono at
// 96000 samples per second, without envelope.

#include "engine/SilentSoundOutput.h"
#include "engine/ToneGen.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

int main(int argc, char** argv) {
    const std::string waves[] = {"sine", "square", "triangle", "sawtooth"};
    if (argc != 6) {
        std::fprintf(stderr,
                     "usage: %s sine|square|triangle|sawtooth FREQUENCY DURATION_MS "
                     "classic|precise FILE\n",
                     argv[0]);
        return 2;
    }
    int wave = -1;
    for (int i = 0; i < 4; ++i)
        if (waves[i] == argv[1])
            wave = i;
    const std::string synthesis = argv[4];
    if (wave < 0 || (synthesis != "classic" && synthesis != "precise")) {
        std::fprintf(stderr, "unknown waveform or synthesis\n");
        return 2;
    }
    TToneGen gen(nullptr, std::make_shared<SilentSoundOutput>());
    gen.SetWaveform(static_cast<TTGWave>(wave));
    gen.SetFrequency(static_cast<std::int16_t>(std::atoi(argv[2])));
    gen.SetDuration(static_cast<std::int16_t>(std::atoi(argv[3])));
    gen.SetPrecise(synthesis == "precise");
    if (!gen.Prepare() || !gen.ExportFile(argv[5])) {
        std::fprintf(stderr, "cannot build or write the image\n");
        return 1;
    }
    return 0;
}
