// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sound/PulseStream.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <utility>

namespace {
constexpr const char* kStreamName = "orbel";
// How old the server's last timing report may be when a player asks where
// the sound is.
constexpr pa_usec_t kFreshTimingUsec = 20000;
// How old the report a rewrite measures from may be. The rewrite moves the
// reported read position on at the stream's rate for the report's age, but
// a server that stalled or ran dry since has not played that much. The
// library's own reports come only every 1.5 s at last, and PipeWire's
// server stalls now and then for a hundred milliseconds: a change soon
// after such a stall left as much of the old sound in place as it lasted.
constexpr pa_usec_t kRewriteTimingUsec = 5000;
// How long a rewrite waits for a fresh report; a server that does not
// answer by then is rewritten from the old one.
constexpr std::chrono::milliseconds kRewriteTimingWait{20};

pa_sample_format_t ServerSample(StreamSample sample) {
    switch (sample) {
    case StreamSample::S24:
        return PA_SAMPLE_S24LE;
    case StreamSample::Float32:
        return PA_SAMPLE_FLOAT32LE;
    case StreamSample::S16:
        break;
    }
    return PA_SAMPLE_S16LE;
}

// A test signal, and what it is.
pa_proplist* StreamProperties(const std::string& mediaName) {
    pa_proplist* p = pa_proplist_new();
    pa_proplist_sets(p, PA_PROP_MEDIA_ROLE, "test");
    pa_proplist_sets(p, PA_PROP_MEDIA_NAME, mediaName.c_str());
    return p;
}
} // namespace

PulseStream::PulseStream(PulseConnection& connection, std::function<void()> changed)
    : connection_(connection), changed_(std::move(changed)), mediaName_(kStreamName) {}

pa_sample_spec PulseStream::FormatLocked() const {
    return pa_sample_spec{ServerSample(sample_), static_cast<std::uint32_t>(rate_), 2};
}

bool PulseStream::ReadyLocked() const {
    return stream_ && pa_stream_get_state(stream_) == PA_STREAM_READY;
}

void PulseStream::SetFormatLocked(int samplesPerSecond, StreamSample sample) {
    if (samplesPerSecond == rate_ && sample == sample_)
        return;
    // A stream carries one rate and sample format: the old sound ends with
    // its stream.
    mixer_.Stop(Level());
    DropLocked();
    rate_ = samplesPerSecond;
    sample_ = sample;
    mixer_.SetRate(rate_);
    plan_ = QueuePlan(rate_);
    // The margin a rewrite leaves on such a server is the largest block it
    // is taken to read at once.
    reads_ = ReadPositionReports(rate_, std::int64_t(rate_) * QueuePlan::kNoRewindMarginMs / 1000);
}

void PulseStream::SetQueueLocked() {
    queueMs_.store(plan_.QueueMs(), std::memory_order_relaxed);
}

// The latency and refill of the plan; the rest as the server sees fit.
pa_buffer_attr PulseStream::AskedBufferLocked() const {
    const pa_sample_spec format = FormatLocked();
    const auto bytes = [&](int ms) {
        return static_cast<std::uint32_t>(
            pa_usec_to_bytes(pa_usec_t(ms) * PA_USEC_PER_MSEC, &format));
    };
    pa_buffer_attr attr;
    attr.maxlength = static_cast<std::uint32_t>(-1);
    attr.tlength = bytes(plan_.QueueMs());
    attr.prebuf = static_cast<std::uint32_t>(-1);
    attr.minreq = bytes(plan_.RefillMs());
    attr.fragsize = static_cast<std::uint32_t>(-1);
    return attr;
}

void PulseStream::NoteServerBufferLocked() {
    const pa_buffer_attr* attr = stream_ ? pa_stream_get_buffer_attr(stream_) : nullptr;
    if (!attr)
        return;
    const pa_sample_spec format = FormatLocked();
    bufferMs_.store(int(pa_bytes_to_usec(attr->tlength, &format) / PA_USEC_PER_MSEC),
                    std::memory_order_relaxed);
}

