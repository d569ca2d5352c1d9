// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pixel pictures for exact assertions: a bitmap region as rows of text, one
// character per pixel, so that a failing test shows the picture.

#include "platform/Bitmap.h"
#include "platform/SystemColors.h"

#include <QColor>

#include <map>
#include <string>
#include <vector>

// '.' for white; otherwise the key of the colour in `legend` ('?' if none).
inline std::vector<std::string> PixelArt(const TBitmap& bitmap,
                                         const std::map<char, TColor>& legend = {{'#', clBlack}}) {
    std::vector<std::string> rows;
    const QImage& image = bitmap.Image();
    for (int y = 0; y < image.height(); ++y) {
        std::string row;
        for (int x = 0; x < image.width(); ++x) {
            const TColor c = FromQColor(QColor(image.pixel(x, y)));
            char ch = c == clWhite ? '.' : '?';
            for (const auto& [key, colour] : legend)
                if (ColorToRGB(colour) == c)
                    ch = key;
            row += ch;
        }
        rows.push_back(row);
    }
    return rows;
}

inline TColor PixelAt(const TBitmap& bitmap, int x, int y) {
    return FromQColor(QColor(bitmap.Image().pixel(x, y)));
}
