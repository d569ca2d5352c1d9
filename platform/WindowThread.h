// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one way other threads have a call run on the window thread: the
// thread that made the application object and runs its event loop.
//
// - RunOnWindowThread(call) waits until the call has run there; an exception
//   it throws is carried back and thrown again in the caller. On the window
//   thread itself the call simply runs.
// - PostToWindowThread(call) queues the call and returns at once, for
//   notices from threads that must never wait for the window thread (such
//   as a sound server's callback thread holding its own lock).
// - Waiting for another thread's end on the window thread (WaitForThreadEnd,
//   TThreadEndSignal::Wait) keeps running the calls handed over meanwhile,
//   and nothing else of the window system, so a thread that hands a call
//   over on its way out cannot deadlock with the window thread waiting for
//   it.
// - At the program's end (when the application object goes, or earlier
//   through EndWindowThreadHandOvers) every caller still waiting is released
//   with EWindowThreadGone, later calls get it at once, and posted calls not
//   yet run are dropped. A new application object opens the hand-over again.
//
// The hand-over lock is never held while a call runs or while the calling
// code holds it, so it can be taken under any other lock.

#include <cstddef>
#include <functional>
#include <stdexcept>

class QThread;

// Thrown to the caller when the window thread is gone (no application
// object, or the program is ending) and can no longer run the call.
class EWindowThreadGone : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// True on the window thread while an application object exists.
bool IsWindowThread();

void RunOnWindowThread(const std::function<void()>& call);

// Does not wait. Returns false, and drops the call, when there is no window
// thread to run it. An exception the call throws is dropped on the window
// thread (nobody waits to hear it).
bool PostToWindowThread(std::function<void()> call);

// Program end: releases waiting callers and refuses further calls until a
// new application object exists. Any thread; runs by itself when the
// application object is destroyed.
void EndWindowThreadHandOvers();

// Calls handed over and not yet run (for diagnostics and tests).
std::size_t PendingWindowThreadCalls();

// A signal that one thread gives once, typically when it has ended, and that
// others wait for; waiting on the window thread keeps serving hand-overs.
class TThreadEndSignal {
public:
    TThreadEndSignal() = default;
    TThreadEndSignal(const TThreadEndSignal&) = delete;
    TThreadEndSignal& operator=(const TThreadEndSignal&) = delete;

    void Give();
    bool Given() const;
    void Wait() const;

private:
    bool given_ = false; // under the hand-over lock
};

// Waits for a Qt thread to end; on the window thread, hand-overs are served
// meanwhile (see above).
void WaitForThreadEnd(QThread& thread);
