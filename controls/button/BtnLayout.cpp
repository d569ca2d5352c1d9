// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/button/BtnLayout.h"

#include "controls/base/RectHelpers.h"
#include "controls/paint/TextLayout.h"

namespace {
bool Has(std::uint8_t set, int member) {
    return (set & OptionBit(member)) != 0;
}

constexpr int kDisabledCell = 1;
constexpr int kOnCell = 2;
} // namespace

TBtnLookFlags LookFlags(TFlashOptions flashOptions, TCheckedOptions checkedOptions, bool checked,
                        bool flashing, bool flashPhase) {
    auto flag = [&](TFlashOption fo, TCheckedOption co) {
        if (Has(flashOptions, fo) && checked && flashing)
            return flashPhase;
        return Has(checkedOptions, co) && checked;
    };
    return {flag(foGlyph, coGlyph), flag(foText, coText), flag(foTextCol, coTextCol),
            flag(foBtnCol, coBtnCol)};
}

TBtnBlockPlacement PlaceBlock(const TRect& r, int cellW, int cellH, int textW, int textH,
                              int spacing, TPosH posH, TPosV posV, TPos posGlyph, int dx, int dy) {
    const int s = (cellW > 0 && textW > 0) ? spacing : 0;
    const bool sideBySide = posGlyph == pLeft || posGlyph == pRight;
    const int bw = sideBySide ? cellW + s + textW : MaxOf(cellW, textW);
    const int bh = sideBySide ? MaxOf(cellH, textH) : cellH + s + textH;

    int x = r.Left + (r.Right - r.Left) / 2;
    if (posH == phLeft)
        x = r.Left + bw / 2;
    else if (posH == phRight)
        x = r.Right - bw / 2;
    int y = r.Top + (r.Bottom - r.Top) / 2;
    if (posV == pvTop)
        y = r.Top + bh / 2;
    else if (posV == pvBottom)
        y = r.Bottom - bh / 2;

    TBtnBlockPlacement p;
    switch (posGlyph) {
    case pLeft:
        p.glyph = {x - bw / 2, y - cellH / 2};
        p.text = {p.glyph.X + cellW + s, y};
        p.anchor = anMiddleLeft;
        break;
    case pRight:
        p.glyph = {x + bw / 2 - cellW, y - cellH / 2};
        p.text = {p.glyph.X - s, y};
        p.anchor = anMiddleRight;
        break;
    case pTop:
        p.glyph = {x - cellW / 2, y - bh / 2};
        p.text = {x, p.glyph.Y + cellH + s};
        p.anchor = anTopCenter;
        break;
    case pBottom:
        p.glyph = {x - cellW / 2, y + bh / 2 - cellH};
        p.text = {x, p.glyph.Y - s};
        p.anchor = anBottomCenter;
        break;
    }
    p.glyph = {p.glyph.X + dx, p.glyph.Y + dy};
    p.text = {p.text.X + dx, p.text.Y + dy};
    return p;
}

int GlyphCellIndex(int numGlyph, bool enabled, bool glyphFlag) {
    if (numGlyph < 2)
        return 0;
    if (!enabled)
        return kDisabledCell;
    if (glyphFlag && numGlyph >= 3)
        return kOnCell;
    return 0;
}
