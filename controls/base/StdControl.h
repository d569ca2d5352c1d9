#pragma once
// The common part of the standard controls (label, picture, panel, switch
// button): the widget component (bounds, Enabled, Visible, font, where the
// widget lies) with a focus order and the click and pointer-move events.

#include "controls/base/Events.h"
#include "controls/base/InputTranslation.h"
#include "controls/base/WidgetComponent.h"

#include <QMouseEvent>
#include <QWidget>

#include <string>

// Controls with a window of their own (panels, switch buttons) lie above the
// controls that only draw on their parent, whatever the creation order.
class TStdWindowed {
public:
    virtual ~TStdWindowed() = default;
};

template <class W> class TStdControl : public TWidgetComponent<W> {
public:
    explicit TStdControl(TComponent* owner) : TWidgetComponent<W>(owner) {}

    std::string ClassName() const override { return "TStdControl"; }

    void DeclareProperties(PropertyList& p) override {
        this->TComponent::DeclareProperties(p);
        p.Int("Left", &TStdControl::Left, &TStdControl::SetLeft, 0);
        p.Int("Top", &TStdControl::Top, &TStdControl::SetTop, 0);
        p.Int("Width", &TStdControl::Width, &TStdControl::SetWidth);
        p.Int("Height", &TStdControl::Height, &TStdControl::SetHeight);
        p.Bool("Enabled", &TStdControl::Enabled, &TStdControl::SetEnabled, true);
        p.Bool("Visible", &TStdControl::Visible, &TStdControl::SetVisible, true);
        p.Object("Font", &TStdControl::Font);
        p.Bool("ParentFont", &TStdControl::ParentFont, &TStdControl::SetParentFont, true);
        p.Int("TabOrder", &TStdControl::TabOrder, &TStdControl::SetTabOrder, -1);
        p.Event("OnClick", &TStdControl::OnClick);
        p.Event("OnMouseMove", &TStdControl::OnMouseMove);
    }

    // Kept for stored layouts; every control of the panel stores its own
    // font, so the parent's font is not followed.
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool v) { parentFont_ = v; }
    int TabOrder() const { return tabOrder_; }
    void SetTabOrder(int v) { tabOrder_ = v; }

    TEventSlot<TNotifyEvent> OnClick;
    TEventSlot<TMouseMoveEvent> OnMouseMove;

protected:
    void mouseMoveEvent(QMouseEvent* event) override {
        W::mouseMoveEvent(event);
        const QPoint at = event->position().toPoint();
        OnMouseMove(static_cast<TPersistent*>(this),
                    ShiftStateOf(event->modifiers(), event->buttons()), at.x(), at.y());
    }

private:
    bool parentFont_ = true;
    int tabOrder_ = -1;
};
