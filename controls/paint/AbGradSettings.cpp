// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/paint/AbGradSettings.h"

void TAbGradSettings::DeclareProperties(PropertyList& props) {
    TAbPersistent::DeclareProperties(props);
    props.Color("ColorFrom", &TAbGradSettings::ColorFrom, &TAbGradSettings::SetColorFrom,
                DefaultColorFrom);
    props.Color("ColorTo", &TAbGradSettings::ColorTo, &TAbGradSettings::SetColorTo, DefaultColorTo);
    props.Bool("Visible", &TAbGradSettings::Visible, &TAbGradSettings::SetVisible, false);
    props.Enum("Style", &TAbGradSettings::Style, &TAbGradSettings::SetStyle, GradientStyleNames(),
               gsHorizontal1);
}

void TAbGradSettings::Assign(const TPersistent& source) {
    const auto* other = dynamic_cast<const TAbGradSettings*>(&source);
    if (!other)
        AssignError(source);
    SetColorFrom(other->ColorFrom());
    SetColorTo(other->ColorTo());
    SetVisible(other->Visible());
    SetStyle(other->Style());
    Changed();
}

void TAbGradSettings::SetColorFrom(TColor value) {
    Store(colorFrom_, value);
}

void TAbGradSettings::SetColorTo(TColor value) {
    Store(colorTo_, value);
}

void TAbGradSettings::SetVisible(bool value) {
    Store(visible_, value);
}

void TAbGradSettings::SetStyle(TGradientStyle value) {
    // An ordinal outside the enumeration (a damaged layout) keeps the old style.
    if (value >= 0 && value < GradientStyleCount)
        Store(style_, value);
}
