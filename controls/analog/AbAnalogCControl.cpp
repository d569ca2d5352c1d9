// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/analog/AbAnalogCControl.h"

#include "controls/access/ControlAccessible.h"
#include "controls/analog/AbAnalogGControl.h"
#include "controls/analog/ValueFormat.h"
#include "controls/base/RectHelpers.h"

#include <cmath>
#include <stdexcept>

namespace {

// Wheel deltas by their low byte: one notch away from the user (+120) and
// one towards the user (-120).
constexpr int kWheelAway = 0x78;
constexpr int kWheelToward = 0x88;
constexpr int kLowByte = 0xFF;

} // namespace

const std::vector<std::string>& EnabledKeyNames() {
    static const std::vector<std::string> names{"_VK_PRIOR", "_VK_NEXT", "_VK_END", "_VK_HOME",
                                                "_VK_LEFT",  "_VK_DOWN", "_VK_UP",  "_VK_RIGHT"};
    return names;
}

TAbAnalogCControl::TAbAnalogCControl(TComponent* owner)
    : TAbCustomControl(owner), settings_(std::make_unique<TSignalSettings>()), value_(*settings_) {
    // Held until Loaded, so that every stored Value is applied even when it
    // equals the current one.
    BeginUpdate();
    SetTabStopDefault(true);
    valueText_ = FormatValue(value_.Value(), settings_->ValueFormat());
    digitText_ = std::to_string(value_.Digit());
}

TAbAnalogCControl::~TAbAnalogCControl() {
    // The settings go with the control; nothing may call back into it.
    settings_->SetOnChange(nullptr);
}

void TAbAnalogCControl::DeclareProperties(PropertyList& props) {
    TAbCustomControl::DeclareProperties(props);
    using T = TAbAnalogCControl;
    props.Float("Value", &T::Value, &T::SetValue, 0.0f);
    props.Int("ChangeLarge", &T::ChangeLarge, &T::SetChangeLarge, DefaultChangeLarge);
    props.Int("ChangeSmall", &T::ChangeSmall, &T::SetChangeSmall, DefaultChangeSmall);
    props.Event("OnValueChange", &T::OnValueChange);
    props.Event("OnValueChanged", &T::OnValueChanged);
    props.Object("SignalSettings", &T::SignalSettingsObject);
    props.Color("ColorFocus", &T::ColorFocus, &T::SetColorFocus, DefaultColorFocus);
    props.Color("ColorNonFocus", &T::ColorNonFocus, &T::SetColorNonFocus, DefaultColorNonFocus);
    props.Int("CursorSlide", &T::CursorSlide, &T::SetCursorSlide, crHand);
    props.Bool("EnableKeyboard", &T::EnableKeyboard, &T::SetEnableKeyboard, true);
    props.Set("EnabledKeys", &T::EnabledKeys, &T::SetEnabledKeys, EnabledKeyNames(),
              kAllEnabledKeys);
    props.Ident("ValueIndicator", &T::ValueIndicatorName, &T::BindValueIndicator);
}

void TAbAnalogCControl::Loaded() {
    TAbCustomControl::Loaded();
    settings_->Changed();
    // A Value loaded before the ranges was snapped under the default ranges;
    // its digit is taken again under the loaded ones, so that the first key
    // step starts from where the value is.
    RealignDigit();
    settings_->SetOnChange([this](TPersistent*) { SettingsChanged(); });
    if (!pendingIndicator_.empty()) {
        const std::string name = std::move(pendingIndicator_);
        pendingIndicator_.clear();
        TAbAnalogGControl* indicator = FindIndicator(name);
        if (!indicator)
            throw std::invalid_argument("no analog display control named '" + name + "'");
        SetValueIndicator(indicator);
    }
    if (EndUpdate())
        Invalidate();
}

void TAbAnalogCControl::Notification(TComponent* component, TOperation operation) {
    TAbCustomControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component != nullptr &&
        component == static_cast<TComponent*>(indicator_))
        indicator_ = nullptr;
}

