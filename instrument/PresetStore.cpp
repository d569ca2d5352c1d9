// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/PresetStore.h"

#include "core/SettingsFolder.h"
#include "core/SettingsFolderFile.h"
#include "instrument/PresetText.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace instrument {

namespace {

constexpr std::string_view kSuffix = ".preset";

bool KeptAsIs(unsigned char byte) {
    return (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') || byte == '-' ||
           byte == '_';
}

bool ReadsAsPreset(const std::string& text) {
    return ReadPresetText(text).preset.has_value();
}

std::string Why(SettingsFileText::Status status) {
    switch (status) {
    case SettingsFileText::Status::NotAFile:
        return "not a regular file";
    case SettingsFileText::Status::TooLarge:
        return "larger than 1 MB";
    case SettingsFileText::Status::Unreadable:
        return "cannot be read";
    case SettingsFileText::Status::Missing:
        return "missing";
    case SettingsFileText::Status::Read:
        break;
    }
    return {};
}

} // namespace

std::string PresetFileName(std::string_view name) {
    if (name.empty() || name.size() > kLongestPresetName)
        return {};
    std::string file;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (KeptAsIs(byte)) {
            file += c;
            continue;
        }
        constexpr char kHex[] = "0123456789ABCDEF";
        file += '%';
        file += kHex[byte >> 4];
        file += kHex[byte & 15];
    }
    return file + std::string(kSuffix);
}

std::string PresetStore::DefaultFolder() {
    const std::string folder = SettingsFolder();
    return folder.empty() ? folder : folder + "/presets";
}

PresetStore::PresetStore(std::string folder) : folder_(std::move(folder)) {}

std::string PresetStore::PathOf(std::string_view name) const {
    const std::string file = PresetFileName(name);
    return file.empty() || folder_.empty() ? std::string() : folder_ + "/" + file;
}

PresetListing PresetStore::List() const {
    PresetListing listing;
    if (folder_.empty())
        return listing;
    DIR* folder = ::opendir(folder_.c_str());
    if (!folder)
        return listing;
    std::vector<std::string> files;
    while (const dirent* entry = ::readdir(folder)) {
        const std::string_view file = entry->d_name;
        if (file.size() > kSuffix.size() && file.ends_with(kSuffix))
            files.emplace_back(file);
    }
    ::closedir(folder);
    std::sort(files.begin(), files.end());
    for (const std::string& file : files) {
        const SettingsFileText read = ReadSettingsFolderFile(folder_ + "/" + file);
        if (read.status != SettingsFileText::Status::Read) {
            listing.unreadable.emplace_back(file, Why(read.status));
            continue;
        }
        const PresetReading reading = ReadPresetText(read.text);
        if (!reading.preset) {
            listing.unreadable.emplace_back(
                file, (reading.line ? "line " + std::to_string(reading.line) + ": " : "") +
                          reading.reason);
        } else if (PresetFileName(reading.preset->name) != file) {
            listing.unreadable.emplace_back(file, "it holds a preset of another name");
        } else {
            listing.names.push_back(reading.preset->name);
        }
    }
    std::sort(listing.names.begin(), listing.names.end());
    return listing;
}

PresetLoad PresetStore::Load(std::string_view name) const {
    using Status = PresetLoad::Status;
    const std::string path = PathOf(name);
    if (path.empty())
        return {PresetFileName(name).empty() ? Status::BadName : Status::Missing, {}, 0, {}};
    const SettingsFileText read = ReadSettingsFolderFile(path);
    if (read.status == SettingsFileText::Status::Missing)
        return {Status::Missing, {}, 0, {}};
    if (read.status != SettingsFileText::Status::Read)
        return {Status::Damaged, {}, 0, Why(read.status)};
    PresetReading reading = ReadPresetText(read.text);
    if (!reading.preset)
        return {Status::Damaged, {}, reading.line, std::move(reading.reason)};
    if (reading.preset->name != name)
        return {Status::Damaged, {}, 0, "it holds a preset of another name"};
    return {Status::Loaded, std::move(reading.preset), 0, {}};
}

PresetSaveResult PresetStore::Save(const Preset& preset) const {
    if (PresetFileName(preset.name).empty())
        return PresetSaveResult::BadName;
    const std::string path = PathOf(preset.name);
    if (path.empty())
        return PresetSaveResult::Failed;
    const std::string text = WritePresetText(preset);
    if (text.size() > kLargestSettingsFile)
        return PresetSaveResult::TooLarge;
    switch (WriteSettingsFolderFile(path, text, ReadsAsPreset).outcome) {
    case SettingsFileWrite::Outcome::Written:
        return PresetSaveResult::Saved;
    case SettingsFileWrite::Outcome::Refused:
        return PresetSaveResult::Refused;
    case SettingsFileWrite::Outcome::Failed:
        break;
    }
    return PresetSaveResult::Failed;
}

PresetDeleteResult PresetStore::Delete(std::string_view name) const {
    if (PresetFileName(name).empty())
        return PresetDeleteResult::BadName;
    const std::string path = PathOf(name);
    struct stat info {};
    if (path.empty() || ::lstat(path.c_str(), &info) != 0)
        return errno == ENOENT || path.empty() ? PresetDeleteResult::Missing
                                               : PresetDeleteResult::Failed;
    // A link goes, never what it points at; anything but a file or a link stays.
    if (!S_ISREG(info.st_mode) && !S_ISLNK(info.st_mode))
        return PresetDeleteResult::Refused;
    return ::unlink(path.c_str()) == 0 ? PresetDeleteResult::Deleted : PresetDeleteResult::Failed;
}

} // namespace instrument
