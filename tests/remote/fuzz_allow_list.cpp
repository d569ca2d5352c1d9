// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the readers of --allow and --listen: they must
// read them or refuse them, never crash or hang, and what they read must
// read back the same from its own text.
#include "remote/net/AllowList.h"
#include "remote/net/Endpoint.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace remote_net;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const AllowListReading reading = AllowList::Read(text);
    if (reading.list) {
        for (const Network& network : reading.list->Networks()) {
            if (!network.Holds(network.base))
                std::abort();
            const auto again =
                AllowList::Read(network.base.Text() + "/" + std::to_string(network.prefix));
            if (!again.list || again.list->Networks().size() != 1 ||
                again.list->Networks()[0].base != network.base)
                std::abort();
        }
    } else if (reading.error.empty()) {
        std::abort();
    }
    if (const auto endpoint = Endpoint::Read(text)) {
        const auto again = Endpoint::Read(endpoint->Text());
        if (!again || again->address != endpoint->address || again->port != endpoint->port)
            std::abort();
    }
    return 0;
}
