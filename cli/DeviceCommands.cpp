// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/DeviceCommands.h"

#include "engine/DefaultSoundOutput.h"

namespace {
constexpr const char* kNoServer = "orbel: no sound server answers (PulseAudio or PipeWire)\n";
}

void PrintDevices(const std::vector<OutputDevice>& devices, std::FILE* to) {
    for (const OutputDevice& d : devices)
        std::fprintf(to, "%s\t%s%s\n", d.name.c_str(), d.description.c_str(),
                     d.isDefault ? "\t(default)" : "");
}

int RunDevices() {
    const auto devices = DefaultSoundOutput()->ListDevices();
    if (!devices) {
        std::fputs(kNoServer, stderr);
        return 1;
    }
    PrintDevices(*devices, stdout);
    return 0;
}

int ChooseOutputDevice(const std::string& wanted) {
    const std::shared_ptr<SoundOutput> output = DefaultSoundOutput();
    const auto devices = output->ListDevices();
    if (!devices) {
        std::fputs(kNoServer, stderr);
        return 1;
    }
    const OutputDevice* device = FindOutputDevice(*devices, wanted);
    if (!device) {
        std::fprintf(stderr, "orbel: no output named '%s'; the outputs are:\n", wanted.c_str());
        PrintDevices(*devices, stderr);
        return 2;
    }
    output->WatchDeviceNotices(
        [](const std::string& notice) { std::fprintf(stderr, "orbel: %s\n", notice.c_str()); });
    output->ChooseDevice(device->name);
    return 0;
}
