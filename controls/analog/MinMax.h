// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The lowest and highest value an analog display has seen, with the time of
// each capture and how the marks are shown.

#include "controls/base/AbPersistent.h"
#include "core/TColor.h"

#include <QDateTime>

class TMinMax : public TAbPersistent {
public:
    // What Min and Max hold before anything was captured.
    static constexpr float UnsetMin = 9999999.0f;
    static constexpr float UnsetMax = -9999999.0f;
    static constexpr TColor DefaultMarkColor = clAqua;

    std::string ClassName() const override { return "TMinMax"; }
    // The captured numbers are not stored: they are reset when loading ends.
    void DeclareProperties(PropertyList& props) override;
    void Assign(const TPersistent& source) override;

    float Max() const { return max_; }
    float Min() const { return min_; }
    const QDateTime& MaxDateTime() const { return maxDateTime_; }
    const QDateTime& MinDateTime() const { return minDateTime_; }
    // Always store and stamp the current time; no change notice.
    void SetMax(float value);
    void SetMin(float value);
    // Back to the unset markers.
    void Reset();

    TColor MaxColor() const { return maxColor_; }
    TColor MinColor() const { return minColor_; }
    bool UseSectorCol() const { return useSectorCol_; }
    bool MinVisible() const { return minVisible_; }
    bool MaxVisible() const { return maxVisible_; }
    void SetMaxColor(TColor value) { Store(maxColor_, value); }
    void SetMinColor(TColor value) { Store(minColor_, value); }
    void SetUseSectorCol(bool value) { Store(useSectorCol_, value); }
    void SetMinVisible(bool value) { Store(minVisible_, value); }
    void SetMaxVisible(bool value) { Store(maxVisible_, value); }

private:
    float max_ = UnsetMax;
    float min_ = UnsetMin;
    QDateTime maxDateTime_;
    QDateTime minDateTime_;
    TColor maxColor_ = DefaultMarkColor;
    TColor minColor_ = DefaultMarkColor;
    bool useSectorCol_ = true;
    bool minVisible_ = true;
    bool maxVisible_ = true;
};
