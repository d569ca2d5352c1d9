// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sound/PulseQuery.h"

void PulseQueryFailed(PulseQueryState& state, pa_context* context) {
    state.failed = true;
    state.error = pa_context_errno(context);
}

bool RunPulseQuery(PulseQueryState& state, pa_context_notify_cb_t onState, void* userdata,
                   const std::function<bool()>& answered, std::chrono::milliseconds timeout) {
    pa_mainloop* loop = pa_mainloop_new();
    if (!loop) {
        state.error = PA_ERR_INTERNAL;
        return false;
    }
    pa_context* context = pa_context_new(pa_mainloop_get_api(loop), "orbel");
    if (!context)
        state.error = PA_ERR_INTERNAL;
    if (context) {
        pa_context_set_state_callback(context, onState, userdata);
        if (pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
            PulseQueryFailed(state, context);
    }
    using Clock = std::chrono::steady_clock;
    const auto end = Clock::now() + timeout;
    constexpr int kPollMicroseconds = 20000;
    while (context && !state.failed && !answered() && Clock::now() < end) {
        if (pa_mainloop_prepare(loop, kPollMicroseconds) < 0 || pa_mainloop_poll(loop) < 0 ||
            pa_mainloop_dispatch(loop) < 0) {
            state.error = PA_ERR_INTERNAL;
            break;
        }
    }
    const bool done = context && !state.failed && answered();
    if (context) {
        pa_context_disconnect(context);
        pa_context_unref(context);
    }
    pa_mainloop_free(loop);
    return done;
}
