// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/net/AllowList.h"

#include <charconv>

namespace remote_net {
namespace {

// At most this many entries: the list is typed by a person.
constexpr std::size_t kMostEntries = 256;

std::optional<Network> ReadNetwork(std::string_view text) {
    const std::size_t slash = text.find('/');
    const auto address = IpAddress::Read(text.substr(0, slash));
    if (!address)
        return std::nullopt;
    Network network{*address, address->Bits()};
    if (slash != text.npos) {
        const std::string_view digits = text.substr(slash + 1);
        if (digits.empty() || digits.size() > 3 ||
            digits.find_first_not_of("0123456789") != digits.npos)
            return std::nullopt;
        int prefix = 0;
        std::from_chars(digits.data(), digits.data() + digits.size(), prefix);
        if (prefix > address->Bits())
            return std::nullopt;
        network.prefix = prefix;
    }
    for (int bit = network.prefix; bit < 128; ++bit)
        network.base.bytes[std::size_t(bit / 8)] &= std::uint8_t(~(0x80u >> (bit % 8)));
    return network;
}

} // namespace

bool Network::Holds(const IpAddress& address) const {
    if (address.v6 != base.v6)
        return false;
    for (int bit = 0; bit < prefix; ++bit) {
        const std::size_t byte = std::size_t(bit / 8);
        const unsigned mask = 0x80u >> (bit % 8);
        if ((address.bytes[byte] & mask) != (base.bytes[byte] & mask))
            return false;
    }
    return true;
}

AllowListReading AllowList::Read(std::string_view text) {
    AllowList list;
    std::size_t begin = 0;
    while (true) {
        const std::size_t comma = text.find(',', begin);
        const std::string_view entry = text.substr(begin, comma - begin);
        const auto network = ReadNetwork(entry);
        if (!network) {
            std::string shown(entry.substr(0, 60));
            for (char& c : shown)
                if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
                    c = '?';
            return {std::nullopt, "not an address or network: \"" + shown + "\""};
        }
        if (list.networks_.size() == kMostEntries)
            return {std::nullopt, "more than " + std::to_string(kMostEntries) + " entries"};
        list.Add(*network);
        if (comma == text.npos)
            break;
        begin = comma + 1;
    }
    return {std::move(list), {}};
}

bool AllowList::Allows(const IpAddress& client) const {
    // The rest of 127.0.0.0/8 only when listed: a local program may choose
    // its source address to stand for another machine's.
    if (client.IsLoopbackAddress())
        return true;
    for (const Network& network : networks_)
        if (network.Holds(client))
            return true;
    return false;
}

} // namespace remote_net
