// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/analog/MinMax.h"

void TMinMax::DeclareProperties(PropertyList& props) {
    TAbPersistent::DeclareProperties(props);
    using T = TMinMax;
    props.Color("MaxColor", &T::MaxColor, &T::SetMaxColor, DefaultMarkColor);
    props.Color("MinColor", &T::MinColor, &T::SetMinColor, DefaultMarkColor);
    props.Bool("UseSectorCol", &T::UseSectorCol, &T::SetUseSectorCol, true);
    props.Bool("MinVisible", &T::MinVisible, &T::SetMinVisible, true);
    props.Bool("MaxVisible", &T::MaxVisible, &T::SetMaxVisible, true);
}

void TMinMax::Assign(const TPersistent& source) {
    const auto* other = dynamic_cast<const TMinMax*>(&source);
    if (!other)
        AssignError(source);
    SetMaxColor(other->maxColor_);
    SetMinColor(other->minColor_);
    SetUseSectorCol(other->useSectorCol_);
    SetMinVisible(other->minVisible_);
    SetMaxVisible(other->maxVisible_);
}

void TMinMax::SetMax(float value) {
    max_ = value;
    maxDateTime_ = QDateTime::currentDateTime();
}

void TMinMax::SetMin(float value) {
    min_ = value;
    minDateTime_ = QDateTime::currentDateTime();
}

void TMinMax::Reset() {
    max_ = UnsetMax;
    min_ = UnsetMin;
}