void PulseStream::CreateLocked() {
    if (stream_ || !rate_ || !connection_.ReadyLocked())
        return;
    const pa_sample_spec format = FormatLocked();
    pa_channel_map map;
    pa_channel_map_init_stereo(&map);
    pa_proplist* properties = StreamProperties(mediaName_);
    pa_stream* s = pa_stream_new_with_proplist(connection_.Context(), mediaName_.c_str(), &format,
                                               &map, properties);
    pa_proplist_free(properties);
    if (!s) {
        connection_.NoteFailureLocked();
        FailedLocked();
        return;
    }
    stream_ = s;
    pa_stream_set_state_callback(s, &PulseStream::OnState, this);
    pa_stream_set_write_callback(s, &PulseStream::OnWritable, this);
    pa_stream_set_underflow_callback(s, &PulseStream::OnUnderflow, this);
    pa_stream_set_moved_callback(s, &PulseStream::OnMoved, this);
    pa_stream_set_latency_update_callback(s, &PulseStream::OnTiming, this);
    SetQueueLocked();
    const pa_buffer_attr attr = AskedBufferLocked();
    // The timing reports give the read position a change rewrites from.
    const auto flags = static_cast<pa_stream_flags_t>(
        PA_STREAM_ADJUST_LATENCY | PA_STREAM_AUTO_TIMING_UPDATE | PA_STREAM_INTERPOLATE_TIMING);
    // While the chosen output is missing, the default one plays.
    const char* device = deviceName_.empty() || !onChosenDevice_ ? nullptr : deviceName_.c_str();
    if (pa_stream_connect_playback(s, device, &attr, flags, nullptr, nullptr) < 0) {
        connection_.NoteFailureLocked();
        FailedLocked();
    }
}

void PulseStream::DropLocked() {
    if (!stream_)
        return;
    pa_stream_set_write_callback(stream_, nullptr, nullptr);
    pa_stream_set_state_callback(stream_, nullptr, nullptr);
    pa_stream_set_underflow_callback(stream_, nullptr, nullptr);
    pa_stream_set_moved_callback(stream_, nullptr, nullptr);
    pa_stream_set_latency_update_callback(stream_, nullptr, nullptr);
    if (PA_STREAM_IS_GOOD(pa_stream_get_state(stream_)) && connection_.ReadyLocked())
        pa_stream_disconnect(stream_);
    pa_stream_unref(stream_);
    stream_ = nullptr;
    queuedSinceDrain_ = false;
    rewriteFrames_ = 0;
    paddedFrames_ = 0;
    reads_.Forget();
    drainsPending_.clear();
    fadeInOnReady_ = mixer_.HasSound();
}

void PulseStream::FailedLocked() {
    // A stream on a chosen output that went away: the next one plays on the
    // default output until the chosen one returns.
    if (!deviceName_.empty() && onChosenDevice_)
        LeftChosenDeviceLocked(DeviceNotice::Where::DefaultOutput, {});
    DropLocked();
    broken_ = true;
    if (connection_.ReadyLocked())
        connection_.ScheduleRetryLocked(); // a new stream later, never in a tight loop
    changed_();
}

// Takes back what the server has not read yet (beyond a margin), so that
// the next frames rendered replace it.
void PulseStream::RewindQueueLocked() {
    if (!ReadyLocked())
        return;
    const pa_timing_info* timing = pa_stream_get_timing_info(stream_);
    if (!timing || timing->write_index_corrupt || timing->read_index_corrupt)
        return;
    const std::size_t frameBytes = StreamFrameBytes(sample_);
    const bool rewinds = connection_.RewindsLocked();
    std::size_t frames = plan_.RewritableFrames(timing->write_index, timing->read_index,
                                                pa_timeval_age(&timing->timestamp),
                                                timing->playing != 0, frameBytes, rewinds);
    // A server that plays a block it has taken as it was reads in whole
    // blocks: measured from the line under its steps rather than from
    // wherever the latest report caught them, within reach of the latter,
    // and never into what it said it took.
    timeval now;
    if (const std::optional<std::int64_t> line =
            rewinds ? std::nullopt : reads_.ReadAt(pa_timeval_load(pa_gettimeofday(&now)))) {
        const std::int64_t written = timing->write_index / std::int64_t(frameBytes);
        const std::int64_t unread = written - timing->read_index / std::int64_t(frameBytes);
        const std::size_t reach = std::size_t(rate_) * QueuePlan::kLineReachMs / 1000;
        frames = std::min({plan_.RewritableFramesFrom(written, *line, rewinds), frames + reach,
                           std::size_t(std::max<std::int64_t>(0, unread))});
    }
    // The queue may end in silence written over an old queue after a sound
    // that ended before it: the mixer's frames come before that silence,
    // and may be taken back only together with all of it.
    const std::size_t silence = std::min(frames, paddedFrames_);
    std::size_t taken = silence;
    if (silence == paddedFrames_)
        taken += mixer_.Rewind(frames - silence);
    paddedFrames_ -= silence;
    rewriteFrames_ += taken;
}

