// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/MultitoneWorker.h"

#include "platform/WindowThread.h"

#include <algorithm>
#include <optional>
#include <utility>

using instrument::MultitoneJob;
using instrument::MultitonePlan;

MultitoneWorker::~MultitoneWorker() {
    for (Build& build : builds_)
        build.givenUp->store(true);
    for (Build& build : builds_)
        build.thread.join();
}

void MultitoneWorker::Run(MultitoneJob job) {
    Reap();
    Build build;
    build.givenUp = job.givenUp ? job.givenUp : std::make_shared<std::atomic<bool>>(false);
    build.ended = std::make_shared<std::atomic<bool>>(false);
    build.thread = std::thread([job = std::move(job), ended = build.ended]() mutable {
        std::optional<MultitonePlan> plan;
        try {
            plan = job.make();
        } catch (...) {
            // Anything else the work throws is want of memory.
            plan = MultitonePlan{};
            plan->refusal = instrument::MultitonePlanRefusal::NoMemory;
        }
        // A plan given up is not handed over; one handed over may still be
        // given up before it arrives, which the instrument sees to.
        if (plan && !(job.givenUp && job.givenUp->load()))
            PostToWindowThread([take = std::move(job.take), p = std::move(*plan)]() mutable {
                take(std::move(p));
            });
        ended->store(true);
    });
    builds_.push_back(std::move(build));
}

std::size_t MultitoneWorker::Running() const {
    return std::size_t(std::count_if(builds_.begin(), builds_.end(),
                                     [](const Build& b) { return !b.ended->load(); }));
}

void MultitoneWorker::Reap() {
    const auto ended = std::stable_partition(builds_.begin(), builds_.end(),
                                             [](const Build& b) { return !b.ended->load(); });
    for (auto b = ended; b != builds_.end(); ++b)
        b->thread.join();
    builds_.erase(ended, builds_.end());
}
