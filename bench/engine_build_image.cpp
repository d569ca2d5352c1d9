// How fast the wave image is built: the panel's image (1000 Hz, 100 ms,
// 16-bit mono at 96000) and the largest one (16-bit stereo at 96000 for
// 32767 ms) with one sine and with a sine plus eight sine AM levels, each
// beside a memset of the same size and SoX making the same signal.

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

std::unique_ptr<TToneGen> Generator(bool largest, bool withAM) {
    auto gen = std::make_unique<TToneGen>(nullptr, std::make_shared<SilentSoundOutput>());
    gen->SetFrequency(1000);
    if (largest) {
        gen->SetDuration(kLongest);
        gen->SetStereo(true);
    }
    if (withAM)
        for (int i = 0; i < 8; ++i)
            gen->SetAMParameter(static_cast<TTGAMLevel>(i), 10, 0.5f * (i + 1), TTGWave::tgSine);
    return gen;
}

void BuildImage(benchmark::State& state, bool largest, bool withAM) {
    auto gen = Generator(largest, withAM);
    for (auto _ : state) {
        benchmark::DoNotOptimize(gen->Prepare());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * gen->ImageSize());
}

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
BENCHMARK_CAPTURE(Memset, largest, true)->Unit(benchmark::kMillisecond);
BENCHMARK(Sox)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

// Passes results on to the console and keeps the times for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs)
            if (!r.error_occurred)
                seconds[r.benchmark_name()] =
                    r.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(r.time_unit);
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> seconds;
};

double Get(const RatioReporter& r, const std::string& name) {
    for (const auto& [key, value] : r.seconds)
        if (key.rfind(name, 0) == 0)
            return value;
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double panel = Get(reporter, "BuildImage/panel");
    const double panelMemset = Get(reporter, "Memset/panel");
    const double one = Get(reporter, "BuildImage/largest_1_component");
    const double nine = Get(reporter, "BuildImage/largest_9_components");
    const double memset = Get(reporter, "Memset/largest");
    const double sox = Get(reporter, "Sox");
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
    return 0;
}
