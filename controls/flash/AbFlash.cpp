// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/flash/AbFlash.h"

#include "controls/flash/TimerThread.h"

TAbFlash::TAbFlash(TComponent* owner) : TComponent(owner) {
    worker_ = new TTimerThread(this, interval_, /*createPaused=*/true);
}

TAbFlash::~TAbFlash() {
    destroying_ = true;
    // A tick already handed over now finds nothing to do.
    enabled_ = false;
    onTick_ = nullptr;
    if (worker_ != nullptr) {
        // The owner goes first, so the worker never reaches this object; then
        // the worker is told to stop and frees itself. It is not waited for.
        worker_->ClearOwner();
        std::exchange(worker_, nullptr)->ReleaseWhenDone();
    }
}

void TAbFlash::DeclareProperties(PropertyList& props) {
    TComponent::DeclareProperties(props);
    props.Bool("Enabled", &TAbFlash::Enabled, &TAbFlash::SetEnabled, true);
    props.Enum(
        "ThreadPriority", &TAbFlash::ThreadPriority, &TAbFlash::SetThreadPriority,
        {"tpIdle", "tpLowest", "tpLower", "tpNormal", "tpHigher", "tpHighest", "tpTimeCritical"},
        tpNormal);
}

void TAbFlash::SetEnabled(bool on) {
    if (on == enabled_)
        return;
    enabled_ = on;
    UpdateWorker();
}

void TAbFlash::SetThreadPriority(TThreadPriority p) {
    if (p == priority_ || p > tpTimeCritical)
        return;
    priority_ = p;
    UpdateWorker();
}

void TAbFlash::SetOnTick(TNotifyEvent handler) {
    const bool wasAssigned = static_cast<bool>(onTick_);
    onTick_ = std::move(handler);
    // Replacing one handler by another leaves the worker as it is.
    if (wasAssigned != static_cast<bool>(onTick_))
        UpdateWorker();
}

void TAbFlash::UpdateWorker() {
    if (worker_ == nullptr)
        return;
    if (!worker_->Paused())
        worker_->PauseWorker();
    worker_->SetInterval(interval_);
    if (interval_ != 0 && enabled_ && onTick_) {
        worker_->SetWorkerPriority(priority_);
        while (worker_->Paused())
            worker_->ResumeWorker();
    }
}

void TAbFlash::Tick() {
    if (enabled_ && !destroying_ && onTick_)
        onTick_(this);
}
