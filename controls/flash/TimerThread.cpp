// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/flash/TimerThread.h"

#include "controls/flash/AbFlash.h"

TTimerThread::TTimerThread(TAbFlash* owner, int intervalMs, bool createPaused)
    : TAbThread(createPaused), owner_(owner), interval_(intervalMs) {}

bool TTimerThread::Stopping() const {
    return StopRequested() || ApplicationTerminating() || ownerCleared_.load();
}

void TTimerThread::Run() {
    do {
        if (SleepFor(interval_.load()) && !Stopping()) {
            // The owner is looked at on the window thread, where it is
            // destroyed, never here.
            RunOnWindowThread([this] {
                if (owner_ != nullptr)
                    owner_->Tick();
            });
        }
    } while (!Stopping());
}
