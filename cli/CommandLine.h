// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's command line: no command opens the front panel; `export
// FILE` and `play` work the generator without a display. Parsing only: it
// reads nothing but the arguments and touches no file, display or sound.

#include "engine/ToneRequest.h"

#include <QCommandLineParser>
#include <QStringList>

#include <optional>
#include <string>

struct CommandLine {
    enum class Action { Panel, Help, Version, Export, Play, Refused, Devices };

    Action action = Action::Panel;
    bool classic = false;          // the panel plays the original synthesis
    std::string file;              // export: the name's bytes as given; "-": standard output
    ToneRequest tone;              // export, play
    std::optional<double> seconds; // play: until interrupted without it
    std::string device;            // play: an output's name or description; empty: the default
    std::string error;             // refused: one line naming the option and its range
};

class CommandLineParser {
public:
    CommandLineParser();
    // `arguments` as the program got them, its own name first, each made
    // text by ArgumentText so that a file name keeps its bytes.
    CommandLine Parse(const QStringList& arguments);
    // Usage, commands and options; needs the application object (for the
    // program's name).
    QString HelpText() const;

private:
    CommandLine ParseTone(CommandLine line);
    // The measurement signals and their refusals, after the tone.
    CommandLine ParseSignal(CommandLine line);

    QCommandLineParser parser_;
};
