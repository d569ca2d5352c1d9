// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The user's settings folder: $XDG_CONFIG_HOME/orbel, or ~/.config/orbel
// when the variable is unset, empty or not an absolute path (as the panel's
// settings file is found). Empty when neither it nor $HOME is known.

#include <string>

std::string SettingsFolder();
