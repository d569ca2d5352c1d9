// SPDX-License-Identifier: GPL-3.0-or-later
// What streaming costs beside looping: a stereo float sine at 96000 frames
// per second rendered 10 ms at a time from the streamed tone (at a whole
// and at a decimal frequency, and a decimal square that sums its
// harmonics), against the output's own walk through the looped precise
// image of the same sine. Prints the ratios at the end.

#include "audio/WaveImageView.h"
#include "bench/RatioReporter.h"
#include "engine/SilentSoundOutput.h"
#include "engine/StreamedTone.h"
#include "engine/ToneGen.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 96000;
constexpr std::size_t kFrames = kRate / 100; // one 10 ms request
constexpr std::size_t kFrameBytes = 2 * 4;   // stereo float

WaveFormat StereoFloat() {
    WaveFormat f;
    f.stereo = true;
    f.hiQ = true;
    f.wide = WideSamples::Float32;
    return f;
}

void LoopedImage(benchmark::State& state) {
    TToneGen gen(nullptr, std::make_shared<SilentSoundOutput>());
    gen.SetPrecise(true);
    gen.SetFrequency(1000);
    gen.SetDuration(1000);
    gen.SetStereo(true);
    gen.SetResolution(TTGResolution::tgFloat);
    if (!gen.Prepare()) {
        state.SkipWithError("no image");
        return;
    }
    const auto view = ParseWaveImage({gen.GetDataBuffer(), gen.ImageSize()});
    std::vector<std::uint8_t> out(kFrames * kFrameBytes);
    std::size_t position = 0;
    for (auto _ : state) {
        RenderStereoWide(*view, position, true, kFullLevel, true, out.data(), kFrames);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * kFrames);
}

void Streamed(benchmark::State& state, TTGWave wave, std::int64_t milliHertz) {
    StreamedToneSettings settings;
    settings.wave = wave;
    settings.frequency = {milliHertz};
    StreamedTone tone(settings, StereoFloat());
    std::vector<std::uint8_t> out(kFrames * kFrameBytes);
    for (auto _ : state) {
        tone.Render(kFrames, out.data());
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * kFrames);
}

BENCHMARK(LoopedImage)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Streamed, sine_1000, TTGWave::tgSine, 1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Streamed, sine_997_123, TTGWave::tgSine, 997123)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Streamed, square_997_123, TTGWave::tgSquare, 997123)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Streamed, square_997_5, TTGWave::tgSquare, 997500)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Streamed, square_20_001, TTGWave::tgSquare, 20001)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter(RatioReporter::Clock::Processor);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const double looped = reporter.Seconds("LoopedImage");
    if (looped <= 0)
        return 0;
    std::printf("\nProcessor time per 10 ms of stereo float at 96000, against the looped image\n");
    std::printf("  looped image: %.1f us (%.3f %% of one core)\n", looped * 1e6, looped * 1e4);
    for (const char* name :
         {"Streamed/sine_1000", "Streamed/sine_997_123", "Streamed/square_997_123",
          "Streamed/square_997_5", "Streamed/square_20_001"}) {
        const double s = reporter.Seconds(name);
        if (s > 0)
            std::printf("  %-24s %8.1f us (%.3f %% of one core), %6.2f x the loop\n", name, s * 1e6,
                        s * 1e4, s / looped);
    }
    return 0;
}
