// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one root of every control of a stored layout and of the form that
// holds them: a Qt widget of class W that is also a component. It keeps what
// all of them share: the bounds in the parent, Enabled and Visible, the
// font, the cursor and hint, the declaration of these as stored properties,
// where the widget lies, and the translation of Qt's mouse events into the
// controls' own terms.
//
// Where the widget lies: in the widget of its parent component (the panel
// that encloses it in the stored layout), or in its owner's widget when it
// has no parent component or that one is no widget. Moving it keeps its
// bounds (now in the new parent) and its own Visible setting. A control with
// no parent widget at all is never shown by its Visible setting, as it would
// become a window of its own; the caller shows it.
//
// A disabled control takes no pointer input and lets the pointer through to
// whatever lies beneath it, not only to its parent.
//
// W comes first among the bases, so the component part (and with it
// everything the control owns) goes first when the control is destroyed.

#include "controls/base/Events.h"
#include "controls/base/InputTranslation.h"
#include "core/Component.h"
#include "platform/Cursors.h"
#include "platform/Font.h"
#include "platform/Fonts.h"

#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <optional>
#include <string>

template <class W> class TWidgetComponent : public W, public TComponent {
public:
    // The widget's parent is the owner's widget, if the owner is one.
    explicit TWidgetComponent(TComponent* owner)
        : TWidgetComponent(dynamic_cast<QWidget*>(owner), owner) {}

    void SetParentComponent(TComponent* parent) override {
        TComponent::SetParentComponent(parent);
        QWidget* widget = dynamic_cast<QWidget*>(parent);
        if (!widget)
            widget = dynamic_cast<QWidget*>(Owner());
        if (widget == this->parentWidget())
            return;
        const QRect bounds = this->geometry();
        this->setParent(widget);
        this->setGeometry(bounds);
        // A widget given another parent is hidden until shown again.
        ApplyVisibility();
    }

    // Bounds in the parent, in pixels.
    int Left() const { return this->x(); }
    int Top() const { return this->y(); }
    int Width() const { return this->width(); }
    int Height() const { return this->height(); }
    void SetLeft(int v) { this->move(v, this->y()); }
    void SetTop(int v) { this->move(this->x(), v); }
    void SetWidth(int v) { this->resize(v, this->height()); }
    void SetHeight(int v) { this->resize(this->width(), v); }
    void SetBounds(int left, int top, int width, int height) {
        this->setGeometry(left, top, width, height);
    }

    bool Enabled() const { return enabled_; }
    // Controls that draw their disabled look or drop a press under way
    // override this and call it first.
    virtual void SetEnabled(bool value) {
        enabled_ = value;
        this->setEnabled(value);
        this->setAttribute(Qt::WA_TransparentForMouseEvents, !value);
    }
    bool Visible() const { return visible_; }
    void SetVisible(bool value) {
        visible_ = value;
        ApplyVisibility();
    }

    TFont* Font() { return &font_; }
    const TFont* Font() const { return &font_; }
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor value) {
        cursor_ = value;
        ApplyCursor(*this, value);
    }
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& value) {
        hint_ = value;
        this->setToolTip(QString::fromStdString(value));
    }

    // The pointer's events. The stored layout binds them by handler name;
    // each family stores those it publishes.
    TEventSlot<TNotifyEvent> OnClick;
    TEventSlot<TNotifyEvent> OnDblClick;
    TEventSlot<TMouseEvent> OnMouseDown;
    TEventSlot<TMouseMoveEvent> OnMouseMove;
    TEventSlot<TMouseEvent> OnMouseUp;

