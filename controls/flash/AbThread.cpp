#include "controls/AbThread.h"

#include <QCoreApplication>
#include <QObject>
#include <QSocketNotifier>
#include <QThread>

#include <pthread.h>
#include <sched.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <vector>

namespace abthread_detail {

// What the worker and the window thread share about one worker. It outlives
// the TAbThread object when that one frees itself on finishing, so a queued
// hand-over event or a waiter never reads a destroyed thread object.
struct Channel {
    std::mutex m;
    std::condition_variable cv;
    int suspensions = 0;
    bool launched = false;
    bool stopRequested = false;
    bool finished = false;
    bool freeOnFinish = false;
    std::int32_t exitCode = 0;
    // The call being handed over.
    TAbThread::TThreadMethod call;
    bool pending = false;   // posted, not yet taken by the window thread
    bool done = false;      // ran on the window thread (error holds its exception)
    bool abandoned = false; // the program is ending; hand-overs no longer run
    std::exception_ptr error;
};

} // namespace abthread_detail

using abthread_detail::Channel;

namespace {

// Runs the pending call of `ch`, if any, on the calling (window) thread and
// stores its exception for the worker instead of letting it propagate.
void ServiceHandOver(const std::shared_ptr<Channel>& ch) {
    TAbThread::TThreadMethod call;
    {
        std::lock_guard lock(ch->m);
        if (!ch->pending || ch->abandoned)
            return;
        ch->pending = false;
        ch->error = nullptr;
        call = std::move(ch->call);
        ch->call = nullptr;
    }
    std::exception_ptr error;
    try {
        if (call)
            call();
    } catch (...) {
        error = std::current_exception();
    }
    {
        std::lock_guard lock(ch->m);
        // Moved, not copied: the worker must hold the only reference, or the
        // exception object's release would race between the threads.
        ch->error = std::move(error);
        ch->done = true;
    }
    ch->cv.notify_all();
}

// The hidden window: lives on the window thread and runs the calls workers
// hand over. A worker queues its channel and writes to an event descriptor;
// the window thread's event loop wakes on it. Workers never call into the
// window system themselves.
class HandOverWindow : public QObject {
public:
    HandOverWindow();
    ~HandOverWindow() override;
    // Any thread, with the program-wide lock held.
    // False when no wake-up can be delivered.
    bool Post(std::shared_ptr<Channel> ch);

private:
    void Drain();

    int fd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    std::vector<std::shared_ptr<Channel>> queue_; // under the program-wide lock
};

// Program-wide state, guarded by one lock: the hidden window and its user
// count, the window thread's id, the channels of running workers and their
// number.
struct Globals {
    std::mutex lock;
    std::condition_variable allEnded;
    HandOverWindow* window = nullptr;
    int windowUsers = 0;
    bool postRoutineInstalled = false;
    std::thread::id windowThread;
    std::set<Channel*> live;
    std::vector<void (*)()> teardownSteps;
    int running = 0;
    std::atomic<bool> terminating{false};
};

Globals& G() {
    static Globals* g = new Globals; // lives to the very end, workers may still read it
    return *g;
}

HandOverWindow::HandOverWindow() {
    setObjectName(QStringLiteral("TAbThreadWindow"));
    fd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (fd_ >= 0) {
        notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, [this] { Drain(); });
    }
}

HandOverWindow::~HandOverWindow() {
    delete notifier_;
    if (fd_ >= 0)
        ::close(fd_);
}

bool HandOverWindow::Post(std::shared_ptr<Channel> ch) {
    if (fd_ < 0)
        return false;
    queue_.push_back(std::move(ch));
    const std::uint64_t one = 1;
    (void)!::write(fd_, &one, sizeof one); // only fails when the counter is full, still awake
    return true;
}

void HandOverWindow::Drain() {
    std::uint64_t count = 0;
    (void)!::read(fd_, &count, sizeof count);
    std::vector<std::shared_ptr<Channel>> calls;
    {
        std::lock_guard lock(G().lock);
        calls.swap(queue_);
    }
    for (const auto& ch : calls)
        ServiceHandOver(ch);
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

} // namespace

bool ApplicationTerminating() {
    return G().terminating.load();
}

int RunningWorkerCount() {
    std::lock_guard lock(G().lock);
    return G().running;
}

