// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The common part of the standard controls (label, picture, panel, switch
// button): the widget component (bounds, Enabled, Visible, font, where the
// widget lies) with a focus order and the click and pointer-move events.

#include "controls/base/Events.h"
#include "controls/base/WidgetComponent.h"

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
    explicit TStdControl(TComponent* owner) : TWidgetComponent<W>(owner) {
        // A switch button checks itself on a click; a label or picture lets
        // presses through to what holds it.
        this->LeavePressesToWidgetClass();
    }

    std::string ClassName() const override { return "TStdControl"; }

    void DeclareProperties(PropertyList& p) override {
        this->TComponent::DeclareProperties(p);
        this->DeclareBounds(p, 0);
        this->DeclareEnabled(p);
        this->DeclareVisible(p);
        this->DeclareFont(p);
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

private:
    bool parentFont_ = true;
    int tabOrder_ = -1;
};
