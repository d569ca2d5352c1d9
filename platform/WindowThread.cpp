// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/WindowThread.h"

#include <QCoreApplication>
#include <QThread>
#include <QtGlobal>

#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

namespace {
// One handed-over call. A waiting caller sleeps until `done`; the window
// thread sets it after running the call, or the program's end sets it
// without running it.
struct Handover {
    std::function<void()> call;
    bool waited = true;       // false: posted, nobody waits for it
    std::exception_ptr error; // the call's exception, for the waiting caller
    bool ran = false;
    bool done = false;
};

// Everything the hand-over shares between threads, under one lock. The Qt
// event that wakes the window thread carries nothing; the calls pass only
// through this queue.
struct HandOverState {
    std::mutex lock;
    // Notified when a call is queued or finished, a thread end signal is
    // given, or the hand-over ends.
    std::condition_variable changed;
    std::thread::id windowThread;    // none while no application exists
    QCoreApplication* app = nullptr; // whose event loop is woken; null once closed
    std::deque<std::shared_ptr<Handover>> pending;
};

HandOverState& State() {
    // Never destroyed: threads may still hand over while static objects go.
    static HandOverState* state = new HandOverState;
    return *state;
}

// Runs on the window thread: every call queued so far.
void RunPending() {
    HandOverState& s = State();
    for (;;) {
        std::shared_ptr<Handover> h;
        {
            std::lock_guard guard(s.lock);
            if (s.pending.empty())
                return;
            h = std::move(s.pending.front());
            s.pending.pop_front();
        }
        std::function<void()> call = std::move(h->call);
        std::exception_ptr error;
        try {
            call();
        } catch (...) {
            error = std::current_exception();
        }
        call = nullptr; // its captures go before the caller goes on
        if (error && !h->waited) {
            try {
                std::rethrow_exception(error);
            } catch (const std::exception& e) {
                qWarning("a call posted to the window thread failed: %s", e.what());
            } catch (...) {
                qWarning("a call posted to the window thread failed");
            }
            error = nullptr;
        }
        {
            std::lock_guard guard(s.lock);
            // Moved, not copied: the caller then holds the only reference, so
            // the exception object is released on one thread only.
            h->error = std::move(error);
            h->ran = true;
            h->done = true;
        }
        s.changed.notify_all();
    }
}

// With the lock held. Wakes the window thread's event loop when the queue
// was empty; a wake-up already under way takes the later calls along.
void Enqueue(HandOverState& s, std::shared_ptr<Handover> h) {
    const bool wasEmpty = s.pending.empty();
    s.pending.push_back(std::move(h));
    // A lambda without captures: the event then carries no data of ours,
    // which the sanitizer could not see pass through Qt's event queue.
    if (wasEmpty)
        QMetaObject::invokeMethod(
            s.app, [] { RunPending(); }, Qt::QueuedConnection);
    // A window thread waiting for a thread's end serves it at once.
    s.changed.notify_all();
}

// On the window thread: waits until `done()` (read under the lock) holds,
// running handed-over calls meanwhile.
template <class Done> void ServeUntil(Done done) {
    HandOverState& s = State();
    std::unique_lock guard(s.lock);
    for (;;) {
        s.changed.wait(guard, [&] { return done() || !s.pending.empty(); });
        if (done())
            return;
        guard.unlock();
        RunPending();
        guard.lock();
    }
}

// Each application object, as it is made (on the window thread), opens the
// hand-over; its destruction ends it.
void WindowThreadEnds() {
    EndWindowThreadHandOvers();
    HandOverState& s = State();
    std::lock_guard guard(s.lock);
    s.windowThread = std::thread::id();
}

void WindowThreadStarts() {
    HandOverState& s = State();
    {
        std::lock_guard guard(s.lock);
        s.app = QCoreApplication::instance();
        s.windowThread = std::this_thread::get_id();
    }
    qAddPostRoutine(WindowThreadEnds);
}
} // namespace

Q_COREAPP_STARTUP_FUNCTION(WindowThreadStarts)

bool IsWindowThread() {
    HandOverState& s = State();
    std::lock_guard guard(s.lock);
    return s.windowThread == std::this_thread::get_id();
}

void RunOnWindowThread(const std::function<void()>& call) {
    if (IsWindowThread()) {
        call();
        return;
    }
    auto h = std::make_shared<Handover>();
    h->call = call;
    HandOverState& s = State();
    std::exception_ptr error;
    {
        std::unique_lock guard(s.lock);
        if (s.app == nullptr)
            throw EWindowThreadGone("no window thread: the application object does not exist");
        Enqueue(s, h);
        s.changed.wait(guard, [&] { return h->done; });
        if (!h->ran)
            throw EWindowThreadGone("the window thread ended before it ran the call");
        error = std::exchange(h->error, nullptr);
    }
    if (error)
        std::rethrow_exception(error);
}

bool PostToWindowThread(std::function<void()> call) {
    auto h = std::make_shared<Handover>();
    h->call = std::move(call);
    h->waited = false;
    HandOverState& s = State();
    std::lock_guard guard(s.lock);
    if (s.app == nullptr)
        return false;
    Enqueue(s, std::move(h));
    return true;
}

void EndWindowThreadHandOvers() {
    HandOverState& s = State();
    {
        std::lock_guard guard(s.lock);
        s.app = nullptr;
        for (auto& h : s.pending)
            h->done = true;
        s.pending.clear();
    }
    s.changed.notify_all();
}

std::size_t PendingWindowThreadCalls() {
    HandOverState& s = State();
    std::lock_guard guard(s.lock);
    return s.pending.size();
}

void TThreadEndSignal::Give() {
    HandOverState& s = State();
    {
        std::lock_guard guard(s.lock);
        given_ = true;
    }
    // The condition variable is not part of this object, which a waiter may
    // destroy as soon as the lock is free.
    s.changed.notify_all();
}

bool TThreadEndSignal::Given() const {
    std::lock_guard guard(State().lock);
    return given_;
}

void TThreadEndSignal::Wait() const {
    if (IsWindowThread()) {
        ServeUntil([this] { return given_; });
        return;
    }
    HandOverState& s = State();
    std::unique_lock guard(s.lock);
    s.changed.wait(guard, [this] { return given_; });
}

void WaitForThreadEnd(QThread& thread) {
    if (IsWindowThread()) {
        auto ended = std::make_shared<TThreadEndSignal>();
        const QMetaObject::Connection connection = QObject::connect(
            &thread, &QThread::finished, &thread, [ended] { ended->Give(); }, Qt::DirectConnection);
        // Connected first: a thread still running now signals its end later.
        if (thread.isRunning())
            ended->Wait();
        QObject::disconnect(connection);
    }
    thread.wait();
}

#if defined(__SANITIZE_THREAD__)
// Qt is not built with the thread sanitizer, so the sanitizer cannot see the
// synchronisation inside QThread and QWaitCondition (futex based): a thread
// object destroyed after its thread has signalled its end looks like a race.
// The same holds for the posted-event queue behind the wake-up of the window
// thread: the event allocated by one thread and freed by the window thread is
// passed under Qt's own (invisible) lock. Only those Qt-internal frames are
// excused.
extern "C" const char* __tsan_default_suppressions() {
    return "race:QWaitCondition::~QWaitCondition\n"
           "race:QWaitCondition::wakeAll\n"
           "race:QCoreApplicationPrivate::sendPostedEvents\n"
           "race:QCoreApplication::postEvent\n"
           "race:QMetaObject::invokeMethodImpl\n";
}
#endif
