// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Region.h"

#include "platform/EllipseSpans.h"

#include <QWidget>

TRegion TRegion::Rectangle(const TRect& r) {
    const TRect n = r.Normalized();
    if (n.IsEmpty())
        return {};
    return TRegion(QRegion(n.Left, n.Top, n.Width(), n.Height()));
}

TRegion TRegion::Elliptic(const TRect& r) {
    const TRect n = r.Normalized();
    QRegion region;
    for (const TSpan& s : EllipseSpans({n.Left, n.Top, n.Right - 1, n.Bottom - 1}))
        region += QRect(s.Left, s.Y, s.Right - s.Left + 1, 1);
    return TRegion(region);
}

TRect TRegion::Bounds() const {
    const QRect b = region_.boundingRect();
    return ::Bounds(b.x(), b.y(), b.width(), b.height());
}

TRegion TRegion::Translated(int dx, int dy) const {
    return TRegion(region_.translated(dx, dy));
}

void SetWindowRegion(QWidget& window, const TRegion& region) {
    if (region.IsEmpty())
        window.clearMask();
    else
        window.setMask(region.ToQRegion());
}
