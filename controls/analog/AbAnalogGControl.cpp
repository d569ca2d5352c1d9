// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/analog/AbAnalogGControl.h"

#include "controls/analog/ValueFormat.h"
#include "controls/paint/RoundEven.h"

#include <cmath>

namespace {

// The font a display control starts with.
constexpr const char* kDefaultFontName = "Arial";
constexpr int kDisplayFontSize = 8;

// Hint parts are joined by a carriage return, one part per line.
constexpr const char* kHintSeparator = "\r";
constexpr const char* kDateFormat = "dd.MM.yyyy";
constexpr const char* kTimeFormat = "hh:mm:ss";

} // namespace

const std::vector<std::string>& HintOptionNames() {
    static const std::vector<std::string> names{"hoAutoHint",   "hoValue",     "hoName1",
                                                "hoName2",      "hoMin",       "hoMax",
                                                "hoMinMaxDate", "hoMinMaxTime"};
    return names;
}

TAbAnalogGControl::TAbAnalogGControl(TComponent* owner)
    : TAbGraphicControl(owner), sectors_(std::make_unique<TSectorSettings>()),
      settings_(std::make_unique<TSignalSettings>()), minMax_(std::make_unique<TMinMax>()) {
    Font()->SetName(kDefaultFontName);
    Font()->SetSize(kDisplayFontSize);
    Font()->KeepSetUpAsDefaults();
    digitText_ = std::to_string(digit_);
    valueText_ = FormatValue(value_, settings_->ValueFormat());
    // Both limit states start set, so that this check leaves them telling
    // where the starting value lies.
    CheckLimits();
}

TAbAnalogGControl::~TAbAnalogGControl() {
    settings_->SetOnChange(nullptr);
    sectors_->SetOnChange(nullptr);
    minMax_->SetOnChange(nullptr);
}

void TAbAnalogGControl::DeclareProperties(PropertyList& props) {
    TAbGraphicControl::DeclareProperties(props);
    using T = TAbAnalogGControl;
    props.Int("Digit", &T::Digit, &T::SetDigit, DefaultDigit);
    props.Float("LimitUpper", &T::LimitUpper, &T::SetLimitUpper, DefaultLimitUpper);
    props.Float("LimitLower", &T::LimitLower, &T::SetLimitLower, DefaultLimitLower);
    props.Set("HintOptions", &T::HintOptions, &T::SetHintOptions, HintOptionNames(),
              kAllHintOptions);
    props.Object("SectorSettings", &T::SectorObject);
    props.Object("SignalSettings", &T::SignalObject);
    props.Object("MinMax", &T::MinMaxObject);
    props.Float("Value", &T::Value, &T::SetValue, DefaultValue);
    props.Event("OnMinMaxChange", &T::OnMinMaxChange);
    props.Event("OnOverflow", &T::OnOverflow);
    props.Event("OnSectorChange", &T::OnSectorChange);
    props.Event("OnSettingsChange", &T::OnSettingsChange);
    props.Event("OnValueChange", &T::OnValueChange);
    props.Event("OnLimit", &T::OnLimit);
}

void TAbAnalogGControl::Loaded() {
    TAbGraphicControl::Loaded();
    notifiesBound_ = true;
    settings_->SetOnChange([this](TPersistent*) { RequestSettingsChanged(); });
    sectors_->SetOnChange([this](TPersistent*) { RequestSettingsChanged(); });
    minMax_->Reset();
    minMax_->SetOnChange([this](TPersistent*) { MinMaxChanged(); });
}

void TAbAnalogGControl::FontChanged() {
    if (notifiesBound_)
        RequestSettingsChanged();
}

void TAbAnalogGControl::SetLogarithmic(bool on) {
    logarithmic_ = on;
    settings_->SetLogarithmic(on);
}

void TAbAnalogGControl::UpdateDecades() {
    const double from = settings_->ValueFrom();
    const double to = settings_->ValueTo();
    digitsPerDecade_ = settings_->DigitalSpan() / std::log10(to / from);
    decadeOffset_ = std::log10(1.0 / from);
}

std::int32_t TAbAnalogGControl::DigitOfValue(float value) const {
    if (logarithmic_)
        return RoundEven(std::log10(static_cast<long double>(value) / settings_->ValueFrom()) *
                         digitsPerDecade_) +
               settings_->DigitalFrom();
    return RoundEven((static_cast<long double>(value) - settings_->ValueFrom()) *
                         settings_->DigitsPerValue() +
                     settings_->DigitalFrom());
}

void TAbAnalogGControl::SetValue(float value) {
    if (std::isnan(value) || value == value_ || (logarithmic_ && value <= 0.0f))
        return;
    value_ = value;
    digit_ = DigitOfValue(value);
    Refresh();
}

void TAbAnalogGControl::SetDigit(std::int32_t digit) {
    if (digit == digit_)
        return;
    digit_ = digit;
    const long double steps = static_cast<long double>(digit) - settings_->DigitalFrom();
    if (!logarithmic_) {
        value_ = static_cast<float>(steps * settings_->ValuesPerDigit() + settings_->ValueFrom());
    } else if (digitsPerDecade_ != decadeOffset_) {
        value_ = static_cast<float>(std::pow(10.0L, steps / digitsPerDecade_ - decadeOffset_));
    }
    Refresh();
}

// While designing only the scales follow; when running, everything does.
void TAbAnalogGControl::Refresh() {
    if (IsDesigning())
        SettingsChanged();
    else
        ValueRefresh();
}

void TAbAnalogGControl::SettingsChanged() {
    settings_->Recompute();
    if (logarithmic_) {
        UpdateDecades();
        if (value_ <= 0.0f)
            value_ = 1.0f;
    }
    digit_ = DigitOfValue(value_);
    OnSettingsChange(this);
    Invalidate();
}

