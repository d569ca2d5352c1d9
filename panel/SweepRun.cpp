// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/SweepRun.h"

#include "engine/ToneGen.h"
#include "panel/Unit1.h"

#include <cmath>

namespace {
constexpr int kDisplayIntervalMs = 100;
}

SweepRun::SweepRun(TForm1& form) : form_(form) {
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
    clock_.start();
    ShowFrequencyAt(0);
    timer_.start();
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
    form_.ShowFrequency(static_cast<int>(std::lround(law.FrequencyAt(seconds))));
}

void SweepRun::Follow() {
    const double duration = SweepLaw(sweep_).DurationSeconds();
    double t = static_cast<double>(clock_.elapsed()) / 1000.0;
    if (!repeat_ && t >= duration) {
        // One sweep has been heard: the panel stops as by its Stop button,
        // which ends the run.
        ShowFrequencyAt(duration);
        form_.AbColBitBtn2Click(nullptr);
        return;
    }
    if (duration > 0)
        t = std::fmod(t, duration);
    ShowFrequencyAt(t);
}
