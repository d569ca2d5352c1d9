#include "platform/WindowThread.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>
#include <QThread>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>

namespace {
// One handed-over call. The caller waits on `done`; the window thread sets
// it after running the call, or when the application goes away first.
struct Handover {
    std::function<void()> call;
    std::exception_ptr error;
    bool ran = false;
    bool done = false;
};

// The calls waiting for the window thread. The data passes only through
// this queue, under its own lock; the Qt event that wakes the window thread
// carries nothing.
struct HandoverQueue {
    std::mutex lock;
    std::condition_variable finished;
    std::deque<std::shared_ptr<Handover>> pending;
    QCoreApplication* watchedApp = nullptr; // whose end fails the pending calls
};

HandoverQueue& Queue() {
    static HandoverQueue queue;
    return queue;
}

void Finish(Handover& h) {
    auto& q = Queue();
    std::lock_guard guard(q.lock);
    h.done = true;
    q.finished.notify_all();
}

// Runs on the window thread: every call queued so far.
void RunPending() {
    auto& q = Queue();
    for (;;) {
        std::shared_ptr<Handover> h;
        {
            std::lock_guard guard(q.lock);
            if (q.pending.empty())
                return;
            h = std::move(q.pending.front());
            q.pending.pop_front();
        }
        try {
            h->call();
        } catch (...) {
            h->error = std::current_exception();
        }
        h->ran = true;
        Finish(*h);
    }
}

// When the application object goes, nothing will run the waiting calls:
// release their callers.
void FailPending() {
    auto& q = Queue();
    std::lock_guard guard(q.lock);
    for (auto& h : q.pending)
        h->done = true;
    q.pending.clear();
    q.watchedApp = nullptr;
    q.finished.notify_all();
}
} // namespace

bool IsWindowThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

void RunOnWindowThread(const std::function<void()>& call) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        throw EWindowThreadGone("no window thread: the application object does not exist");
    if (QThread::currentThread() == app->thread()) {
        call();
        return;
    }
    auto h = std::make_shared<Handover>();
    h->call = call;
    auto& q = Queue();
    {
        std::lock_guard guard(q.lock);
        if (q.watchedApp != app) {
            q.watchedApp = app;
            QObject::connect(app, &QObject::destroyed, [] { FailPending(); });
        }
        q.pending.push_back(h);
    }
    QMetaObject::invokeMethod(
        app, [] { RunPending(); }, Qt::QueuedConnection);
    {
        std::unique_lock guard(q.lock);
        q.finished.wait(guard, [&] { return h->done; });
    }
    if (!h->ran)
        throw EWindowThreadGone("the window thread ended before it ran the call");
    if (h->error)
        std::rethrow_exception(h->error);
}

std::size_t PendingWindowThreadCalls() {
    auto& q = Queue();
    std::lock_guard guard(q.lock);
    return q.pending.size();
}

void WaitForThreadEnd(QThread& thread) {
    if (!IsWindowThread()) {
        thread.wait();
        return;
    }
    // Keep serving handed-over calls (but not the user's input) until the
    // thread has finished.
    QEventLoop loop;
    QObject::connect(&thread, &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    if (!thread.isFinished() && thread.isRunning())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    thread.wait();
}

#if defined(__SANITIZE_THREAD__)
// Qt is not built with the thread sanitizer, so the sanitizer cannot see the
// synchronisation inside QThread and QWaitCondition (futex based): a thread
// object destroyed after its thread has signalled its end looks like a race.
// The same holds for the posted-event queue behind a handed-over call: the
// event allocated by the worker and freed by the window thread is passed
// under Qt's own (invisible) lock. Only those Qt-internal frames are excused.
extern "C" const char* __tsan_default_suppressions() {
    return "race:QWaitCondition::~QWaitCondition\n"
           "race:QWaitCondition::wakeAll\n"
           "race:QCoreApplicationPrivate::sendPostedEvents\n"
           "race:QCoreApplication::postEvent\n"
           "race:QMetaObject::invokeMethodImpl\n";
}
#endif
