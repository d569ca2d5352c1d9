// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The clients a server listening beyond the loopback address accepts: the
// addresses and networks given with --allow ("192.168.1.0/24,10.0.0.7,
// fd00::/8"). The loopback address (127.0.0.1, ::1) is always allowed.

#include "remote/net/IpAddress.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace remote_net {

struct Network {
    IpAddress base; // with the bits beyond the prefix cleared
    int prefix = 32;

    bool Holds(const IpAddress& address) const;
};

struct AllowListReading;

class AllowList {
public:
    // Entries separated by commas, each an address or address/prefix;
    // nothing else (no spaces, no host names). Bits set beyond the prefix
    // are cleared: 192.168.1.7/24 is 192.168.1.0/24.
    static AllowListReading Read(std::string_view text);

    void Add(const Network& network) { networks_.push_back(network); }
    bool Allows(const IpAddress& client) const;
    bool Empty() const { return networks_.empty(); }
    const std::vector<Network>& Networks() const { return networks_; }

private:
    std::vector<Network> networks_;
};

struct AllowListReading {
    std::optional<AllowList> list;
    std::string error; // one line naming the entry refused
};

} // namespace remote_net
