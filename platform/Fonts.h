#pragma once
// The faces the panel names are mapped to fonts installed with the program
// (DejaVu and Liberation), so that text looks alike on every machine.

#include <QFont>
#include <QString>

#include <string_view>

class TFont;

// "Verdana" gives "DejaVu Sans", "Arial" and "MS Sans Serif" give
// "Liberation Sans", "Times New Roman" gives "Liberation Serif"; other names
// are passed on for the font system to match.
QString MapFontFamily(std::string_view name);

// The Qt font for a stored font: mapped family, pixel size, bold, italic,
// underline, strike-out.
QFont ToQFont(const TFont& font);
