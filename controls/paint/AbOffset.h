// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Four inward offsets of a rectangle: how far a face is pulled in from each
// side after its bevel (a dial leaves room on its right for a scale).

#include "controls/base/AbPersistent.h"
#include "platform/Geometry.h"

#include <cstdint>

class TAbOffset : public TAbPersistent {
public:
    std::string ClassName() const override { return "TAbOffset"; }
    void DeclareProperties(PropertyList& props) override;
    void Assign(const TPersistent& source) override;

    std::int32_t Top() const { return top_; }
    std::int32_t Left() const { return left_; }
    std::int32_t Right() const { return right_; }
    std::int32_t Bottom() const { return bottom_; }

    void SetTop(std::int32_t value);
    void SetLeft(std::int32_t value);
    void SetRight(std::int32_t value);
    void SetBottom(std::int32_t value);

    // R moved inward by the four offsets.
    TRect Apply(const TRect& r) const;

private:
    std::int32_t top_ = 0;
    std::int32_t left_ = 0;
    std::int32_t right_ = 0;
    std::int32_t bottom_ = 0;
};
