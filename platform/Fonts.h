// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The faces the panel names are mapped to fonts installed with the program
// (DejaVu and Liberation), so that text looks alike on every machine.

#include <QFont>
#include <QString>

#include <string>
#include <string_view>

class TFont;

// "Verdana" gives "DejaVu Sans", "Arial" and "MS Sans Serif" give
// "Liberation Sans", "Times New Roman" gives "Liberation Serif"; other names
// are passed on for the font system to match.
QString MapFontFamily(std::string_view name);

// The Qt font for a stored font: mapped family, pixel size, bold, italic,
// underline, strike-out.
QFont ToQFont(const TFont& font);

// The width `text` covers in `font`: its advance, or further where the last
// glyph reaches past it.
int CoveredTextWidth(const QFont& font, const QString& text);

// Narrows `font` so that `text` fits in `width` pixels, keeping it as it is
// when the text already fits: first the condensed face of the same family,
// where one is installed, then the nearest smaller pixel size. The text is
// measured, so only the captions that need it change.
void FitFontToWidth(TFont& font, const std::string& text, int width);
