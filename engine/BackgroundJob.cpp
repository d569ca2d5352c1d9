// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/BackgroundJob.h"

#include <utility>

BackgroundJob::~BackgroundJob() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        ending_ = true;
        next_ = nullptr;
    }
    changed_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

void BackgroundJob::Post(std::function<void()> job) {
    std::function<void()> dropped;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (!thread_.joinable())
            thread_ = std::thread([this] { Run(); });
        dropped = std::exchange(next_, std::move(job));
    }
    changed_.notify_all();
    // A dropped job's captures go here, outside the lock.
}

void BackgroundJob::Wait() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return !running_ && (!next_ || held_); });
}

void BackgroundJob::Hold(bool held) {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        held_ = held;
    }
    changed_.notify_all();
}

void BackgroundJob::Run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return ending_ || (next_ && !held_); });
        if (ending_)
            return;
        std::function<void()> job = std::exchange(next_, nullptr);
        running_ = true;
        lock.unlock();
        job();
        job = nullptr;
        lock.lock();
        running_ = false;
        changed_.notify_all();
    }
}
