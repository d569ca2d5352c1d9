// SPDX-License-Identifier: GPL-3.0-or-later
// What a client's longest line (64 KiB) costs the session: a line of valid
// commands, of queries, of unknown commands (each queues an error), of one
// deep header and then short commands, and of one command with thousands
// of parameters: how long a flooding client can hold the thread that
// serves it.

#include "remote/Session.h"
#include "tests/remote/FakeTarget.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

constexpr std::size_t kLongestLine = 64 * 1024;

// `head`, then `unit` repeated while the line stays within the limit.
std::string Line(std::string head, std::string_view unit) {
    while (head.size() + unit.size() <= kLongestLine)
        head += unit;
    return head;
}

void RunLine(benchmark::State& state, const std::string& line) {
    for (auto _ : state) {
        remote::FakeTarget target;
        remote::Session session(target, false);
        benchmark::DoNotOptimize(session.Execute(line));
    }
    state.SetBytesProcessed(std::int64_t(state.iterations() * line.size()));
}

void Commands(benchmark::State& state) {
    RunLine(state, Line("", "FREQ 1000;"));
}
void Queries(benchmark::State& state) {
    RunLine(state, Line("", "FREQ?;"));
}
void UnknownCommands(benchmark::State& state) {
    RunLine(state, Line("", "BOGUS;"));
}
void DeepHeader(benchmark::State& state) {
    RunLine(state, Line("A", ":A").substr(0, kLongestLine / 2) +
                       Line("", ";B").substr(0, kLongestLine / 2));
}
void ManyParameters(benchmark::State& state) {
    RunLine(state, Line("FREQ ", "1,"));
}

BENCHMARK(Commands)->Unit(benchmark::kMillisecond);
BENCHMARK(Queries)->Unit(benchmark::kMillisecond);
BENCHMARK(UnknownCommands)->Unit(benchmark::kMillisecond);
BENCHMARK(DeepHeader)->Unit(benchmark::kMillisecond);
BENCHMARK(ManyParameters)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