void TAbAnalogCControl::SetValue(float value) {
    if (std::isnan(value))
        return;
    if (value == value_.Value() && UpdateCount() <= 0)
        return;
    if (settings_->DigitsPerValue() == 0.0f)
        settings_->Changed();
    value_.StoreValue(value_.LimitValue(value));
    SetDigit(value_.DigitOf(value_.Value()));
}

void TAbAnalogCControl::SetDigit(std::int32_t digit) {
    if (digit == value_.Digit() && UpdateCount() <= 0)
        return;
    // A digit set before the factors were ever computed would otherwise get
    // the value at the bottom of the range.
    if (settings_->ValuesPerDigit() == 0.0f)
        settings_->Changed();
    value_.StoreDigit(digit);
    DigitChanged();
    if (!IsLoading()) {
        OnValueChange(this);
        NotifyAccessibleValue();
    }
    changed_ = true;
}

void TAbAnalogCControl::NotifyAccessibleValue() {
    // A screen reader follows a dial turned by keyboard, wheel or pointer.
    AnnounceValueChange(this, static_cast<double>(Value()));
}

void TAbAnalogCControl::StepBy(int up, int down) {
    SetDigit(value_.Stepped(up, down));
}

void TAbAnalogCControl::DigitChanged() {
    valueText_ = FormatValue(value_.Value(), settings_->ValueFormat());
    digitText_ = std::to_string(value_.Digit());
    if (indicator_)
        indicator_->SetValue(value_.Value());
}

void TAbAnalogCControl::RealignDigit() {
    value_.Realign();
    DigitChanged();
}

void TAbAnalogCControl::SettingsChanged() {
    if (indicator_)
        indicator_->SignalSettings()->Assign(*settings_);
    RealignDigit();
}

void TAbAnalogCControl::SetColorFocus(TColor value) {
    if (value == colorFocus_)
        return;
    colorFocus_ = value;
    SettingsChanged();
}

void TAbAnalogCControl::SetColorNonFocus(TColor value) {
    if (value == colorNonFocus_)
        return;
    colorNonFocus_ = value;
    SettingsChanged();
}

void TAbAnalogCControl::SetEnabled(bool value) {
    TAbCustomControl::SetEnabled(value);
    DigitChanged();
}

void TAbAnalogCControl::SetValueIndicator(TAbAnalogGControl* indicator) {
    if (indicator_ && indicator_ != indicator)
        RemoveFreeNotification(indicator_);
    indicator_ = indicator;
    if (!indicator_)
        return;
    FreeNotification(indicator_);
    indicator_->SignalSettings()->Assign(*settings_);
    DigitChanged();
}

std::string TAbAnalogCControl::ValueIndicatorName() const {
    if (indicator_)
        return indicator_->Name();
    return pendingIndicator_;
}

TAbAnalogGControl* TAbAnalogCControl::FindIndicator(const std::string& name) const {
    for (const TComponent* c = Owner(); c; c = c->Owner())
        if (TComponent* found = c->FindComponent(name))
            return dynamic_cast<TAbAnalogGControl*>(found);
    return nullptr;
}

// The layout names the indicator; it may stand further down the layout, so
// a name not found yet is kept until loading ends.
void TAbAnalogCControl::BindValueIndicator(const std::string& name) {
    pendingIndicator_.clear();
    if (name.empty()) {
        SetValueIndicator(nullptr);
        return;
    }
    if (TAbAnalogGControl* indicator = FindIndicator(name)) {
        SetValueIndicator(indicator);
        return;
    }
    if (!IsLoading())
        throw std::invalid_argument("no analog display control named '" + name + "'");
    pendingIndicator_ = name;
}

void TAbAnalogCControl::FireValueChanged() {
    if (!changed_)
        return;
    OnValueChanged(this);
    changed_ = false;
}

