// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The three coloured sectors of an analog display, bounds in parts per
// thousand of the range.

#include "controls/base/AbPersistent.h"
#include "core/TColor.h"

#include <cstdint>

class TSectorSettings : public TAbPersistent {
public:
    std::string ClassName() const override { return "TSectorSettings"; }
    void DeclareProperties(PropertyList& props) override;
    // Copies the three colours, then the lower bounds, then the upper bounds.
    void Assign(const TPersistent& source) override;

    TColor Sector1Color() const { return sector1Color_; }
    std::int32_t Sector1From() const { return sector1From_; }
    std::int32_t Sector1To() const { return sector1To_; }
    TColor Sector2Color() const { return sector2Color_; }
    std::int32_t Sector2From() const { return sector2From_; }
    std::int32_t Sector2To() const { return sector2To_; }
    TColor Sector3Color() const { return sector3Color_; }
    std::int32_t Sector3From() const { return sector3From_; }
    std::int32_t Sector3To() const { return sector3To_; }
    std::int32_t Offset() const { return offset_; }
    std::int32_t WidthOffset() const { return widthOffset_; }

    void SetSector1Color(TColor value) { Store(sector1Color_, value); }
    void SetSector1From(std::int32_t value) { Store(sector1From_, value); }
    void SetSector1To(std::int32_t value) { Store(sector1To_, value); }
    void SetSector2Color(TColor value) { Store(sector2Color_, value); }
    void SetSector2From(std::int32_t value) { Store(sector2From_, value); }
    void SetSector2To(std::int32_t value) { Store(sector2To_, value); }
    void SetSector3Color(TColor value) { Store(sector3Color_, value); }
    void SetSector3From(std::int32_t value) { Store(sector3From_, value); }
    void SetSector3To(std::int32_t value) { Store(sector3To_, value); }
    void SetOffset(std::int32_t value) { Store(offset_, value); }
    void SetWidthOffset(std::int32_t value) { Store(widthOffset_, value); }

private:
    TColor sector1Color_ = clYellow;
    std::int32_t sector1From_ = 0;
    std::int32_t sector1To_ = 333;
    TColor sector2Color_ = clGreen;
    std::int32_t sector2From_ = 334;
    std::int32_t sector2To_ = 666;
    TColor sector3Color_ = clRed;
    std::int32_t sector3From_ = 667;
    std::int32_t sector3To_ = 1000;
    std::int32_t offset_ = 0;
    std::int32_t widthOffset_ = 0;
};
