// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sweep dialog: from and to (Hz), time (s), logarithmic or linear, and
// repeat. Start asks for the sweep when every field is valid and otherwise
// names the refused values under the fields; Stop asks to end it. It is
// not modal, so the panel's own Stop stays at hand; Escape closes it.

#include "engine/signals/SweepSignal.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class SweepDialog : public QDialog {
public:
    explicit SweepDialog(QWidget* parent);

    // Called with the sweep and whether it repeats.
    std::function<void(const SweepSettings&, bool repeat)> onStart;
    std::function<void()> onStop;

    // The dialog's parts, for keyboard focus order and for tests.
    QLineEdit* From() const { return from_; }
    QLineEdit* To() const { return to_; }
    QLineEdit* Seconds() const { return seconds_; }
    QRadioButton* Logarithmic() const { return logarithmic_; }
    QRadioButton* Linear() const { return linear_; }
    QCheckBox* Repeat() const { return repeat_; }
    QPushButton* StartButton() const { return start_; }
    QPushButton* StopButton() const { return stop_; }
    QLabel* Refusals() const { return refusals_; }

    // Start; public so that Enter in a field and tests reach it alike.
    void Start();

private:
    QLineEdit* from_;
    QLineEdit* to_;
    QLineEdit* seconds_;
    QRadioButton* logarithmic_;
    QRadioButton* linear_;
    QCheckBox* repeat_;
    QPushButton* start_;
    QPushButton* stop_;
    QLabel* refusals_;
};
