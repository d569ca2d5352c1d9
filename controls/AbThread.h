// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TAbThread: a worker thread that can hand calls over to the window thread
// and wait for them (exceptions raised there come back to the worker), be
// paused and resumed from the window thread, asked to stop, and waited for
// without blocking hand-overs the worker is waiting on. The hand-over itself
// is the window thread's one (platform/WindowThread.h).

#include "platform/ThreadPriority.h"
#include "platform/WindowThread.h"

#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <thread>

namespace abthread_detail {
struct Channel;
}

class TAbThread {
public:
    using TThreadMethod = std::function<void()>;
    using TThreadNotify = std::function<void(TAbThread* thread)>;

    // A thread created paused starts working at the first ResumeWorker that
    // lifts the last suspension. One created running starts at Start(): a
    // base constructor must not start a worker that calls the virtual Run of
    // a derived object still under construction.
    explicit TAbThread(bool createPaused);
    TAbThread(const TAbThread&) = delete;
    TAbThread& operator=(const TAbThread&) = delete;
    virtual ~TAbThread();

    // Starts a thread created running; does nothing otherwise.
    void Start();

    // Worker side: runs `call` on the window thread and waits until it has
    // run there. An exception it raises is raised here again. When the
    // program is ending and the call can no longer run, raises
    // EWindowThreadGone, which ends Run like any other exception.
    void RunOnWindowThread(const TThreadMethod& call);

    // Window-thread side.
    void PauseWorker();
    void ResumeWorker();
    void RequestStop();
    // Any thread: waits for the worker to end and returns its return value.
    // On the window thread, hand-overs are still run while waiting.
    std::int32_t WaitForEnd();
    void SetWorkerPriority(TThreadPriority priority);

    TThreadPriority WorkerPriority() const { return priority_; }
    bool Paused() const;
    bool StopRequested() const;
    bool Finished() const;
    bool Started() const;
    bool FreeOnFinish() const;
    void SetFreeOnFinish(bool on);
    // Window thread: hands the object over to its worker for good. The worker
    // is told to stop (and released when paused) and frees the object when it
    // ends; when it has already ended or never started, the object is freed
    // here at once. The caller must not touch it afterwards.
    void ReleaseWhenDone();
    std::int32_t ReturnValue() const { return returnValue_; }
    void SetOnFinished(TThreadNotify handler) { onFinished_ = std::move(handler); }

protected:
    virtual void Run() {}
    // Called on the worker after Run, also when Run ended by an exception.
    virtual void Finish();
    void SetReturnValue(std::int32_t v) { returnValue_ = v; }

    // Worker side: sleeps for `ms` milliseconds, or longer while paused.
    // Returns true when the full time has passed and no stop was requested.
    bool SleepFor(int ms);

private:
    void Launch();
    static void Entry(TAbThread* self, std::shared_ptr<abthread_detail::Channel> channel);

    std::shared_ptr<abthread_detail::Channel> channel_;
    std::thread thread_;
    std::atomic<std::int32_t> returnValue_{0};
    TThreadNotify onFinished_;
    TThreadPriority priority_ = tpNormal;
};

// Set while the program tears down; workers treat it as a stop request and
// hand-overs are no longer run.
bool ApplicationTerminating();

// Ends the thread machinery at the program's end (window thread): marks the
// program as terminating, runs the teardown steps, ends the window thread's
// hand-over (a worker waiting on one is released) and waits until every
// worker has finished. Called once the window thread no longer runs its
// event loop; also installed as a post routine of the application object.
// Other threads may wait for workers meanwhile.
void ShutdownWorkerThreads();

// Adds a step (once per function) that ShutdownWorkerThreads runs on the
// window thread after marking the program as terminating and before waiting
// for the workers: releasing the components that own workers.
void AddTeardownStep(void (*step)());

// Number of workers that have been started and not yet ended.
int RunningWorkerCount();
