// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/button/AbBinGControl.h"

#include "platform/ControlMessage.h"

#include <QPointer>

#include <algorithm>

namespace {
// One guard for the whole program, not one per group: while a group
// propagates its status word, the members it sets do not propagate again.
bool groupPropagationRunning = false;

constexpr int kMaxStatusBit = 31;
} // namespace

TAbBinGControl::TAbBinGControl(TComponent* owner) : TAbGraphicControl(owner) {}

TAbBinGControl::~TAbBinGControl() {
    RemoveFlashClient(this);
}

void TAbBinGControl::DeclareState(PropertyList& props) {
    using T = TAbBinGControl;
    props.Enum("Frequency", &T::Frequency, &T::SetFrequency, FlashFreqNames(), ff1Hz);
    props.Bool("Flashing", &T::Flashing, &T::SetFlashing, false);
    props.Int("GroupIndex", &T::GroupIndex, &T::SetGroupIndex, 0).minValue = 0;
    auto& bit = props.Int("StatusBit", &T::StatusBit, &T::SetStatusBit, 0);
    bit.minValue = 0;
    bit.maxValue = kMaxStatusBit;
    props.Int("StatusInt", &T::StatusInt, &T::SetStatusInt, 0);
    props.Bool("Checked", &T::Checked, &T::SetChecked, false);
    // No default: Mode is always stored, so that loading applies it after
    // StatusInt and Checked and its reset of the status word takes place.
    props.Enum("Mode", &T::Mode, &T::SetMode, ModeNames());
}

void TAbBinGControl::DeclareStatusEvents(PropertyList& props) {
    using T = TAbBinGControl;
    props.Event("OnStatusChanged", &T::OnStatusChanged);
    props.Event("OnStatusIntChanged", &T::OnStatusIntChanged);
}

void TAbBinGControl::DeclarePointerEvents(PropertyList& props) {
    using T = TAbBinGControl;
    DeclareClickEvents(props);
    props.Ident("OnDragDrop", &T::OnDragDropName, &T::SetOnDragDropName);
    props.Ident("OnDragOver", &T::OnDragOverName, &T::SetOnDragOverName);
    props.Ident("OnEndDrag", &T::OnEndDragName, &T::SetOnEndDragName);
    props.Ident("OnStartDrag", &T::OnStartDragName, &T::SetOnStartDragName);
    DeclareMouseEvents(props);
}

void TAbBinGControl::DeclareProperties(PropertyList& props) {
    TComponent::DeclareProperties(props);
    DeclareBounds(props);
    DeclareVisible(props);
    DeclareState(props);
    DeclareStatusEvents(props);
    DeclarePointerEvents(props);
}

void TAbBinGControl::UpdateFlashRegistration() {
    if (checked_ && flashing_)
        AddFlashClient(this, frequency_);
    else
        RemoveFlashClient(this);
}

void TAbBinGControl::SetChecked(bool value) {
    if (value == checked_)
        return;
    checked_ = value;
    UpdateFlashRegistration();
    if (checked_) {
        if (mode_ == mRadioButton)
            SetStatusInt(static_cast<std::int32_t>(Bit()));
        else
            SetStatusInt(static_cast<std::int32_t>(std::uint32_t(statusInt_) | Bit()));
    } else if (mode_ != mRadioButton) {
        SetStatusInt(static_cast<std::int32_t>(std::uint32_t(statusInt_) & ~Bit()));
    }
    Redraw();
    OnStatusChanged(this);
}

void TAbBinGControl::SetStatusInt(std::int32_t value) {
    if (value == statusInt_)
        return;
    statusInt_ = value;
    SetChecked((std::uint32_t(value) & Bit()) != 0);
    StatusIntChanged();
    OnStatusIntChanged(this);
    if (groupIndex_ != 0 && !groupPropagationRunning && Owner() != nullptr)
        PropagateToGroup(*Owner(), groupIndex_, statusInt_);
}

