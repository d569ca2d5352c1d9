// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs jobs on a thread of its own, one at a time, for work that must not
// hold up the thread that asks for it. Only the latest job waits: posting
// one drops a job not yet started. The thread starts with the first job and
// ends with the object, after the job it runs.

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

class BackgroundJob {
public:
    BackgroundJob() = default;
    ~BackgroundJob();
    BackgroundJob(const BackgroundJob&) = delete;
    BackgroundJob& operator=(const BackgroundJob&) = delete;

    // May throw std::system_error when no thread can be started (the job
    // is then not posted).
    void Post(std::function<void()> job);
    // Returns once no job waits or runs.
    void Wait();
    // While held, posted jobs wait (the one running goes on).
    void Hold(bool held);

private:
    void Run();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::function<void()> next_;
    bool running_ = false;
    bool held_ = false;
    bool ending_ = false;
    std::thread thread_;
};
