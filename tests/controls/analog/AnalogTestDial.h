// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An analog input control as a derived control uses the base: it marks out
// its active area and counts the base's calls into it. Also the spy on the
// two value events and the panel's four dial set-ups.

#include "controls/analog/AbAnalogCControl.h"

#include <QPoint>

#include <gtest/gtest.h>

#include <vector>

class TTestDial : public TAbAnalogCControl {
public:
    using TAbAnalogCControl::TAbAnalogCControl;
    std::string ClassName() const override { return "TTestDial"; }

    using TAbAnalogCControl::SetActiveArea;
    using TAbAnalogCControl::StepBy;

    void DigitChanged() override {
        TAbAnalogCControl::DigitChanged();
        ++digitChanges;
    }
    void SettingsChanged() override {
        TAbAnalogCControl::SettingsChanged();
        ++settingsChanges;
    }
    void TrackPointer(TShiftState shift, int x, int y, TPoint last) override {
        TAbAnalogCControl::TrackPointer(shift, x, y, last);
        tracked.push_back({x, y});
    }

    int digitChanges = 0;
    int settingsChanges = 0;
    std::vector<QPoint> tracked;
};

// Counts OnValueChange and OnValueChanged, remembering the digit at each.
struct ValueEventSpy {
    std::vector<int> changes; // digit at each OnValueChange
    int changed = 0;          // OnValueChanged count

    explicit ValueEventSpy(TAbAnalogCControl& control) {
        control.OnValueChange.Set([this, &control](TPersistent* sender) {
            EXPECT_EQ(sender, static_cast<TPersistent*>(&control));
            changes.push_back(control.Digit());
        });
        control.OnValueChanged.Set([this](TPersistent*) { ++changed; });
    }
};

// One of the panel's dials as its stored layout sets it up: Value first,
// under the default ranges, then the signal settings, then the end of
// loading.
struct DialSetup {
    const char* name;
    float value;
    int digitalTo;
    float valueTo;
    const char* format;
};

inline void LoadDial(TAbAnalogCControl& dial, const DialSetup& setup) {
    dial.SetLoading(true);
    dial.SetValue(setup.value);
    TSignalSettings& s = *dial.SignalSettings();
    s.SetDigitalTo(setup.digitalTo);
    s.SetValueFormat(setup.format);
    s.SetValueFrom(TSignalSettings::kZeroValueFrom);
    s.SetValueTo(setup.valueTo);
    dial.Loaded();
}

inline const DialSetup kThousandsDial{"thousands", 1.0f, 20, 20.0f, "00"};
inline const DialSetup kHundredsDial{"hundreds", 0.000001f, 10, 9.0f, "0"};
inline const DialSetup kUnitsDial10Hz{"units10", 0.000001f, 10, 100.0f, "00"};
inline const DialSetup kUnitsDial1Hz{"units1", 0.000001f, 100, 99.0f, "00"};
inline const DialSetup kAmplitudeDial{"amplitude", 50.0f, 100, 100.0f, "000"};
