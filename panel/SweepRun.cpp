// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/SweepRun.h"

#include "engine/ToneGen.h"
#include "engine/signals/SweepSignal.h"
#include "panel/Unit1.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace {
constexpr int kDisplayIntervalMs = 100;

double SteadySeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
} // namespace

SweepRun::SweepRun(TForm1& form) : form_(form), clock_(SteadySeconds) {
    timer_.setInterval(kDisplayIntervalMs);
    connect(&timer_, &QTimer::timeout, this, [this] { Follow(); });
}

void SweepRun::Start(const SweepSettings& sweep, bool repeat) {
    TToneGen& gen = *form_.ToneGen1;
    if (!active_)
        loopBefore_ = gen.Loop();
    active_ = true;
    repeat_ = repeat;
    sweep_ = sweep;
    MeasurementSignal signal;
    signal.kind = SignalKind::Sweep;
    signal.sweep = sweep;
    // Repeated, the sweep runs on to its next whole cycle so that the
    // repetition joins it without a step (as `orbel play` does).
    signal.sweep.joinLoop = repeat;
    gen.SetLoop(repeat);
    form_.PlaySignal(signal); // heard at once while the panel plays
    if (!form_.Running())
        form_.AbColBitBtn1Click(nullptr);
    timer_.start();
}

void SweepRun::GeneratorStarted() {
    if (!active_)
        return;
    const TToneGen& gen = *form_.ToneGen1;
    const int rate = gen.Format().SamplesPerSecond();
    periodSeconds_ = static_cast<double>(SweepSampleCount(gen.Signal().sweep, rate)) / rate;
    startedAt_ = clock_();
    ShowFrequencyAt(0);
}

void SweepRun::End(const MeasurementSignal& next) {
    if (!active_)
        return;
    active_ = false;
    timer_.stop();
    form_.ToneGen1->SetLoop(loopBefore_);
    form_.PlaySignal(next);
}

void SweepRun::ShowFrequencyAt(double seconds) {
    const SweepLaw law(sweep_);
    // The tail that completes a repeated sweep's last cycle stays at its
    // end frequency.
    const double t = std::clamp(seconds, 0.0, law.DurationSeconds());
    form_.ShowFrequency(static_cast<int>(std::lround(law.FrequencyAt(t))));
}

void SweepRun::Follow() {
    if (!active_)
        return;
    const double duration = SweepLaw(sweep_).DurationSeconds();
    double t = clock_() - startedAt_;
    if (!repeat_ && t >= duration) {
        // One sweep has been heard: the panel stops as by its Stop button,
        // which ends the run.
        ShowFrequencyAt(duration);
        form_.AbColBitBtn2Click(nullptr);
        return;
    }
    if (periodSeconds_ > 0)
        t = std::fmod(t, periodSeconds_);
    ShowFrequencyAt(t);
}
