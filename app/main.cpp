// The signal generator. Without a command: one window, the front panel,
// until Exit or until the window is closed; at the end the panel's
// generator stops the sound and gives the output device its level back.
// With `export FILE` or `play` the generator works without a display.

#include "cli/CommandLine.h"
#include "cli/CommandRunner.h"
#include "cli/Messages.h"
#include "engine/DefaultSoundOutput.h"
#include "engine/ToneGen.h"
#include "panel/PanelClasses.h"
#include "panel/PanelText.h"
#include "panel/Unit1.h"
#include "platform/sound/SystemSoundOutput.h"

#include <QApplication>
#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

namespace {

bool EnvironmentSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// Whether the window system can be reached at all. A platform chosen
// explicitly (offscreen, vnc, ...) is trusted; otherwise X or Wayland must
// be named, or the window system would abort the program.
bool DisplayNamed() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const QByteArray name = platform ? QByteArray(platform) : QByteArray();
    if (!name.isEmpty() && !name.startsWith("xcb") && !name.startsWith("wayland"))
        return true;
    return EnvironmentSet("DISPLAY") || EnvironmentSet("WAYLAND_DISPLAY");
}

int RunPanel(int argc, char** argv, bool classic) {
    if (!DisplayNamed()) {
        std::fprintf(stderr, "orbel: %s\n",
                     CliString(CliText("no display for the front panel (DISPLAY and "
                                       "WAYLAND_DISPLAY are not set); export and play work "
                                       "without one, see orbel --help"))
                         .c_str());
        return 1;
    }
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
    form.show();
    return app.exec();
}

QStringList Arguments(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

} // namespace

int main(int argc, char** argv) {
    UseCommandLineLanguage();
    CommandLineParser parser;
    const CommandLine line = parser.Parse(Arguments(argc, argv));
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
        std::fputs(parser.HelpText().toLocal8Bit().constData(), stdout);
        return 0;
    case CommandLine::Action::Version:
        std::printf("orbel %s\n%s\n", ORBEL_VERSION,
                    CliString(CliText("Copyright (C) 2026 the orbel maintainers\n"
                                      "License GPL-3.0-or-later: GNU GPL version 3 or later "
                                      "<https://gnu.org/licenses/gpl.html>\n"
                                      "This is free software: you are free to change and "
                                      "redistribute it.\n"
                                      "There is NO WARRANTY, to the extent permitted by law."))
                        .c_str());
        return 0;
    case CommandLine::Action::Export:
        return RunExport(line.tone, line.file);
    case CommandLine::Action::Play:
        return RunPlay(line.tone, line.seconds);
    default:
        return 2;
    }
}
