#include "controls/label/OvcLabelComponent.h"

#include "controls/label/OvcCustomSettings.h"

void TOvcLabel::DeclareProperties(PropertyList& p) {
    TOvcCustomLabel::DeclareProperties(p);
    using L = TOvcLabel;
    p.Int("Left", &L::Left, &L::SetLeft, 0);
    p.Int("Top", &L::Top, &L::SetTop, 0);
    p.Int("Width", &L::Width, &L::SetWidth);
    p.Int("Height", &L::Height, &L::SetHeight);
    p.Enum("Align", &L::Align, &L::SetAlign, AlignNames(), alNone);
    p.Enum("Alignment", &L::Alignment, &L::SetAlignment, AlignmentNames(), taLeftJustify);
    // Appearance, then ColorScheme, then CustomSettings: the presets are
    // applied first and the stored settings refine them.
    p.Enum("Appearance", &L::Appearance, &L::SetAppearance, OvcAppearanceNames(), apRaised);
    p.String("Caption", &L::Caption, &L::SetCaption, std::string());
    p.Color("Color", &L::Color, &L::SetColor, clBtnFace);
    p.Enum("ColorScheme", &L::ColorScheme, &L::SetColorScheme, OvcColorSchemeNames(), csWindows);
    p.Int("Cursor", &L::Cursor, &L::SetCursor, crDefault);
    p.Object("CustomSettings", &L::SettingsObject);
    p.Int("DragCursor", &L::DragCursor, &L::SetDragCursor, crDrag);
    p.Enum("DragMode", &L::DragMode, &L::SetDragMode, DragModeNames(), dmManual);
    p.Bool("Enabled", &L::Enabled, &L::SetEnabled, true);
    p.Ident("FocusControl", &L::FocusControl, &L::SetFocusControl);
    p.Object("Font", &L::Font);
    p.Bool("ParentColor", &L::ParentColor, &L::SetParentColor, true);
    p.Bool("ParentFont", &L::ParentFont, &L::SetParentFont, false);
    p.Bool("ParentShowHint", &L::ParentShowHint, &L::SetParentShowHint, true);
    p.Bool("ShowAccelChar", &L::ShowAccelChar, &L::SetShowAccelChar, true);
    p.Bool("ShowHint", &L::ShowHint, &L::SetShowHint, false);
    p.Bool("Transparent", &L::Transparent, &L::SetTransparent, true);
    p.Bool("Visible", &L::Visible, &L::SetVisible, true);
    p.Bool("WordWrap", &L::WordWrap, &L::SetWordWrap, true);
    p.Event("OnClick", &L::OnClick);
    p.Event("OnDblClick", &L::OnDblClick);
    p.Event("OnDragDrop", &L::OnDragDrop);
    p.Event("OnDragOver", &L::OnDragOver);
    p.Event("OnEndDrag", &L::OnEndDrag);
    p.Event("OnMouseDown", &L::OnMouseDown);
    p.Event("OnMouseMove", &L::OnMouseMove);
    p.Event("OnMouseUp", &L::OnMouseUp);
}
