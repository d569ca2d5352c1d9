#include "platform/sound/PulseSoundOutput.h"

#include "audio/CrossfadeMixer.h"
#include "audio/WaveImageView.h"
#include "platform/sound/PulseDeviceList.h"

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <atomic>
#include <deque>
#include <string>
#include <utility>

namespace {
constexpr const char* kClientName = "orbel";
// How long `ListDevices` waits for the server.
constexpr std::chrono::milliseconds kListTimeout{1500};

// What a mixer shows of the program: its name and menu icon.
pa_proplist* ClientProperties() {
    pa_proplist* p = pa_proplist_new();
    pa_proplist_sets(p, PA_PROP_APPLICATION_NAME, kClientName);
    pa_proplist_sets(p, PA_PROP_APPLICATION_ID, "org.orbel.orbel");
    pa_proplist_sets(p, PA_PROP_APPLICATION_ICON_NAME, "orbel");
    return p;
}

// A test signal, and what it is.
pa_proplist* StreamProperties(const std::string& mediaName) {
    pa_proplist* p = pa_proplist_new();
    pa_proplist_sets(p, PA_PROP_MEDIA_ROLE, "test");
    pa_proplist_sets(p, PA_PROP_MEDIA_NAME, mediaName.c_str());
    return p;
}
// How long after its expected end a synchronous play waits before giving up
// on a server that stalled (the stream may still have to be set up).
constexpr pa_usec_t kSyncGrace = 2 * PA_USEC_PER_SEC;
// How long the output, when it goes, lets the fade-out of a sound play.
constexpr pa_usec_t kCloseGrace = 200 * PA_USEC_PER_MSEC;

pa_usec_t Usec(std::chrono::milliseconds ms) {
    return static_cast<pa_usec_t>(ms.count()) * PA_USEC_PER_MSEC;
}

// Holds the main loop's lock for a scope.
class MainloopGuard {
public:
    explicit MainloopGuard(pa_threaded_mainloop* m) : m_(m) { pa_threaded_mainloop_lock(m_); }
    ~MainloopGuard() { pa_threaded_mainloop_unlock(m_); }
    MainloopGuard(const MainloopGuard&) = delete;
    MainloopGuard& operator=(const MainloopGuard&) = delete;

private:
    pa_threaded_mainloop* m_;
};

timeval InFromNow(pa_usec_t delay) {
    timeval tv;
    pa_gettimeofday(&tv);
    pa_timeval_add(&tv, delay);
    return tv;
}
} // namespace

struct PulseSoundOutput::Impl {
    pa_threaded_mainloop* mainloop = nullptr;
    pa_mainloop_api* api = nullptr;

    // Everything below is guarded by the main loop's lock; libpulse runs the
    // callbacks with it held, so once Stop has returned (the mixer holding
    // only its own copy of the fade-out) nothing reads the image any more.
    pa_context* context = nullptr;
    pa_stream* stream = nullptr;
    int streamRate = 0; // the rate of the stream wanted; 0 before the first play
    StreamSample streamSample = StreamSample::S16; // and its sample format
    pa_time_event* retryTimer = nullptr;
    pa_usec_t retryDelay = Usec(kFirstRetry);
    bool serverAnswers = true; // until a connection attempt fails
    bool streamBroken = false; // the server refused or dropped the stream
    bool fadeInOnReady = false;

    CrossfadeMixer mixer;
    bool queuedSinceDrain = false;
    std::uint64_t generation = 0;        // one per Play and Stop
    std::uint64_t drainedGeneration = 0; // the newest sound played out
    std::deque<std::uint64_t> drainsPending;

    bool reportedLost = false;
    std::function<void(bool)> watcher;

    // The output chosen (empty: the server's default), whether the stream
    // is on it, and who hears when that changes.
    std::string deviceName;
    bool onChosenDevice = true;
    std::function<void(const std::string&)> noticeWatcher;
    std::string mediaName = kClientName;

