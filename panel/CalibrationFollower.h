// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Gives the instrument the stored level calibration of the output it plays
// on: at the start, whenever another output is chosen, and when asked
// (after a calibration was saved). The server is asked for the default
// output's name only when some output is calibrated at all.

#include "instrument/Instrument.h"

#include <optional>
#include <string>

class CalibrationFollower {
public:
    explicit CalibrationFollower(instrument::Instrument& instrument);
    ~CalibrationFollower();
    CalibrationFollower(const CalibrationFollower&) = delete;
    CalibrationFollower& operator=(const CalibrationFollower&) = delete;

    // Reads the stored calibrations again.
    void Reload();

private:
    instrument::Instrument& instrument_;
    int subscription_;
    std::optional<std::string> device_; // the choice last followed
};
