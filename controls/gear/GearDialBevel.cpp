#include "controls/gear/GearDialBevel.h"

TAbGearDialBevel::TAbGearDialBevel() {
    SetColorShadowFrom(DialColorShadowFrom);
    SetColorShadowTo(DialColorShadowTo);
    SetCircular(true);
    SetBevelLine(DialBevelLine);
    SetPenColor(DialPenColor);
    SetSpacing(DialSpacing);
}

// The same properties in the same order as every round bevel, with the
// dial's set-up as the defaults where it differs.
void TAbGearDialBevel::DeclareProperties(PropertyList& props) {
    TAbPersistent::DeclareProperties(props);
    using B = TAbSBevel;
    props.Object("Offset", static_cast<TAbOffset* (B::*)()>(&B::Offset));
    props.Enum("Style", &B::Style, &B::SetStyle, BevelStyleNames(), bsRaised);
    props.Int("Spacing", &B::Spacing, &B::SetSpacing, DialSpacing);
    props.Enum("BevelLine", &B::BevelLine, &B::SetBevelLine, BevelLineNames(), DialBevelLine);
    props.Int("Width", &B::Width, &B::SetWidth, DefaultWidth);
    props.Color("Color", &B::Color, &B::SetColor, clBtnFace);
    props.Color("ColorShadowFrom", &B::ColorShadowFrom, &B::SetColorShadowFrom,
                DialColorShadowFrom);
    props.Color("ColorShadowTo", &B::ColorShadowTo, &B::SetColorShadowTo, DialColorShadowTo);
    props.Color("ColorHighLightFrom", &B::ColorHighLightFrom, &B::SetColorHighLightFrom,
                clBtnHighlight);
    props.Color("ColorHighLightTo", &B::ColorHighLightTo, &B::SetColorHighLightTo, clBtnHighlight);
    props.Color("PenColor", &B::PenColor, &B::SetPenColor, DialPenColor);
    props.Object("SurfaceGrad", static_cast<TAbGradSettings* (B::*)()>(&B::SurfaceGrad));
}
