// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A sweep started from the sweep dialog: it plays on the panel's generator
// (the selected channel at the panel's amplitude, as every signal), once or
// over and over; meanwhile the frequency displays follow the frequency it
// has reached, ten times a second. It ends with the panel's Stop, the
// dialog's Stop, or by itself after one sweep that does not repeat, and
// then hands the generator back to the signal the menu had chosen.

#include "engine/signals/MeasurementSignal.h"

#include <QObject>
#include <QTimer>

#include <functional>

class TForm1;

class SweepRun : public QObject {
public:
    // Seconds on a steady clock.
    using Clock = std::function<double()>;

    explicit SweepRun(TForm1& form);

    void Start(const SweepSettings& sweep, bool repeat);
    // Puts `next` on the generator in the sweep's place (the sound goes on
    // when the panel plays).
    void End(const MeasurementSignal& next);
    // The generator was started (again): every start plays the sweep's
    // image from its first sample, so the displays start again with it.
    void GeneratorStarted();
    bool Active() const { return active_; }
    bool Repeats() const { return repeat_; }
    const SweepSettings& Settings() const { return sweep_; }

    // What the displays follow, from the sweep's start (public for tests:
    // they drive it without waiting).
    void ShowFrequencyAt(double seconds);
    // The displays' tick: the frequency the sweep has reached by the clock.
    void Follow();
    // Tests give their own clock.
    void SetClock(Clock clock) { clock_ = std::move(clock); }

private:
    TForm1& form_;
    bool active_ = false;
    bool repeat_ = false;
    bool loopBefore_ = true;
    SweepSettings sweep_;
    Clock clock_;
    double startedAt_ = 0;
    // How long the image takes before it repeats: a repeated sweep runs on
    // to the end of its last cycle.
    double periodSeconds_ = 0;
    QTimer timer_;
};
