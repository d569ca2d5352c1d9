// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the settings file's INI reader: it must read
// them or refuse them, never crash or hang, and what it reads must be
// written and read back to the same values.
#include "core/IniText.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<IniValues> values = ReadIniText(text);
    if (!values)
        return 0;
    // Keys as the panel writes them: a group and a name without specials.
    IniValues plain;
    for (const auto& [key, value] : *values)
        if (key.find_first_of("[]=;#\\\"\r\n\t ") == std::string::npos && key.find('/') != 0 &&
            key.find('/') != std::string::npos && key.find('/') == key.rfind('/') &&
            key.back() != '/' && !key.starts_with("General/") &&
            value.find('\0') == std::string::npos)
            plain[key] = value;
    if (ReadIniText(WriteIniText(plain)) != plain)
        std::abort();
    return 0;
}
