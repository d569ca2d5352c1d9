// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary text to the layout reader: it must either build the
// components or throw LayoutError, never crash, hang or leak.
#include "TestComponents.h"
#include "core/Layout.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool registered = (RegisterTestClasses(), true);
    (void)registered;
    EventLog().clear();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        auto root = ReadLayout(text);
        if (root)
            (void)WriteLayout(*root);
    } catch (const LayoutError&) {
    }
    return 0;
}
