#pragma once
// The program's command line: `orbel [--classic]`, and `--help`.

#include <QStringList>

struct PanelOptions {
    // Play the generator's classic synthesis instead of the precise one, for
    // comparison with recordings made with it.
    bool classicSynthesis = false;
};

// Reads the arguments (the program's name first). `--help` prints the usage
// and ends the program; an unknown option ends it with a message. Needs the
// application object to exist.
PanelOptions ParsePanelOptions(const QStringList& arguments);
