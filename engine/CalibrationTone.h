// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The steps of a level calibration that every front end shares: the tone a
// meter reads (a 1 kHz sine at a stated sample level on one channel, the
// other silent so that a meter on the wrong jack reads nothing, looped on
// an output until stopped), and the calibration made of the two readings.

#include "core/ChannelCalibration.h"
#include "engine/SoundOutput.h"
#include "engine/ToneGen.h"

#include <memory>
#include <string>

class CalibrationTone {
public:
    static constexpr int kFrequency = 1000;
    static constexpr double kDefaultLevelDb = -10;

    // `levelDb`: the sample level, -120..0 dBFS (a sine's RMS by AES17).
    CalibrationTone(std::shared_ptr<SoundOutput> output, double levelDb);
    ~CalibrationTone();
    CalibrationTone(const CalibrationTone&) = delete;
    CalibrationTone& operator=(const CalibrationTone&) = delete;

    // Plays on that channel alone, in place of what this tone played; false
    // when the tone cannot be made (no memory).
    bool Play(OutputChannel channel);
    // Stops the sound (after what was given to the server is played out, so
    // that the last of it is not cut into a click).
    void Stop();

    double LevelDb() const { return levelDb_; }

private:
    TToneGen gen_;
    double levelDb_;
    bool playing_ = false;
};

// The calibration the meter's readings (volts RMS, left and right) of the
// tone at `levelDb` make: the RMS volts of a full-scale sine on each
// channel, dated `date`, with the output's volume of that moment. A channel
// whose volts are not IsCalibrationVoltage() is not a reading of a real
// output: the caller refuses it.
OutputCalibration CalibrationFromReadings(double levelDb, double leftVolts, double rightVolts,
                                          const OutputVolume& volume, const std::string& date);
