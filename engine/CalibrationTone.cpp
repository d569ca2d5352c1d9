// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/CalibrationTone.h"

#include "engine/ToneRequest.h"

#include <cmath>
#include <utility>

CalibrationTone::CalibrationTone(std::shared_ptr<SoundOutput> output, double levelDb)
    : gen_(nullptr, std::move(output)), levelDb_(levelDb) {}

CalibrationTone::~CalibrationTone() {
    Stop();
}

bool CalibrationTone::Play(OutputChannel channel) {
    Stop();
    ToneRequest tone;
    tone.frequency = kFrequency;
    tone.stereo = true;
    tone.precise = true;
    tone.levelDb = levelDb_;
    const bool left = channel == OutputChannel::Left;
    tone.leftVolume = left ? 100 : 0;
    tone.rightVolume = left ? 0 : 100;
    if (!tone.Build(gen_))
        return false;
    gen_.SetLoop(true);
    gen_.Play();
    playing_ = true;
    return true;
}

void CalibrationTone::Stop() {
    if (!playing_)
        return;
    playing_ = false;
    gen_.Output()->StopAndDrain();
    gen_.Stop();
}

OutputCalibration CalibrationFromReadings(double levelDb, double leftVolts, double rightVolts,
                                          const OutputVolume& volume, const std::string& date) {
    // The reading over the sample level: the volts of a full-scale sine.
    const double gain = std::pow(10.0, levelDb / 20);
    return {ChannelCalibration{leftVolts / gain, date, volume.left},
            ChannelCalibration{rightVolts / gain, date, volume.right}};
}
