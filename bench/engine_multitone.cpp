// SPDX-License-Identifier: GPL-3.0-or-later
// What multitones and stepped sweeps cost: building a multitone (its
// phases chosen to lower the crest factor, then its period) at the shortest
// common and the longest transform, and rendering 10 ms of a multitone and
// of a stepped sweep, stereo float at 96000 frames per second, as the
// output pulls them.

#include "engine/multitone/Multitone.h"
#include "engine/multitone/MultitoneSource.h"
#include "engine/multitone/TonePlacement.h"
#include "engine/steps/SteppedSweepSource.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

constexpr int kRate = 96000;
constexpr std::size_t kFrames = kRate / 100; // one 10 ms request

WaveFormat StereoFloat() {
    WaveFormat f;
    f.stereo = true;
    f.rate = kRate;
    f.wide = WideSamples::Float32;
    return f;
}

MultitoneSettings ThirdOctaves(int fftLength) {
    MultitoneSettings settings;
    settings.tones = TonesPerOctave(20, 20000, 3);
    settings.fftLength = fftLength;
    settings.levelDb = -20;
    return settings;
}

void BuildThirdOctaves(benchmark::State& state) {
    const MultitoneSettings settings = ThirdOctaves(int(state.range(0)));
    double crest = 0;
    for (auto _ : state) {
        const Multitone m = BuildMultitone(settings, kRate);
        crest = m.crestFactorDb;
        benchmark::DoNotOptimize(m.frames.data());
    }
    state.counters["crest_dB"] = crest;
}

void RenderMultitone(benchmark::State& state) {
    MultitoneSource source(BuildMultitone(ThirdOctaves(65536), kRate), StereoFloat());
    std::vector<std::uint8_t> out(kFrames * 8);
    for (auto _ : state) {
        source.Render(kFrames, out.data());
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * kFrames);
}

void RenderSteppedSweep(benchmark::State& state) {
    // Long dwells, so that the sweep never ends while measured.
    const SteppedSweepSettings settings{20, 20000, 31, false, 60000, true};
    SteppedSweepSource source(BuildStepSchedule(settings, kRate), StereoFloat(), 0.5);
    std::vector<std::uint8_t> out(kFrames * 8);
    for (auto _ : state) {
        source.Render(kFrames, out.data());
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * kFrames);
}

} // namespace

BENCHMARK(BuildThirdOctaves)->Arg(65536)->Arg(1 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(RenderMultitone)->Unit(benchmark::kMicrosecond);
BENCHMARK(RenderSteppedSweep)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
