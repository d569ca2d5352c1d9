// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the panel keeps its menu's choices: one small INI file in the
// user's configuration folder, $XDG_CONFIG_HOME/orbel/orbel.conf
// (~/.config/orbel/orbel.conf when the variable is unset). A missing,
// unreadable or malformed file, and any value that is not one the menu
// offers, read as the defaults, without a word: a settings file must never
// keep the panel from starting.

#include "panel/PanelChoices.h"

#include <QString>

namespace panel_settings {

// The file's path, from the environment at the time of the call.
QString FilePath();
PanelChoices Load();
// Writes the choices, replacing a file that could not be read. False when
// the file cannot be written (the choices then last for this run only).
bool Save(const PanelChoices& choices);

} // namespace panel_settings
