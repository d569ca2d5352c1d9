// SPDX-License-Identifier: GPL-3.0-or-later
// What a shape's retune builds before the change can be heard: the tables
// of a square, triangle and sawtooth at a new decimal frequency, as
// RetunableTone builds them for a stereo tone whose right channel lags,
// against the former way (the whole cycle at a power of two of points, each
// term one inverse FFT interleaved per point, and a lagged channel a table of
// its own). Prints the ratios and the memory at the end, then what a retune
// by a millihertz down and up costs the caller now that the exact tables of
// the lowest frequencies are built in the background (the change plays at
// once from alias-free tables held or built quickly).

#include "bench/RatioReporter.h"
#include "engine/ChannelTone.h"
#include "engine/FourierCycle.h"
#include "engine/HarmonicSeries.h"
#include "engine/RetunableTone.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kLagTenths = 900;

// The former table: 2^n points, terms until total x^n / n! <= 1e-13.
std::vector<double> FormerTaylorTable(const HarmonicSeries& series) {
    int top = 0;
    double total = 0;
    for (const Harmonic& h : series.harmonics) {
        top = std::max(top, h.number);
        total += std::fabs(h.amplitude);
    }
    std::uint64_t points = 64;
    while (double(points) < top * kPi || points <= 2 * std::uint64_t(top))
        points *= 2;
    const double x = top * kPi / double(points);
    std::size_t order = 1;
    for (double dropped = total * x; dropped > 1e-13 && order < 24;)
        dropped *= x / double(++order);
    std::vector<double> terms(points * order, 0.0);
    const double halfStep = kPi / double(points);
    HarmonicSeries term = series;
    for (std::size_t n = 0; n < order; ++n) {
        if (n > 0) {
            HarmonicSeries d = term;
            for (Harmonic& h : d.harmonics) {
                h.amplitude *= h.number * (halfStep / double(n)) * (h.cosine ? -1 : 1);
                h.cosine = !h.cosine;
            }
            term = std::move(d);
        }
        const std::vector<double> values = FourierCycle(term, static_cast<int>(points));
        for (std::size_t j = 0; j < points; ++j)
            terms[j * order + n] = values[j];
    }
    return terms;
}

HarmonicSeries Lagged(const HarmonicSeries& series) {
    HarmonicSeries lagged;
    for (const Harmonic& h : series.harmonics) {
        const long tenths = long(h.number) * kLagTenths % 3600;
        const long double angle = 2 * 3.141592653589793238462643383279502884L * tenths / 3600;
        const double s = double(std::sin(angle)), c = double(std::cos(angle));
        lagged.harmonics.push_back({h.number, h.amplitude * c, h.cosine});
        lagged.harmonics.push_back(
            {h.number, h.cosine ? h.amplitude * s : -h.amplitude * s, !h.cosine});
    }
    return lagged;
}

std::map<std::string, double> bytesOf; // each run's tables, for the summary

void Former(benchmark::State& state, const char* row, TTGWave wave, std::int64_t milliHertz,
            int rate) {
    const auto top = int((1000 * std::int64_t(rate) - 1) / (2 * milliHertz));
    std::size_t bytes = 0;
    for (auto _ : state) {
        const HarmonicSeries series = SeriesUpTo(wave, top);
        const std::vector<double> left = FormerTaylorTable(series);
        const std::vector<double> right = FormerTaylorTable(Lagged(series));
        benchmark::DoNotOptimize(left.data());
        benchmark::DoNotOptimize(right.data());
        bytes = (left.size() + right.size()) * sizeof(double);
    }
    bytesOf[std::string("Former/") + row] = double(bytes);
    state.counters["MB"] = double(bytes) / 1e6;
}

void Now(benchmark::State& state, const char* row, TTGWave wave, std::int64_t milliHertz,
         int rate) {
    std::size_t bytes = 0;
    for (auto _ : state) {
        // Both channels share the one table.
        const ChannelTone::Tables tables = ChannelTone::RetuneTables(wave, {milliHertz}, rate);
        benchmark::DoNotOptimize(tables.taylor.get());
        bytes = tables.taylor ? tables.taylor->Bytes() : 0;
    }
    bytesOf[std::string("Now/") + row] = double(bytes);
    state.counters["MB"] = double(bytes) / 1e6;
}