// The rewrite's seek from the write index the rewrite was measured
// against (the library keeps it up to date as it writes). Without one, a
// relative seek back, which the library takes for 16-bit and float frames.
QueueSeek PulseStream::RewriteSeekLocked() const {
    const std::size_t frameBytes = StreamFrameBytes(sample_);
    const pa_timing_info* timing = pa_stream_get_timing_info(stream_);
    if (!timing || timing->write_index_corrupt)
        return {-std::int64_t(rewriteFrames_ * frameBytes), false};
    return QueuePlan::RewriteSeek(timing->write_index, rewriteFrames_, frameBytes);
}

std::uint64_t PulseStream::PlayLocked(const WaveImageView& image, bool loop,
                                      const ToneShape& shape) {
    RewindQueueLocked();
    mixer_.Start(image, loop, Level(), shape);
    return StartedLocked();
}

std::uint64_t PulseStream::PlayStreamLocked(FrameSource& source) {
    RewindQueueLocked();
    mixer_.StartStream(source, Level());
    return StartedLocked();
}

void PulseStream::ChangeStreamLocked(const std::function<void()>& change) {
    if (!mixer_.StreamFramesRendered() || !ReadyLocked()) {
        change();
        return;
    }
    // The source goes back over what is taken back of the queue.
    RewindQueueLocked();
    // The feed runs under the lock we hold: the source takes the change at
    // its next frame, the first one taken back.
    change();
    FeedLocked(pa_stream_writable_size(stream_));
}

void PulseStream::FreshenTimingLocked() {
    // PulseAudio's reports move smoothly, and it tells of an underrun at
    // once: its rewrites measure as they always did.
    if (!ReadyLocked() || connection_.RewindsLocked() || connection_.InLoopThread())
        return;
    const pa_timing_info* timing = pa_stream_get_timing_info(stream_);
    if (timing && pa_timeval_age(&timing->timestamp) <= kRewriteTimingUsec)
        return;
    struct Answer {
        PulseConnection* connection;
        bool answered = false;
    } answer{&connection_};
    pa_operation* op = pa_stream_update_timing_info(
        stream_,
        [](pa_stream*, int, void* userdata) {
            auto* a = static_cast<Answer*>(userdata);
            a->answered = true;
            a->connection->SignalLocked();
        },
        &answer);
    if (!op)
        return;
    connection_.WaitLocked([&] { return answer.answered; }, kRewriteTimingWait);
    // No answer yet: it must not reach `answer` once we return.
    if (!answer.answered)
        pa_operation_cancel(op);
    pa_operation_unref(op);
}

std::optional<std::uint64_t> PulseStream::StreamFramesHeardLocked() {
    const std::optional<std::uint64_t> rendered = mixer_.StreamFramesRendered();
    if (!rendered || !ReadyLocked())
        return std::nullopt;
    // The library reports the server's timing only now and then and
    // interpolates between reports; a player that asks often keeps them
    // fresh, so that a start or an underrun is seen within moments.
    const pa_timing_info* timing = pa_stream_get_timing_info(stream_);
    if (!timing || pa_timeval_age(&timing->timestamp) > kFreshTimingUsec)
        if (pa_operation* op = pa_stream_update_timing_info(stream_, nullptr, nullptr))
            pa_operation_unref(op);
    // Everything rendered is written at once (under the lock we hold), so
    // the latency from the write index is how far the rendered frames are
    // ahead of what is heard.
    pa_usec_t latency = 0;
    int negative = 0;
    if (!timing || pa_stream_get_latency(stream_, &latency, &negative) < 0)
        return std::nullopt;
    const std::uint64_t ahead =
        negative ? 0 : std::uint64_t(latency) * std::uint64_t(rate_) / PA_USEC_PER_SEC;
    return *rendered > ahead ? *rendered - ahead : 0;
}

std::uint64_t PulseStream::StartedLocked() {
    fadeInOnReady_ = false;
    const std::uint64_t mine = ++generation_;
    if (ReadyLocked())
        FeedLocked(pa_stream_writable_size(stream_));
    else
        CreateLocked();
    return mine;
}

