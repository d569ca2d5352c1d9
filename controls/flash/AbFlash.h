// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TAbFlash: a non-visual component whose worker wakes every 16 ms and runs
// OnTick on the window thread.

#include "core/Component.h"
#include "platform/ThreadPriority.h"

class TTimerThread;

class TAbFlash : public TComponent {
public:
    explicit TAbFlash(TComponent* owner = nullptr);
    ~TAbFlash() override;

    std::string ClassName() const override { return "TAbFlash"; }
    void DeclareProperties(PropertyList& props) override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on);
    TThreadPriority ThreadPriority() const { return priority_; }
    void SetThreadPriority(TThreadPriority p);
    const TNotifyEvent& OnTick() const { return onTick_; }
    void SetOnTick(TNotifyEvent handler);
    int Interval() const { return interval_; }

    // Runs on the window thread, handed over by the worker.
    void Tick();

    // The worker, for inspection; null only after destruction began.
    TTimerThread* Worker() const { return worker_; }

private:
    void UpdateWorker();

    static constexpr int kIntervalMs = 16;

    bool enabled_ = true;
    int interval_ = kIntervalMs;
    TNotifyEvent onTick_;
    TTimerThread* worker_ = nullptr;
    TThreadPriority priority_ = tpNormal;
    bool destroying_ = false;
};