// The caller's part of a retune from `from` to `to` of a stereo tone whose
// right channel lags, as the instrument makes it (PrepareRetune, then
// Retune) a moment after the tone began; the background build is not
// timed. A fixed count of runs: each one's tone takes a while to make.
void Caller(benchmark::State& state, TTGWave wave, std::int64_t from, std::int64_t to, int rate) {
    WaveFormat format{true, true, false};
    format.wide = WideSamples::Float32;
    format.rate = rate;
    StreamedToneSettings settings;
    settings.wave = wave;
    settings.frequency = {from};
    settings.rightLagTenths = kLagTenths;
    for (auto _ : state) {
        state.PauseTiming();
        auto tone = std::make_unique<RetunableTone>(settings, format);
        tone->WaitForExactTables(); // as after a moment of play
        state.ResumeTiming();
        tone->PrepareRetune({to});
        tone->Retune({to});
        state.PauseTiming();
        tone.reset(); // waits for the build in the background
        state.ResumeTiming();
    }
}

#define ORBEL_RETUNE_ROW(name, wave, milliHertz, rate)                                             \
    BENCHMARK_CAPTURE(Former, name, #name, wave, milliHertz, rate)->Unit(benchmark::kMillisecond); \
    BENCHMARK_CAPTURE(Now, name, #name, wave, milliHertz, rate)->Unit(benchmark::kMillisecond);    \
    BENCHMARK_CAPTURE(Caller, name##_down, wave, milliHertz + 1, milliHertz, rate)                 \
        ->Unit(benchmark::kMillisecond)                                                            \
        ->Iterations(20);                                                                          \
    BENCHMARK_CAPTURE(Caller, name##_up, wave, milliHertz - 1, milliHertz, rate)                   \
        ->Unit(benchmark::kMillisecond)                                                            \
        ->Iterations(20)

ORBEL_RETUNE_ROW(square_1_001_at_96k, TTGWave::tgSquare, 1001, 96000);
ORBEL_RETUNE_ROW(triangle_1_001_at_96k, TTGWave::tgTriangle, 1001, 96000);
ORBEL_RETUNE_ROW(sawtooth_1_001_at_96k, TTGWave::tgSawtooth, 1001, 96000);
ORBEL_RETUNE_ROW(square_1_001_at_192k, TTGWave::tgSquare, 1001, 192000);
ORBEL_RETUNE_ROW(sawtooth_1_001_at_192k, TTGWave::tgSawtooth, 1001, 192000);
ORBEL_RETUNE_ROW(square_1_001_at_44k1, TTGWave::tgSquare, 1001, 44100);
ORBEL_RETUNE_ROW(sawtooth_1_001_at_48k, TTGWave::tgSawtooth, 1001, 48000);
ORBEL_RETUNE_ROW(sawtooth_12_5_at_96k, TTGWave::tgSawtooth, 12500, 96000);
ORBEL_RETUNE_ROW(square_997_123_at_96k, TTGWave::tgSquare, 997123, 96000);

const char* const kRows[] = {
    "square_1_001_at_96k",   "triangle_1_001_at_96k",  "sawtooth_1_001_at_96k",
    "square_1_001_at_192k",  "sawtooth_1_001_at_192k", "square_1_001_at_44k1",
    "sawtooth_1_001_at_48k", "sawtooth_12_5_at_96k",   "square_997_123_at_96k",
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter(RatioReporter::Clock::Wall);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::printf("\nA retune's tables (stereo, the right channel lagging), former -> now\n");
    for (const char* row : kRows) {
        const std::string former = std::string("Former/") + row, now = std::string("Now/") + row;
        const double a = reporter.Seconds(former), b = reporter.Seconds(now);
        if (a <= 0 || b <= 0)
            continue;
        std::printf("  %-24s %8.2f -> %7.2f ms (%5.1f x faster)  %7.1f -> %6.1f MB\n", row, a * 1e3,
                    b * 1e3, a / b, bytesOf[former] / 1e6, bytesOf[now] / 1e6);
    }
    std::printf("\nThe caller's part of a retune by 1 mHz: the tables built -> down, up\n");
    for (const char* row : kRows) {
        const double built = reporter.Seconds(std::string("Now/") + row);
        const double down = reporter.Seconds(std::string("Caller/") + row + "_down");
        const double up = reporter.Seconds(std::string("Caller/") + row + "_up");
        if (built > 0 && down > 0 && up > 0)
            std::printf("  %-24s %8.2f -> %7.3f, %7.3f ms\n", row, built * 1e3, down * 1e3,
                        up * 1e3);
    }
    return 0;
}
