// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One output of the sound server, as a user chooses it: by its name or by
// the description a mixer shows.

#include <string>
#include <vector>

struct OutputDevice {
    std::string name;
    std::string description;
    bool isDefault = false;
};

// The output named `wanted`, by name first and then by description; null
// when none is.
inline const OutputDevice* FindOutputDevice(const std::vector<OutputDevice>& devices,
                                            const std::string& wanted) {
    for (const OutputDevice& d : devices)
        if (d.name == wanted)
            return &d;
    for (const OutputDevice& d : devices)
        if (d.description == wanted)
            return &d;
    return nullptr;
}

// The server's name of the output `wanted` names (by name or description),
// or of the default output when `wanted` is empty; empty when none is.
inline std::string OutputNameIn(const std::vector<OutputDevice>& devices,
                                const std::string& wanted) {
    if (!wanted.empty()) {
        const OutputDevice* device = FindOutputDevice(devices, wanted);
        return device ? device->name : std::string();
    }
    for (const OutputDevice& d : devices)
        if (d.isDefault)
            return d.name;
    return {};
}
