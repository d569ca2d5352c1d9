// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// System colours resolve through one fixed table rather than the desktop's
// theme, so that every control paints the same pixels on every machine.

#include "core/TColor.h"

class QColor;

// The colour itself for an ordinary colour, the table entry for a system
// colour (black for an index outside the table).
TColor ColorToRGB(TColor color);

// The resolved colour as Qt draws it: TColor 0x00BBGGRR is qRgb(r, g, b).
QColor ToQColor(TColor color);
// The opposite direction; alpha is dropped.
TColor FromQColor(const QColor& color);
