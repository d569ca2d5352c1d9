// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Makes the instrument's multitones on threads of their own, so that the
// window answers while a long period is made, and hands each plan back on
// the window thread (the one hand-over, platform/WindowThread.h). When it
// goes, whatever is still being made is given up and waited for: the work
// gives up between rounds of its phase search, so the program's end waits
// a fraction of a second, not the seconds a long transform takes.

#include "instrument/MultitoneJob.h"

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

class MultitoneWorker {
public:
    MultitoneWorker() = default;
    MultitoneWorker(const MultitoneWorker&) = delete;
    MultitoneWorker& operator=(const MultitoneWorker&) = delete;
    ~MultitoneWorker();

    // Window thread.
    void Run(instrument::MultitoneJob job);
    // Threads not yet ended (for tests).
    std::size_t Running() const;

private:
    struct Build {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> givenUp;
        std::shared_ptr<std::atomic<bool>> ended;
    };
    // Joins the builds that have ended.
    void Reap();

    std::vector<Build> builds_;
};
