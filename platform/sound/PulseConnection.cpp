// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sound/PulseConnection.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {
constexpr const char* kClientName = "orbel";

// What a mixer shows of the program: its name and menu icon.
pa_proplist* ClientProperties() {
    pa_proplist* p = pa_proplist_new();
    pa_proplist_sets(p, PA_PROP_APPLICATION_NAME, kClientName);
    pa_proplist_sets(p, PA_PROP_APPLICATION_ID, "org.orbel.orbel");
    pa_proplist_sets(p, PA_PROP_APPLICATION_ICON_NAME, "orbel");
    return p;
}

pa_usec_t Usec(std::chrono::microseconds us) {
    return static_cast<pa_usec_t>(us.count());
}

timeval InFromNow(pa_usec_t delay) {
    timeval tv;
    pa_gettimeofday(&tv);
    pa_timeval_add(&tv, delay);
    return tv;
}
} // namespace

PulseConnection::PulseConnection(Listener listener)
    : listener_(std::move(listener)), retryDelay_(Usec(kFirstRetry)) {}

std::unique_ptr<PulseConnection> PulseConnection::Create(Listener listener) {
    std::unique_ptr<PulseConnection> c(new PulseConnection(std::move(listener)));
    c->mainloop_ = pa_threaded_mainloop_new();
    if (!c->mainloop_)
        return nullptr;
    c->api_ = pa_threaded_mainloop_get_api(c->mainloop_);
    const timeval now = InFromNow(0);
    c->retryTimer_ = c->api_->time_new(c->api_, &now, &PulseConnection::OnRetry, c.get());
    if (!c->retryTimer_)
        return nullptr; // the destructor frees the loop
    c->api_->time_restart(c->retryTimer_, nullptr);
    return c;
}

bool PulseConnection::Run() {
    ConnectLocked(); // the loop does not run yet: no lock needed
    // The loop's thread feeds the stream: its first act is to ask for the
    // priority that keeps it on time on a busy machine.
    pa_mainloop_api_once(
        api_,
        [](pa_mainloop_api*, void* userdata) {
            static_cast<PulseConnection*>(userdata)->feedPriority_.store(RaiseFeedThreadPriority(),
                                                                         std::memory_order_relaxed);
        },
        this);
    return pa_threaded_mainloop_start(mainloop_) >= 0;
}

PulseConnection::~PulseConnection() {
    if (!mainloop_)
        return;
    {
        Lock lock(*this);
        CloseLocked();
    }
    pa_threaded_mainloop_stop(mainloop_);
    if (context_)
        pa_context_unref(context_);
    pa_threaded_mainloop_free(mainloop_); // frees the timer too
}

void PulseConnection::CloseLocked() {
    if (closed_)
        return;
    closed_ = true;
    if (context_) {
        pa_context_set_state_callback(context_, nullptr, nullptr);
        pa_context_set_subscribe_callback(context_, nullptr, nullptr);
        pa_context_disconnect(context_);
    }
    if (retryTimer_) {
        api_->time_free(retryTimer_);
        retryTimer_ = nullptr;
    }
}

bool PulseConnection::ReadyLocked() const {
    return context_ && pa_context_get_state(context_) == PA_CONTEXT_READY;
}

void PulseConnection::ConnectLocked() {
    attempts_.fetch_add(1, std::memory_order_relaxed);
    rewinds_ = false;
    pa_proplist* properties = ClientProperties();
    context_ = pa_context_new_with_proplist(api_, kClientName, properties);
    pa_proplist_free(properties);
    if (!context_) {
        NoteFailureLocked(pa_strerror(PA_ERR_INTERNAL));
        FailedLocked();
        return;
    }
    pa_context_set_state_callback(context_, &PulseConnection::OnState, this);
    // Never start a server of our own: without one the program is silent.
    if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        NoteFailureLocked();
        FailedLocked();
    }
}

void PulseConnection::NoteFailureLocked() {
    NoteFailureLocked(pa_strerror(context_ ? pa_context_errno(context_) : PA_ERR_INTERNAL));
}

