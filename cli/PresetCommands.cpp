// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/PresetCommands.h"

#include "cli/Messages.h"
#include "cli/ToneOptions.h"
#include "engine/DefaultSoundOutput.h"
#include "engine/OutputDevice.h"
#include "instrument/PresetStore.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

using namespace instrument;

// A name fit for one line of a message: shortened, nothing in it acting on
// the terminal, in quotes.
QString Shown(const std::string& name) {
    return QString::fromStdString(tone_options::Quoted(name));
}

PresetStore Store(const std::string& folder = {}) {
    return PresetStore(folder.empty() ? PresetStore::DefaultFolder() : folder);
}

} // namespace

PresetLookup FindPresetIn(const std::string& folder, const std::string& name) {
    const PresetLoad load = Store(folder).Load(name);
    switch (load.status) {
    case PresetLoad::Status::Loaded:
        return {load.preset, {}};
    case PresetLoad::Status::Missing:
        return {
            std::nullopt,
            CliString(CliText("no preset named %1 (orbel presets lists them)").arg(Shown(name)))};
    case PresetLoad::Status::BadName:
        return {
            std::nullopt,
            CliString(CliText("a preset's name is 1 to %1 bytes").arg(int(kLongestPresetName)))};
    case PresetLoad::Status::Damaged:
        break;
    }
    const QString reason = QString::fromStdString(tone_options::OneLine(load.reason));
    return {std::nullopt,
            CliString(load.line > 0
                          ? CliText("preset %1 is damaged: line %2: %3")
                                .arg(Shown(name))
                                .arg(load.line)
                                .arg(reason)
                          : CliText("preset %1 is damaged: %2").arg(Shown(name), reason))};
}

PresetLookup FindPreset(const std::string& name) {
    return FindPresetIn({}, name);
}

int RunPresetList() {
    const PresetListing listing = Store().List();
    for (const auto& [file, why] : listing.unreadable)
        SayOnStandardError(
            CliText("%1 is not a preset: %2")
                .arg(Shown(file), QString::fromStdString(tone_options::OneLine(why))));
    for (const std::string& name : listing.names)
        if (std::fprintf(stdout, "%s\n", tone_options::OneLine(name).c_str()) < 0)
            break;
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        SayOnStandardError(
            CliText("cannot write to standard output: %1").arg(std::strerror(errno)));
        return 1;
    }
    return 0;
}

int RunPresetSave(const Preset& preset) {
    const PresetStore store = Store();
    switch (store.Save(preset)) {
    case PresetSaveResult::Saved:
        return 0;
    case PresetSaveResult::BadName:
        SayOnStandardError(
            CliText("a preset's name is 1 to %1 bytes").arg(int(kLongestPresetName)));
        return 2;
    case PresetSaveResult::TooLarge:
        SayOnStandardError(CliText("preset %1 would be larger than 1 MB").arg(Shown(preset.name)));
        return 2;
    case PresetSaveResult::Refused:
        SayOnStandardError(CliText("preset %1 not saved: its place in %2 holds something that is "
                                   "not a preset, left as it is")
                               .arg(Shown(preset.name), Shown(store.Folder())));
        return 1;
    case PresetSaveResult::Failed:
        break;
    }
    SayOnStandardError(
        store.Folder().empty()
            ? CliText("preset %1 not saved: there is no settings folder ($HOME is not set)")
                  .arg(Shown(preset.name))
            : CliText("preset %1 not saved in %2").arg(Shown(preset.name), Shown(store.Folder())));
    return 1;
}

int RunPresetDelete(const std::string& name) {
    switch (Store().Delete(name)) {
    case PresetDeleteResult::Deleted:
        return 0;
    case PresetDeleteResult::Missing:
        SayOnStandardError(
            CliText("no preset named %1 (orbel presets lists them)").arg(Shown(name)));
        return 2;
    case PresetDeleteResult::BadName:
        SayOnStandardError(
            CliText("a preset's name is 1 to %1 bytes").arg(int(kLongestPresetName)));
        return 2;
    case PresetDeleteResult::Refused:
        SayOnStandardError(CliText("preset %1 not deleted: its place holds something that is not "
                                   "a preset, left as it is")
                               .arg(Shown(name)));
        return 1;
    case PresetDeleteResult::Failed:
        break;
    }
    const int error = errno;
    SayOnStandardError(CliText("preset %1 not deleted: %2")
                           .arg(Shown(name), QString::fromStdString(std::strerror(error))));
    return 1;
}

void ForgetGonePresetOutput(CommandLine& line) {
    if (!line.deviceFromPreset || line.device.empty())
        return;
    const auto devices = DefaultSoundOutput()->ListDevices();
    if (!devices || FindOutputDevice(*devices, line.device))
        return; // no server: the command says so as ever
    SayOnStandardError(CliText("preset %1: the output %2 is gone; the default output is used")
                           .arg(Shown(line.presetName), Shown(line.device)));
    line.device.clear();
}
