// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/AbThread.h"

#include <QCoreApplication>

#include <pthread.h>
#include <sched.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <utility>
#include <vector>

namespace abthread_detail {

// What the worker and other threads share about one worker. It outlives the
// TAbThread object when that one frees itself on finishing, so a waiter
// never reads a destroyed thread object.
struct Channel {
    std::mutex m;
    std::condition_variable cv;
    int suspensions = 0;
    bool launched = false;
    bool stopRequested = false;
    bool finished = false;
    bool freeOnFinish = false;
    std::int32_t exitCode = 0;
    // Given after `finished` is set; waiting for it on the window thread
    // serves the hand-overs the worker may still be waiting on.
    TThreadEndSignal ended;
};

} // namespace abthread_detail

using abthread_detail::Channel;

namespace {

// Program-wide state about the workers. Its lock is never held while a
// channel's lock or the hand-over lock is taken, and the other way round:
// each is taken alone, so no order between them can deadlock.
struct Globals {
    std::mutex lock;
    std::condition_variable allEnded;
    bool postRoutineInstalled = false;
    std::vector<std::shared_ptr<Channel>> live; // started and not yet ended
    std::vector<void (*)()> teardownSteps;
    std::atomic<bool> terminating{false};
};

Globals& G() {
    static Globals* g = new Globals; // lives to the very end, workers may still read it
    return *g;
}

void ApplyPriority(std::thread& t, TThreadPriority p) {
    if (!t.joinable())
        return;
    // The host scheduler gives ordinary threads no levels of their own; the
    // idle level is the one that maps onto something real. Failures are
    // ignored, as for every priority request.
    sched_param param{};
    param.sched_priority = 0;
    pthread_setschedparam(t.native_handle(), p == tpIdle ? SCHED_IDLE : SCHED_OTHER, &param);
}

// With the program-wide lock held.
void InstallPostRoutine(Globals& g) {
    if (!g.postRoutineInstalled && QCoreApplication::instance() != nullptr) {
        qAddPostRoutine(ShutdownWorkerThreads);
        g.postRoutineInstalled = true;
    }
}

} // namespace

bool ApplicationTerminating() {
    return G().terminating.load();
}

int RunningWorkerCount() {
    std::lock_guard lock(G().lock);
    return int(G().live.size());
}

void AddTeardownStep(void (*step)()) {
    Globals& g = G();
    std::lock_guard lock(g.lock);
    if (std::find(g.teardownSteps.begin(), g.teardownSteps.end(), step) == g.teardownSteps.end())
        g.teardownSteps.push_back(step);
    InstallPostRoutine(g);
}

void ShutdownWorkerThreads() {
    Globals& g = G();
    std::vector<void (*)()> steps;
    std::vector<std::shared_ptr<Channel>> live;
    {
        std::lock_guard lock(g.lock);
        g.terminating = true;
        steps = std::exchange(g.teardownSteps, {});
    }
    for (auto step : steps)
        step();
    // A worker waiting on a hand-over is released with EWindowThreadGone.
    EndWindowThreadHandOvers();
    {
        std::lock_guard lock(g.lock);
        live = g.live;
    }
    // Sleeping and paused workers wake and see the program ending. Their
    // locks are taken one at a time, outside the program-wide lock.
    for (const auto& ch : live) {
        { std::lock_guard chLock(ch->m); }
        ch->cv.notify_all();
    }
    // A Run that ignores the stop conditions is not waited for longer than
    // this.
    constexpr auto kGrace = std::chrono::seconds(5);
    std::unique_lock lock(g.lock);
    g.allEnded.wait_for(lock, kGrace, [&] { return g.live.empty(); });
}

TAbThread::TAbThread(bool createPaused) : channel_(std::make_shared<Channel>()) {
    channel_->suspensions = createPaused ? 1 : 0;
    Globals& g = G();
    std::lock_guard lock(g.lock);
    InstallPostRoutine(g);
}

TAbThread::~TAbThread() {
    const bool onWorker = thread_.joinable() && thread_.get_id() == std::this_thread::get_id();
    if (onWorker) {
        // Freed by its own worker after finishing.
        thread_.detach();
        return;
    }
    bool running;
    {
        std::lock_guard lock(channel_->m);
        running = channel_->launched && !channel_->finished;
        if (running) {
            // A paused worker is released too, so that it ends rather than
            // staying suspended for the rest of the program.
            channel_->stopRequested = true;
            channel_->suspensions = 0;
        }
    }
    if (running) {
        channel_->cv.notify_all();
        WaitForEnd();
    }
    if (thread_.joinable())
        thread_.join();
}

void TAbThread::Start() {
    bool launch;
    {
        std::lock_guard lock(channel_->m);
        launch = channel_->suspensions == 0 && !channel_->launched;
    }
    if (launch)
        Launch();
}

