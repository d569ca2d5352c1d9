// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The gear dial's turning model: the pointer's angle from the minimum
// position and the relative drag that turns it. A drag turns the knob by
// the change of the mouse's angle around the centre, wherever the press was,
// so it is kept apart from the control's input handling and painting.

#include "platform/Geometry.h"

namespace gear {

// The pointer angle for a position given in parts per thousand of the
// range, over a total turn of rotAngle degrees.
float PointerAngle(int ppt, int rotAngle);

// The digit for a pointer angle: the nearest step (halves to even) of the
// digital span, counted from digitalFrom. rotAngle must be positive.
int AngleToDigit(float angle, int rotAngle, int digitalSpan, int digitalFrom);

// A change of the mouse's angle between two events. A jump of more than
// 200 degrees can only come from crossing the 0/360 seam below the centre,
// so it is carried over as the small turn it really was.
float SeamDelta(float angle, float lastAngle);

class TGearDrag {
public:
    float CurrentAngle() const { return current_; }
    float LastAngle() const { return last_; }

    // The pointer settles on its digit's own angle after every digit change;
    // small moves that stay within one digit keep adding to it.
    void SetCurrentAngle(float angle) { current_ = angle; }

    // Any press only remembers where the mouse was, so the knob does not
    // jump to the press point.
    void Press(TPoint centre, TPoint p);

    // One step of a drag: turns by the mouse's change of angle, held at both
    // ends so that turning past them does not wind up. Returns the digit for
    // the new angle.
    int Track(TPoint centre, TPoint p, int rotAngle, int digitalSpan, int digitalFrom);

private:
    float current_ = 0.0f;
    float last_ = 0.0f;
};

} // namespace gear
