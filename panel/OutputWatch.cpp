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

void OutputWatch::Follow(const std::string& name, bool volume) {
    {
        std::lock_guard lock(mutex_);
        if (name == name_ && volume == volume_)
            return;
        name_ = name;
        volume_ = volume;
        renamed_ = true;
    }
    wake_.notify_all();
}

void OutputWatch::Run() {
    instrument::OutputReport told;
    bool toldAny = false;
    std::string name;
    bool volume = false;
    int rate = 0;
    std::unique_lock lock(mutex_);
    while (!ending_) {
        if (renamed_) {
            renamed_ = false;
            if (name != name_)
                rate = 0;
            name = name_;
            volume = volume_;
            toldAny = false;
        }
        lock.unlock();
        if (rate == 0)
            rate = output_->ReadOutputRate(name).value_or(0);
        instrument::OutputReport now;
        now.rate = rate;
        if (volume)
            if (const std::optional<OutputVolume> v = output_->ReadOutputVolume(name)) {
                now.leftVolume = v->left;
                now.rightVolume = v->right;
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
        // Nothing more to ask until the output changes: its rate is known
        // and its volume does not matter.
        if (rate != 0 && !volume)
            wake_.wait(lock, [this] { return ending_ || renamed_; });
        else
            wake_.wait_for(lock, period_, [this] { return ending_ || renamed_; });
    }
}
