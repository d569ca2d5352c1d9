// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the panel keeps its menu's choices: one small INI file in the
// user's configuration folder, $XDG_CONFIG_HOME/orbel/orbel.conf
// (~/.config/orbel/orbel.conf when the variable is unset). A missing,
// unreadable or malformed file, and any value that is not one the menu
// offers, read as the defaults, without a word (a file over 1 MB with one
// line on standard error): a settings file must never keep the panel from
// starting. Neither reading nor writing ever waits (a FIFO in the file's
// place), and a write never harms what is not a settings file
// (core/SettingsFolderFile.h).

#include "panel/PanelChoices.h"

#include <QString>

namespace panel_settings {

// The file's path, from the environment at the time of the call.
QString FilePath();
PanelChoices Load();
enum class SaveOutcome {
    Saved,
    // Not written: a link to what is not a settings file, a FIFO, a device
    // or a folder in the file's place, left as it is.
    Refused,
    Failed, // the system refused the write
};
// Writes the choices, replacing a file that could not be read. When it is
// not saved the choices last for this run only. Other settings in the file
// stay as they are.
SaveOutcome Save(const PanelChoices& choices);

// The multitone the menu plays, as its dialog last set it (its `chosen`
// false); a value the dialog would not take reads as its default.
instrument::MultitoneChoice LoadMultitone();
SaveOutcome SaveMultitone(const instrument::MultitoneChoice& multitone);

// Whether the panel takes remote commands ("Удалённое управление"); off
// unless the file says on.
bool LoadRemoteControl();
SaveOutcome SaveRemoteControl(bool on);

} // namespace panel_settings