protected:
    // A widget with no parent whatever the owner is: the form, a window of
    // its own.
    struct TopLevel {};
    TWidgetComponent(TopLevel, TComponent* owner) : TWidgetComponent(nullptr, owner) {}

    // After the font changed; the widget's own font already follows it.
    virtual void FontChanged() { this->update(); }

    // The shared stored properties, declared once here. Each family calls
    // them in the order its stored layouts list them. Left and Top equal to
    // `originDefault` are left out of a stored layout; without it they are
    // always written.
    static void DeclareBounds(PropertyList& p,
                              std::optional<std::int64_t> originDefault = std::nullopt) {
        p.Int("Left", &TWidgetComponent::Left, &TWidgetComponent::SetLeft, originDefault);
        p.Int("Top", &TWidgetComponent::Top, &TWidgetComponent::SetTop, originDefault);
        p.Int("Width", &TWidgetComponent::Width, &TWidgetComponent::SetWidth);
        p.Int("Height", &TWidgetComponent::Height, &TWidgetComponent::SetHeight);
    }
    static void DeclareCursor(PropertyList& p) {
        p.Int("Cursor", &TWidgetComponent::Cursor, &TWidgetComponent::SetCursor, crDefault);
    }
    static void DeclareEnabled(PropertyList& p) {
        p.Bool("Enabled", &TWidgetComponent::Enabled, &TWidgetComponent::SetEnabled, true);
    }
    static void DeclareFont(PropertyList& p) { p.Object("Font", &TWidgetComponent::Font); }
    static void DeclareHint(PropertyList& p) {
        p.String("Hint", &TWidgetComponent::Hint, &TWidgetComponent::SetHint, std::string());
    }
    static void DeclareVisible(PropertyList& p) {
        p.Bool("Visible", &TWidgetComponent::Visible, &TWidgetComponent::SetVisible, true);
    }
    static void DeclareClickEvents(PropertyList& p) {
        p.Event("OnClick", &TWidgetComponent::OnClick);
        p.Event("OnDblClick", &TWidgetComponent::OnDblClick);
    }
    static void DeclareMouseEvents(PropertyList& p) {
        p.Event("OnMouseDown", &TWidgetComponent::OnMouseDown);
        p.Event("OnMouseMove", &TWidgetComponent::OnMouseMove);
        p.Event("OnMouseUp", &TWidgetComponent::OnMouseUp);
    }

    // Pointer input in the controls' own terms, translated here from Qt's
    // mouse events for every control: a press is MouseDown; the second
    // press of a double click is MouseDown with ssDouble, then DblClick for
    // the left button; a move is MouseMove; a release is MouseUp, then Click
    // when the left button came up over the control. Each fires its event;
    // a control that acts on one overrides it, fires the event where its
    // order wants it (mostly first, by calling the base) and acts.
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
        OnMouseDown(Sender(), button, shift, x, y);
    }
    virtual void MouseMove(TShiftState shift, int x, int y) { OnMouseMove(Sender(), shift, x, y); }
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
        OnMouseUp(Sender(), button, shift, x, y);
    }
    virtual void Click() { OnClick(Sender()); }
    virtual void DblClick() { OnDblClick(Sender()); }
    // The control as its events name it.
    TPersistent* Sender() { return static_cast<TPersistent*>(this); }

    // For a control whose widget class W handles presses itself (a switch
    // button) or lets them through to the parent (a label): presses,
    // releases and double clicks stay with W, and moves go to W before
    // MouseMove.
    void LeavePressesToWidgetClass() { pressesToWidgetClass_ = true; }

    void mousePressEvent(QMouseEvent* event) override {
        if (pressesToWidgetClass_) {
            W::mousePressEvent(event);
            return;
        }
        event->accept();
        const QPoint at = event->position().toPoint();
        MouseDown(MouseButtonOf(event->button()), ShiftOf(*event), at.x(), at.y());
    }

    void mouseDoubleClickEvent(QMouseEvent* event) override {
        if (pressesToWidgetClass_) {
            W::mouseDoubleClickEvent(event);
            return;
        }
        event->accept();
        const QPoint at = event->position().toPoint();
        const QPointer<QWidget> alive(this);
        MouseDown(MouseButtonOf(event->button()), ShiftOf(*event) | ssDouble, at.x(), at.y());
        if (alive && event->button() == Qt::LeftButton)
            DblClick();
    }

    void mouseMoveEvent(QMouseEvent* event) override {
        if (pressesToWidgetClass_)
            W::mouseMoveEvent(event);
        else
            event->accept();
        const QPoint at = event->position().toPoint();
        MouseMove(ShiftOf(*event), at.x(), at.y());
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        if (pressesToWidgetClass_) {
            W::mouseReleaseEvent(event);
            return;
        }
        event->accept();
        const QPoint at = event->position().toPoint();
        const bool click = event->button() == Qt::LeftButton && this->rect().contains(at);
        // A handler may destroy the control (the panel's Exit ends the
        // program).
        const QPointer<QWidget> alive(this);
        MouseUp(MouseButtonOf(event->button()), ShiftOf(*event), at.x(), at.y());
        if (alive && click)
            Click();
    }

private:
    static TShiftState ShiftOf(const QMouseEvent& event) {
        return ShiftStateOf(event.modifiers(), event.buttons());
    }

    TWidgetComponent(QWidget* parent, TComponent* owner) : W(parent), TComponent(owner) {
        // Pointer moves are wanted without a button held: the hints and the
        // cursor over a control's active area follow them.
        this->setMouseTracking(true);
        this->setFont(ToQFont(font_));
        font_.SetOnChange([this](TPersistent*) {
            this->setFont(ToQFont(font_));
            FontChanged();
        });
    }

    void ApplyVisibility() {
        if (this->parentWidget())
            this->setVisible(visible_);
    }

    TFont font_;
    bool enabled_ = true;
    bool visible_ = true;
    TCursor cursor_ = crDefault;
    std::string hint_;
    bool pressesToWidgetClass_ = false;
};
