// SPDX-License-Identifier: GPL-3.0-or-later
// The signal generator. Without a command: one window, the front panel,
// until Exit or until the window is closed; at the end the panel's
// generator stops the sound and sets its output's level back to what it
// read at the start (the program's own playback level; the sound server's
// and the device's volumes are never touched).
// With `export FILE` or `play` the generator works without a display.

#include "app/DisplayReach.h"
#include "cli/ArgumentText.h"
#include "cli/CalibrateCommand.h"
#include "cli/CommandLine.h"
#include "cli/CommandRunner.h"
#include "cli/DeviceCommands.h"
#include "cli/LevelAtOutput.h"
#include "cli/Messages.h"
#include "cli/PlayRate.h"
#include "cli/ServeCommand.h"
#include "cli/PresetCommands.h"
#include "cli/ToneOptions.h"
#include "core/EndingSignals.h"
#include "engine/DefaultSoundOutput.h"
#include "engine/ToneGen.h"
#include "panel/PanelClasses.h"
#include "panel/PanelText.h"
#include "panel/Unit1.h"
#include "platform/sound/SystemSoundOutput.h"

#include <QApplication>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

bool WriteOut(const std::string& text) {
    if (std::fputs(text.c_str(), stdout) >= 0 && std::fflush(stdout) == 0)
        return true;
    const int error = errno;
    SayOnStandardError(CliText("cannot write to standard output: %1").arg(std::strerror(error)));
    return false;
}

int RunPanel(int argc, char** argv, bool classic) {
    const DisplayReach display = CheckDisplay();
    if (!display.reachable) {
        SayOnStandardError(CliText("no display for the front panel (%1); export and play "
                                   "work without one, see orbel --help")
                               .arg(QString::fromStdString(tone_options::OneLine(display.why))));
        return 1;
    }
    if (!display.platform.empty())
        ::setenv("QT_QPA_PLATFORM", display.platform.c_str(), 1);
    // SIGINT, SIGTERM and SIGHUP close the window as its close box does,
    // so the generator fades out; SIGQUIT too, before its default effect.
    EndingSignals endingSignals;
    int status = 0;
    std::shared_ptr<SoundOutput> output;
    {
        QApplication app(argc, argv);
        // Russian as designed; English under an English locale.
        UsePanelLanguage(app);
        // The generators the panel creates play through this machine's sound
        // server (made when the first one asks).
        SetSoundOutputFactory(&CreateSoundOutput);
        InitPanelResources();
        RegisterPanelClasses();
        TForm1 form;
        // The stored generator is classic; the program plays the precise
        // synthesis unless asked not to.
        form.ToneGen1->SetPrecise(!classic);
        // The output, format and signal chosen in the menu at the last run.
        form.UseRememberedChoices();
        output = form.ToneGen1->Output();
        std::unique_ptr<QSocketNotifier> onSignal;
        if (endingSignals.ReadFd() >= 0) {
            onSignal =
                std::make_unique<QSocketNotifier>(endingSignals.ReadFd(), QSocketNotifier::Read);
            QObject::connect(onSignal.get(), &QSocketNotifier::activated, &form, [&] {
                onSignal->setEnabled(false);
                form.close();
                QCoreApplication::quit(); // should the window refuse to close
            });
        }
        form.show();
        status = app.exec();
    }
    // The output's own end lets the fade-out play before the stream goes,
    // rather than the process's end cutting what the server still holds.
    SetDefaultSoundOutput(nullptr);
    output.reset();
    endingSignals.RaiseQuitIfCaught();
    return status;
}

QStringList Arguments(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << ArgumentText(argv[i]);
    return arguments;
}

} // namespace

