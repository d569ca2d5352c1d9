// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/label/OvcLabelComponent.h"

#include "controls/label/OvcCustomSettings.h"

void TOvcLabel::DeclareProperties(PropertyList& p) {
    TOvcCustomLabel::DeclareProperties(p);
    using L = TOvcLabel;
    DeclareBounds(p, 0);
    p.Enum("Align", &L::Align, &L::SetAlign, AlignNames(), alNone);
    p.Enum("Alignment", &L::Alignment, &L::SetAlignment, AlignmentNames(), taLeftJustify);
    // Appearance, then ColorScheme, then CustomSettings: the presets are
    // applied first and the stored settings refine them.
    p.Enum("Appearance", &L::Appearance, &L::SetAppearance, OvcAppearanceNames(), apRaised);
    p.String("Caption", &L::Caption, &L::SetCaption, std::string());
    p.Color("Color", &L::Color, &L::SetColor, clBtnFace);
    p.Enum("ColorScheme", &L::ColorScheme, &L::SetColorScheme, OvcColorSchemeNames(), csWindows);
    DeclareCursor(p);
    p.Object("CustomSettings", &L::SettingsObject);
    p.Int("DragCursor", &L::DragCursor, &L::SetDragCursor, crDrag);
    p.Enum("DragMode", &L::DragMode, &L::SetDragMode, DragModeNames(), dmManual);
    DeclareEnabled(p);
    p.Ident("FocusControl", &L::FocusControl, &L::SetFocusControl);
    DeclareFont(p);
    p.Bool("ParentColor", &L::ParentColor, &L::SetParentColor, true);
    p.Bool("ParentFont", &L::ParentFont, &L::SetParentFont, false);
    p.Bool("ParentShowHint", &L::ParentShowHint, &L::SetParentShowHint, true);
    p.Bool("ShowAccelChar", &L::ShowAccelChar, &L::SetShowAccelChar, true);
    p.Bool("ShowHint", &L::ShowHint, &L::SetShowHint, false);
    p.Bool("Transparent", &L::Transparent, &L::SetTransparent, true);
    DeclareVisible(p);
    p.Bool("WordWrap", &L::WordWrap, &L::SetWordWrap, true);
    DeclareClickEvents(p);
    p.Event("OnDragDrop", &L::OnDragDrop);
    p.Event("OnDragOver", &L::OnDragOver);
    p.Event("OnEndDrag", &L::OnEndDrag);
    DeclareMouseEvents(p);
}
