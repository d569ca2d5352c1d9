// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A sweep started from the sweep dialog, on the panel's side: the
// instrument plays it (the selected channel at the panel's amplitude, as
// every signal), once or over and over, or in steps; meanwhile this asks
// the instrument ten times a second (fifty for steps, so that each shows
// as it is heard) to follow it on the frequency displays. It ends with
// the panel's Stop, the dialog's Stop, or by itself after one sweep that
// does not repeat.

#include "instrument/Instrument.h"

#include <QObject>
#include <QTimer>

class SweepRun : public QObject {
public:
    using Clock = instrument::Instrument::Clock;

    explicit SweepRun(instrument::Instrument& instrument);
    ~SweepRun() override;

    void Start(const SweepSettings& sweep, bool repeat);
    void StartSteps(const SteppedSweepSettings& steps);
    bool Active() const {
        return instrument_.State().sweep.active || instrument_.State().steps.active;
    }
    bool Repeats() const { return instrument_.State().sweep.repeat; }
    const SweepSettings& Settings() const { return instrument_.State().sweep.settings; }

    // The displays' tick: the frequency the sweep has reached by the clock
    // (public for tests: they drive it without waiting).
    void Follow();
    // Tests give their own clock.
    void SetClock(Clock clock) { instrument_.SetClock(std::move(clock)); }

private:
    // The sweep plays, or a stepped sweep's end plays out.
    bool Following() const;

    instrument::Instrument& instrument_;
    int subscription_;
    QTimer timer_;
};