void PulseStream::HoldLocked() {
    if (!ReadyLocked()) {
        mixer_.Silence(); // nothing plays: nothing to hold
        ++generation_;
        return;
    }
    RewindQueueLocked();
    mixer_.Hold(Level());
    ++generation_;
    FeedLocked(pa_stream_writable_size(stream_));
}

void PulseStream::StopLocked() {
    if (ReadyLocked()) {
        // A fade-out already queued stays where it is: nothing to rewrite.
        if (mixer_.HasSound())
            RewindQueueLocked();
        mixer_.Stop(Level());
    } else {
        mixer_.Silence(); // nothing plays: no fade to keep for later
    }
    ++generation_;
    if (ReadyLocked())
        FeedLocked(pa_stream_writable_size(stream_));
}

void PulseStream::FeedLocked(std::size_t bytes) {
    if (!ReadyLocked())
        return;
    const std::uint32_t level = Level();
    const std::size_t frameBytes = StreamFrameBytes(sample_);
    // What was taken back is written again first, at its old place.
    QueueSeek seek;
    if (rewriteFrames_ > 0)
        seek = RewriteSeekLocked();
    bytes += rewriteFrames_ * frameBytes;
    while (bytes >= frameBytes && (!mixer_.Silent() || rewriteFrames_ > 0)) {
        void* buffer = nullptr;
        std::size_t size = bytes;
        if (pa_stream_begin_write(stream_, &buffer, &size) < 0 || !buffer) {
            connection_.NoteFailureLocked();
            return;
        }
        auto* out = static_cast<std::uint8_t*>(buffer);
        std::size_t frames = mixer_.Render(out, size / frameBytes, level, sample_);
        if (frames > 0)
            paddedFrames_ = 0; // the queue ends in the mixer's frames again
        if (frames < rewriteFrames_) {
            // The sound ended before the old queue did: silence over the rest.
            const std::size_t pad = std::min(rewriteFrames_, size / frameBytes) - frames;
            std::memset(out + frames * frameBytes, 0, pad * frameBytes);
            frames += pad;
            paddedFrames_ += pad;
        }
        if (frames == 0) {
            if (pa_stream_cancel_write(stream_) < 0)
                connection_.NoteFailureLocked();
            break;
        }
        if (pa_stream_write(stream_, buffer, frames * frameBytes, nullptr, seek.offset,
                            seek.absolute ? PA_SEEK_ABSOLUTE : PA_SEEK_RELATIVE) < 0) {
            // The server would not take what it asked for: a new stream later.
            connection_.NoteFailureLocked();
            FailedLocked();
            return;
        }
        seek = QueueSeek{};
        rewriteFrames_ -= std::min(rewriteFrames_, frames);
        queuedSinceDrain_ = true;
        bytes -= std::min(bytes, frames * frameBytes);
    }
    if (mixer_.Silent() && queuedSinceDrain_) {
        // Everything is queued: drain, which also starts a sound shorter
        // than the prebuffer, and note when it has been played.
        queuedSinceDrain_ = false;
        drainsPending_.push_back(generation_);
        if (pa_operation* op = pa_stream_drain(stream_, &PulseStream::OnDrained, this)) {
            pa_operation_unref(op);
        } else {
            drainsPending_.pop_back();
            connection_.NoteFailureLocked();
        }
    }
}

void PulseStream::OnState(pa_stream* s, void* userdata) {
    auto* self = static_cast<PulseStream*>(userdata);
    if (s != self->stream_)
        return;
    switch (pa_stream_get_state(s)) {
    case PA_STREAM_READY:
        self->broken_ = false;
        self->NoteServerBufferLocked();
        if (std::exchange(self->fadeInOnReady_, false))
            self->mixer_.FadeInAgain();
        self->FeedLocked(pa_stream_writable_size(s));
        self->changed_();
        break;
    case PA_STREAM_FAILED:
    case PA_STREAM_TERMINATED:
        if (self->connection_.ReadyLocked()) {
            self->connection_.NoteFailureLocked(); // the server refused or ended it: why
            self->FailedLocked();
        } else {
            self->DropLocked(); // the connection's failure handles it
        }
        break;
    default:
        break;
    }
    self->connection_.SignalLocked();
}

void PulseStream::OnWritable(pa_stream* s, std::size_t bytes, void* userdata) {
    auto* self = static_cast<PulseStream*>(userdata);
    if (s == self->stream_)
        self->FeedLocked(bytes);
}

