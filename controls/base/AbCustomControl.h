#pragma once
// The root of the panel's windowed controls: a Qt widget that is also a
// component of the stored layout. It carries the properties every windowed
// control stores (bounds, enabled, visible, focus order, font, cursor, hint),
// the usual click, mouse, key, enter and exit events, and an update counter
// that holds back settings refreshes while the control is being set up.
//
// QWidget comes first among the bases: the component part is destroyed
// first, so an owner destroys the components it owns before its widget
// part deletes its remaining child widgets.

#include "controls/base/Events.h"
#include "core/Component.h"
#include "platform/Cursors.h"
#include "platform/Font.h"

#include <QWidget>

#include <cstdint>
#include <memory>
#include <string>

class TAbCustomControl : public QWidget, public TComponent {
public:
    // The widget's parent is the owner when the owner is a widget; the
    // stored layout moves it into its enclosing component (SetParentComponent).
    explicit TAbCustomControl(TComponent* owner);
    ~TAbCustomControl() override;

    std::string ClassName() const override { return "TAbCustomControl"; }
    void DeclareProperties(PropertyList& props) override;
    void SetParentComponent(TComponent* parent) override;

    // Bounds in the parent, in pixels.
    int Left() const { return x(); }
    int Top() const { return y(); }
    int Width() const { return width(); }
    int Height() const { return height(); }
    void SetLeft(int value);
    void SetTop(int value);
    void SetWidth(int value);
    void SetHeight(int value);
    void SetBounds(int left, int top, int width, int height);

    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool value);
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool value);
    int TabOrder() const { return tabOrder_; }
    void SetTabOrder(int value) { tabOrder_ = value; }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool value) { parentFont_ = value; }
    TFont* Font() { return font_.get(); }
    const TFont* Font() const { return font_.get(); }
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor value);
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& value);

    // Events. The stored layout binds them by handler name.
    TEventSlot<TNotifyEvent> OnClick;
    TEventSlot<TNotifyEvent> OnDblClick;
    TEventSlot<TNotifyEvent> OnEnter;
    TEventSlot<TNotifyEvent> OnExit;
    TEventSlot<TKeyEvent> OnKeyDown;
    TEventSlot<TKeyEvent> OnKeyUp;
    TEventSlot<TMouseEvent> OnMouseDown;
    TEventSlot<TMouseMoveEvent> OnMouseMove;
    TEventSlot<TMouseEvent> OnMouseUp;

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

    // Input in the controls' own terms. Each fires its event first; derived
    // controls call the base and then act.
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void KeyDown(TKeyCode& key, TShiftState shift);
    virtual void KeyUp(TKeyCode& key, TShiftState shift);
    // `delta` in the window system's units (120 per notch, positive away from
    // the user); true when the control used it.
    virtual bool MouseWheel(TShiftState shift, int delta, int x, int y);
    virtual void Click();
    virtual void DblClick();
    virtual void DoEnter();
    virtual void DoExit();

    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // Getters and setters the stored layout uses for the events.
    std::string OnClickName() const { return OnClick.Name(); }
    void BindOnClick(const std::string& name) { OnClick.Bind(*this, name); }
    std::string OnDblClickName() const { return OnDblClick.Name(); }
    void BindOnDblClick(const std::string& name) { OnDblClick.Bind(*this, name); }
    std::string OnEnterName() const { return OnEnter.Name(); }
    void BindOnEnter(const std::string& name) { OnEnter.Bind(*this, name); }
    std::string OnExitName() const { return OnExit.Name(); }
    void BindOnExit(const std::string& name) { OnExit.Bind(*this, name); }
    std::string OnKeyDownName() const { return OnKeyDown.Name(); }
    void BindOnKeyDown(const std::string& name) { OnKeyDown.Bind(*this, name); }
    std::string OnKeyUpName() const { return OnKeyUp.Name(); }
    void BindOnKeyUp(const std::string& name) { OnKeyUp.Bind(*this, name); }
    std::string OnMouseDownName() const { return OnMouseDown.Name(); }
    void BindOnMouseDown(const std::string& name) { OnMouseDown.Bind(*this, name); }
    std::string OnMouseMoveName() const { return OnMouseMove.Name(); }
    void BindOnMouseMove(const std::string& name) { OnMouseMove.Bind(*this, name); }
    std::string OnMouseUpName() const { return OnMouseUp.Name(); }
    void BindOnMouseUp(const std::string& name) { OnMouseUp.Bind(*this, name); }
    TFont* FontObject() { return font_.get(); }

    void ApplyVisibility();

    int updateCount_ = 0;
    bool enabled_ = true;
    bool visible_ = true;
    bool tabStop_ = false;
    bool tabStopDefault_ = false;
    int tabOrder_ = -1;
    bool parentFont_ = false;
    TCursor cursor_ = crDefault;
    std::string hint_;
    std::unique_ptr<TFont> font_;
    // Wheel movement smaller than a notch, kept until it adds up to one.
    int wheelRemainder_ = 0;
};
