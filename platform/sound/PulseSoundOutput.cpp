#include "platform/sound/PulseSoundOutput.h"

#include "platform/sound/WaveImageView.h"

#include <pulse/pulseaudio.h>
#include <pulse/rtclock.h>

#include <algorithm>
#include <atomic>
#include <functional>

namespace {
constexpr const char* kClientName = "orbel";
constexpr std::size_t kOutFrameBytes = 2 * sizeof(std::int16_t);
// How long a stream may take to be created, and how long after its expected
// end a synchronous play waits before giving up on a server that stalled.
constexpr pa_usec_t kStreamSetupTimeout = 2 * PA_USEC_PER_SEC;
constexpr pa_usec_t kDrainGrace = 2 * PA_USEC_PER_SEC;
} // namespace

struct PulseSoundOutput::Impl {
    pa_threaded_mainloop* mainloop = nullptr;
    pa_context* context = nullptr;

    // Everything below is guarded by the main loop's lock; the callbacks run
    // with it held, so once Stop has cleared `image` under the lock nothing
    // reads the image any more.
    pa_stream* stream = nullptr;
    WaveImageView image;
    std::size_t position = 0;
    bool loop = false;
    bool draining = false;
    bool finished = true;

    // Read by the feeding callback, set from the caller's thread.
    std::atomic<std::uint32_t> level{kFullLevel};
    std::atomic<std::uint64_t> underflows{0};

    ~Impl() {
        if (mainloop)
            pa_threaded_mainloop_stop(mainloop);
        if (context) {
            pa_context_disconnect(context);
            pa_context_unref(context);
        }
        if (mainloop)
            pa_threaded_mainloop_free(mainloop);
    }

    // Waits (lock held) until `done` is true or `timeout` has passed.
    bool WaitLocked(const std::function<bool()>& done, pa_usec_t timeout) {
        if (done())
            return true;
        struct Timer {
            Impl* self;
            bool expired = false;
        } timer{this};
        pa_time_event* event = pa_context_rttime_new(
            context, pa_rtclock_now() + timeout,
            [](pa_mainloop_api*, pa_time_event*, const struct timeval*, void* userdata) {
                auto* t = static_cast<Timer*>(userdata);
                t->expired = true;
                pa_threaded_mainloop_signal(t->self->mainloop, 0);
            },
            &timer);
        while (!done() && !timer.expired)
            pa_threaded_mainloop_wait(mainloop);
        if (!timer.expired && event)
            pa_threaded_mainloop_get_api(mainloop)->time_free(event);
        return done();
    }

    void StopLocked() {
        if (stream) {
            pa_stream_set_write_callback(stream, nullptr, nullptr);
            pa_stream_set_state_callback(stream, nullptr, nullptr);
            pa_stream_set_underflow_callback(stream, nullptr, nullptr);
            if (pa_stream_get_state(stream) == PA_STREAM_READY) {
                // Cork and flush so the server drops what it buffered, then
                // let the stream go.
                if (pa_operation* op = pa_stream_cork(stream, 1, nullptr, nullptr))
                    pa_operation_unref(op);
                if (pa_operation* op = pa_stream_flush(stream, nullptr, nullptr))
                    pa_operation_unref(op);
                pa_stream_disconnect(stream);
            }
            pa_stream_unref(stream);
            stream = nullptr;
        }
        image = WaveImageView{};
        position = 0;
        draining = false;
        finished = true;
        pa_threaded_mainloop_signal(mainloop, 0);
    }

