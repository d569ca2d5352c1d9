#pragma once
// The common part of the standard controls (label, picture, panel, switch
// button): a Qt widget that is also a component of the stored layout, with
// its bounds in the parent, enabled and visible state, focus order, font,
// and the click and pointer-move events.
//
// The widget's parent is the owner when the owner is a widget; the stored
// layout moves it into its enclosing component (SetParentComponent). The
// widget comes first among the bases, so the component part (and with it
// everything the control owns) goes first when the control is destroyed.

#include "controls/base/Events.h"
#include "controls/base/InputTranslation.h"
#include "core/Component.h"
#include "platform/Font.h"
#include "platform/Fonts.h"

#include <QMouseEvent>
#include <QWidget>

#include <string>

// Controls with a window of their own (panels, switch buttons) lie above the
// controls that only draw on their parent, whatever the creation order.
class TStdWindowed {
public:
    virtual ~TStdWindowed() = default;
};

template <class W> class TStdControl : public W, public TComponent {
public:
    explicit TStdControl(TComponent* owner) : W(dynamic_cast<QWidget*>(owner)), TComponent(owner) {
        // Pointer-move events are wanted without a button held, as hints
        // follow the pointer.
        this->setMouseTracking(true);
        font_.SetOnChange([this](TPersistent*) { FontChanged(); });
    }

    std::string ClassName() const override { return "TStdControl"; }

    void DeclareProperties(PropertyList& p) override {
        TComponent::DeclareProperties(p);
        p.Int("Left", &TStdControl::Left, &TStdControl::SetLeft, 0);
        p.Int("Top", &TStdControl::Top, &TStdControl::SetTop, 0);
        p.Int("Width", &TStdControl::Width, &TStdControl::SetWidth);
        p.Int("Height", &TStdControl::Height, &TStdControl::SetHeight);
        p.Bool("Enabled", &TStdControl::Enabled, &TStdControl::SetEnabled, true);
        p.Bool("Visible", &TStdControl::Visible, &TStdControl::SetVisible, true);
        p.Object("Font", &TStdControl::FontObject);
        p.Bool("ParentFont", &TStdControl::ParentFont, &TStdControl::SetParentFont, true);
        p.Int("TabOrder", &TStdControl::TabOrder, &TStdControl::SetTabOrder, -1);
        p.Ident("OnClick", &TStdControl::OnClickName, &TStdControl::BindOnClick);
        p.Ident("OnMouseMove", &TStdControl::OnMouseMoveName, &TStdControl::BindOnMouseMove);
    }

    void SetParentComponent(TComponent* parent) override {
        TComponent::SetParentComponent(parent);
        auto* widget = dynamic_cast<QWidget*>(parent);
        if (widget && widget != this->parentWidget()) {
            const QRect bounds = this->geometry();
            this->setParent(widget);
            this->setGeometry(bounds);
            // A reparented widget is hidden until shown again.
            this->setVisible(visible_);
        }
    }

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
    void SetEnabled(bool v) {
        enabled_ = v;
        this->setEnabled(v);
        // A disabled control lets the pointer through to whatever lies
        // beneath it, not only to its parent.
        this->setAttribute(Qt::WA_TransparentForMouseEvents, !v);
    }
    bool Visible() const { return visible_; }
    void SetVisible(bool v) {
        visible_ = v;
        this->setVisible(v);
    }

    TFont* Font() { return &font_; }
    const TFont* Font() const { return &font_; }
    // Kept for stored layouts; every control of the panel stores its own
    // font, so the parent's font is not followed.
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool v) { parentFont_ = v; }
    int TabOrder() const { return tabOrder_; }
    void SetTabOrder(int v) { tabOrder_ = v; }

    TEventSlot<TNotifyEvent> OnClick;
    TEventSlot<TMouseMoveEvent> OnMouseMove;

protected:
    virtual void FontChanged() {
        this->setFont(ToQFont(font_));
        this->update();
    }

    void mouseMoveEvent(QMouseEvent* event) override {
        W::mouseMoveEvent(event);
        const QPoint at = event->position().toPoint();
        OnMouseMove(static_cast<TPersistent*>(this),
                    ShiftStateOf(event->modifiers(), event->buttons()), at.x(), at.y());
    }

private:
    std::string OnClickName() const { return OnClick.Name(); }
    void BindOnClick(const std::string& name) { OnClick.Bind(*this, name); }
    std::string OnMouseMoveName() const { return OnMouseMove.Name(); }
    void BindOnMouseMove(const std::string& name) { OnMouseMove.Bind(*this, name); }
    TFont* FontObject() { return &font_; }

    TFont font_;
    bool enabled_ = true;
    bool visible_ = true;
    bool parentFont_ = true;
    int tabOrder_ = -1;
};
