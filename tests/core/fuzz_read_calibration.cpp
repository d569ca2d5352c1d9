// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as the calibration file: no crash; what reads as calibrations
// holds only voltages and dates a calibration may hold, and written again
// reads back as the same table.
#include "core/CalibrationDate.h"
#include "core/CalibrationFile.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<CalibrationTable> table = ReadCalibrationText(text);
    if (!table)
        return 0;
    for (const auto& [output, calibration] : table->Outputs()) {
        if (output.empty() || (!calibration.left && !calibration.right))
            std::abort();
        for (const auto& channel : {calibration.left, calibration.right})
            if (channel && (!IsCalibrationVoltage(channel->fullScaleVolts) ||
                            !IsCalibrationDate(channel->date)))
                std::abort();
    }
    if (ReadCalibrationText(WriteCalibrationText(*table)) != table)
        std::abort();
    return 0;
}
