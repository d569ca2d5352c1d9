// SPDX-License-Identifier: GPL-3.0-or-later
// How fast the wave image is built: the panel's image (1000 Hz, 100 ms,
// 16-bit mono at 96000) and the largest one (16-bit stereo at 96000 for
// 32767 ms) with one sine and with a sine plus eight sine AM levels, each
// beside a memset of the same size and SoX making the same signal; the
// precise synthesis beside the classic one for the largest image and for
// the panel's square, triangle and sawtooth images; each measurement signal
// beside the precise sine image of the same length.

#include "bench/RatioReporter.h"
#include "engine/LoopLength.h"
#include "engine/SilentSoundOutput.h"
#include "engine/ToneGen.h"
#include "engine/WaveHeader.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>

namespace {

constexpr std::int16_t kLongest = 32767;

std::unique_ptr<TToneGen> Generator(bool largest, bool withAM, bool precise = false) {
    auto gen = std::make_unique<TToneGen>(nullptr, std::make_shared<SilentSoundOutput>());
    gen->SetFrequency(1000);
    gen->SetPrecise(precise);
    if (largest) {
        gen->SetDuration(kLongest);
        gen->SetStereo(true);
    }
    if (withAM)
        for (int i = 0; i < 8; ++i)
            gen->SetAMParameter(static_cast<TTGAMLevel>(i), 10, 0.5f * (i + 1), TTGWave::tgSine);
    return gen;
}

void BuildImage(benchmark::State& state, bool largest, bool withAM, bool precise = false) {
    auto gen = Generator(largest, withAM, precise);
    for (auto _ : state) {
        benchmark::DoNotOptimize(gen->Prepare());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * gen->ImageSize());
}

// A panel image (100 ms, 16-bit mono at 96000) of one shape.
void BuildShape(benchmark::State& state, TTGWave wave, int frequency, bool precise) {
    auto gen = Generator(false, false, precise);
    gen->SetWaveform(wave);
    gen->SetFrequency(static_cast<std::int16_t>(frequency));
    for (auto _ : state) {
        benchmark::DoNotOptimize(gen->Prepare());
        benchmark::ClobberMemory();
    }
}

// The panel's noise image (16-bit mono at 96000, precise) of the given
// length: a 100 ms loop and the long loop the panel plays. Switching to
// noise rebuilds it, so the long one should build within 50 ms.
void BuildNoise(benchmark::State& state, int ms) {
    auto gen = Generator(false, false, true);
    gen->SetWaveform(TTGWave::tgNoise);
    gen->SetDuration(static_cast<std::int16_t>(ms));
    for (auto _ : state) {
        benchmark::DoNotOptimize(gen->Prepare());
        benchmark::ClobberMemory();
    }
}

// A 10 s precise image (16-bit at 96000) of a measurement signal; the
// plain tone is the sine it is compared with.
constexpr int kSignalMs = 10000;
void BuildSignal(benchmark::State& state, SignalKind kind, bool rightChannel) {
    auto gen = Generator(false, false, true);
    gen->SetDuration(kSignalMs);
    gen->SetStereo(rightChannel);
    MeasurementSignal signal;
    signal.kind = kind;
    signal.sweep.durationMs = kSignalMs;
    signal.rightLagTenths = rightChannel ? 900 : 0;
    gen->SetSignal(signal);
    // The first build also makes the process's exact sine table: not timed.
    gen->Prepare();
    for (auto _ : state) {
        benchmark::DoNotOptimize(gen->Prepare());
        benchmark::ClobberMemory();
    }
}

struct SignalCase {
    const char* name;
    SignalKind kind;
    bool rightChannel;
};
const SignalCase kSignals[] = {
    {"sine", SignalKind::Tone, false},        {"sweep", SignalKind::Sweep, false},
    {"pink", SignalKind::PinkNoise, false},   {"smpte", SignalKind::Smpte, false},
    {"ccif", SignalKind::Ccif, false},        {"burst", SignalKind::Burst, false},
    {"stereo_sine", SignalKind::Tone, false}, {"phase_90", SignalKind::Tone, true},
};

struct ShapeCase {
    const char* name;
    TTGWave wave;
    int frequency;
};
const ShapeCase kShapes[] = {
    {"square_20Hz", TTGWave::tgSquare, 20},
    {"square_440Hz", TTGWave::tgSquare, 440},
    {"square_19999Hz", TTGWave::tgSquare, 19999},
    {"triangle_20Hz", TTGWave::tgTriangle, 20},
    {"triangle_440Hz", TTGWave::tgTriangle, 440},
    {"triangle_19999Hz", TTGWave::tgTriangle, 19999},
    {"sawtooth_20Hz", TTGWave::tgSawtooth, 20},
    {"sawtooth_440Hz", TTGWave::tgSawtooth, 440},
    {"sawtooth_19999Hz", TTGWave::tgSawtooth, 19999},
};

// What any build must at least do: obtain the block and fill it.
void Memset(benchmark::State& state, bool largest) {
    const std::size_t size =
        WaveImageSize(WaveFormat{largest, true, true}.DataLength(largest ? kLongest : 100));
    for (auto _ : state) {
        std::unique_ptr<std::uint8_t[]> block(new std::uint8_t[size]);
        std::memset(block.get(), 0, size);
        benchmark::DoNotOptimize(block.get());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * size);
}

void Sox(benchmark::State& state) {
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const int rc =
            std::system("sox -n -r 96000 -b 16 -c 2 -t null - synth 32.767 sine 1000 2>/dev/null");
        const auto end = std::chrono::steady_clock::now();
        if (rc != 0) {
            state.SkipWithError("sox is not available");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}

BENCHMARK_CAPTURE(BuildImage, panel, false, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Memset, panel, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BuildImage, largest_1_component, true, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BuildImage, largest_9_components, true, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BuildImage, largest_9_components_precise, true, true, true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Memset, largest, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BuildNoise, short_loop, 100)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BuildNoise, long_loop, loop_length::kNoiseLoopMs)->Unit(benchmark::kMillisecond);
BENCHMARK(Sox)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    for (const ShapeCase& c : kShapes)
        for (bool precise : {false, true})
            benchmark::RegisterBenchmark(
                (std::string("Shape/") + c.name + (precise ? "/precise" : "/classic")).c_str(),
                BuildShape, c.wave, c.frequency, precise)
                ->Unit(benchmark::kMicrosecond);
    for (const SignalCase& c : kSignals) {
        // The stereo sine is the plain stereo tone: the comparison for the
        // right channel of its own.
        const bool stereoSine = std::string(c.name) == "stereo_sine";
        benchmark::RegisterBenchmark((std::string("Signal/") + c.name).c_str(),
                                     [c, stereoSine](benchmark::State& state) {
                                         if (stereoSine) {
                                             auto gen = Generator(false, false, true);
                                             gen->SetDuration(kSignalMs);
                                             gen->SetStereo(true);
                                             gen->Prepare();
                                             for (auto _ : state)
                                                 benchmark::DoNotOptimize(gen->Prepare());
                                         } else {
                                             BuildSignal(state, c.kind, c.rightChannel);
                                         }
                                     })
            ->Unit(benchmark::kMillisecond);
    }
    RatioReporter reporter(RatioReporter::Clock::Wall);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double panel = reporter.Seconds("BuildImage/panel");
    const double panelMemset = reporter.Seconds("Memset/panel");
    const double one = reporter.Seconds("BuildImage/largest_1_component");
    const double nine =
        reporter.Seconds("BuildImage/largest_9_components"); // sorts before the precise one
    const double ninePrecise = reporter.Seconds("BuildImage/largest_9_components_precise");
    const double memset = reporter.Seconds("Memset/largest");
    const double sox = reporter.Seconds("Sox");
    const double shortNoise = reporter.Seconds("BuildNoise/short_loop");
    const double longNoise = reporter.Seconds("BuildNoise/long_loop");
    std::printf("\nRatios\n");
    if (panel > 0 && panelMemset > 0)
        std::printf("  panel image build / memset of its size:           %6.2f\n",
                    panel / panelMemset);
    if (one > 0 && memset > 0)
        std::printf("  largest image, 1 component / memset (target <= 10): %6.2f\n", one / memset);
    if (nine > 0 && memset > 0)
        std::printf("  largest image, 9 components / 9 / memset (<= 10):  %6.2f\n",
                    nine / 9 / memset);
    if (nine > 0 && sox > 0)
        std::printf("  SoX single sine / largest 9-component build (>= 10): %6.2f\n", sox / nine);
    if (nine > 0 && ninePrecise > 0)
        std::printf("  largest 9-component image, precise / classic (<= 2): %6.2f\n",
                    ninePrecise / nine);
    if (shortNoise > 0 && longNoise > 0)
        std::printf("  panel noise, %d ms loop / 100 ms loop:          %6.1f (%.1f ms; <= 50 ms)\n",
                    loop_length::kNoiseLoopMs, longNoise / shortNoise, longNoise * 1000);
    for (const ShapeCase& c : kShapes) {
        const double classic = reporter.Seconds(std::string("Shape/") + c.name + "/classic");
        const double precise = reporter.Seconds(std::string("Shape/") + c.name + "/precise");
        if (classic > 0 && precise > 0)
            std::printf("  panel %-16s image, precise / classic (<= 20): %6.2f\n", c.name,
                        precise / classic);
    }
    const double sine = reporter.Seconds("Signal/sine");
    for (const SignalCase& c : kSignals) {
        const double t = reporter.Seconds(std::string("Signal/") + c.name);
        const double base = c.rightChannel ? reporter.Seconds("Signal/stereo_sine") : sine;
        if (t > 0 && base > 0 && std::string(c.name) != "sine" &&
            std::string(c.name) != "stereo_sine")
            std::printf("  %d s %-12s image / precise sine image%s: %6.2f (%.1f ms)\n",
                        kSignalMs / 1000, c.name, c.rightChannel ? " (stereo)" : "", t / base,
                        t * 1000);
    }
    return 0;
}
