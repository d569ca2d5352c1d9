// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/base/AbGraphicControl.h"

TAbGraphicControl::TAbGraphicControl(TComponent* owner) : TWidgetComponent(owner) {
    setFocusPolicy(Qt::NoFocus);
}

TAbGraphicControl::~TAbGraphicControl() = default;

void TAbGraphicControl::DeclareProperties(PropertyList& props) {
    TComponent::DeclareProperties(props);
    DeclareBounds(props);
    DeclareEnabled(props);
    DeclareFont(props);
    DeclareHint(props);
    DeclareVisible(props);
    DeclareClickEvents(props);
    DeclareMouseEvents(props);
}

void TAbGraphicControl::Invalidate() {
    repaintPending_ = true;
    update();
}

void TAbGraphicControl::RequestSettingsChanged() {
    if (lockCount_ == 0)
        SettingsChanged();
}

// Derived controls paint; the base only notes that the repaint happened.
void TAbGraphicControl::paintEvent(QPaintEvent*) {
    repaintPending_ = false;
}
