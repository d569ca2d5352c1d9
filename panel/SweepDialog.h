// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sweep dialog: from and to (Hz), time (s), logarithmic or linear, and
// repeat; or, in steps, the number of steps, each one's dwell (ms) and
// whether it returns. Start asks for the sweep when every field is valid and otherwise
// names the refused values under the fields; Stop asks to end it. It is
// not modal, so the panel's own Stop stays at hand; Escape closes it.

#include "engine/signals/SweepSignal.h"
#include "engine/steps/StepSchedule.h"

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
    std::function<void(const SteppedSweepSettings&)> onStartSteps;
    std::function<void()> onStop;

    // The dialog's parts, for keyboard focus order and for tests.
    QLineEdit* From() const { return from_; }
    QLineEdit* To() const { return to_; }
    QLineEdit* Seconds() const { return seconds_; }
    QRadioButton* Logarithmic() const { return logarithmic_; }
    QRadioButton* Linear() const { return linear_; }
    QCheckBox* Repeat() const { return repeat_; }
    QCheckBox* Stepped() const { return stepped_; }
    QLineEdit* Steps() const { return steps_; }
    QLineEdit* Dwell() const { return dwell_; }
    QCheckBox* UpDown() const { return upDown_; }
    QPushButton* StartButton() const { return start_; }
    QPushButton* StopButton() const { return stop_; }
    QLabel* Refusals() const { return refusals_; }

    // Start; public so that Enter in a field and tests reach it alike.
    void Start();

private:
    // The fields of one kind of sweep are open, the other's closed.
    void ShowKind();

private:
    QLineEdit* from_;
    QLineEdit* to_;
    QLineEdit* seconds_;
    QRadioButton* logarithmic_;
    QRadioButton* linear_;
    QCheckBox* repeat_;
    QCheckBox* stepped_;
    QLineEdit* steps_;
    QLineEdit* dwell_;
    QCheckBox* upDown_;
    QPushButton* start_;
    QPushButton* stop_;
    QLabel* refusals_;
};