void TAbBinGControl::PropagateToGroup(const TComponent& owner, int group, std::int32_t word) {
    // Reset however the walk ends, also when a handler throws.
    struct Guard {
        Guard() { groupPropagationRunning = true; }
        ~Guard() { groupPropagationRunning = false; }
    } running;
    // Members take the word in the owner's order; each recomputes its own
    // Checked from its own bit. A handler may add or destroy components, so
    // the walk goes over a copy and skips any that has left the owner since.
    const auto members = owner.Components();
    for (TComponent* c : members) {
        const auto& live = owner.Components();
        if (std::find(live.begin(), live.end(), c) == live.end())
            continue;
        auto* member = dynamic_cast<TAbBinGControl*>(c);
        if (member != nullptr && member->groupIndex_ == group)
            member->SetStatusInt(word);
    }
}

void TAbBinGControl::SetStatusBit(int value) {
    if (value == statusBit_ || value < 0 || value > kMaxStatusBit)
        return;
    statusBit_ = value;
    SetChecked((std::uint32_t(statusInt_) & Bit()) != 0);
}

void TAbBinGControl::SetGroupIndex(int value) {
    if (value == groupIndex_ || value < 0)
        return;
    groupIndex_ = value;
    if (value != 0) {
        TAbBinGControl* first = this;
        if (Owner() != nullptr)
            for (TComponent* c : Owner()->Components()) {
                auto* member = dynamic_cast<TAbBinGControl*>(c);
                if (member != nullptr && member->groupIndex_ == value) {
                    first = member;
                    break;
                }
            }
        SetStatusInt(first->statusInt_);
    }
    GroupIndexChanged();
}

void TAbBinGControl::SetMode(TMode value) {
    if (value > mRadioButton)
        return;
    mode_ = value;
    // Also when unchanged: a stored Mode resets the word after loading.
    if (mode_ == mButton)
        SetStatusInt(0);
    else if (mode_ == mRadioButton)
        SetStatusInt(1);
}

void TAbBinGControl::SetFlashing(bool value) {
    if (value == flashing_)
        return;
    flashing_ = value;
    UpdateFlashRegistration();
    Redraw();
    OnStatusChanged(this);
}

void TAbBinGControl::SetFrequency(TFlashFreq value) {
    if (value > ff05Hz)
        return;
    frequency_ = value;
    if (checked_ && flashing_)
        AddFlashClient(this, frequency_);
}

void TAbBinGControl::FlashNotification(const TFlashMessage& message) {
    SetFlashPhase(message.LParam != 0);
}

bool TAbBinGControl::event(QEvent* e) {
    if (e->type() == TControlMessageEvent::EventType()) {
        auto* m = static_cast<TControlMessageEvent*>(e);
        if (m->Msg() == CM_FLASH) {
            SetFlashPhase(m->LParam() != 0);
            return true;
        }
    }
    return TAbGraphicControl::event(e);
}

void TAbBinGControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        if (mode_ != mIndicator)
            pressed_ = true;
        switch (mode_) {
        case mButton:
            SetChecked(true);
            break;
        case mSwitch:
            SetChecked(!checked_);
            break;
        case mRadioButton:
            SetStatusInt(static_cast<std::int32_t>(Bit()));
            break;
        case mIndicator:
            break;
        }
    }
    OnMouseDown(this, button, shift, x, y);
}

void TAbBinGControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    // The click and the release event come before the state machine acts,
    // so their handlers still see a push button down. A handler may destroy
    // the button (the panel's Exit ends the program).
    const QPointer<QWidget> alive(this);
    if (button == mbLeft && rect().contains(x, y))
        OnClick(this);
    if (!alive)
        return;
    OnMouseUp(this, button, shift, x, y);
    if (!alive)
        return;
    if (mode_ == mIndicator || button != mbLeft)
        return;
    pressed_ = false;
    if (mode_ == mButton)
        SetChecked(false);
    Redraw();
}

void TAbBinGControl::ClearPressed() {
    if (!pressed_)
        return;
    pressed_ = false;
    if (mode_ == mButton)
        SetChecked(false);
    Redraw();
}
