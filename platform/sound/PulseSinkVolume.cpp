// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sound/PulseSinkVolume.h"

#include <pulse/pulseaudio.h>

namespace {

struct VolumeQuery {
    std::string sink;
    std::optional<OutputVolume> volume;
    bool done = false;
    bool failed = false;
    int error = PA_ERR_TIMEOUT; // why, when it failed or did not finish
};

void Failed(VolumeQuery* q, pa_context* c) {
    q->failed = true;
    q->error = pa_context_errno(c);
}

// The volume of the channel at that position, or of the first channel
// when the sink has none there (a mono sink).
std::uint32_t ChannelVolume(const pa_sink_info& info, pa_channel_position_t position) {
    if (info.volume.channels == 0)
        return 0;
    unsigned index = 0;
    if (pa_channel_map_valid(&info.channel_map))
        for (unsigned i = 0; i < info.channel_map.channels && i < info.volume.channels; ++i)
            if (info.channel_map.map[i] == position) {
                index = i;
                break;
            }
    return info.volume.values[index];
}

void OnSinkVolume(pa_context* c, const pa_sink_info* info, int eol, void* userdata) {
    auto* q = static_cast<VolumeQuery*>(userdata);
    if (eol < 0) {
        // No sink of that name (or the query failed): the server's reason.
        Failed(q, c);
        return;
    }
    if (eol) {
        q->done = true;
        return;
    }
    if (info)
        q->volume = OutputVolume{ChannelVolume(*info, PA_CHANNEL_POSITION_FRONT_LEFT),
                                 ChannelVolume(*info, PA_CHANNEL_POSITION_FRONT_RIGHT)};
}

void OnVolumeQueryState(pa_context* c, void* userdata) {
    auto* q = static_cast<VolumeQuery*>(userdata);
    switch (pa_context_get_state(c)) {
    case PA_CONTEXT_READY:
        if (pa_operation* op =
                pa_context_get_sink_info_by_name(c, q->sink.c_str(), &OnSinkVolume, q))
            pa_operation_unref(op);
        else
            Failed(q, c);
        break;
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED:
        Failed(q, c);
        break;
    default:
        break;
    }
}

} // namespace

std::optional<OutputVolume>
ReadPulseSinkVolume(const std::string& sink, std::chrono::milliseconds timeout, std::string* why) {
    const auto refused = [why](int error) {
        if (why)
            *why = pa_strerror(error);
        return std::nullopt;
    };
    pa_mainloop* loop = pa_mainloop_new();
    if (!loop)
        return refused(PA_ERR_INTERNAL);
    VolumeQuery query;
    query.sink = sink;
    pa_context* context = pa_context_new(pa_mainloop_get_api(loop), "orbel");
    if (!context)
        query.error = PA_ERR_INTERNAL;
    if (context) {
        pa_context_set_state_callback(context, &OnVolumeQueryState, &query);
        if (pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
            Failed(&query, context);
    }
    using Clock = std::chrono::steady_clock;
    const auto end = Clock::now() + timeout;
    constexpr int kPollMicroseconds = 20000;
    while (context && !query.failed && !query.done && Clock::now() < end) {
        if (pa_mainloop_prepare(loop, kPollMicroseconds) < 0 || pa_mainloop_poll(loop) < 0 ||
            pa_mainloop_dispatch(loop) < 0) {
            query.error = PA_ERR_INTERNAL;
            break;
        }
    }
    const bool answered = context && !query.failed && query.done;
    if (context) {
        pa_context_disconnect(context);
        pa_context_unref(context);
    }
    pa_mainloop_free(loop);
    if (!answered)
        return refused(query.error);
    if (!query.volume)
        return refused(PA_ERR_NOENTITY);
    return query.volume;
}
