// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/DeviceCommands.h"

#include "cli/CommandMessages.h"
#include "cli/Messages.h"
#include "cli/ToneOptions.h"
#include "engine/DefaultSoundOutput.h"

#include <cerrno>
#include <cstring>

namespace {

void SayNoServer(const SoundOutput& output) {
    SayOnStandardError(
        WithServerReason(CliText(command_messages::kNoServer), output.FailureReason()));
}

// A name the server or the user gives, fit for a message: shortened, and
// nothing in it acts on the terminal.
QString ShownName(const std::string& name) {
    return QString::fromStdString(tone_options::OneLine(tone_options::Shortened(name)));
}

} // namespace

QString DeviceNoticeText(const DeviceNotice& notice) {
    const QString device = ShownName(notice.device);
    if (notice.kind == DeviceNotice::Kind::Back)
        return CliText("playing on %1 again").arg(device);
    QString nowOn;
    switch (notice.where) {
    case DeviceNotice::Where::Named:
        nowOn = ShownName(notice.nowOn);
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

bool PrintDevices(const std::vector<OutputDevice>& devices, std::FILE* to) {
    // A tab or an escape in a name or description is shown as \x09 or
    // \x1B: one output a line, two fields, and nothing acts on the
    // terminal. Names are shown whole, to be typed back.
    for (const OutputDevice& d : devices)
        std::fprintf(to, "%s\t%s%s\n", tone_options::OneLine(d.name).c_str(),
                     tone_options::OneLine(d.description).c_str(),
                     d.isDefault ? "\t(default)" : "");
    return std::fflush(to) == 0 && !std::ferror(to);
}

int RunDevices() {
    const std::shared_ptr<SoundOutput> output = DefaultSoundOutput();
    const auto devices = output->ListDevices();
    if (!devices) {
        SayNoServer(*output);
        return 1;
    }
    if (PrintDevices(*devices, stdout))
        return 0;
    const int error = errno;
    SayOnStandardError(CliText("cannot write to standard output: %1").arg(std::strerror(error)));
    return 1;
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
            CliText("no output named '%1'; the outputs are:").arg(ShownName(wanted)));
        PrintDevices(*devices, stderr);
        return 2;
    }
    output->WatchDeviceNotices(
        [](const DeviceNotice& notice) { SayOnStandardError(DeviceNoticeText(notice)); });
    output->ChooseDevice(device->name);
    return 0;
}
