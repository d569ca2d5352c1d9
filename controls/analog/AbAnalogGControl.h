// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The base of the analog display controls: a value on the same two scales
// as the input controls (float Value, int Digit, TSignalSettings), its
// position in parts per thousand of the range (PPT), three coloured sectors,
// upper and lower limits, the lowest and highest value seen, and a hint
// built from all of these. An input control drives one as its
// ValueIndicator. Scales, sectors and marks are drawn by derived controls.

#include "controls/analog/MinMax.h"
#include "controls/analog/SectorSettings.h"
#include "controls/analog/SignalSettings.h"
#include "controls/base/AbGraphicControl.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

enum THintOption {
    hoAutoHint,
    hoValue,
    hoName1,
    hoName2,
    hoMin,
    hoMax,
    hoMinMaxDate,
    hoMinMaxTime
};
using THintOptions = std::uint32_t;
constexpr THintOptions HintOptionBit(THintOption o) {
    return THintOptions(1) << o;
}
constexpr THintOptions kAllHintOptions = 0xFF;
const std::vector<std::string>& HintOptionNames();

using TOverflowEvent = std::function<void(TPersistent* sender, std::int32_t ppt)>;
using TSectorChangeEvent =
    std::function<void(TPersistent* sender, bool sector1, bool sector2, bool sector3, bool enter)>;
using TLimitEvent = std::function<void(TPersistent* sender, bool lower, bool upper)>;

class TAbAnalogGControl : public TAbGraphicControl {
public:
    static constexpr float DefaultValue = 50.0f;
    static constexpr std::int32_t DefaultDigit = 500;
    static constexpr float DefaultLimitUpper = 90.0f;
    static constexpr float DefaultLimitLower = 10.0f;
    // What a lower limit of 0 is stored as.
    static constexpr float kZeroLimitLower = 0.0001f;
    static constexpr std::int32_t kPPTRange = 1000;

    explicit TAbAnalogGControl(TComponent* owner);
    ~TAbAnalogGControl() override;

    std::string ClassName() const override { return "TAbAnalogGControl"; }
    void DeclareProperties(PropertyList& props) override;
    // End of loading: binds the settings' change notices to the settings
    // refresh and starts the minimum and maximum afresh.
    void Loaded() override;

    float Value() const { return value_; }
    void SetValue(float value);
    std::int32_t Digit() const { return digit_; }
    void SetDigit(std::int32_t digit);
    const std::string& ValueText() const { return valueText_; }
    const std::string& DigitText() const { return digitText_; }
    // Position in parts per thousand of the range, held within 0 .. 1000.
    std::int32_t PPT() const { return ppt_; }

    float LimitUpper() const { return limitUpper_; }
    void SetLimitUpper(float value);
    float LimitLower() const { return limitLower_; }
    void SetLimitLower(float value);
    std::int32_t LimitUpperPPT() const { return limitUpperPPT_; }
    std::int32_t LimitLowerPPT() const { return limitLowerPPT_; }
    THintOptions HintOptions() const { return hintOptions_; }
    void SetHintOptions(THintOptions value);

    TSectorSettings* SectorSettings() { return sectors_.get(); }
    TSignalSettings* SignalSettings() { return settings_.get(); }
    const TSignalSettings* SignalSettings() const { return settings_.get(); }
    TMinMax* MinMax() { return minMax_.get(); }

    bool InSector(int sector) const { return inSector_.at(static_cast<size_t>(sector - 1)); }
    TColor SectorColor() const { return sectorColor_; }
    bool AboveUpper() const { return above_; }
    bool BelowLower() const { return below_; }
    bool UnderRange() const { return underRange_; }
    bool OverRange() const { return overRange_; }
    std::int32_t MinPPT() const { return minPPT_; }
    std::int32_t MaxPPT() const { return maxPPT_; }

    TEventSlot<TNotifyEvent> OnMinMaxChange;
    TEventSlot<TOverflowEvent> OnOverflow;
    TEventSlot<TSectorChangeEvent> OnSectorChange;
    TEventSlot<TNotifyEvent> OnSettingsChange;
    TEventSlot<TNotifyEvent> OnValueChange;
    TEventSlot<TLimitEvent> OnLimit;

    // The settings refresh: the derived fields and Digit follow the ranges.
    void SettingsChanged() override;

protected:
    // Hooks for derived controls, empty here: after a limit state changed,
    // and after the range state changed.
    virtual void LimitChanged() {}
    virtual void Overflow(std::int32_t ppt) { (void)ppt; }
    void FontChanged() override;

    bool Logarithmic() const { return logarithmic_; }
    void SetLogarithmic(bool on);
    double DigitsPerDecade() const { return digitsPerDecade_; }
    double DecadeOffset() const { return decadeOffset_; }

    // Texts, PPT, sectors, limits, range, minimum and maximum, hint, then
    // OnValueChange.
    void ValueRefresh();

private:
    TSectorSettings* SectorObject() { return sectors_.get(); }
    TSignalSettings* SignalObject() { return settings_.get(); }
    TMinMax* MinMaxObject() { return minMax_.get(); }

    void Refresh();
    void UpdateDecades();
    std::int32_t DigitOfValue(float value) const;
    void CheckLimits();
    // Returns true when a captured extreme replaced an earlier one.
    bool CaptureMinMax();
    void MinMaxChanged();
    void BuildHint();

    std::unique_ptr<TSectorSettings> sectors_;
    std::unique_ptr<TSignalSettings> settings_;
    std::unique_ptr<TMinMax> minMax_;
    float value_ = DefaultValue;
    std::int32_t digit_ = DefaultDigit;
    std::int32_t ppt_ = DefaultDigit;
    std::string valueText_;
    std::string digitText_;
    float limitUpper_ = DefaultLimitUpper;
    float limitLower_ = DefaultLimitLower;
    std::int32_t limitUpperPPT_ = 900;
    std::int32_t limitLowerPPT_ = 100;
    THintOptions hintOptions_ = kAllHintOptions;
    std::array<bool, 3> inSector_{};
    TColor sectorColor_ = clNone;
    bool above_ = true;
    bool below_ = true;
    bool underRange_ = false;
    bool overRange_ = false;
    std::int32_t minPPT_ = 0;
    std::int32_t maxPPT_ = 0;
    bool logarithmic_ = false;
    double digitsPerDecade_ = 0.0;
    double decadeOffset_ = 0.0;
    bool notifiesBound_ = false;
};
