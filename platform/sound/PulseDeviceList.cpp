// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sound/PulseDeviceList.h"

#include "platform/sound/PulseQuery.h"

#include <string>

namespace {

struct Listing : PulseQueryState {
    std::vector<OutputDevice> devices;
    std::string defaultName;
    int pending = 0; // queries not answered yet
    bool started = false;
};

void Failed(Listing* l, pa_context* c) {
    PulseQueryFailed(*l, c);
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
    Listing listing;
    const bool done = RunPulseQuery(
        listing, &OnState, &listing, [&listing] { return listing.started && listing.pending == 0; },
        timeout);
    if (!done)
        return refused(listing.error);
    for (OutputDevice& d : listing.devices)
        d.isDefault = d.name == listing.defaultName;
    return listing.devices;
}