void TAbThread::Launch() {
    Globals& g = G();
    {
        std::lock_guard glock(g.lock);
        if (g.terminating)
            return;
        g.live.push_back(channel_);
    }
    // Held while the thread object is stored, so the worker sees it complete.
    std::lock_guard lock(channel_->m);
    channel_->launched = true;
    thread_ = std::thread(&TAbThread::Entry, this, channel_);
    ApplyPriority(thread_, priority_);
}

void TAbThread::Entry(TAbThread* self, std::shared_ptr<Channel> ch) {
    bool run;
    {
        std::unique_lock lock(ch->m);
        ch->cv.wait(lock, [&] {
            return ch->suspensions == 0 || ch->stopRequested || ApplicationTerminating();
        });
        run = !ch->stopRequested && !ApplicationTerminating();
    }
    if (run) {
        try {
            self->Run();
        } catch (...) {
            // An exception ends Run; the thread still finishes normally.
        }
    }
    try {
        self->Finish();
    } catch (...) {
    }
    // Whether to free is decided under the same lock as ReleaseWhenDone's
    // check, so exactly one side frees the object.
    bool freeIt;
    {
        std::lock_guard lock(ch->m);
        ch->finished = true;
        ch->exitCode = self->returnValue_.load();
        freeIt = ch->freeOnFinish;
    }
    ch->cv.notify_all();
    if (freeIt)
        delete self;
    ch->ended.Give();
    Globals& g = G();
    {
        std::lock_guard lock(g.lock);
        g.live.erase(std::find(g.live.begin(), g.live.end(), ch));
    }
    g.allEnded.notify_all();
}

void TAbThread::Finish() {
    if (onFinished_)
        RunOnWindowThread([this] { onFinished_(this); });
}

void TAbThread::RunOnWindowThread(const TThreadMethod& call) {
    ::RunOnWindowThread(call);
}

void TAbThread::PauseWorker() {
    std::lock_guard lock(channel_->m);
    ++channel_->suspensions;
}

void TAbThread::ResumeWorker() {
    bool launch = false;
    {
        std::lock_guard lock(channel_->m);
        if (channel_->suspensions > 0 && --channel_->suspensions == 0)
            launch = !channel_->launched;
    }
    channel_->cv.notify_all();
    if (launch)
        Launch();
}

void TAbThread::RequestStop() {
    const std::shared_ptr<Channel> ch = channel_; // a freeing worker may end at once
    {
        std::lock_guard lock(ch->m);
        ch->stopRequested = true;
    }
    ch->cv.notify_all();
}

std::int32_t TAbThread::WaitForEnd() {
    const std::shared_ptr<Channel> ch = channel_; // `this` may free itself meanwhile
    {
        std::lock_guard lock(ch->m);
        if (!ch->launched)
            return returnValue_.load();
    }
    ch->ended.Wait();
    std::lock_guard lock(ch->m);
    return ch->exitCode;
}

void TAbThread::SetWorkerPriority(TThreadPriority priority) {
    priority_ = priority;
    std::lock_guard lock(channel_->m);
    ApplyPriority(thread_, priority);
}

bool TAbThread::Started() const {
    std::lock_guard lock(channel_->m);
    return channel_->launched;
}

bool TAbThread::FreeOnFinish() const {
    std::lock_guard lock(channel_->m);
    return channel_->freeOnFinish;
}

void TAbThread::SetFreeOnFinish(bool on) {
    std::lock_guard lock(channel_->m);
    channel_->freeOnFinish = on;
}

void TAbThread::ReleaseWhenDone() {
    // The worker may free this object as soon as the lock is released, so
    // only a local hold on the channel is used from then on.
    const std::shared_ptr<Channel> ch = channel_;
    bool freeHere;
    {
        std::lock_guard lock(ch->m);
        ch->stopRequested = true;
        ch->suspensions = 0;
        freeHere = !ch->launched || ch->finished;
        if (!freeHere)
            ch->freeOnFinish = true;
    }
    ch->cv.notify_all();
    if (freeHere)
        delete this;
}

bool TAbThread::Paused() const {
    std::lock_guard lock(channel_->m);
    return channel_->suspensions > 0;
}

bool TAbThread::StopRequested() const {
    std::lock_guard lock(channel_->m);
    return channel_->stopRequested;
}

bool TAbThread::Finished() const {
    std::lock_guard lock(channel_->m);
    return channel_->finished;
}

bool TAbThread::SleepFor(int ms) {
    Channel& ch = *channel_;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    std::unique_lock lock(ch.m);
    auto stopping = [&] { return ch.stopRequested || ApplicationTerminating(); };
    for (;;) {
        if (stopping())
            return false;
        if (ch.suspensions > 0) {
            // Paused: sleep until resumed or stopped; the interval goes on
            // after that.
            ch.cv.wait(lock);
            continue;
        }
        if (ch.cv.wait_until(lock, deadline) == std::cv_status::timeout) {
            if (ch.suspensions > 0)
                continue;
            return !stopping();
        }
    }
}
