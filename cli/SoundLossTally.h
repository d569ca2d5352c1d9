// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What `play` tells the user about lost sound: it hears the output's loss
// reports on the output's thread, and the main thread prints their lines
// and reads how long the sound has been lost in all.

#include "engine/SoundOutput.h"

#include <chrono>
#include <cstdio>
#include <mutex>
#include <vector>

class SoundLossTally {
public:
    using Clock = std::chrono::steady_clock;

    // From the output's thread: never waits for more than the tally's lock.
    void Note(SoundLossChange change);
    // Writes a line for each time the server went away or came back since
    // the last call.
    void PrintNewLines(std::FILE* to);
    // Lost time up to `now`, the loss still going on included.
    Clock::duration LostUntil(Clock::time_point now) const;

private:
    mutable std::mutex mutex_;
    std::vector<SoundLossChange> unprinted_; // each going away or coming back
    bool lost_ = false;
    Clock::time_point lostSince_{};
    Clock::duration lostBefore_{};
};
