// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/gear/GearDrag.h"

#include "controls/gear/GearGeometry.h"
#include "controls/paint/RoundEven.h"

#include <cmath>

namespace gear {

namespace {
constexpr float kFullTurn = 360.0f;
constexpr float kSeamJump = 200.0f;
constexpr double kPptScale = 1000.0;
// Lifts an angle that lies exactly on a digit's boundary over it, so that
// float noise cannot drop the pointer one step short.
constexpr double kBoundaryNudge = 0.0001;
} // namespace

float PointerAngle(int ppt, int rotAngle) {
    return static_cast<float>(ppt * (rotAngle / kPptScale));
}

int AngleToDigit(float angle, int rotAngle, int digitalSpan, int digitalFrom) {
    const double steps = (angle + kBoundaryNudge) / rotAngle * digitalSpan;
    return RoundEven(steps) + digitalFrom;
}

float SeamDelta(float angle, float lastAngle) {
    float delta = angle - lastAngle;
    if (std::fabs(delta) > kSeamJump) {
        if (delta > 0)
            delta -= kFullTurn;
        else if (delta < 0)
            delta += kFullTurn;
    }
    return delta;
}

void TGearDrag::Press(TPoint centre, TPoint p) {
    last_ = AngleOfPoint(centre, p);
}

int TGearDrag::Track(TPoint centre, TPoint p, int rotAngle, int digitalSpan, int digitalFrom) {
    const float a = AngleOfPoint(centre, p);
    current_ += SeamDelta(a, last_);
    const float end = static_cast<float>(rotAngle);
    if (end < current_)
        current_ = end;
    else if (current_ < 0.0f)
        current_ = 0.0f;
    last_ = a;
    return AngleToDigit(current_, rotAngle, digitalSpan, digitalFrom);
}

} // namespace gear
