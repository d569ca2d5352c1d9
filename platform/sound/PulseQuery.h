// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A short question to the sound server outside the playing stream (the list
// of outputs, a sink's volume): a context of its own on a private main loop,
// never starting a server, run until the answer is in or the time is up.

#include <pulse/pulseaudio.h>

#include <chrono>
#include <functional>

// What every query keeps besides its answer.
struct PulseQueryState {
    bool failed = false;
    int error = PA_ERR_TIMEOUT; // why, when it failed or did not finish
};

// Records the context's reason as the query's failure.
void PulseQueryFailed(PulseQueryState& state, pa_context* context);

// Connects, hands the context's state changes to `onState` (with
// `userdata`), and runs until `answered()` or a failure or `timeout`. True
// when answered; otherwise `state.error` says why.
bool RunPulseQuery(PulseQueryState& state, pa_context_notify_cb_t onState, void* userdata,
                   const std::function<bool()>& answered, std::chrono::milliseconds timeout);
