// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The base of the analog input controls (the panel's dials): one number on
// two scales, a float Value and an integer Digit over the ranges of the
// control's TSignalSettings, set from code, by keys, by the wheel and by
// dragging with the pointer over the control's active area.
//
// OnValueChange fires at every digit change made after loading;
// OnValueChanged fires once the gesture that changed the digit ends, at the
// next key release or left-button release. A derived control supplies the
// active area, turns pointer positions into digits (TrackPointer), and
// redraws in DigitChanged and SettingsChanged.

#include "controls/analog/AnalogValue.h"
#include "controls/analog/SignalSettings.h"
#include "controls/base/AbCustomControl.h"
#include "platform/Geometry.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TAbAnalogGControl;

// The keys an analog control may act on, bit i for member i. Stored
// layouts name them "_VK_PRIOR" to "_VK_RIGHT" (see EnabledKeyNames).
enum TEnabledKey { ekPrior, ekNext, ekEnd, ekHome, ekLeft, ekDown, ekUp, ekRight };
using TEnabledKeys = std::uint32_t;
constexpr TEnabledKeys EnabledKeyBit(TEnabledKey k) {
    return TEnabledKeys(1) << k;
}
constexpr TEnabledKeys kAllEnabledKeys = 0xFF;
const std::vector<std::string>& EnabledKeyNames();

class TAbAnalogCControl : public TAbCustomControl {
public:
    static constexpr TColor DefaultColorFocus = clLime;
    static constexpr TColor DefaultColorNonFocus = clGreen;
    static constexpr int DefaultChangeLarge = 10;
    static constexpr int DefaultChangeSmall = 1;

    explicit TAbAnalogCControl(TComponent* owner);
    ~TAbAnalogCControl() override;

    std::string ClassName() const override { return "TAbAnalogCControl"; }
    void DeclareProperties(PropertyList& props) override;
    // End of loading: the settings are recomputed, Digit is brought in line
    // with the loaded Value, the settings' changes are bound to
    // SettingsChanged, and the update counter is released.
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

    float Value() const { return value_.Value(); }
    void SetValue(float value);
    std::int32_t Digit() const { return value_.Digit(); }
    void SetDigit(std::int32_t digit);
    // Value in the settings' ValueFormat, and Digit in decimal.
    const std::string& ValueText() const { return valueText_; }
    const std::string& DigitText() const { return digitText_; }

    int ChangeLarge() const { return changeLarge_; }
    void SetChangeLarge(int value) { changeLarge_ = value; }
    int ChangeSmall() const { return changeSmall_; }
    void SetChangeSmall(int value) { changeSmall_ = value; }
    TSignalSettings* SignalSettings() { return settings_.get(); }
    const TSignalSettings* SignalSettings() const { return settings_.get(); }
    TColor ColorFocus() const { return colorFocus_; }
    void SetColorFocus(TColor value);
    TColor ColorNonFocus() const { return colorNonFocus_; }
    void SetColorNonFocus(TColor value);
    TCursor CursorSlide() const { return cursorSlide_; }
    void SetCursorSlide(TCursor value) { cursorSlide_ = value; }
    bool EnableKeyboard() const { return enableKeyboard_; }
    void SetEnableKeyboard(bool value) { enableKeyboard_ = value; }
    TEnabledKeys EnabledKeys() const { return enabledKeys_; }
    void SetEnabledKeys(TEnabledKeys value) { enabledKeys_ = value & kAllEnabledKeys; }
    // The display control this one drives (not owned; cleared when it goes).
    TAbAnalogGControl* ValueIndicator() const { return indicator_; }
    void SetValueIndicator(TAbAnalogGControl* indicator);

    void SetEnabled(bool value) override;

    TEventSlot<TNotifyEvent> OnValueChange;
    TEventSlot<TNotifyEvent> OnValueChanged;

    // Passes the settings on to the value indicator and brings Digit in line with Value under the
    // new ranges.
    void SettingsChanged() override;

    // A digit change waits for the end of its gesture to be reported.
    bool ValueChangedPending() const { return changed_; }
    bool Dragging() const { return dragging_; }
    bool InArea() const { return inArea_; }
    // Whether (x, y) lies in the active area: the rectangle (right edge
    // outside, bottom edge inside) or the circle inscribed in it.
    bool PointInArea(int x, int y) const;

protected:
    // Derived controls mark out where the pointer drags.
    void SetActiveArea(const TRect& area, bool round) {
        area_ = area;
        roundArea_ = round;
    }
    const TRect& ActiveArea() const { return area_; }
    bool RoundArea() const { return roundArea_; }
    TPoint LastPoint() const { return lastPoint_; }

    // Pointer at (x, y) during a drag; the base records the point.
    virtual void TrackPointer(TShiftState shift, int x, int y, TPoint last);
    // After every digit change, focus change and enabling: the texts and the
    // value indicator follow. Derived controls call this first, then redraw.
    virtual void DigitChanged();
    // `up` digits up when above 0, otherwise `down` digits down.
    void StepBy(int up, int down);

    void KeyDown(TKeyCode& key, TShiftState shift) override;
    void KeyUp(TKeyCode& key, TShiftState shift) override;
    bool MouseWheel(TShiftState shift, int delta, int x, int y) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void DoEnter() override;
    void DoExit() override;

private:
    std::string ValueIndicatorName() const;
    void BindValueIndicator(const std::string& name);
    TAbAnalogGControl* FindIndicator(const std::string& name) const;
    TSignalSettings* SignalSettingsObject() { return settings_.get(); }

    void FireValueChanged();
    void NotifyAccessibleValue();
    void RealignDigit();
    void ShowCursor(TCursor cursor);

    std::unique_ptr<TSignalSettings> settings_;
    TAnalogValue value_;
    std::string valueText_;
    std::string digitText_;
    int changeLarge_ = DefaultChangeLarge;
    int changeSmall_ = DefaultChangeSmall;
    TColor colorFocus_ = DefaultColorFocus;
    TColor colorNonFocus_ = DefaultColorNonFocus;
    TCursor cursorSlide_ = crHand;
    bool enableKeyboard_ = true;
    TEnabledKeys enabledKeys_ = kAllEnabledKeys;
    TAbAnalogGControl* indicator_ = nullptr;
    // A stored indicator name met before its control exists; resolved when
    // loading ends.
    std::string pendingIndicator_;

    bool changed_ = false;
    bool dragging_ = false;
    bool inArea_ = false;
    TPoint lastPoint_;
    TRect area_;
    bool roundArea_ = false;
    TCursor shownCursor_ = crDefault;
};
