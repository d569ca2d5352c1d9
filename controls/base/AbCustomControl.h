// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The root of the panel's windowed controls: a widget component (bounds,
// Enabled, Visible, font, cursor, hint) that takes the keyboard focus, with
// a focus order, the usual click, mouse, key, enter and exit events, and an
// update counter that holds back settings refreshes while the control is
// being set up.

#include "controls/base/Events.h"
#include "controls/base/WidgetComponent.h"

#include <QWidget>

#include <cstdint>
#include <string>

class TAbCustomControl : public TWidgetComponent<QWidget> {
public:
    explicit TAbCustomControl(TComponent* owner);
    ~TAbCustomControl() override;

    std::string ClassName() const override { return "TAbCustomControl"; }
    void DeclareProperties(PropertyList& props) override;

    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool value);
    int TabOrder() const { return tabOrder_; }
    void SetTabOrder(int value) { tabOrder_ = value; }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool value) { parentFont_ = value; }

    // Events beside the pointer's. The stored layout binds them by handler
    // name.
    TEventSlot<TNotifyEvent> OnEnter;
    TEventSlot<TNotifyEvent> OnExit;
    TEventSlot<TKeyEvent> OnKeyDown;
    TEventSlot<TKeyEvent> OnKeyUp;

    // Settings refresh: SettingsChanged does the work (nothing here);
    // RequestSettingsChanged runs it only while no update is pending.
    virtual void SettingsChanged() {}
    virtual void RequestSettingsChanged();
    int UpdateCount() const { return updateCount_; }

    // Repaint request.
    void Invalidate() { update(); }
    bool Focused() const { return hasFocus(); }

protected:
    // A class whose controls stop at the Tab key by default says so in its
    // constructor, so that the stored layout leaves that default out.
    void SetTabStopDefault(bool value) {
        tabStopDefault_ = value;
        SetTabStop(value);
    }
    void BeginUpdate() { ++updateCount_; }
    // Never below 0; returns true when the counter has reached 0.
    bool EndUpdate();

    // Keyboard and focus input in the controls' own terms (the pointer's
    // comes from the widget base). Each fires its event first; derived
    // controls call the base and then act.
    virtual void KeyDown(TKeyCode& key, TShiftState shift);
    virtual void KeyUp(TKeyCode& key, TShiftState shift);
    // `delta` in the window system's units (120 per notch, positive away from
    // the user); true when the control used it.
    virtual bool MouseWheel(TShiftState shift, int delta, int x, int y);
    virtual void DoEnter();
    virtual void DoExit();

    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int updateCount_ = 0;
    bool tabStop_ = false;
    bool tabStopDefault_ = false;
    int tabOrder_ = -1;
    bool parentFont_ = false;
    // Wheel movement smaller than a notch, kept until it adds up to one.
    int wheelRemainder_ = 0;
};
