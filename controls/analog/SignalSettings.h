// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two scales of an analog control: a float value range in engineering
// units and an integer digit (step) range, the number pattern of the value
// text, free names and the unit shown in hints, and the conversion factors
// derived from the ranges.

#include "controls/base/AbPersistent.h"

#include <cstdint>
#include <string>

class TSignalSettings : public TAbPersistent {
public:
    // What a ValueFrom of 0 is stored as, so that a logarithmic scale and the
    // value-to-digit conversions never start at zero.
    static constexpr float kZeroValueFrom = 0.000001f;

    std::string ClassName() const override { return "TSignalSettings"; }
    void DeclareProperties(PropertyList& props) override;
    // Copies another TSignalSettings through the setters; any other source is
    // refused and this object is left unchanged.
    void Assign(const TPersistent& source) override;

    std::int32_t DigitalFrom() const { return digitalFrom_; }
    std::int32_t DigitalTo() const { return digitalTo_; }
    const std::string& Name1() const { return name1_; }
    const std::string& Name2() const { return name2_; }
    const std::string& ValueFormat() const { return valueFormat_; }
    float ValueFrom() const { return valueFrom_; }
    float ValueTo() const { return valueTo_; }
    const std::string& ValueUnit() const { return valueUnit_; }

    void SetDigitalFrom(std::int32_t value);
    void SetDigitalTo(std::int32_t value);
    void SetName1(const std::string& value);
    void SetName2(const std::string& value);
    void SetValueFormat(const std::string& value);
    // Both bounds ignore a value equal to either current bound.
    void SetValueFrom(float value);
    void SetValueTo(float value);
    void SetValueUnit(const std::string& value);

    // Derived from the ranges by Changed().
    float ValueSpan() const { return valueSpan_; }
    std::int32_t DigitalSpan() const { return digitalSpan_; }
    float ValuesPerDigit() const { return valuesPerDigit_; }
    float DigitsPerValue() const { return digitsPerValue_; }
    float PPTFactor() const { return pptFactor_; }

    // Snaps ValueFrom and ValueTo to powers of ten; set by logarithmic
    // derived controls, never stored.
    bool Logarithmic() const { return logarithmic_; }
    void SetLogarithmic(bool on) { logarithmic_ = on; }

    // Position of `value` in parts per thousand of the value range.
    std::int32_t ValueToPPT(float value) const;

    // Recomputes the derived fields, then fires OnChange.
    void Changed() override;
    // Recomputes the derived fields without telling anyone.
    void Recompute();

private:
    float Snap(float value) const;

    std::int32_t digitalFrom_ = 0;
    std::int32_t digitalTo_ = 1000;
    std::string name1_ = "SignalName1";
    std::string name2_ = "SignalName2";
    std::string valueFormat_ = "##0.0";
    float valueFrom_ = 0.0f;
    float valueTo_ = 100.0f;
    std::string valueUnit_ = "%";

    // Until the first recomputation the factors are 0, which is how an
    // analog control knows it has to ask for them.
    float valueSpan_ = 100.0f;
    std::int32_t digitalSpan_ = 1000;
    float valuesPerDigit_ = 0.0f;
    float digitsPerValue_ = 0.0f;
    float pptFactor_ = 0.0f;
    bool logarithmic_ = false;
};
