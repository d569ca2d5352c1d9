#pragma once
// The root of the panel's non-windowed controls: drawn on the parent's
// surface (the widget paints no background of its own, so the parent shows
// through), never takes the keyboard focus, and is a component of the stored
// layout. It keeps a lock counter that holds back settings refreshes and a
// flag that its own invalidation sets.
//
// QWidget comes first among the bases, as for TAbCustomControl.

#include "controls/base/Events.h"
#include "core/Component.h"
#include "platform/Font.h"

#include <QWidget>

#include <memory>
#include <string>

class TAbGraphicControl : public QWidget, public TComponent {
public:
    // Takes its owner as its parent when the owner is a widget.
    explicit TAbGraphicControl(TComponent* owner);
    ~TAbGraphicControl() override;

    std::string ClassName() const override { return "TAbGraphicControl"; }
    void DeclareProperties(PropertyList& props) override;
    void SetParentComponent(TComponent* parent) override;

    int Left() const { return x(); }
    int Top() const { return y(); }
    int Width() const { return width(); }
    int Height() const { return height(); }
    void SetLeft(int value) { move(value, y()); }
    void SetTop(int value) { move(x(), value); }
    void SetWidth(int value) { resize(value, height()); }
    void SetHeight(int value) { resize(width(), value); }
    void SetBounds(int left, int top, int width, int height) {
        setGeometry(left, top, width, height);
    }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& value);
    TFont* Font() { return font_.get(); }

    TEventSlot<TNotifyEvent> OnClick;
    TEventSlot<TNotifyEvent> OnDblClick;
    TEventSlot<TMouseEvent> OnMouseDown;
    TEventSlot<TMouseMoveEvent> OnMouseMove;
    TEventSlot<TMouseEvent> OnMouseUp;

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
    // After the font changed (the widget's font already follows it).
    virtual void FontChanged() {}

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::string OnClickName() const { return OnClick.Name(); }
    void BindOnClick(const std::string& name) { OnClick.Bind(*this, name); }
    std::string OnDblClickName() const { return OnDblClick.Name(); }
    void BindOnDblClick(const std::string& name) { OnDblClick.Bind(*this, name); }
    std::string OnMouseDownName() const { return OnMouseDown.Name(); }
    void BindOnMouseDown(const std::string& name) { OnMouseDown.Bind(*this, name); }
    std::string OnMouseMoveName() const { return OnMouseMove.Name(); }
    void BindOnMouseMove(const std::string& name) { OnMouseMove.Bind(*this, name); }
    std::string OnMouseUpName() const { return OnMouseUp.Name(); }
    void BindOnMouseUp(const std::string& name) { OnMouseUp.Bind(*this, name); }
    TFont* FontObject() { return font_.get(); }
    void ApplyVisibility();

    int lockCount_ = 0;
    bool repaintPending_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    std::string hint_;
    std::unique_ptr<TFont> font_;
};
