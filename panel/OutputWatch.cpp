// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/OutputWatch.h"

#include "engine/SoundOutput.h"
#include "platform/WindowThread.h"

#include <optional>
#include <utility>

OutputWatch::OutputWatch(std::shared_ptr<SoundOutput> output, Report report,
                         std::chrono::milliseconds period)
    : output_(std::move(output)), report_(std::move(report)), period_(period),
      alive_(std::make_shared<bool>(true)), thread_([this] { Run(); }) {}

OutputWatch::~OutputWatch() {
    *alive_ = false;
    {
        std::lock_guard lock(mutex_);
        ending_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void OutputWatch::Follow(const std::string& name) {
    {
        std::lock_guard lock(mutex_);
        if (name == name_)
            return;
        name_ = name;
        renamed_ = true;
    }
    wake_.notify_all();
}

void OutputWatch::Run() {
    instrument::OutputReport told;
    bool toldAny = false;
    std::string name;
    int rate = 0;
    std::unique_lock lock(mutex_);
    while (!ending_) {
        if (renamed_) {
            renamed_ = false;
            name = name_;
            rate = 0;
            toldAny = false;
        }
        lock.unlock();
        // The rate is read once per output (again while it is not known);
        // the volume every time.
        if (rate == 0)
            rate = output_->ReadOutputRate(name).value_or(0);
        const std::optional<OutputVolume> volume = output_->ReadOutputVolume(name);
        instrument::OutputReport now;
        now.rate = rate;
        if (volume) {
            now.leftVolume = volume->left;
            now.rightVolume = volume->right;
        }
        lock.lock();
        // A report on an output no longer followed is not told.
        if (!renamed_ && (!toldAny || now != told)) {
            told = now;
            toldAny = true;
            PostToWindowThread([alive = alive_, report = report_, now] {
                if (*alive)
                    report(now);
            });
        }
        wake_.wait_for(lock, period_, [this] { return ending_ || renamed_; });
    }
}
