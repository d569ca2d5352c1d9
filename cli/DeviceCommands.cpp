// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/DeviceCommands.h"

#include "cli/CommandMessages.h"
#include "cli/Messages.h"
#include "engine/DefaultSoundOutput.h"

namespace {

void SayNoServer(const SoundOutput& output) {
    SayOnStandardError(
        WithServerReason(CliText(command_messages::kNoServer), output.FailureReason()));
}

} // namespace

QString DeviceNoticeText(const DeviceNotice& notice) {
    const QString device = QString::fromStdString(notice.device);
    if (notice.kind == DeviceNotice::Kind::Back)
        return CliText("playing on %1 again").arg(device);
    QString nowOn;
    switch (notice.where) {
    case DeviceNotice::Where::Named:
        nowOn = QString::fromStdString(notice.nowOn);
        break;
    case DeviceNotice::Where::DefaultOutput:
        nowOn = CliText("the default output");
        break;
    case DeviceNotice::Where::Unknown:
        nowOn = CliText("another output");
        break;
    }
    return CliText("the output %1 went away; playing on %2").arg(device, nowOn);
}

void PrintDevices(const std::vector<OutputDevice>& devices, std::FILE* to) {
    for (const OutputDevice& d : devices)
        std::fprintf(to, "%s\t%s%s\n", d.name.c_str(), d.description.c_str(),
                     d.isDefault ? "\t(default)" : "");
}

int RunDevices() {
    const std::shared_ptr<SoundOutput> output = DefaultSoundOutput();
    const auto devices = output->ListDevices();
    if (!devices) {
        SayNoServer(*output);
        return 1;
    }
    PrintDevices(*devices, stdout);
    return 0;
}

int ChooseOutputDevice(const std::string& wanted) {
    const std::shared_ptr<SoundOutput> output = DefaultSoundOutput();
    const auto devices = output->ListDevices();
    if (!devices) {
        SayNoServer(*output);
        return 1;
    }
    const OutputDevice* device = FindOutputDevice(*devices, wanted);
    if (!device) {
        SayOnStandardError(
            CliText("no output named '%1'; the outputs are:").arg(QString::fromStdString(wanted)));
        PrintDevices(*devices, stderr);
        return 2;
    }
    output->WatchDeviceNotices(
        [](const DeviceNotice& notice) { SayOnStandardError(DeviceNoticeText(notice)); });
    output->ChooseDevice(device->name);
    return 0;
}