void TAbAnalogCControl::KeyDown(TKeyCode& key, TShiftState shift) {
    TAbCustomControl::KeyDown(key, shift);
    if (!enableKeyboard_)
        return;
    auto enabled = [this](TEnabledKey k) { return (enabledKeys_ & EnabledKeyBit(k)) != 0; };
    switch (key) {
    case vkPrior:
        if (enabled(ekPrior))
            StepBy(changeLarge_, 0);
        break;
    case vkNext:
        if (enabled(ekNext))
            StepBy(0, changeLarge_);
        break;
    case vkEnd:
        if (enabled(ekEnd))
            SetDigit(settings_->DigitalTo());
        break;
    case vkHome:
        if (enabled(ekHome))
            SetDigit(settings_->DigitalFrom());
        break;
    case vkLeft:
        if (enabled(ekLeft))
            StepBy(0, changeSmall_);
        break;
    case vkUp:
        if (enabled(ekUp))
            StepBy(changeSmall_, 0);
        break;
    case vkRight:
        if (enabled(ekRight))
            StepBy(changeSmall_, 0);
        break;
    case vkDown:
        if (enabled(ekDown))
            StepBy(0, changeSmall_);
        break;
    default:
        break;
    }
}

void TAbAnalogCControl::KeyUp(TKeyCode& key, TShiftState shift) {
    TAbCustomControl::KeyUp(key, shift);
    FireValueChanged();
}

// The wheel steps like the arrow keys; its change is reported with the next
// key or left-button release.
bool TAbAnalogCControl::MouseWheel(TShiftState shift, int delta, int x, int y) {
    TAbCustomControl::MouseWheel(shift, delta, x, y);
    if (IsDesigning())
        return false;
    switch (delta & kLowByte) {
    case kWheelAway:
        StepBy(changeSmall_, 0);
        return true;
    case kWheelToward:
        StepBy(0, changeSmall_);
        return true;
    default:
        return false;
    }
}

bool TAbAnalogCControl::PointInArea(int x, int y) const {
    if (!roundArea_)
        return area_.Left <= x && x < area_.Right && area_.Top <= y && y <= area_.Bottom;
    // The centre of an odd-sized disc lies between pixels.
    return PointInCircle(x, y, area_);
}

void TAbAnalogCControl::TrackPointer(TShiftState, int x, int y, TPoint) {
    lastPoint_ = {x, y};
}

void TAbAnalogCControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TAbCustomControl::MouseDown(button, shift, x, y);
    if (isEnabled() && focusPolicy() != Qt::NoFocus)
        setFocus(Qt::MouseFocusReason);
    if (button != mbLeft)
        return;
    inArea_ = PointInArea(x, y);
    if (inArea_) {
        dragging_ = true;
        TrackPointer(shift, x, y, lastPoint_);
        lastPoint_ = {x, y};
    }
}

void TAbAnalogCControl::MouseMove(TShiftState shift, int x, int y) {
    TAbCustomControl::MouseMove(shift, x, y);
    inArea_ = PointInArea(x, y);
    ShowCursor(inArea_ ? cursorSlide_ : Cursor());
    if (dragging_)
        TrackPointer(shift, x, y, lastPoint_);
}

void TAbAnalogCControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TAbCustomControl::MouseUp(button, shift, x, y);
    if (button != mbLeft)
        return;
    dragging_ = false;
    FireValueChanged();
}

// The slide cursor is only shown, not stored: the stored Cursor stays the
// control's normal one.
void TAbAnalogCControl::ShowCursor(TCursor cursor) {
    if (cursor == shownCursor_)
        return;
    shownCursor_ = cursor;
    ApplyCursor(*this, cursor);
}

void TAbAnalogCControl::DoEnter() {
    TAbCustomControl::DoEnter();
    DigitChanged();
}

void TAbAnalogCControl::DoExit() {
    TAbCustomControl::DoExit();
    DigitChanged();
}
