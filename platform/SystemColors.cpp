// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SystemColors.h"

#include <QColor>

#include <array>

namespace {
// The classic grey 3D scheme, indexed by the system colour number.
constexpr std::array<TColor, 25> kSystemColors = {
    RGBColor(192, 192, 192), // scroll bar
    RGBColor(0, 128, 128),   // desktop
    RGBColor(0, 0, 128),     // active caption
    RGBColor(128, 128, 128), // inactive caption
    RGBColor(192, 192, 192), // menu
    RGBColor(255, 255, 255), // window
    RGBColor(0, 0, 0),       // window frame
    RGBColor(0, 0, 0),       // menu text
    RGBColor(0, 0, 0),       // window text
    RGBColor(255, 255, 255), // caption text
    RGBColor(192, 192, 192), // active border
    RGBColor(192, 192, 192), // inactive border
    RGBColor(128, 128, 128), // application work space
    RGBColor(0, 0, 128),     // highlight
    RGBColor(255, 255, 255), // highlight text
    RGBColor(192, 192, 192), // button face
    RGBColor(128, 128, 128), // button shadow
    RGBColor(128, 128, 128), // grey text
    RGBColor(0, 0, 0),       // button text
    RGBColor(192, 192, 192), // inactive caption text
    RGBColor(255, 255, 255), // button highlight
    RGBColor(0, 0, 0),       // 3D dark shadow
    RGBColor(192, 192, 192), // 3D light
    RGBColor(0, 0, 0),       // tooltip text
    RGBColor(255, 255, 225), // tooltip background
};
} // namespace

TColor ColorToRGB(TColor color) {
    if (!IsSystemColor(color))
        return color;
    const unsigned index = color & 0xFFu;
    return index < kSystemColors.size() ? kSystemColors[index] : clBlack;
}

QColor ToQColor(TColor color) {
    const TColor rgb = ColorToRGB(color);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

TColor FromQColor(const QColor& color) {
    return RGBColor(std::uint8_t(color.red()), std::uint8_t(color.green()),
                    std::uint8_t(color.blue()));
}
