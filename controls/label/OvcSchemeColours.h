// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The caption label's colour schemes: a highlight, shadow and font colour
// for each scheme. The csCustom row remembers the last scheme chosen, so
// that switching to csCustom keeps the colours on screen.

#include "controls/label/OvcTypes.h"
#include "core/TColor.h"

#include <array>

struct TOvcSchemeRow {
    TColor highlight = clWhite;
    TColor shadow = clBlack;
    TColor font = clGray;
    friend bool operator==(const TOvcSchemeRow&, const TOvcSchemeRow&) = default;
};

class TOvcSchemeColours {
public:
    TOvcSchemeColours() = default;

    const TOvcSchemeRow& Row(TOvcColorScheme scheme) const { return rows_.at(scheme); }
    // Makes `scheme`'s row the custom one (csCustom itself is left alone).
    void RememberAsCustom(TOvcColorScheme scheme) {
        if (scheme != csCustom)
            rows_.at(csCustom) = rows_.at(scheme);
    }

private:
    std::array<TOvcSchemeRow, kOvcSchemeCount> rows_{{
        {clWhite, clBlack, clGray},   // csCustom: starts as csWindows
        {clWhite, clGray, clBlack},   // csText
        {clWhite, clBlack, clGray},   // csWindows
        {clWhite, clBlack, clSilver}, // csEmbossed
        {clYellow, clBlack, clOlive}, // csGold
        {clAqua, clNavy, clTeal},     // csSteel
    }};
};
