// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Readable test failure messages for the geometry types.

#include "platform/Geometry.h"

#include <ostream>

inline void PrintTo(const TRect& r, std::ostream* os) {
    *os << "(" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << ")";
}
inline void PrintTo(const TPoint& p, std::ostream* os) {
    *os << "(" << p.X << ", " << p.Y << ")";
}
