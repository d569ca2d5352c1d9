// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Clipping regions in device pixels: rectangular or elliptic. Elliptic
// regions come from EllipseSpans, so they are mirror-symmetric and match the
// ellipses the canvas draws: the region of (l, t, r, b) covers the pixels of
// the ellipse drawn in (l, t, r - 1, b - 1).

#include "platform/Geometry.h"

#include <QRegion>

class QWidget;

class TRegion {
public:
    TRegion() = default;
    static TRegion Rectangle(const TRect& r);
    static TRegion Elliptic(const TRect& r);

    bool IsEmpty() const { return region_.isEmpty(); }
    bool Contains(int x, int y) const { return region_.contains(QPoint(x, y)); }
    TRect Bounds() const;
    TRegion Translated(int dx, int dy) const;
    const QRegion& ToQRegion() const { return region_; }

private:
    explicit TRegion(QRegion region) : region_(std::move(region)) {}
    QRegion region_;
};

// Gives a windowed control a non-rectangular outline: only the region's
// pixels are drawn and receive the pointer. An empty region restores the
// whole rectangle.
void SetWindowRegion(QWidget& window, const TRegion& region);
