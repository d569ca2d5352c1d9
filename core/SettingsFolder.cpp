// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/SettingsFolder.h"

#include <cstdlib>

std::string SettingsFolder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/')
        return std::string(config) + "/orbel";
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/')
        return std::string(home) + "/.config/orbel";
    return {};
}
