// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A timer component: OnTimer every Interval milliseconds on the window
// thread, while enabled and a handler is assigned.

#include "core/Component.h"

#include <QTimer>

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);

    std::string ClassName() const override { return "TTimer"; }
    void DeclareProperties(PropertyList& p) override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    int Interval() const { return interval_; }
    void SetInterval(int value);
    const TNotifyEvent& OnTimer() const { return onTimer_; }
    void SetOnTimer(TNotifyEvent handler);
    // Whether ticks are being delivered.
    bool Active() const { return timer_.isActive(); }

private:
    std::string OnTimerName() const { return onTimerName_; }
    void BindOnTimer(const std::string& name);
    void UpdateTimer();

    QTimer timer_;
    bool enabled_ = true;
    int interval_ = 1000;
    TNotifyEvent onTimer_;
    std::string onTimerName_;
};
