// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the server listens: "127.0.0.1:5025", "[::1]:5025" or
// "0.0.0.0:5025"; port 0 takes any free port (the server says which).

#include "remote/net/IpAddress.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace remote_net {

inline constexpr std::uint16_t kDefaultPort = 5025;

struct Endpoint {
    IpAddress address = IpAddress::Loopback();
    std::uint16_t port = kDefaultPort;

    // An IPv6 address in brackets; the port after the last colon.
    static std::optional<Endpoint> Read(std::string_view text);
    std::string Text() const;
    // Any address (0.0.0.0 or ::) listens on every interface.
    bool LoopbackOnly() const { return address.IsLoopback(); }
};

} // namespace remote_net
