// SPDX-License-Identifier: GPL-3.0-or-later
// What streaming costs beside looping: a stereo float sine at 96000 frames
// per second rendered 10 ms at a time from the streamed tone (at a whole
// and at a decimal frequency, and a decimal square that sums its
// harmonics), against the output's own walk through the looped precise
// image of the same sine. Then the whole feed as the output runs it: the
// mixer rendering 10 ms into the stream's buffer from the looped image and
// from the streamed tone, in steady play. Prints the ratios at the end.

#include "audio/CrossfadeMixer.h"
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

// The precise looped image of a 1000 Hz stereo float sine.
std::unique_ptr<TToneGen> LoopedSine() {
    auto gen = std::make_unique<TToneGen>(nullptr, std::make_shared<SilentSoundOutput>());
    gen->SetPrecise(true);
    gen->SetFrequency(1000);
    gen->SetDuration(1000);
    gen->SetStereo(true);
    gen->SetResolution(TTGResolution::tgFloat);
    if (!gen->Prepare())
        return nullptr;
    return gen;
}

void LoopedImage(benchmark::State& state) {
    const auto gen = LoopedSine();
    if (!gen) {
        state.SkipWithError("no image");
        return;
    }
    const auto view = ParseWaveImage({gen->GetDataBuffer(), gen->ImageSize()});
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

// The mixer's feed of 10 ms once the fade-in is over, as the output's write
// callback runs it.
void RunFeed(benchmark::State& state, CrossfadeMixer& mixer) {
    std::vector<std::uint8_t> out(kFrames * kFrameBytes);
    mixer.Render(out.data(), kFrames, kFullLevel, StreamSample::Float32); // past the fade-in
    for (auto _ : state) {
        mixer.Render(out.data(), kFrames, kFullLevel, StreamSample::Float32);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * kFrames);
}

void FeedLooped(benchmark::State& state) {
    const auto gen = LoopedSine();
    if (!gen) {
        state.SkipWithError("no image");
        return;
    }
    CrossfadeMixer mixer;
    mixer.SetRate(kRate);
    mixer.Start(*ParseWaveImage({gen->GetDataBuffer(), gen->ImageSize()}), true, kFullLevel,
                ToneShape{double(kRate) / 1000});
    RunFeed(state, mixer);
}

void FeedStreamed(benchmark::State& state) {
    StreamedToneSettings settings;
    settings.frequency = {997123};
    StreamedTone tone(settings, StereoFloat());
    CrossfadeMixer mixer;
    mixer.SetRate(kRate);
    mixer.StartStream(tone, kFullLevel);
    RunFeed(state, mixer);
}

BENCHMARK(LoopedImage)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Streamed, sine_1000, TTGWave::tgSine, 1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Streamed, sine_997_123, TTGWave::tgSine, 997123)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Streamed, square_997_123, TTGWave::tgSquare, 997123)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Streamed, square_997_5, TTGWave::tgSquare, 997500)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Streamed, square_20_001, TTGWave::tgSquare, 20001)->Unit(benchmark::kMicrosecond);
BENCHMARK(FeedLooped)->Unit(benchmark::kMicrosecond);
BENCHMARK(FeedStreamed)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter(RatioReporter::Clock::Processor);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::printf("\nProcessor time per 10 ms of stereo float at 96000, against the looped image\n");
    const double feedLooped = reporter.Seconds("FeedLooped");
    const double feedStreamed = reporter.Seconds("FeedStreamed");
    if (feedLooped > 0 && feedStreamed > 0)
        std::printf("  mixer feed, looped %.1f us, streamed 997.123 Hz %.1f us: %.2f x the loop\n",
                    feedLooped * 1e6, feedStreamed * 1e6, feedStreamed / feedLooped);
    const double looped = reporter.Seconds("LoopedImage");
    if (looped <= 0)
        return 0;
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
