// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Says each step of a stepped sweep as it is heard, so that a script can
// read its meter in step: one line a step, flushed at once, written when
// the output has played the step's first frame (not when it was rendered,
// which is a queue's length earlier).

#include "engine/steps/StepSchedule.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

class StepAnnouncer {
public:
    // The schedule must outlive the announcer.
    StepAnnouncer(const StepSchedule& schedule, std::FILE* to);

    // The output has played `heardFrames` of the sweep: says every step
    // whose first frame has been heard and that was not said yet, in order. False when a line
    // cannot be written.
    bool Heard(std::uint64_t heardFrames);
    // Every step has been heard to its end.
    bool Over(std::uint64_t heardFrames) const { return heardFrames >= schedule_.endFrame; }
    std::size_t StepsSaid() const { return said_; }

    // The line for step k (from 0), without its newline: "orbel: step 3
    // of 10: 215.443469 Hz", the frequency to a microhertz with a point.
    static std::string Line(const StepSchedule& schedule, std::size_t k);

private:
    const StepSchedule& schedule_;
    std::FILE* to_;
    std::size_t said_ = 0;
};
