#pragma once
// Running a call on the window (GUI) thread from any thread. The caller waits
// until the call has run; an exception it throws is carried back and thrown
// again in the caller. On the window thread itself the call simply runs.

#include <cstddef>
#include <exception>
#include <functional>
#include <stdexcept>

class QThread;

// Thrown to the caller when the window thread went away (the application
// object was destroyed) before it could run the call.
class EWindowThreadGone : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

bool IsWindowThread();
void RunOnWindowThread(const std::function<void()>& call);
// Calls handed over and not yet run (for diagnostics and tests).
std::size_t PendingWindowThreadCalls();

// Waits for a thread to end. On the window thread the window system keeps
// running meanwhile, so that calls the thread hands over with
// RunOnWindowThread still run and the wait cannot deadlock.
void WaitForThreadEnd(QThread& thread);
