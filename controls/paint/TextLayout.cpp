// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/paint/TextLayout.h"

#include <algorithm>

int CountChar(std::string_view text, char ch) {
    return static_cast<int>(std::count(text.begin(), text.end(), ch));
}

void NextSegment(std::string& rest, char separator, std::string& segment) {
    const auto pos = rest.find(separator);
    if (pos == std::string::npos) {
        segment = std::move(rest);
        rest.clear();
        return;
    }
    segment = rest.substr(0, pos);
    rest.erase(0, pos + 1);
}

TTextPlacement AnchoredTopLeft(int anchor, int x, int y, int width, int height) {
    if (anchor < anTopLeft || anchor > anBottomRight)
        return {0, 0};
    const int column = anchor % 3; // 0 left, 1 centre, 2 right
    const int row = anchor / 3;    // 0 top, 1 middle, 2 bottom
    const int dx = column == 0 ? 0 : (column == 1 ? width / 2 : width);
    const int dy = row == 0 ? 0 : (row == 1 ? height / 2 : height);
    return {x - dx, y - dy};
}

int FirstLineY(int anchor, int y, int step, int separators) {
    const int block = step * separators;
    if (anchor >= anMiddleLeft && anchor <= anMiddleRight)
        return y - block / 2;
    if (anchor >= anBottomLeft && anchor <= anBottomRight)
        return y - block;
    return y;
}
