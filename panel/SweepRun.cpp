// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/SweepRun.h"

namespace {
constexpr int kDisplayIntervalMs = 100;
constexpr int kStepsIntervalMs = 20;
} // namespace

SweepRun::SweepRun(instrument::Instrument& instrument) : instrument_(instrument) {
    timer_.setInterval(kDisplayIntervalMs);
    connect(&timer_, &QTimer::timeout, this, [this] { Follow(); });
    // The displays follow while a sweep plays, however it started or ended.
    // A stepped sweep's end is followed until it has played out.
    subscription_ = instrument_.Subscribe([this] {
        if (Following() && !timer_.isActive())
            timer_.start(instrument_.FollowsSteps() ? kStepsIntervalMs : kDisplayIntervalMs);
        else if (!Following() && timer_.isActive())
            timer_.stop();
    });
}

SweepRun::~SweepRun() {
    instrument_.Unsubscribe(subscription_);
}

void SweepRun::Start(const SweepSettings& sweep, bool repeat) {
    instrument_.StartSweep(sweep, repeat);
}

void SweepRun::StartSteps(const SteppedSweepSettings& steps) {
    // The steps' faster pace, also in place of a sweep's.
    if (instrument_.StartSteps(steps))
        timer_.start(kStepsIntervalMs);
}

void SweepRun::Follow() {
    if (instrument_.FollowsSteps())
        instrument_.FollowSteps();
    else
        instrument_.FollowSweep();
    if (!Following())
        timer_.stop();
}

bool SweepRun::Following() const {
    return Active() || instrument_.FollowsSteps();
}
