// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The menu's "Уровень…": the selected channel's level in any unit ("-20",
// "-20dBFS", "0dBu", "-10dBV", "775mV", "0,775V", "2Vpp"), set by Enter or
// "Установить", or refused with the reason (and the largest or smallest
// level the output plays, where that is the reason). Volts need the
// output's calibration. Not modal; Escape closes it.

#include "engine/LevelRefusal.h"
#include "instrument/Instrument.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QMenu;

class LevelDialog : public QDialog {
    // The menu finds an open dialog by its class (qobject_cast).
    Q_OBJECT

public:
    LevelDialog(QWidget* parent, instrument::Instrument& instrument);

    static void AddEntry(QMenu& menu, QWidget& parent, instrument::Instrument& instrument);

    QLineEdit* Field() const { return field_; }
    QLabel* Refusal() const { return refusal_; }
    void Apply();

private:
    void ShowChannelLevel();

    instrument::Instrument& instrument_;
    QLineEdit* field_;
    QLabel* refusal_;
};

// The panel's sentence for a refused level.
QString LevelRefusalSentence(const LevelRefusal& refusal);
