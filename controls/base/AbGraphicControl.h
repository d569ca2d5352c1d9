// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The root of the panel's non-windowed controls: a widget component drawn
// on the parent's surface (the widget paints no background of its own, so the
// parent shows through) that never takes the keyboard focus. It keeps a lock
// counter that holds back settings refreshes and a flag that its own
// invalidation sets.

#include "controls/base/Events.h"
#include "controls/base/WidgetComponent.h"

#include <QWidget>

#include <string>

class TAbGraphicControl : public TWidgetComponent<QWidget> {
public:
    explicit TAbGraphicControl(TComponent* owner);
    ~TAbGraphicControl() override;

    std::string ClassName() const override { return "TAbGraphicControl"; }
    void DeclareProperties(PropertyList& props) override;

    // Repaint request; marks the control as waiting for its repaint.
    void Invalidate();
    bool RepaintPending() const { return repaintPending_; }

    // Settings refresh: SettingsChanged does the work (nothing here);
    // RequestSettingsChanged runs it only while the control is not locked.
    virtual void SettingsChanged() {}
    void RequestSettingsChanged();
    int LockCount() const { return lockCount_; }
    void Lock() { ++lockCount_; }
    void Unlock() {
        if (lockCount_ > 0)
            --lockCount_;
    }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int lockCount_ = 0;
    bool repaintPending_ = false;
};
