// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The level calibrations kept in the settings folder, in a file of their own
// (calibration.conf). A missing file, or one that does not read as
// calibrations (damaged, over 1 MB, not a regular file, unreadable), means
// "not calibrated", never a fault; reading never waits on a FIFO or device.
//
// Saving an output's calibration reads the file again, replaces that
// output's entry and keeps every other, and writes the file whole through
// the writer it was given. Programs saving at once take turns on a lock of
// the folder, so that none loses another's output (if the lock is not had
// within ten seconds, the save goes ahead: the file is still whole). A
// file that does not read as calibrations is left as it is and nothing is
// saved, so that a damaged file a user may mend is never lost.

#include "core/CalibrationTable.h"
#include <functional>
#include <string>
#include <string_view>

// Writes a settings-folder file whole or not at all; true when written.
using FileReplacer = std::function<bool(const std::string& path, std::string_view contents)>;
// The settings folder's writer (SettingsFolderFile.h), for calibration text.
bool WriteCalibrationFile(const std::string& path, std::string_view contents);

enum class CalibrationFileState {
    Read,      // calibrations read (perhaps none)
    Missing,   // no file: nothing calibrated yet
    Damaged,   // not calibration text
    TooLarge,  // over kMaxCalibrationFileBytes: not read
    NotAFile,  // a folder, FIFO, device or socket: not opened for reading
    Unreadable // refused by the system (permissions, say)
};

enum class CalibrationSaveResult {
    Saved,
    InvalidCalibration, // no channel, an empty name, volts or date out of form
    FileKept,           // the file does not read as calibrations: left alone
    TooLarge,           // the file would pass kMaxCalibrationFileBytes (a huge name)
    NotWritten          // no settings folder, or the writer failed
};

inline constexpr std::size_t kMaxCalibrationFileBytes = 1 << 20;

struct StoredCalibrations {
    CalibrationTable table;
    CalibrationFileState state = CalibrationFileState::Missing;
};

class CalibrationStore {
public:
    // The file in the user's settings folder (empty when there is none).
    static std::string DefaultPath();

    explicit CalibrationStore(std::string path, FileReplacer replace = WriteCalibrationFile);

    StoredCalibrations Load() const;
    CalibrationSaveResult Save(const std::string& output,
                               const OutputCalibration& calibration) const;

    const std::string& Path() const { return path_; }

private:
    std::string path_;
    FileReplacer replace_;
};
