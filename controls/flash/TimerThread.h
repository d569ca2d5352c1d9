// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The flash timer's worker: sleeps for an interval and hands its owner's Tick
// over to the window thread, until it is told to stop.

#include "controls/AbThread.h"

#include <atomic>

class TAbFlash;

class TTimerThread : public TAbThread {
public:
    TTimerThread(TAbFlash* owner, int intervalMs, bool createPaused);

    // Window thread only. Clearing the owner stops the worker at its next
    // wake-up; a tick already handed over then does nothing.
    void ClearOwner() {
        owner_ = nullptr;
        ownerCleared_ = true;
    }
    TAbFlash* Owner() const { return owner_; }

    void SetInterval(int ms) { interval_ = ms; }
    int Interval() const { return interval_; }

protected:
    void Run() override;

private:
    bool Stopping() const;

    TAbFlash* owner_;                       // read and written on the window thread only
    std::atomic<bool> ownerCleared_{false}; // what the worker reads instead
    std::atomic<int> interval_;
};
