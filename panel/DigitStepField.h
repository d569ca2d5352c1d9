// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A frequency field with three decimals that steps as a bench generator's
// knob does: Up and Down add or take one unit of the digit left of the
// cursor (the hundreds, the units, a thousandth of a hertz), keeping the
// cursor on that digit, and every step that stays within the range is
// handed on at once. Typed text is read on Enter. Numbers are written as
// the panel's language writes them.

#include "engine/MilliHertz.h"

#include <QLineEdit>

#include <functional>

class DigitStepField : public QLineEdit {
public:
    explicit DigitStepField(QWidget* parent);

    // The sample rate whose FrequencyRange the field keeps to.
    void SetRate(int rate) { rate_ = rate; }
    int Rate() const { return rate_; }
    // Shows `frequency` with three decimals.
    void Show(MilliHertz frequency);
    // The text as a frequency within the range, or why it is none.
    FrequencyReading Read() const;

    // A step taken by Up or Down.
    std::function<void(MilliHertz)> onStep;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // One unit of the digit left of the cursor, in millihertz; 0 when no
    // digit stands there.
    std::int64_t UnitLeftOfCursor() const;
    void Step(int direction);

    int rate_ = 44100;
};
