// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/analog/SectorSettings.h"

void TSectorSettings::DeclareProperties(PropertyList& props) {
    TAbPersistent::DeclareProperties(props);
    using T = TSectorSettings;
    props.Color("Sector1Color", &T::Sector1Color, &T::SetSector1Color, clYellow);
    props.Int("Sector1From", &T::Sector1From, &T::SetSector1From, 0);
    props.Int("Sector1To", &T::Sector1To, &T::SetSector1To, 333);
    props.Color("Sector2Color", &T::Sector2Color, &T::SetSector2Color, clGreen);
    props.Int("Sector2From", &T::Sector2From, &T::SetSector2From, 334);
    props.Int("Sector2To", &T::Sector2To, &T::SetSector2To, 666);
    props.Color("Sector3Color", &T::Sector3Color, &T::SetSector3Color, clRed);
    props.Int("Sector3From", &T::Sector3From, &T::SetSector3From, 667);
    props.Int("Sector3To", &T::Sector3To, &T::SetSector3To, 1000);
    props.Int("Offset", &T::Offset, &T::SetOffset, 0);
    props.Int("WidthOffset", &T::WidthOffset, &T::SetWidthOffset, 0);
}

void TSectorSettings::Assign(const TPersistent& source) {
    const auto* other = dynamic_cast<const TSectorSettings*>(&source);
    if (!other)
        AssignError(source);
    SetSector1Color(other->sector1Color_);
    SetSector2Color(other->sector2Color_);
    SetSector3Color(other->sector3Color_);
    SetSector1From(other->sector1From_);
    SetSector2From(other->sector2From_);
    SetSector3From(other->sector3From_);
    SetSector1To(other->sector1To_);
    SetSector2To(other->sector2To_);
    SetSector3To(other->sector3To_);
}