    void Feed(pa_stream* s, std::size_t bytes) {
        while (bytes >= kOutFrameBytes) {
            void* buffer = nullptr;
            std::size_t size = bytes;
            if (pa_stream_begin_write(s, &buffer, &size) < 0 || !buffer)
                return;
            const std::size_t frames =
                RenderStereo(image, position, loop, level.load(std::memory_order_relaxed),
                             static_cast<std::int16_t*>(buffer), size / kOutFrameBytes);
            if (frames == 0) {
                pa_stream_cancel_write(s);
                break;
            }
            pa_stream_write(s, buffer, frames * kOutFrameBytes, nullptr, 0, PA_SEEK_RELATIVE);
            bytes -= std::min(bytes, frames * kOutFrameBytes);
        }
        if (!loop && position >= image.Frames() && !draining) {
            // Everything is queued: drain, which also starts a sound shorter
            // than the prebuffer, and mark the end once it has been played.
            draining = true;
            if (pa_operation* op = pa_stream_drain(s, &Impl::OnDrained, this))
                pa_operation_unref(op);
        }
    }

    static void OnWritable(pa_stream* s, std::size_t bytes, void* userdata) {
        auto* self = static_cast<Impl*>(userdata);
        if (s == self->stream)
            self->Feed(s, bytes);
    }

    static void OnUnderflow(pa_stream* s, void* userdata) {
        auto* self = static_cast<Impl*>(userdata);
        if (s == self->stream && !self->draining)
            self->underflows.fetch_add(1, std::memory_order_relaxed);
    }

    static void OnDrained(pa_stream* s, int, void* userdata) {
        auto* self = static_cast<Impl*>(userdata);
        if (s == self->stream) {
            self->finished = true;
            pa_threaded_mainloop_signal(self->mainloop, 0);
        }
    }

    static void OnStreamState(pa_stream* s, void* userdata) {
        auto* self = static_cast<Impl*>(userdata);
        if (s != self->stream)
            return;
        const pa_stream_state_t state = pa_stream_get_state(s);
        if (state == PA_STREAM_FAILED || state == PA_STREAM_TERMINATED)
            self->finished = true;
        pa_threaded_mainloop_signal(self->mainloop, 0);
    }

    static void OnContextState(pa_context*, void* userdata) {
        pa_threaded_mainloop_signal(static_cast<Impl*>(userdata)->mainloop, 0);
    }

    bool ContextReady() const {
        return context && pa_context_get_state(context) == PA_CONTEXT_READY;
    }
};

