// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/CalibrationFollower.h"

#include "core/CalibrationStore.h"
#include "engine/ToneGen.h"

CalibrationFollower::CalibrationFollower(instrument::Instrument& instrument)
    : instrument_(instrument) {
    subscription_ = instrument_.Subscribe([this] {
        if (instrument_.State().choices.device != device_)
            Reload();
    });
    Reload();
}

CalibrationFollower::~CalibrationFollower() {
    instrument_.Unsubscribe(subscription_);
}

void CalibrationFollower::Reload() {
    device_ = instrument_.State().choices.device;
    const StoredCalibrations stored = CalibrationStore(CalibrationStore::DefaultPath()).Load();
    OutputCalibration calibration;
    if (!stored.table.Outputs().empty()) {
        std::string name = *device_;
        if (name.empty()) // the server's default output: its own name
            if (const auto devices = instrument_.Generator().Output()->ListDevices())
                for (const OutputDevice& d : *devices)
                    if (d.isDefault)
                        name = d.name;
        if (const auto found = stored.table.Outputs().find(name);
            found != stored.table.Outputs().end())
            calibration = found->second;
    }
    instrument_.UseCalibration(calibration);
}