    // Read by the feeding callback, set from the caller's thread.
    std::atomic<std::uint32_t> level{kFullLevel};
    std::atomic<std::uint64_t> underflows{0};
    std::atomic<std::uint64_t> attempts{0};

    // --- connection --------------------------------------------------------

    void ConnectLocked() {
        attempts.fetch_add(1, std::memory_order_relaxed);
        pa_proplist* props = ClientProperties();
        context = pa_context_new_with_proplist(api, kClientName, props);
        pa_proplist_free(props);
        if (!context) {
            ConnectionFailedLocked();
            return;
        }
        pa_context_set_state_callback(context, &Impl::OnContextState, this);
        // Never start a server of our own: without one the program is silent.
        if (pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
            ConnectionFailedLocked();
    }

    void ConnectionFailedLocked() {
        DropStreamLocked();
        if (context) {
            pa_context_set_state_callback(context, nullptr, nullptr);
            pa_context_disconnect(context);
            pa_context_unref(context);
            context = nullptr;
        }
        serverAnswers = false;
        ScheduleRetryLocked();
        UpdateLostLocked();
    }

    // The next attempt after a wait that doubles with each failure, within
    // bounds: a missing server costs nothing but a timer.
    void ScheduleRetryLocked() {
        const timeval at = InFromNow(retryDelay);
        api->time_restart(retryTimer, &at);
        retryDelay = std::min(2 * retryDelay, Usec(kLastRetry));
    }

    static void OnRetry(pa_mainloop_api*, pa_time_event*, const timeval*, void* userdata) {
        auto* self = static_cast<Impl*>(userdata);
        self->api->time_restart(self->retryTimer, nullptr);
        if (!self->context)
            self->ConnectLocked();
        else if (self->ContextReady() && !self->stream && self->streamRate)
            self->CreateStreamLocked();
    }

    static void OnContextState(pa_context* c, void* userdata) {
        auto* self = static_cast<Impl*>(userdata);
        if (c != self->context)
            return;
        switch (pa_context_get_state(c)) {
        case PA_CONTEXT_READY:
            self->serverAnswers = true;
            self->retryDelay = Usec(kFirstRetry);
            pa_context_set_subscribe_callback(c, &Impl::OnServerEvent, self);
            if (pa_operation* op =
                    pa_context_subscribe(c, PA_SUBSCRIPTION_MASK_SINK, nullptr, nullptr))
                pa_operation_unref(op);
            if (self->streamRate && !self->stream)
                self->CreateStreamLocked();
            self->UpdateLostLocked();
            break;
        case PA_CONTEXT_FAILED:
        case PA_CONTEXT_TERMINATED:
            self->ConnectionFailedLocked();
            break;
        default:
            break;
        }
        pa_threaded_mainloop_signal(self->mainloop, 0);
    }

    bool ContextReady() const {
        return context && pa_context_get_state(context) == PA_CONTEXT_READY;
    }
    bool StreamReady() const { return stream && pa_stream_get_state(stream) == PA_STREAM_READY; }

    // --- the stream ----------------------------------------------------------

    void CreateStreamLocked() {
        const pa_sample_format_t sample = streamSample == StreamSample::Float32
                                              ? PA_SAMPLE_FLOAT32LE
                                          : streamSample == StreamSample::S24 ? PA_SAMPLE_S24LE
                                                                              : PA_SAMPLE_S16LE;
        pa_sample_spec sampleFormat{sample, static_cast<std::uint32_t>(streamRate), 2};
        pa_channel_map map;
        pa_channel_map_init_stereo(&map);
        pa_proplist* props = StreamProperties(mediaName);
        pa_stream* s =
            pa_stream_new_with_proplist(context, mediaName.c_str(), &sampleFormat, &map, props);
        pa_proplist_free(props);
        if (!s) {
            StreamFailedLocked();
            return;
        }
        stream = s;
        pa_stream_set_state_callback(s, &Impl::OnStreamState, this);
        pa_stream_set_write_callback(s, &Impl::OnWritable, this);
        pa_stream_set_underflow_callback(s, &Impl::OnUnderflow, this);
        pa_stream_set_moved_callback(s, &Impl::OnMoved, this);
        pa_buffer_attr attr;
        attr.maxlength = static_cast<std::uint32_t>(-1);
        attr.tlength =
            static_cast<std::uint32_t>(pa_usec_to_bytes(Usec(kTargetLatency), &sampleFormat));
        attr.prebuf = static_cast<std::uint32_t>(-1);
        attr.minreq = static_cast<std::uint32_t>(-1);
        attr.fragsize = static_cast<std::uint32_t>(-1);
        // While the chosen output is missing, the default one plays.
        const char* device = deviceName.empty() || !onChosenDevice ? nullptr : deviceName.c_str();
        if (pa_stream_connect_playback(s, device, &attr, PA_STREAM_ADJUST_LATENCY, nullptr,
                                       nullptr) < 0)
            StreamFailedLocked();
    }

    // Lets the stream go, whatever state it is in: one still being set up is
    // disconnected too, so the server does not keep it.
    void DropStreamLocked() {
        if (!stream)
            return;
        pa_stream_set_write_callback(stream, nullptr, nullptr);
        pa_stream_set_state_callback(stream, nullptr, nullptr);
        pa_stream_set_underflow_callback(stream, nullptr, nullptr);
        pa_stream_set_moved_callback(stream, nullptr, nullptr);
        if (PA_STREAM_IS_GOOD(pa_stream_get_state(stream)) && ContextReady())
            pa_stream_disconnect(stream);
        pa_stream_unref(stream);
        stream = nullptr;
        queuedSinceDrain = false;
        drainsPending.clear();
        // What plays comes back with a fade once a stream carries it again.
        fadeInOnReady = mixer.HasSound();
    }

    void StreamFailedLocked() {
        // A stream on a chosen output that went away: the next one plays on
        // the default output until the chosen one returns.
        if (!deviceName.empty() && onChosenDevice)
            LeftChosenDeviceLocked("the default output");
        DropStreamLocked();
        streamBroken = true;
        if (ContextReady())
            ScheduleRetryLocked(); // a new stream later, never in a tight loop
        UpdateLostLocked();
    }

    // --- the chosen output ----------------------------------------------------

    void NoticeLocked(const std::string& line) {
        if (noticeWatcher)
            noticeWatcher(line);
    }

    void LeftChosenDeviceLocked(const std::string& where) {
        onChosenDevice = false;
        NoticeLocked("the output " + deviceName + " went away; playing on " + where);
    }

    // The server moved the stream: away from the chosen output when that
    // went, or back to it.
    static void OnMoved(pa_stream* s, void* userdata) {
        auto* self = static_cast<Impl*>(userdata);
        if (s != self->stream || self->deviceName.empty())
            return;
        const char* now = pa_stream_get_device_name(s);
        const bool onChosen = now && self->deviceName == now;
        if (onChosen && !self->onChosenDevice) {
            self->onChosenDevice = true;
            self->NoticeLocked("playing on " + self->deviceName + " again");
        } else if (!onChosen && self->onChosenDevice) {
            self->LeftChosenDeviceLocked(now ? now : "another output");
        }
    }

    // A new output may be the chosen one coming back: move the stream to it
    // (a move to another name fails and changes nothing).
    static void OnServerEvent(pa_context* c, pa_subscription_event_type_t type, std::uint32_t,
                              void* userdata) {
        auto* self = static_cast<Impl*>(userdata);
        if (c != self->context || self->deviceName.empty() || self->onChosenDevice)
            return;
        if ((type & PA_SUBSCRIPTION_EVENT_FACILITY_MASK) != PA_SUBSCRIPTION_EVENT_SINK ||
            (type & PA_SUBSCRIPTION_EVENT_TYPE_MASK) != PA_SUBSCRIPTION_EVENT_NEW)
            return;
        if (self->StreamReady()) {
            if (pa_operation* op =
                    pa_context_move_sink_input_by_name(c, pa_stream_get_index(self->stream),
                                                       self->deviceName.c_str(), nullptr, nullptr))
                pa_operation_unref(op);
        }
    }

    static void OnStreamState(pa_stream* s, void* userdata) {
        auto* self = static_cast<Impl*>(userdata);
        if (s != self->stream)
            return;
        switch (pa_stream_get_state(s)) {
        case PA_STREAM_READY:
            self->streamBroken = false;
            if (std::exchange(self->fadeInOnReady, false))
                self->mixer.FadeInAgain();
            self->FeedLocked(pa_stream_writable_size(s));
            self->UpdateLostLocked();
            break;
        case PA_STREAM_FAILED:
        case PA_STREAM_TERMINATED:
            if (self->ContextReady())
                self->StreamFailedLocked();
            else
                self->DropStreamLocked(); // the connection's failure handles it
            break;
        default:
            break;
        }
        pa_threaded_mainloop_signal(self->mainloop, 0);
    }

    void FeedLocked(std::size_t bytes) {
        if (!StreamReady())
            return;
        const std::uint32_t lvl = level.load(std::memory_order_relaxed);
        const std::size_t frameBytes = StreamFrameBytes(streamSample);
        while (bytes >= frameBytes && !mixer.Silent()) {
            void* buffer = nullptr;
            std::size_t size = bytes;
            if (pa_stream_begin_write(stream, &buffer, &size) < 0 || !buffer)
                return;
            const std::size_t frames = mixer.Render(static_cast<std::uint8_t*>(buffer),
                                                    size / frameBytes, lvl, streamSample);
            if (frames == 0) {
                pa_stream_cancel_write(stream);
                break;
            }
            pa_stream_write(stream, buffer, frames * frameBytes, nullptr, 0, PA_SEEK_RELATIVE);
            queuedSinceDrain = true;
            bytes -= std::min(bytes, frames * frameBytes);
        }
        if (mixer.Silent() && queuedSinceDrain) {
            // Everything is queued: drain, which also starts a sound shorter
            // than the prebuffer, and note when it has been played.
            queuedSinceDrain = false;
            drainsPending.push_back(generation);
            if (pa_operation* op = pa_stream_drain(stream, &Impl::OnDrained, this))
                pa_operation_unref(op);
            else
                drainsPending.pop_back();
        }
    }

    static void OnWritable(pa_stream* s, std::size_t bytes, void* userdata) {
        auto* self = static_cast<Impl*>(userdata);
        if (s == self->stream)
            self->FeedLocked(bytes);
    }

    static void OnUnderflow(pa_stream* s, void* userdata) {
        auto* self = static_cast<Impl*>(userdata);
        if (s == self->stream && !self->mixer.Silent())
            self->underflows.fetch_add(1, std::memory_order_relaxed);
    }

    static void OnDrained(pa_stream* s, int, void* userdata) {
        auto* self = static_cast<Impl*>(userdata);
        if (s != self->stream || self->drainsPending.empty())
            return;
        self->drainedGeneration = std::max(self->drainedGeneration, self->drainsPending.front());
        self->drainsPending.pop_front();
        pa_threaded_mainloop_signal(self->mainloop, 0);
    }

    // --- what the caller sees ----------------------------------------------

    bool LostLocked() const { return mixer.HasSound() && (!serverAnswers || streamBroken); }

    void UpdateLostLocked() {
        const bool lost = LostLocked();
        if (lost == reportedLost)
            return;
        reportedLost = lost;
        if (watcher)
            watcher(lost);
    }

    void StopLocked() {
        if (StreamReady())
            mixer.Stop(level.load(std::memory_order_relaxed));
        else
            mixer.Silence(); // nothing plays: no fade to keep for later
        ++generation;
        FeedLocked(StreamReady() ? pa_stream_writable_size(stream) : 0);
        UpdateLostLocked();
    }

    // Waits (lock held) until `done` is true or `timeout` has passed. The
    // timer is freed whether it fired or not.
    template <typename Done> bool WaitLocked(Done done, pa_usec_t timeout) {
        if (done())
            return true;
        bool expired = false;
        struct Timer {
            Impl* self;
            bool* expired;
        } timer{this, &expired};
        const timeval at = InFromNow(timeout);
        pa_time_event* event = api->time_new(
            api, &at,
            [](pa_mainloop_api*, pa_time_event*, const timeval*, void* userdata) {
                auto* t = static_cast<Timer*>(userdata);
                *t->expired = true;
                pa_threaded_mainloop_signal(t->self->mainloop, 0);
            },
            &timer);
        while (!done() && !expired && event)
            pa_threaded_mainloop_wait(mainloop);
        if (event)
            api->time_free(event);
        return done();
    }
};

std::unique_ptr<PulseSoundOutput> PulseSoundOutput::Start() {
    auto impl = std::make_unique<Impl>();
    impl->mainloop = pa_threaded_mainloop_new();
    if (!impl->mainloop)
        return nullptr;
    impl->api = pa_threaded_mainloop_get_api(impl->mainloop);
    const timeval now = InFromNow(0);
    impl->retryTimer = impl->api->time_new(impl->api, &now, &Impl::OnRetry, impl.get());
    if (!impl->retryTimer) {
        pa_threaded_mainloop_free(impl->mainloop);
        return nullptr;
    }
    impl->api->time_restart(impl->retryTimer, nullptr);
    impl->ConnectLocked(); // the loop does not run yet: no lock needed
    if (pa_threaded_mainloop_start(impl->mainloop) < 0) {
        if (impl->context) {
            pa_context_disconnect(impl->context);
            pa_context_unref(impl->context);
        }
        pa_threaded_mainloop_free(impl->mainloop); // frees the timer too
        return nullptr;
    }
    return std::unique_ptr<PulseSoundOutput>(new PulseSoundOutput(std::move(impl)));
}

std::unique_ptr<PulseSoundOutput> PulseSoundOutput::Connect(std::chrono::milliseconds timeout) {
    auto output = Start();
    if (output && !output->WaitForServer(timeout))
        output.reset();
    return output;
}

PulseSoundOutput::PulseSoundOutput(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

PulseSoundOutput::~PulseSoundOutput() {
    Impl& m = *impl_;
    {
        MainloopGuard guard(m.mainloop);
        m.watcher = nullptr;
        m.noticeWatcher = nullptr;
        // Let a fade-out that is still queued play, briefly, rather than cut
        // the stream in the middle of the sound.
        m.StopLocked();
        m.WaitLocked(
            [&] { return !m.StreamReady() || (m.mixer.Silent() && m.drainsPending.empty()); },
            kCloseGrace);
        m.DropStreamLocked();
        if (m.context) {
            pa_context_set_state_callback(m.context, nullptr, nullptr);
            pa_context_disconnect(m.context);
        }
        m.api->time_free(m.retryTimer);
    }
    pa_threaded_mainloop_stop(m.mainloop);
    if (m.context)
        pa_context_unref(m.context);
    pa_threaded_mainloop_free(m.mainloop);
}

void PulseSoundOutput::Play(std::span<const std::uint8_t> bytes, std::uint32_t flags) {
    Impl& m = *impl_;
    const std::optional<WaveImageView> view = ParseWaveImage(bytes);
    MainloopGuard guard(m.mainloop);
    if (!view || view->Frames() == 0) {
        m.StopLocked();
        return;
    }
    const std::uint32_t level = m.level.load(std::memory_order_relaxed);
    if (view->samplesPerSecond != m.streamRate || StreamSampleFor(*view) != m.streamSample) {
        // A stream carries one rate and sample format: the old sound ends
        // with its stream.
        m.mixer.Stop(level);
        m.DropStreamLocked();
        m.streamRate = view->samplesPerSecond;
        m.streamSample = StreamSampleFor(*view);
        m.mixer.SetRate(m.streamRate);
    }
    m.mixer.Start(*view, (flags & SND_LOOP) != 0, level);
    const std::uint64_t mine = ++m.generation;
    m.fadeInOnReady = false;
    if (m.StreamReady())
        m.FeedLocked(pa_stream_writable_size(m.stream));
    else if (!m.stream && m.ContextReady())
        m.CreateStreamLocked();
    m.UpdateLostLocked();

    if ((flags & (SND_ASYNC | SND_LOOP)) == 0) {
        // Synchronous: return when the sound has been played out, or was
        // replaced, or cannot be played. A stalled server cannot keep us
        // here for long.
        const pa_usec_t length =
            view->Frames() * PA_USEC_PER_SEC / static_cast<pa_usec_t>(view->samplesPerSecond);
        const bool ended = m.WaitLocked(
            [&] { return m.drainedGeneration >= mine || m.generation != mine || m.LostLocked(); },
            length + kSyncGrace);
        if (!ended || m.generation == mine)
            m.StopLocked(); // the image may go as soon as we return
    }
}

void PulseSoundOutput::Stop() {
    MainloopGuard guard(impl_->mainloop);
    impl_->StopLocked();
}

void PulseSoundOutput::SetLevel(std::uint32_t, std::uint32_t level) {
    impl_->level.store(level, std::memory_order_relaxed);
}

std::optional<LevelReading> PulseSoundOutput::ReadLevel(std::uint32_t) {
    return LevelReading{impl_->level.load(std::memory_order_relaxed), true};
}

bool PulseSoundOutput::SoundLost() const {
    MainloopGuard guard(impl_->mainloop);
    return impl_->LostLocked();
}

std::optional<std::vector<OutputDevice>> PulseSoundOutput::ListDevices() {
    return ListPulseOutputs(kListTimeout);
}

void PulseSoundOutput::ChooseDevice(const std::string& name) {
    Impl& m = *impl_;
    MainloopGuard guard(m.mainloop);
    m.deviceName = name;
    m.onChosenDevice = true;
    if (m.StreamReady() && m.ContextReady()) {
        const char* to = name.empty() ? nullptr : name.c_str();
        if (to)
            if (pa_operation* op = pa_context_move_sink_input_by_name(
                    m.context, pa_stream_get_index(m.stream), to, nullptr, nullptr))
                pa_operation_unref(op);
    }
}

void PulseSoundOutput::WatchDeviceNotices(std::function<void(const std::string& notice)> onNotice) {
    MainloopGuard guard(impl_->mainloop);
    impl_->noticeWatcher = std::move(onNotice);
}

void PulseSoundOutput::DescribeSound(const std::string& mediaName) {
    Impl& m = *impl_;
    MainloopGuard guard(m.mainloop);
    if (m.mediaName == mediaName)
        return;
    m.mediaName = mediaName;
    if (m.StreamReady()) {
        pa_proplist* props = StreamProperties(mediaName);
        if (pa_operation* op =
                pa_stream_proplist_update(m.stream, PA_UPDATE_REPLACE, props, nullptr, nullptr))
            pa_operation_unref(op);
        pa_proplist_free(props);
    }
}

void PulseSoundOutput::WatchSoundLost(std::function<void(bool lost)> onChange) {
    MainloopGuard guard(impl_->mainloop);
    impl_->watcher = std::move(onChange);
}

bool PulseSoundOutput::WaitForServer(std::chrono::milliseconds timeout) {
    Impl& m = *impl_;
    MainloopGuard guard(m.mainloop);
    // A failed attempt is retried in the background; the wait spans them.
    return m.WaitLocked([&] { return m.ContextReady(); }, Usec(timeout));
}

std::uint64_t PulseSoundOutput::UnderflowCount() const {
    return impl_->underflows.load(std::memory_order_relaxed);
}

std::uint64_t PulseSoundOutput::ConnectionAttempts() const {
    return impl_->attempts.load(std::memory_order_relaxed);
}
