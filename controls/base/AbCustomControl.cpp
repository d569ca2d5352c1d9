// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/base/AbCustomControl.h"

#include "controls/base/InputTranslation.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QWheelEvent>

namespace {

// One notch of a mouse wheel in the window system's delta units.
constexpr int kWheelNotch = 120;
// The font a control starts with, in points.
constexpr int kDefaultFontSize = 10;

} // namespace

TAbCustomControl::TAbCustomControl(TComponent* owner) : TWidgetComponent(owner) {
    Font()->SetSize(kDefaultFontSize);
    Font()->KeepSetUpAsDefaults();
    setFocusPolicy(Qt::ClickFocus);
}

TAbCustomControl::~TAbCustomControl() = default;

void TAbCustomControl::DeclareProperties(PropertyList& props) {
    TComponent::DeclareProperties(props);
    using T = TAbCustomControl;
    DeclareBounds(props);
    DeclareCursor(props);
    DeclareEnabled(props);
    DeclareFont(props);
    DeclareHint(props);
    props.Bool("ParentFont", &T::ParentFont, &T::SetParentFont, false);
    props.Int("TabOrder", &T::TabOrder, &T::SetTabOrder, -1);
    props.Bool("TabStop", &T::TabStop, &T::SetTabStop, tabStopDefault_);
    DeclareVisible(props);
    DeclareClickEvents(props);
    props.Event("OnEnter", &T::OnEnter);
    props.Event("OnExit", &T::OnExit);
    props.Event("OnKeyDown", &T::OnKeyDown);
    props.Event("OnKeyUp", &T::OnKeyUp);
    DeclareMouseEvents(props);
}

void TAbCustomControl::SetTabStop(bool value) {
    tabStop_ = value;
    setFocusPolicy(value ? Qt::StrongFocus : Qt::ClickFocus);
}

void TAbCustomControl::RequestSettingsChanged() {
    if (updateCount_ == 0)
        SettingsChanged();
}

bool TAbCustomControl::EndUpdate() {
    if (updateCount_ > 0)
        --updateCount_;
    return updateCount_ == 0;
}

void TAbCustomControl::KeyDown(TKeyCode& key, TShiftState shift) {
    OnKeyDown(this, key, shift);
}

void TAbCustomControl::KeyUp(TKeyCode& key, TShiftState shift) {
    OnKeyUp(this, key, shift);
}

bool TAbCustomControl::MouseWheel(TShiftState, int, int, int) {
    return false;
}

void TAbCustomControl::DoEnter() {
    OnEnter(this);
}
void TAbCustomControl::DoExit() {
    OnExit(this);
}

void TAbCustomControl::keyPressEvent(QKeyEvent* event) {
    TKeyCode key = VirtualKeyOf(event->key());
    if (key == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    KeyDown(key, ShiftStateOf(event->modifiers(), Qt::NoButton));
    event->accept();
}

void TAbCustomControl::keyReleaseEvent(QKeyEvent* event) {
    // A held key repeats its press; only the real release counts.
    if (event->isAutoRepeat()) {
        event->accept();
        return;
    }
    TKeyCode key = VirtualKeyOf(event->key());
    KeyUp(key, ShiftStateOf(event->modifiers(), Qt::NoButton));
    event->accept();
}

void TAbCustomControl::wheelEvent(QWheelEvent* event) {
    // Fine-grained wheels and touchpads report parts of a notch, and fast
    // turns several notches at once: the control sees whole notches.
    wheelRemainder_ += event->angleDelta().y();
    const QPoint p = event->position().toPoint();
    const TShiftState shift = ShiftStateOf(event->modifiers(), event->buttons());
    bool used = false;
    while (wheelRemainder_ >= kWheelNotch || wheelRemainder_ <= -kWheelNotch) {
        const int notch = wheelRemainder_ > 0 ? kWheelNotch : -kWheelNotch;
        wheelRemainder_ -= notch;
        used = MouseWheel(shift, notch, p.x(), p.y()) || used;
    }
    if (used)
        event->accept();
    else
        event->ignore();
}

void TAbCustomControl::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    DoEnter();
}

void TAbCustomControl::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    DoExit();
}
