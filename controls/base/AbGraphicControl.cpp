#include "controls/base/AbGraphicControl.h"

TAbGraphicControl::TAbGraphicControl(TComponent* owner) : TWidgetComponent(owner) {
    setFocusPolicy(Qt::NoFocus);
}

TAbGraphicControl::~TAbGraphicControl() = default;

void TAbGraphicControl::DeclareProperties(PropertyList& props) {
    TComponent::DeclareProperties(props);
    using T = TAbGraphicControl;
    DeclareBounds(props);
    DeclareEnabled(props);
    DeclareFont(props);
    DeclareHint(props);
    DeclareVisible(props);
    props.Event("OnClick", &T::OnClick);
    props.Event("OnDblClick", &T::OnDblClick);
    props.Event("OnMouseDown", &T::OnMouseDown);
    props.Event("OnMouseMove", &T::OnMouseMove);
    props.Event("OnMouseUp", &T::OnMouseUp);
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

void TAbGraphicControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    OnMouseDown(this, button, shift, x, y);
}

void TAbGraphicControl::MouseMove(TShiftState shift, int x, int y) {
    OnMouseMove(this, shift, x, y);
}

void TAbGraphicControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    OnMouseUp(this, button, shift, x, y);
}

void TAbGraphicControl::Click() {
    OnClick(this);
}

void TAbGraphicControl::DblClick() {
    OnDblClick(this);
}
