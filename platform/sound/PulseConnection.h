// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The connection to a PulseAudio server (also PipeWire's PulseAudio
// server) on libpulse's threaded main loop: it connects in the background,
// never starts a server, and when none answers or the server goes away it
// tries again, waiting longer after each failure (up to two seconds).
// Everything that touches libpulse runs with the main loop's lock held
// (libpulse holds it around its callbacks); Lock gives it to callers. The
// client carries the program's name, id and menu icon, so that mixers show
// it as itself, and it follows the server's outputs coming and going.

#include "platform/sound/FeedThreadPriority.h"

#include <pulse/pulseaudio.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>

class PulseConnection {
public:
    // Told, lock held, when the context is ready and when it failed.
    struct Listener {
        std::function<void()> ready;
        std::function<void()> failed;
        std::function<void()> retry;       // a retry wait has ended with a ready context
        std::function<void()> outputAdded; // the server has a new output (sink)
    };

    // Null only when libpulse cannot make its loop. Nothing runs yet.
    static std::unique_ptr<PulseConnection> Create(Listener listener);
    // Starts connecting in the background; false when the loop's thread
    // cannot start.
    bool Run();
    // Stops the loop; call Close first, with the lock.
    ~PulseConnection();
    PulseConnection(const PulseConnection&) = delete;
    PulseConnection& operator=(const PulseConnection&) = delete;

    // Disconnects, lock held; no listener is called afterwards.
    void CloseLocked();

    class Lock {
    public:
        explicit Lock(const PulseConnection& c) : loop_(c.mainloop_) {
            pa_threaded_mainloop_lock(loop_);
        }
        ~Lock() { pa_threaded_mainloop_unlock(loop_); }
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        pa_threaded_mainloop* loop_;
    };

    pa_context* Context() const { return context_; }
    bool ReadyLocked() const;
    bool AnswersLocked() const { return serverAnswers_; }
    // Whether the server takes back a block its device has already taken
    // when queued sound is written again, and renders it anew. PulseAudio
    // does; PipeWire's PulseAudio server plays the block as it was. False
    // until the server has said who it is.
    bool RewindsLocked() const { return rewinds_; }
    // Tries again after the current back-off (a stream the server refused
    // is asked for again this way, never in a tight loop).
    void ScheduleRetryLocked();
    // Wakes whoever waits in WaitLocked.
    void SignalLocked() { pa_threaded_mainloop_signal(mainloop_, 0); }

    // A libpulse call on the context failed: keeps the context's reason
    // (pa_strerror of its error), or the given one without a context.
    void NoteFailureLocked();
    void NoteFailureLocked(std::string reason) { failure_ = std::move(reason); }
    // The reason of the last failure, in the server's (libpulse's) words;
    // empty before any.
    const std::string& FailureLocked() const { return failure_; }

    // Whether the caller runs on the loop's own thread (in the library's
    // callbacks), where WaitLocked would wait for itself.
    bool InLoopThread() const { return pa_threaded_mainloop_in_thread(mainloop_) != 0; }
    // Waits (lock held) until `done` is true or `timeout` has passed.
    bool WaitLocked(const std::function<bool()>& done, std::chrono::microseconds timeout);

    std::uint64_t Attempts() const { return attempts_.load(std::memory_order_relaxed); }
    // The priority the loop's thread (which feeds the stream) was given.
    FeedThreadPriority FeedPriority() const {
        return feedPriority_.load(std::memory_order_relaxed);
    }

    static constexpr std::chrono::milliseconds kFirstRetry{500};
    static constexpr std::chrono::milliseconds kLastRetry{2000};

private:
    explicit PulseConnection(Listener listener);
    void ConnectLocked();
    void FailedLocked();
    void WatchOutputsLocked();
    static void OnState(pa_context* c, void* userdata);
    static void OnServerInfo(pa_context* c, const pa_server_info* info, void* userdata);
    static void OnServerEvent(pa_context* c, pa_subscription_event_type_t type, std::uint32_t,
                              void* userdata);
    static void OnRetry(pa_mainloop_api*, pa_time_event*, const timeval*, void* userdata);

    Listener listener_;
    pa_threaded_mainloop* mainloop_ = nullptr;
    pa_mainloop_api* api_ = nullptr;
    pa_context* context_ = nullptr;
    pa_time_event* retryTimer_ = nullptr;
    pa_usec_t retryDelay_ = 0;
    bool serverAnswers_ = true; // until a connection attempt fails
    bool rewinds_ = false;
    bool closed_ = false;
    std::string failure_;
    std::atomic<std::uint64_t> attempts_{0};
    std::atomic<FeedThreadPriority> feedPriority_{FeedThreadPriority::Normal};
};
