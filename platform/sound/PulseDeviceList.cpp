// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sound/PulseDeviceList.h"

#include <pulse/pulseaudio.h>

#include <string>

namespace {

struct Listing {
    std::vector<OutputDevice> devices;
    std::string defaultName;
    int pending = 0; // queries not answered yet
    bool started = false;
    bool failed = false;
    int error = PA_ERR_TIMEOUT; // why, when it failed or did not finish
};

void Failed(Listing* l, pa_context* c) {
    l->failed = true;
    l->error = pa_context_errno(c);
}

void OnSink(pa_context*, const pa_sink_info* info, int eol, void* userdata) {
    auto* l = static_cast<Listing*>(userdata);
    if (eol) {
        --l->pending;
        return;
    }
    if (info)
        l->devices.push_back(
            {info->name ? info->name : "", info->description ? info->description : "", false});
}

void OnServer(pa_context*, const pa_server_info* info, void* userdata) {
    auto* l = static_cast<Listing*>(userdata);
    if (info && info->default_sink_name)
        l->defaultName = info->default_sink_name;
    --l->pending;
}

void OnState(pa_context* c, void* userdata) {
    auto* l = static_cast<Listing*>(userdata);
    switch (pa_context_get_state(c)) {
    case PA_CONTEXT_READY:
        l->started = true;
        l->pending = 2;
        if (pa_operation* op = pa_context_get_server_info(c, &OnServer, l))
            pa_operation_unref(op);
        else
            Failed(l, c);
        if (pa_operation* op = pa_context_get_sink_info_list(c, &OnSink, l))
            pa_operation_unref(op);
        else
            Failed(l, c);
        break;
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED:
        Failed(l, c);
        break;
    default:
        break;
    }
}

} // namespace

std::optional<std::vector<OutputDevice>> ListPulseOutputs(std::chrono::milliseconds timeout,
                                                          std::string* why) {
    const auto refused = [why](int error) {
        if (why)
            *why = pa_strerror(error);
        return std::nullopt;
    };
    pa_mainloop* loop = pa_mainloop_new();
    if (!loop)
        return refused(PA_ERR_INTERNAL);
    Listing listing;
    pa_context* context = pa_context_new(pa_mainloop_get_api(loop), "orbel");
    if (!context)
        listing.error = PA_ERR_INTERNAL;
    if (context) {
        pa_context_set_state_callback(context, &OnState, &listing);
        if (pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
            Failed(&listing, context);
    }
    using Clock = std::chrono::steady_clock;
    const auto end = Clock::now() + timeout;
    constexpr int kPollMicroseconds = 20000;
    while (context && !listing.failed && !(listing.started && listing.pending == 0) &&
           Clock::now() < end) {
        if (pa_mainloop_prepare(loop, kPollMicroseconds) < 0 || pa_mainloop_poll(loop) < 0 ||
            pa_mainloop_dispatch(loop) < 0) {
            listing.error = PA_ERR_INTERNAL;
            break;
        }
    }
    const bool done = context && !listing.failed && listing.started && listing.pending == 0;
    if (context) {
        pa_context_disconnect(context);
        pa_context_unref(context);
    }
    pa_mainloop_free(loop);
    if (!done)
        return refused(listing.error);
    for (OutputDevice& d : listing.devices)
        d.isDefault = d.name == listing.defaultName;
    return listing.devices;
}
