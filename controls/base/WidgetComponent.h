#pragma once
// The one root of every control of a stored layout and of the form that
// holds them: a Qt widget of class W that is also a component. It keeps what
// all of them share: the bounds in the parent, Enabled and Visible, the
// font, the cursor and hint, and where the widget lies.
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

#include "core/Component.h"
#include "platform/Cursors.h"
#include "platform/Font.h"
#include "platform/Fonts.h"

#include <QWidget>

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

protected:
    // A widget with no parent whatever the owner is: the form, a window of
    // its own.
    struct TopLevel {};
    TWidgetComponent(TopLevel, TComponent* owner) : TWidgetComponent(nullptr, owner) {}

    // After the font changed; the widget's own font already follows it.
    virtual void FontChanged() { this->update(); }

private:
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
};
