// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The presets kept in the settings folder: one small text file each in its
// `presets` folder (PresetText.h), read and written as every file there is
// (core/SettingsFolderFile.h): a write replaces the file whole or not at
// all, never follows a link to a file that is not a preset, and never
// blocks; a read never waits on a FIFO and takes at most 1 MB.
//
// A name is any text of 1 to kLongestPresetName bytes. Its file's name
// keeps the lower-case letters, digits, '-' and '_' and writes every other
// byte as %XX (upper-case letters too), so that two names differing only in
// case, or in characters a file name cannot hold, have files of their own.
// The name itself is inside the file as well.

#include "instrument/Preset.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace instrument {

inline constexpr std::size_t kLongestPresetName = 80;

// "Ref 1k" -> "%52ef%201k.preset"; empty for a name that is empty or too long.
std::string PresetFileName(std::string_view name);

struct PresetListing {
    std::vector<std::string> names; // in byte order
    // Files that do not read as presets: the file's name and why (English).
    std::vector<std::pair<std::string, std::string>> unreadable;
};

struct PresetLoad {
    enum class Status { Loaded, Missing, Damaged, BadName };
    Status status = Status::Missing;
    std::optional<Preset> preset;
    int line = 0;       // Damaged: the line at fault, from 1 (0: the whole file)
    std::string reason; // Damaged: why (English)
};

enum class PresetSaveResult {
    Saved,
    BadName,  // empty or longer than kLongestPresetName
    TooLarge, // the file would pass 1 MB
    Refused,  // something that is not the program's preset file is in its place: left alone
    Failed    // no settings folder, or the system refused the write
};

enum class PresetDeleteResult { Deleted, Missing, BadName, Refused, Failed };

class PresetStore {
public:
    // The settings folder's `presets` (empty when there is no settings folder).
    static std::string DefaultFolder();

    explicit PresetStore(std::string folder);

    PresetListing List() const;
    PresetLoad Load(std::string_view name) const;
    PresetSaveResult Save(const Preset& preset) const;
    PresetDeleteResult Delete(std::string_view name) const;

    const std::string& Folder() const { return folder_; }

private:
    std::string PathOf(std::string_view name) const;

    std::string folder_;
};

} // namespace instrument
