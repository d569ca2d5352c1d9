// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The menu's "Частота…": the selected channel's frequency to the
// millihertz, from 1 Hz to 20 kHz or 0.45 of the rate, whichever is higher.
// Up and Down step the digit left of the cursor and each step is heard at
// once; a typed value is set by Enter or "Установить", or refused with the
// range under the field. Not modal; Escape closes it.

#include "instrument/Instrument.h"

#include <QDialog>

class DigitStepField;
class QLabel;
class QMenu;

class FrequencyDialog : public QDialog {
    // The menu finds an open dialog by its class (qobject_cast).
    Q_OBJECT

public:
    FrequencyDialog(QWidget* parent, instrument::Instrument& instrument);

    // Adds the entry to `menu`; it opens the one dialog over `parent`.
    static void AddEntry(QMenu& menu, QWidget& parent, instrument::Instrument& instrument);

    DigitStepField* Field() const { return field_; }
    QLabel* Refusal() const { return refusal_; }
    // Sets the typed frequency, or says why not.
    void Apply();

private:
    void ShowChannelFrequency();

    instrument::Instrument& instrument_;
    DigitStepField* field_;
    QLabel* refusal_;
};
