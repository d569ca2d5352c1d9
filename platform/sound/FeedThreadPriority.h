// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The thread that feeds the sound server must wake up in time even when
// other processes keep every core busy: a busy machine otherwise delays it
// past the end of the queued sound. It asks for round-robin real-time
// scheduling at a low priority (below the sound servers' own threads), and
// where that is refused for a higher share of the ordinary scheduler; where
// both are refused it keeps what it has, silently.

enum class FeedThreadPriority {
    Normal,   // nothing was allowed
    Raised,   // a higher share of the ordinary scheduler (a lower nice value)
    Realtime, // round-robin real-time scheduling
};

// Raises the priority of the calling thread (only that thread).
FeedThreadPriority RaiseFeedThreadPriority();
const char* FeedThreadPriorityName(FeedThreadPriority priority);
