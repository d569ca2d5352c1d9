// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pixels of a 1-pixel line from one point to another, end point not
// included, so that joined segments paint each corner once.

#include "platform/Geometry.h"

#include <vector>

std::vector<TPoint> LinePixels(TPoint from, TPoint to);
