// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sound/PulseSinkVolume.h"

#include "platform/sound/PulseQuery.h"

namespace {

struct SinkQuery : PulseQueryState {
    std::string sink;
    std::optional<OutputVolume> volume;
    int rate = 0;
    bool done = false;
};

void Failed(SinkQuery* q, pa_context* c) {
    PulseQueryFailed(*q, c);
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

void OnSinkInfo(pa_context* c, const pa_sink_info* info, int eol, void* userdata) {
    auto* q = static_cast<SinkQuery*>(userdata);
    if (eol < 0) {
        // No sink of that name (or the query failed): the server's reason.
        Failed(q, c);
        return;
    }
    if (eol) {
        q->done = true;
        return;
    }
    if (info) {
        q->volume = OutputVolume{ChannelVolume(*info, PA_CHANNEL_POSITION_FRONT_LEFT),
                                 ChannelVolume(*info, PA_CHANNEL_POSITION_FRONT_RIGHT)};
        q->rate = pa_sample_spec_valid(&info->sample_spec) ? int(info->sample_spec.rate) : 0;
    }
}

void OnSinkQueryState(pa_context* c, void* userdata) {
    auto* q = static_cast<SinkQuery*>(userdata);
    switch (pa_context_get_state(c)) {
    case PA_CONTEXT_READY:
        if (pa_operation* op = pa_context_get_sink_info_by_name(c, q->sink.c_str(), &OnSinkInfo, q))
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

// The sink's facts, or the reason there are none in `why`.
const SinkQuery* AskAboutSink(SinkQuery& query, std::chrono::milliseconds timeout,
                              std::string* why) {
    const auto refused = [why](int error) -> const SinkQuery* {
        if (why)
            *why = pa_strerror(error);
        return nullptr;
    };
    if (!RunPulseQuery(
            query, &OnSinkQueryState, &query, [&query] { return query.done; }, timeout))
        return refused(query.error);
    if (!query.volume)
        return refused(PA_ERR_NOENTITY);
    return &query;
}

} // namespace

std::optional<OutputVolume>
ReadPulseSinkVolume(const std::string& sink, std::chrono::milliseconds timeout, std::string* why) {
    SinkQuery query;
    // The server's own name for its default output.
    query.sink = sink.empty() ? "@DEFAULT_SINK@" : sink;
    const SinkQuery* answer = AskAboutSink(query, timeout, why);
    return answer ? answer->volume : std::nullopt;
}

std::optional<int> ReadPulseSinkRate(const std::string& sink, std::chrono::milliseconds timeout,
                                     std::string* why) {
    SinkQuery query;
    // The server's own name for its default output.
    query.sink = sink.empty() ? "@DEFAULT_SINK@" : sink;
    const SinkQuery* answer = AskAboutSink(query, timeout, why);
    if (!answer)
        return std::nullopt;
    if (answer->rate <= 0) {
        if (why)
            *why = pa_strerror(PA_ERR_INVALID);
        return std::nullopt;
    }
    return answer->rate;
}
