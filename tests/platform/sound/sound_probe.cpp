// SPDX-License-Identifier: GPL-3.0-or-later
// Plays the sequence that tests/system/sound-check.sh records from the null sink's
// monitor and analyses, through the real PulseAudio output:
//   0.0 s  1000 Hz loop, level word 0xFFFFFFFF
//   1.0 s  restart at level word 0x7FFF0000 (left silent, right half)
//   2.0 s  restart at level word 0xFFFF7FFF (left half, right full)
//   3.0 s  Stop
//   3.6 s  a 300 ms 500 Hz tone played synchronously
// It prints how long the calls took and fails when the synchronous play
// returned before its sound could have ended.

#include "engine/DefaultSoundOutput.h"
#include "engine/ToneGen.h"
#include "platform/sound/PulseSoundOutput.h"

#include <chrono>
#include <cstdio>
#include <thread>

namespace {
using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point t) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}
} // namespace

int main() {
    std::shared_ptr<PulseSoundOutput> pulse = PulseSoundOutput::Connect();
    if (!pulse) {
        std::fprintf(stderr, "no sound server answered\n");
        return 2;
    }
    SetDefaultSoundOutput(pulse);
    int status = 0;
    {
        TToneGen gen(nullptr);
        gen.SetFrequency(1000);
        gen.SetLoop(true);
        const Clock::time_point start = Clock::now();
        auto at = [&](double seconds) {
            std::this_thread::sleep_until(start + std::chrono::duration_cast<Clock::duration>(
                                                      std::chrono::duration<double>(seconds)));
        };
        Clock::time_point t = Clock::now();
        gen.Play();
        std::printf("first play call: %.2f ms\n", MsSince(t));

        at(1.0);
        gen.SetLeftVolume(0);
        gen.SetRightVolume(50);
        t = Clock::now();
        gen.Play();
        std::printf("restart call: %.2f ms\n", MsSince(t));

        at(2.0);
        gen.SetLeftVolume(50);
        gen.SetRightVolume(100);
        t = Clock::now();
        gen.Play();
        std::printf("restart call: %.2f ms\n", MsSince(t));

        at(3.0);
        t = Clock::now();
        gen.Stop();
        std::printf("stop call: %.2f ms\n", MsSince(t));

        at(3.6);
        gen.SetLoop(false);
        gen.SetAsync(false);
        gen.SetFrequency(500);
        gen.SetDuration(300);
        gen.SetLeftVolume(100);
        t = Clock::now();
        gen.Play();
        const double took = MsSince(t);
        std::printf("synchronous 300 ms play returned after %.1f ms\n", took);
        if (took < 290 || !gen.Idle()) {
            std::fprintf(stderr, "synchronous play returned before its sound ended\n");
            status = 1;
        }
    }
    // The check script retries a run whose stream ran dry.
    std::printf("stream underflows: %llu\n",
                static_cast<unsigned long long>(pulse->UnderflowCount()));
    SetDefaultSoundOutput(nullptr);
    return status;
}
