// SPDX-License-Identifier: GPL-3.0-or-later
// Handing calls over to the window thread: where they run, what comes back,
// posted calls, the program's end, and that waiting for a worker on the
// window thread cannot deadlock.

#include "platform/WindowThread.h"

#include <QCoreApplication>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {
// Each test makes its own application, so that one can also end it.
class WindowThreadTest : public testing::Test {
protected:
    void SetUp() override { app_ = std::make_unique<QCoreApplication>(argc_, argv_); }
    void TearDown() override { app_.reset(); }

    int argc_ = 1;
    char name_[5] = "test";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QCoreApplication> app_;
};

// A worker whose body is a callable, run as a QThread.
std::unique_ptr<QThread> Worker(std::function<void()> body) {
    return std::unique_ptr<QThread>(QThread::create(std::move(body)));
}
} // namespace

TEST_F(WindowThreadTest, RunsAtOnceOnTheWindowThread) {
    EXPECT_TRUE(IsWindowThread());
    int calls = 0;
    RunOnWindowThread([&] { ++calls; });
    EXPECT_EQ(calls, 1);
    EXPECT_THROW(RunOnWindowThread([] { throw std::logic_error("x"); }), std::logic_error);
}

TEST_F(WindowThreadTest, WorkerCallsRunOnTheWindowThreadAndCarryExceptionsBack) {
    QThread* windowThread = QThread::currentThread();
    std::atomic<int> ranOnWindowThread{0};
    std::atomic<bool> workerWasWindowThread{true};
    std::string carried;
    int sum = 0; // touched by the handed-over calls only, so no lock
    auto worker = Worker([&] {
        workerWasWindowThread = IsWindowThread();
        for (int i = 1; i <= 10; ++i)
            RunOnWindowThread([&, i] {
                sum += i;
                if (QThread::currentThread() == windowThread)
                    ++ranOnWindowThread;
            });
        try {
            RunOnWindowThread([] { throw std::runtime_error("from the window thread"); });
        } catch (const std::runtime_error& e) {
            carried = e.what();
        }
    });
    worker->start();
    WaitForThreadEnd(*worker);
    EXPECT_FALSE(workerWasWindowThread);
    EXPECT_EQ(ranOnWindowThread, 10);
    EXPECT_EQ(sum, 55);
    EXPECT_EQ(carried, "from the window thread");
    EXPECT_EQ(PendingWindowThreadCalls(), 0u);
}

TEST_F(WindowThreadTest, WaitingForAFinishedThreadReturns) {
    auto worker = Worker([] {});
    worker->start();
    worker->wait();
    WaitForThreadEnd(*worker);
    EXPECT_TRUE(worker->isFinished());
}

TEST_F(WindowThreadTest, WaitOffTheWindowThreadIsPlain) {
    std::atomic<bool> innerDone{false};
    auto inner = Worker([&] { innerDone = true; });
    auto outer = Worker([&] {
        inner->start();
        WaitForThreadEnd(*inner);
    });
    outer->start();
    WaitForThreadEnd(*outer);
    EXPECT_TRUE(innerDone);
}

TEST_F(WindowThreadTest, CallerIsReleasedWhenTheApplicationEndsFirst) {
    std::atomic<bool> gone{false};
    std::atomic<bool> ran{false};
    std::thread worker([&] {
        try {
            RunOnWindowThread([&] { ran = true; });
        } catch (const EWindowThreadGone&) {
            gone = true;
        }
    });
    // Wait until the call is queued, then end the application without
    // running its events.
    while (PendingWindowThreadCalls() == 0)
        std::this_thread::yield();
    app_.reset();
    worker.join();
    EXPECT_TRUE(gone);
    EXPECT_FALSE(ran);
    EXPECT_EQ(PendingWindowThreadCalls(), 0u);
}

TEST_F(WindowThreadTest, PostedCallsRunLaterInOrderAndTheirExceptionsStayThere) {
    std::vector<int> order; // touched by the handed-over calls only
    bool posted = false;
    std::thread worker([&] {
        posted = PostToWindowThread([&] { order.push_back(1); }) &&
                 PostToWindowThread([] { throw std::runtime_error("dropped"); }) &&
                 PostToWindowThread([&] { order.push_back(2); });
        RunOnWindowThread([&] { order.push_back(3); });
    });
    std::atomic<bool> joined{false};
    std::thread joiner([&] {
        worker.join();
        joined = true;
    });
    while (!joined)
        QCoreApplication::processEvents();
    joiner.join();
    EXPECT_TRUE(posted);
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

TEST_F(WindowThreadTest, EndedHandOverRefusesOtherThreadsButNotTheWindowThread) {
    EndWindowThreadHandOvers();
    bool refused = false;
    std::thread worker([&] {
        try {
            RunOnWindowThread([] {});
        } catch (const EWindowThreadGone&) {
            refused = !PostToWindowThread([] {});
        }
    });
    worker.join();
    EXPECT_TRUE(refused);
    int calls = 0;
    RunOnWindowThread([&] { ++calls; });
    EXPECT_EQ(calls, 1);
}

TEST_F(WindowThreadTest, EndSignalWaitedForOnTheWindowThreadServesHandOvers) {
    TThreadEndSignal ended;
    int served = 0;
    std::thread worker([&] {
        for (int i = 0; i < 3; ++i)
            RunOnWindowThread([&] { ++served; });
        ended.Give();
    });
    ended.Wait();
    worker.join();
    EXPECT_EQ(served, 3);
    EXPECT_TRUE(ended.Given());
}

TEST(WindowThreadWithoutApplication, RefusesToHandOver) {
    EXPECT_FALSE(IsWindowThread());
    EXPECT_THROW(RunOnWindowThread([] {}), EWindowThreadGone);
    EXPECT_FALSE(PostToWindowThread([] {}));
}