void TAbAnalogGControl::CheckLimits() {
    const bool above = value_ > limitUpper_;
    const bool below = !(value_ >= limitLower_);
    if (above == above_ && below == below_)
        return;
    above_ = above;
    below_ = below;
    LimitChanged();
    OnLimit(this, below_, above_);
}

bool TAbAnalogGControl::CaptureMinMax() {
    if (IsDesigning()) {
        minPPT_ = ppt_;
        maxPPT_ = ppt_;
        return false;
    }
    bool replaced = false;
    if (value_ < minMax_->Min()) {
        replaced = replaced || minMax_->Min() != TMinMax::UnsetMin;
        minMax_->SetMin(value_);
        minPPT_ = ppt_;
    }
    if (value_ > minMax_->Max()) {
        replaced = replaced || minMax_->Max() != TMinMax::UnsetMax;
        minMax_->SetMax(value_);
        maxPPT_ = ppt_;
    }
    return replaced;
}

void TAbAnalogGControl::MinMaxChanged() {
    OnMinMaxChange(this);
    ValueRefresh();
}

void TAbAnalogGControl::ValueRefresh() {
    digitText_ = std::to_string(digit_);
    valueText_ = FormatValue(value_, settings_->ValueFormat());

    const long double span = settings_->DigitalSpan();
    std::int32_t ppt =
        RoundEven(kPPTRange / span * (static_cast<long double>(digit_) - settings_->DigitalFrom()));
    ppt_ = ppt;

    const std::array<std::pair<std::int32_t, std::int32_t>, 3> bounds{{
        {sectors_->Sector1From(), sectors_->Sector1To()},
        {sectors_->Sector2From(), sectors_->Sector2To()},
        {sectors_->Sector3From(), sectors_->Sector3To()},
    }};
    const std::array<TColor, 3> colors{sectors_->Sector1Color(), sectors_->Sector2Color(),
                                       sectors_->Sector3Color()};
    for (size_t i = 0; i < bounds.size(); ++i) {
        const bool in = bounds[i].first <= ppt && ppt <= bounds[i].second;
        if (in)
            sectorColor_ = colors[i];
        if (in != inSector_[i]) {
            inSector_[i] = in;
            OnSectorChange(this, i == 0, i == 1, i == 2, in);
        }
    }

    CheckLimits();

    if (ppt < 0) {
        if (!underRange_) {
            underRange_ = true;
            overRange_ = false;
            Overflow(ppt);
            OnOverflow(this, ppt);
        }
        ppt_ = 0;
    } else if (ppt > kPPTRange) {
        if (!overRange_) {
            overRange_ = true;
            underRange_ = false;
            Overflow(ppt);
            OnOverflow(this, ppt);
        }
        ppt_ = kPPTRange;
    } else if (underRange_ || overRange_) {
        underRange_ = false;
        overRange_ = false;
        Overflow(ppt);
        OnOverflow(this, ppt);
    }

    // A replaced extreme is reported, and the refresh it brings about
    // finishes this one (hint and OnValueChange included).
    if (CaptureMinMax()) {
        MinMaxChanged();
        return;
    }
    BuildHint();
    OnValueChange(this);
    Invalidate();
}

void TAbAnalogGControl::BuildHint() {
    if (!(hintOptions_ & HintOptionBit(hoAutoHint)) || IsDesigning())
        return;
    auto has = [this](THintOption o) { return (hintOptions_ & HintOptionBit(o)) != 0; };
    const std::string unit = settings_->ValueUnit();
    const std::string& pattern = settings_->ValueFormat();
    std::vector<std::string> parts;
    auto extreme = [&](const char* label, float value, const QDateTime& when) {
        // Appended piece by piece: GCC 12 misreads the bounds of chained
        // string additions here and warns of an impossible overflow.
        std::string part = label;
        part.append(FormatValue(value, pattern)).append(" ").append(unit);
        if (has(hoMinMaxDate))
            part.append(" ").append(when.toString(kDateFormat).toStdString());
        if (has(hoMinMaxTime))
            part.append(" ").append(when.toString(kTimeFormat).toStdString());
        parts.push_back(std::move(part));
    };
    if (has(hoValue))
        parts.push_back("Value= " + valueText_ + " " + unit);
    if (has(hoMin))
        extreme("MIN= ", minMax_->Min(), minMax_->MinDateTime());
    if (has(hoMax))
        extreme("MAX= ", minMax_->Max(), minMax_->MaxDateTime());
    if (has(hoName1))
        parts.push_back(settings_->Name1());
    if (has(hoName2))
        parts.push_back(settings_->Name2());
    std::string hint;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i)
            hint += kHintSeparator;
        hint += parts[i];
    }
    SetHint(hint);
}

void TAbAnalogGControl::SetLimitUpper(float value) {
    if (value == limitUpper_)
        return;
    limitUpper_ = value;
    limitUpperPPT_ = settings_->ValueToPPT(value);
    ValueRefresh();
}

void TAbAnalogGControl::SetLimitLower(float value) {
    if (value == limitLower_)
        return;
    limitLower_ = value == 0.0f ? kZeroLimitLower : value;
    limitLowerPPT_ = settings_->ValueToPPT(limitLower_);
    ValueRefresh();
}

void TAbAnalogGControl::SetHintOptions(THintOptions value) {
    value &= kAllHintOptions;
    const bool autoOn =
        (value & HintOptionBit(hoAutoHint)) && !(hintOptions_ & HintOptionBit(hoAutoHint));
    hintOptions_ = value;
    if (autoOn)
        ValueRefresh();
}