static void InstallPostRoutine(Globals& g) {
    if (!g.postRoutineInstalled) {
        qAddPostRoutine(ShutdownWorkerThreads);
        g.postRoutineInstalled = true;
    }
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
    HandOverWindow* window = nullptr;
    std::vector<void (*)()> steps;
    {
        std::lock_guard lock(g.lock);
        g.terminating = true;
        steps = std::move(g.teardownSteps);
        g.teardownSteps.clear();
    }
    for (auto step : steps)
        step();
    {
        std::lock_guard lock(g.lock);
        for (Channel* ch : g.live) {
            {
                std::lock_guard chLock(ch->m);
                ch->abandoned = true;
            }
            ch->cv.notify_all();
        }
        window = std::exchange(g.window, nullptr);
    }
    {
        // Every worker now sees the program ending at its next wake-up or at
        // once when it is waiting on a hand-over. A Run that ignores the
        // stop conditions is not waited for longer than this.
        constexpr auto kGrace = std::chrono::seconds(5);
        std::unique_lock lock(g.lock);
        g.allEnded.wait_for(lock, kGrace, [&] { return g.running == 0; });
    }
    delete window;
}

bool TAbThread::IsWindowThread() {
    std::lock_guard lock(G().lock);
    return G().window != nullptr && G().windowThread == std::this_thread::get_id();
}

TAbThread::TAbThread(bool createPaused) : channel_(std::make_shared<Channel>()) {
    channel_->suspensions = createPaused ? 1 : 0;
    Globals& g = G();
    std::lock_guard lock(g.lock);
    if (g.window == nullptr && !g.terminating && QCoreApplication::instance() != nullptr) {
        g.window = new HandOverWindow;
        QThread* appThread = QCoreApplication::instance()->thread();
        if (appThread != QThread::currentThread())
            g.window->moveToThread(appThread);
        else
            g.windowThread = std::this_thread::get_id();
        InstallPostRoutine(g);
    }
    if (g.window != nullptr)
        ++g.windowUsers;
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
        g.live.insert(channel_.get());
        ++g.running;
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
        ch->cv.wait(lock,
                    [&] { return ch->suspensions == 0 || ch->stopRequested || ch->abandoned; });
        run = !ch->stopRequested && !ch->abandoned;
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
    Globals& g = G();
    {
        std::lock_guard lock(g.lock);
        g.live.erase(ch.get());
        --g.running;
    }
    g.allEnded.notify_all();
}

void TAbThread::Finish() {
    if (onFinished_)
        RunOnWindowThread([this] { onFinished_(this); });
}

void TAbThread::RunOnWindowThread(const TThreadMethod& call) {
    if (IsWindowThread()) {
        call();
        return;
    }
    const std::shared_ptr<Channel>& ch = channel_;
    {
        std::lock_guard lock(ch->m);
        if (ch->abandoned)
            return;
        ch->error = nullptr;
        ch->call = call;
        ch->pending = true;
        ch->done = false;
    }
    bool posted = false;
    {
        Globals& g = G();
        std::lock_guard lock(g.lock);
        if (g.window != nullptr && !g.terminating) {
            posted = g.window->Post(ch);
        }
    }
    std::exception_ptr error;
    {
        std::unique_lock lock(ch->m);
        if (posted) {
            // A WaitForEnd on the window thread may be waiting for this too.
            ch->cv.notify_all();
            ch->cv.wait(lock, [&] { return ch->done || ch->abandoned; });
        }
        if (!ch->done) {
            ch->pending = false;
            ch->call = nullptr;
            return;
        }
        error = std::exchange(ch->error, nullptr);
    }
    if (error)
        std::rethrow_exception(error);
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
    std::shared_ptr<Channel> ch = channel_; // `this` may free itself meanwhile
    std::unique_lock lock(ch->m);
    if (!ch->launched)
        return returnValue_.load();
    if (IsWindowThread()) {
        // Keep running this worker's hand-overs, or it could never end.
        for (;;) {
            ch->cv.wait(lock, [&] { return ch->finished || (ch->pending && !ch->abandoned); });
            if (ch->finished)
                break;
            lock.unlock();
            ServiceHandOver(ch);
            lock.lock();
        }
    } else {
        ch->cv.wait(lock, [&] { return ch->finished; });
    }
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
    auto stopping = [&] { return ch.stopRequested || ch.abandoned || ApplicationTerminating(); };
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