int main(int argc, char** argv) {
    UseCommandLineLanguage();
    CommandLineParser parser;
    parser.SetPresetSource(&FindPreset);
    CommandLine line = parser.Parse(Arguments(argc, argv));
    if (line.action == CommandLine::Action::Panel)
        return RunPanel(argc, argv, line.classic);
    if (line.action == CommandLine::Action::Refused) {
        std::fprintf(stderr, "orbel: %s\n", line.error.c_str());
        return 2;
    }

    // The command line needs no window system; it plays through this
    // machine's sound server, like the panel.
    SetSoundOutputFactory(&CreateSoundOutput);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("orbel");
    QCoreApplication::setApplicationVersion(ORBEL_VERSION);
    switch (line.action) {
    case CommandLine::Action::Help:
        return WriteOut(parser.HelpText().toStdString()) ? 0 : 1;
    case CommandLine::Action::Version:
        return WriteOut(
                   std::string("orbel ") + ORBEL_VERSION + "\n" +
                   CliString(CliText("Copyright (C) 2026 the orbel maintainers\n"
                                     "License GPL-3.0-or-later: GNU GPL version 3 or later "
                                     "<https://gnu.org/licenses/gpl.html>\n"
                                     "This is free software: you are free to change and "
                                     "redistribute it.\n"
                                     "There is NO WARRANTY, to the extent permitted by law.")) +
                   "\n")
                   ? 0
                   : 1;
    case CommandLine::Action::Export: {
        // The output's calibration is looked up when a level is in volts or
        // an output is named: a plain export never waits for a server.
        ForgetGonePresetOutput(line);
        LevelAtOutput at;
        if (line.jackLevel || line.rightJackLevel || !line.device.empty())
            at = FindLevelAtOutput(*DefaultSoundOutput(), line.device);
        if (const int status = SetSampleLevel(line, at); status != 0)
            return status;
        if (line.levelGiven && !SayTheLevel(line, at, stderr))
            return 1;
        if (line.multitone)
            return RunMultitoneExport(*line.multitone, line.file);
        if (line.steps)
            return RunSteppedSweepExport(*line.steps, line.file);
        if (line.streamed)
            return RunStreamedExport(line.streamed->tone, line.streamed->format,
                                     line.streamed->durationMs, line.file);
        return RunExport(line.tone, line.file);
    }
    case CommandLine::Action::Play: {
        ForgetGonePresetOutput(line);
        if (!line.device.empty())
            if (const int status = ChooseOutputDevice(line.device); status != 0)
                return status;
        const LevelAtOutput at = FindLevelAtOutput(*DefaultSoundOutput(), line.device);
        ChoosePlayRate(line, *DefaultSoundOutput(), at.output);
        if (const int status = SetSampleLevel(line, at); status != 0)
            return status;
        if ((line.levelGiven || at.calibration) && line.tone.precise &&
            !SayTheLevel(line, at, stderr))
            return 1;
        const int status = line.multitone  ? RunMultitonePlay(*line.multitone, line.seconds)
                           : line.steps    ? RunSteppedSweepPlay(*line.steps, line.seconds)
                           : line.streamed ? RunStreamedPlay(line.tone, line.streamed->tone,
                                                             line.streamed->format, line.seconds)
                                           : RunPlay(line.tone, line.seconds);
        SetDefaultSoundOutput(nullptr); // lets a fade-out play before the stream goes
        return status;
    }
    case CommandLine::Action::Devices:
        return RunDevices();
    case CommandLine::Action::Calibrate:
        return RunCalibrate(line);
    case CommandLine::Action::Serve: {
        if (!line.device.empty())
            if (const int status = ChooseOutputDevice(line.device); status != 0)
                return status;
        const int status = RunServe(line, ORBEL_VERSION);
        SetDefaultSoundOutput(nullptr); // lets a fade-out play before the stream goes
        return status;
    }
    case CommandLine::Action::Presets:
        return RunPresetList();
    case CommandLine::Action::PresetSave:
        return RunPresetSave(*line.preset);
    case CommandLine::Action::PresetDelete:
        return RunPresetDelete(line.presetName);
    default:
        return 2;
    }
}
