// SPDX-License-Identifier: GPL-3.0-or-later
// Worker threads at the edges: a worker made before the window thread has
// seen any, and the program's end while other threads still wait for
// workers. A program of its own, because the program's end happens once.

#include "controls/AbThread.h"
#include "platform/WindowThread.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// Ends the program with a failure when a scope is not left in time: a
// deadlock then fails the test instead of hanging it.
class Watchdog {
public:
    explicit Watchdog(const char* what) : thread_([this, what] { Watch(what); }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(m_);
            left_ = true;
        }
        cv_.notify_all();
        thread_.join();
    }

private:
    void Watch(const char* what) {
        std::unique_lock lock(m_);
        if (!cv_.wait_for(lock, std::chrono::seconds(30), [&] { return left_; })) {
            std::fprintf(stderr, "FAILED: %s did not return (deadlock)\n", what);
            std::fflush(stderr);
            std::_Exit(1);
        }
    }

    std::mutex m_;
    std::condition_variable cv_;
    bool left_ = false;
    std::thread thread_;
};

// Hands calls over until it has made `calls` of them (-1: no limit), is told
// to stop, or is refused; counts what happened.
class HandOverThread : public TAbThread {
public:
    explicit HandOverThread(int calls) : TAbThread(true), calls_(calls) {}
    std::atomic<int> ran{0};
    std::atomic<int> refused{0};

protected:
    void Run() override {
        for (int i = 0; i != calls_ && !StopRequested(); ++i) {
            try {
                RunOnWindowThread([this] { ++ran; });
            } catch (const EWindowThreadGone&) {
                ++refused;
                return;
            }
        }
    }

private:
    const int calls_;
};

// First in this program: no worker has been made on the window thread yet.
TEST(AbThreadEdges, WorkerMadeOffTheWindowThreadIsServedWhileTheWindowThreadWaits) {
    std::unique_ptr<HandOverThread> worker;
    std::thread([&] { worker = std::make_unique<HandOverThread>(3); }).join();
    worker->ResumeWorker();
    {
        Watchdog dog("WaitForEnd on the window thread");
        worker->WaitForEnd();
    }
    EXPECT_EQ(worker->ran, 3);
}

// Last in this program: the end comes while a worker hands calls over that
// nobody serves and another thread waits for that worker.
TEST(AbThreadEdges, ZProgramEndReleasesHandOversAndThreadsWaitingForWorkers) {
    auto worker = std::make_unique<HandOverThread>(-1);
    worker->ResumeWorker();
    // The end must find the worker inside a hand-over that nobody serves.
    for (int i = 0; i != 5000 && PendingWindowThreadCalls() == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_GT(PendingWindowThreadCalls(), 0u);
    std::atomic<bool> waited{false};
    std::thread waiter([&] {
        worker->WaitForEnd();
        waited = true;
    });
    {
        Watchdog dog("the program's end");
        ShutdownWorkerThreads();
        waiter.join();
    }
    EXPECT_TRUE(waited);
    EXPECT_EQ(RunningWorkerCount(), 0);
    EXPECT_TRUE(worker->Finished());
    // The call pending at the end is refused, not silently dropped.
    EXPECT_EQ(worker->refused, 1);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
