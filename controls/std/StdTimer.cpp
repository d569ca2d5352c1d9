// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/std/StdTimer.h"

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        if (onTimer_)
            onTimer_(this);
    });
}

void TTimer::DeclareProperties(PropertyList& p) {
    TComponent::DeclareProperties(p);
    p.Bool("Enabled", &TTimer::Enabled, &TTimer::SetEnabled, true);
    p.Int("Interval", &TTimer::Interval, &TTimer::SetInterval, 1000);
    p.Ident("OnTimer", &TTimer::OnTimerName, &TTimer::BindOnTimer);
}

void TTimer::SetEnabled(bool value) {
    if (value == enabled_)
        return;
    enabled_ = value;
    UpdateTimer();
}

void TTimer::SetInterval(int value) {
    if (value == interval_)
        return;
    interval_ = value;
    UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
    onTimer_ = std::move(handler);
    onTimerName_.clear();
    UpdateTimer();
}

void TTimer::BindOnTimer(const std::string& name) {
    onTimer_ = BindHandler<TNotifyEvent>(*this, name);
    onTimerName_ = name;
    UpdateTimer();
}

void TTimer::UpdateTimer() {
    // A timer without a handler or with a zero interval would only wake the
    // loop for nothing.
    timer_.stop();
    if (enabled_ && interval_ > 0 && onTimer_)
        timer_.start(interval_);
}