std::unique_ptr<PulseSoundOutput> PulseSoundOutput::Connect(std::chrono::milliseconds timeout) {
    auto impl = std::make_unique<Impl>();
    impl->mainloop = pa_threaded_mainloop_new();
    if (!impl->mainloop)
        return nullptr;
    impl->context = pa_context_new(pa_threaded_mainloop_get_api(impl->mainloop), kClientName);
    if (!impl->context)
        return nullptr;
    pa_context_set_state_callback(impl->context, &Impl::OnContextState, impl.get());
    // Never start a server of our own: without one the program is silent.
    if (pa_context_connect(impl->context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
        return nullptr;
    if (pa_threaded_mainloop_start(impl->mainloop) < 0)
        return nullptr;

    pa_threaded_mainloop_lock(impl->mainloop);
    const bool ready = impl->WaitLocked(
        [&] {
            const pa_context_state_t st = pa_context_get_state(impl->context);
            return st == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(st);
        },
        static_cast<pa_usec_t>(timeout.count()) * PA_USEC_PER_MSEC);
    const bool ok = ready && impl->ContextReady();
    pa_threaded_mainloop_unlock(impl->mainloop);
    if (!ok)
        return nullptr;
    return std::unique_ptr<PulseSoundOutput>(new PulseSoundOutput(std::move(impl)));
}

PulseSoundOutput::PulseSoundOutput(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

PulseSoundOutput::~PulseSoundOutput() {
    pa_threaded_mainloop_lock(impl_->mainloop);
    impl_->StopLocked();
    pa_threaded_mainloop_unlock(impl_->mainloop);
}

void PulseSoundOutput::Play(std::span<const std::uint8_t> bytes, std::uint32_t flags) {
    Impl& m = *impl_;
    const std::optional<WaveImageView> view = ParseWaveImage(bytes);
    pa_threaded_mainloop_lock(m.mainloop);
    m.StopLocked();
    if (!view || view->Frames() == 0 || !m.ContextReady()) {
        pa_threaded_mainloop_unlock(m.mainloop);
        return;
    }

    pa_sample_spec sampleSpec{PA_SAMPLE_S16LE, static_cast<std::uint32_t>(view->samplesPerSecond), 2};
    pa_channel_map map;
    pa_channel_map_init_stereo(&map);
    pa_stream* s = pa_stream_new(m.context, kClientName, &sampleSpec, &map);
    if (!s) {
        pa_threaded_mainloop_unlock(m.mainloop);
        return;
    }
    m.stream = s;
    m.image = *view;
    m.position = 0;
    m.loop = (flags & SND_LOOP) != 0;
    m.draining = false;
    m.finished = false;
    pa_stream_set_state_callback(s, &Impl::OnStreamState, &m);
    pa_stream_set_write_callback(s, &Impl::OnWritable, &m);
    pa_stream_set_underflow_callback(s, &Impl::OnUnderflow, &m);

    pa_buffer_attr attr;
    attr.maxlength = static_cast<std::uint32_t>(-1);
    attr.tlength = static_cast<std::uint32_t>(
        pa_usec_to_bytes(std::chrono::microseconds(kTargetLatency).count(), &sampleSpec));
    attr.prebuf = static_cast<std::uint32_t>(-1);
    attr.minreq = static_cast<std::uint32_t>(-1);
    attr.fragsize = static_cast<std::uint32_t>(-1);
    const auto streamFlags =
        static_cast<pa_stream_flags_t>(PA_STREAM_ADJUST_LATENCY | PA_STREAM_AUTO_TIMING_UPDATE);
    if (pa_stream_connect_playback(s, nullptr, &attr, streamFlags, nullptr, nullptr) < 0) {
        m.StopLocked();
        pa_threaded_mainloop_unlock(m.mainloop);
        return;
    }
    // Wait for the server to set the stream up, so that a Stop right after
    // finds a stream it can cork, flush and disconnect.
    const bool settled =
        m.WaitLocked([&] { return m.stream != s || pa_stream_get_state(s) != PA_STREAM_CREATING; },
                     kStreamSetupTimeout);
    if (!settled || m.stream != s || pa_stream_get_state(s) != PA_STREAM_READY) {
        if (m.stream == s)
            m.StopLocked();
        pa_threaded_mainloop_unlock(m.mainloop);
        return;
    }

    if ((flags & (SND_ASYNC | SND_LOOP)) == 0) {
        // Synchronous: return when the sound has been played out (or stopped,
        // or the stream died). A stalled server cannot keep us here forever.
        const pa_usec_t length =
            view->Frames() * PA_USEC_PER_SEC / static_cast<pa_usec_t>(view->samplesPerSecond);
        if (!m.WaitLocked([&] { return m.stream != s || m.finished; }, length + kDrainGrace))
            m.StopLocked();
        else if (m.stream == s)
            m.StopLocked(); // the sound has ended; release the stream
    }
    pa_threaded_mainloop_unlock(m.mainloop);
}

void PulseSoundOutput::Stop() {
    pa_threaded_mainloop_lock(impl_->mainloop);
    impl_->StopLocked();
    pa_threaded_mainloop_unlock(impl_->mainloop);
}

void PulseSoundOutput::SetLevel(std::uint32_t, std::uint32_t level) {
    impl_->level.store(level, std::memory_order_relaxed);
}

std::uint64_t PulseSoundOutput::UnderflowCount() const {
    return impl_->underflows.load(std::memory_order_relaxed);
}

std::optional<LevelReading> PulseSoundOutput::ReadLevel(std::uint32_t) {
    return LevelReading{impl_->level.load(std::memory_order_relaxed), true};
}
