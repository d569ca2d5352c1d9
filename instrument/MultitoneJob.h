// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A multitone's period to be made away from the instrument's commands: a
// long transform takes seconds (about 2 s at 65,536 points, 20 s at
// 1,048,576). A front end with a window hands `make` to another thread and
// `take` back to the thread the instrument's commands run on; without one
// the instrument makes the period at once.

#include "instrument/MultitonePlan.h"

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

namespace instrument {

struct MultitoneJob {
    // The work: the plan, or none once given up. Any thread; it reads
    // nothing of the instrument.
    std::function<std::optional<MultitonePlan>()> make;
    // Set once the plan is wanted no more (a newer request, a stop, the
    // instrument's end): `make` then gives up soon.
    std::shared_ptr<std::atomic<bool>> givenUp;
    // Hands the plan to the instrument: on the thread of its commands only.
    // Does nothing once the instrument is gone or a newer request came.
    std::function<void(MultitonePlan)> take;
};

using MultitoneExecutor = std::function<void(MultitoneJob job)>;

} // namespace instrument
