// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An IPv4 or IPv6 address as the server compares it: a client's address
// taken from its socket (an IPv4 client of a dual-stack socket is its IPv4
// address, not the mapped IPv6 one), or one written on the command line.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct sockaddr_storage;

namespace remote_net {

struct IpAddress {
    // IPv4 in the first four bytes.
    std::array<std::uint8_t, 16> bytes{};
    bool v6 = false;

    // "127.0.0.1" or "::1" (no brackets, no zone, no spaces).
    static std::optional<IpAddress> Read(std::string_view text);
    static IpAddress FromSocket(const sockaddr_storage& address);
    static IpAddress Loopback() { return *Read("127.0.0.1"); }

    int Bits() const { return v6 ? 128 : 32; }
    // Within 127.0.0.0/8, or ::1: this machine.
    bool IsLoopback() const;
    // 127.0.0.1 or ::1 alone, the address this machine's clients come from
    // unless they choose another.
    bool IsLoopbackAddress() const;
    std::string Text() const;

    bool operator==(const IpAddress&) const = default;
};

} // namespace remote_net