// The server ran dry while there was sound to play: count it, and ask for a
// longer queue so that it does not happen again.
void PulseStream::OnUnderflow(pa_stream* s, void* userdata) {
    auto* self = static_cast<PulseStream*>(userdata);
    if (s != self->stream_ || self->mixer_.Silent())
        return;
    self->underflows_.fetch_add(1, std::memory_order_relaxed);
    self->reads_.Forget(); // the server ran dry: its reads start again from there
    const int before = self->plan_.QueueMs();
    self->plan_.GrowAfterUnderrun();
    if (self->plan_.QueueMs() == before)
        return;
    self->SetQueueLocked();
    const pa_buffer_attr attr = self->AskedBufferLocked();
    if (pa_operation* op = pa_stream_set_buffer_attr(s, &attr, &PulseStream::OnBufferSet, self))
        pa_operation_unref(op);
    else
        self->connection_.NoteFailureLocked();
}

// Every timing report the library receives (its own, and those asked for),
// for where the server reads.
void PulseStream::OnTiming(pa_stream* s, void* userdata) {
    auto* self = static_cast<PulseStream*>(userdata);
    if (s != self->stream_)
        return;
    const pa_timing_info* timing = pa_stream_get_timing_info(s);
    if (!timing || timing->read_index_corrupt)
        return;
    self->reads_.Note(timing->read_index / std::int64_t(StreamFrameBytes(self->sample_)),
                      pa_timeval_load(&timing->timestamp), timing->playing != 0);
}

void PulseStream::OnBufferSet(pa_stream* s, int, void* userdata) {
    auto* self = static_cast<PulseStream*>(userdata);
    if (s == self->stream_)
        self->NoteServerBufferLocked();
}

void PulseStream::OnDrained(pa_stream* s, int, void* userdata) {
    auto* self = static_cast<PulseStream*>(userdata);
    if (s != self->stream_ || self->drainsPending_.empty())
        return;
    self->drained_ = std::max(self->drained_, self->drainsPending_.front());
    self->drainsPending_.pop_front();
    self->connection_.SignalLocked();
}

void PulseStream::DescribeLocked(const std::string& mediaName) {
    if (mediaName == mediaName_)
        return;
    mediaName_ = mediaName;
    if (!ReadyLocked())
        return; // the next stream is made with it
    pa_proplist* properties = StreamProperties(mediaName_);
    if (pa_operation* op =
            pa_stream_proplist_update(stream_, PA_UPDATE_REPLACE, properties, nullptr, nullptr))
        pa_operation_unref(op);
    else
        connection_.NoteFailureLocked();
    pa_proplist_free(properties);
}

void PulseStream::ChooseDeviceLocked(const std::string& name) {
    deviceName_ = name;
    onChosenDevice_ = true;
    MoveToChosenLocked();
}

void PulseStream::OutputAddedLocked() {
    if (!deviceName_.empty() && !onChosenDevice_)
        MoveToChosenLocked(); // a move to a name that is not there changes nothing
}

void PulseStream::MoveToChosenLocked() {
    if (deviceName_.empty() || !ReadyLocked() || !connection_.ReadyLocked())
        return;
    if (pa_operation* op =
            pa_context_move_sink_input_by_name(connection_.Context(), pa_stream_get_index(stream_),
                                               deviceName_.c_str(), nullptr, nullptr))
        pa_operation_unref(op);
    else
        connection_.NoteFailureLocked();
}

void PulseStream::NoticeLocked(const DeviceNotice& notice) {
    if (notice_)
        notice_(notice);
}

void PulseStream::LeftChosenDeviceLocked(DeviceNotice::Where where, const std::string& nowOn) {
    onChosenDevice_ = false;
    NoticeLocked(DeviceNotice::Left(deviceName_, where, nowOn));
}

// The server moved the stream: away from the chosen output when that went,
// or back to it.
void PulseStream::OnMoved(pa_stream* s, void* userdata) {
    auto* self = static_cast<PulseStream*>(userdata);
    if (s != self->stream_ || self->deviceName_.empty())
        return;
    const char* now = pa_stream_get_device_name(s);
    const bool onChosen = now && self->deviceName_ == now;
    if (onChosen && !self->onChosenDevice_) {
        self->onChosenDevice_ = true;
        self->NoticeLocked(DeviceNotice::Back(self->deviceName_));
    } else if (!onChosen && self->onChosenDevice_) {
        self->LeftChosenDeviceLocked(
            now ? DeviceNotice::Where::Named : DeviceNotice::Where::Unknown, now ? now : "");
    }
}
