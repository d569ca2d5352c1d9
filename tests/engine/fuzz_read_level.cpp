// SPDX-License-Identifier: GPL-3.0-or-later
// Any text as a level, on an output calibrated at a voltage taken from the
// first bytes (or not calibrated): no crash; an accepted level plays from
// -120 to 0 dB; a refused one says why, and a limit it gives reads back as
// a level the output plays.
#include "core/ChannelCalibration.h"
#include "engine/LevelFormat.h"
#include "engine/LevelTextReader.h"
#include "engine/SampleLevel.h"
#include "engine/SignalVolts.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace {

void Require(bool condition) {
    if (!condition)
        std::abort();
}

bool Plays(std::optional<double> peakDb) {
    return peakDb && *peakDb >= -120 && *peakDb <= 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::optional<double> fullScale;
    if (size >= 1 + sizeof(double) && data[0] % 2 == 1) {
        double volts = 0;
        std::memcpy(&volts, data + 1, sizeof volts);
        fullScale = volts;
        data += 1 + sizeof(double);
        size -= 1 + sizeof(double);
    }
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const LevelTextReading reading = ReadLevelText(text);
    Require(reading.level.has_value() != reading.refusal.Refused());
    if (!reading.level)
        return 0;
    Require(std::isfinite(reading.level->number));
    (void)FormatLevel(*reading.level);
    const SampleLevelResult sample = ToSampleLevel(*reading.level, fullScale);
    Require(sample.peakDb.has_value() != sample.refusal.Refused());
    if (sample.peakDb) {
        Require(Plays(sample.peakDb));
        if (fullScale && IsCalibrationVoltage(*fullScale)) {
            const SineVolts volts = SineVoltsAt(*sample.peakDb, *fullScale);
            Require(!(volts.rms < 0) && !(volts.peakToPeak < volts.rms));
        }
        return 0;
    }
    if (sample.refusal.limit) {
        const std::string shown = FormatLevel(*sample.refusal.limit);
        const LevelTextReading typedBack = ReadLevelText(shown);
        Require(typedBack.level.has_value());
        Require(Plays(ToSampleLevel(*typedBack.level, fullScale).peakDb));
    }
    return 0;
}