void PulseConnection::FailedLocked() {
    serverAnswers_ = false;
    if (listener_.failed)
        listener_.failed(); // drops the stream while the context still exists
    if (context_) {
        pa_context_set_state_callback(context_, nullptr, nullptr);
        pa_context_set_subscribe_callback(context_, nullptr, nullptr);
        pa_context_disconnect(context_);
        pa_context_unref(context_);
        context_ = nullptr;
    }
    ScheduleRetryLocked();
}

// The next attempt after a wait that doubles with each failure, within
// bounds: a missing server costs nothing but a timer.
void PulseConnection::ScheduleRetryLocked() {
    if (!retryTimer_)
        return;
    const timeval at = InFromNow(retryDelay_);
    api_->time_restart(retryTimer_, &at);
    retryDelay_ = std::min(2 * retryDelay_, Usec(kLastRetry));
}

void PulseConnection::OnRetry(pa_mainloop_api*, pa_time_event*, const timeval*, void* userdata) {
    auto* self = static_cast<PulseConnection*>(userdata);
    self->api_->time_restart(self->retryTimer_, nullptr);
    if (!self->context_)
        self->ConnectLocked();
    else if (self->ReadyLocked() && self->listener_.retry)
        self->listener_.retry();
}

void PulseConnection::OnState(pa_context* c, void* userdata) {
    auto* self = static_cast<PulseConnection*>(userdata);
    if (c != self->context_ || self->closed_)
        return;
    switch (pa_context_get_state(c)) {
    case PA_CONTEXT_READY:
        self->serverAnswers_ = true;
        self->retryDelay_ = Usec(kFirstRetry);
        self->WatchOutputsLocked();
        if (pa_operation* op = pa_context_get_server_info(c, &PulseConnection::OnServerInfo, self))
            pa_operation_unref(op);
        else
            self->NoteFailureLocked();
        if (self->listener_.ready)
            self->listener_.ready();
        break;
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED:
        self->NoteFailureLocked();
        self->FailedLocked();
        break;
    default:
        break;
    }
    self->SignalLocked();
}

// A chosen output that went away may come back: the stream hears of every
// new output and moves back when it is the chosen one.
void PulseConnection::WatchOutputsLocked() {
    pa_context_set_subscribe_callback(context_, &PulseConnection::OnServerEvent, this);
    if (pa_operation* op =
            pa_context_subscribe(context_, PA_SUBSCRIPTION_MASK_SINK, nullptr, nullptr))
        pa_operation_unref(op);
    else
        NoteFailureLocked();
}

void PulseConnection::OnServerInfo(pa_context* c, const pa_server_info* info, void* userdata) {
    auto* self = static_cast<PulseConnection*>(userdata);
    if (c != self->context_ || self->closed_ || !info || !info->server_name)
        return;
    // PipeWire names itself in the server's name ("PulseAudio (on PipeWire
    // 0.3.65)").
    self->rewinds_ = std::strstr(info->server_name, "PipeWire") == nullptr;
}

void PulseConnection::OnServerEvent(pa_context* c, pa_subscription_event_type_t type, std::uint32_t,
                                    void* userdata) {
    auto* self = static_cast<PulseConnection*>(userdata);
    if (c != self->context_ || self->closed_)
        return;
    if ((type & PA_SUBSCRIPTION_EVENT_FACILITY_MASK) == PA_SUBSCRIPTION_EVENT_SINK &&
        (type & PA_SUBSCRIPTION_EVENT_TYPE_MASK) == PA_SUBSCRIPTION_EVENT_NEW &&
        self->listener_.outputAdded)
        self->listener_.outputAdded();
}

bool PulseConnection::WaitLocked(const std::function<bool()>& done,
                                 std::chrono::microseconds timeout) {
    if (done())
        return true;
    bool expired = false;
    struct Timer {
        PulseConnection* self;
        bool* expired;
    } timer{this, &expired};
    const timeval at = InFromNow(Usec(timeout));
    pa_time_event* event = api_->time_new(
        api_, &at,
        [](pa_mainloop_api*, pa_time_event*, const timeval*, void* userdata) {
            auto* t = static_cast<Timer*>(userdata);
            *t->expired = true;
            t->self->SignalLocked();
        },
        &timer);
    while (!done() && !expired && event)
        pa_threaded_mainloop_wait(mainloop_);
    if (event)
        api_->time_free(event);
    return done();
}
