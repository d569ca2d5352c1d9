// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/net/IpAddress.h"

#include <arpa/inet.h>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>

namespace remote_net {
namespace {

// The longest text inet_pton reads ("ffff:...:255.255.255.255").
constexpr std::size_t kLongestText = INET6_ADDRSTRLEN;

bool IsMappedV4(const std::uint8_t* b) {
    static constexpr std::uint8_t kPrefix[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xff};
    return std::memcmp(b, kPrefix, sizeof kPrefix) == 0;
}

} // namespace

std::optional<IpAddress> IpAddress::Read(std::string_view text) {
    // inet_pton reads up to a NUL: a text holding one is no address.
    if (text.empty() || text.size() >= kLongestText || text.find('\0') != text.npos)
        return std::nullopt;
    const std::string terminated(text);
    IpAddress address;
    if (::inet_pton(AF_INET, terminated.c_str(), address.bytes.data()) == 1)
        return address;
    address.v6 = true;
    if (::inet_pton(AF_INET6, terminated.c_str(), address.bytes.data()) == 1) {
        if (IsMappedV4(address.bytes.data())) {
            IpAddress v4;
            std::memcpy(v4.bytes.data(), address.bytes.data() + 12, 4);
            return v4;
        }
        return address;
    }
    return std::nullopt;
}

IpAddress IpAddress::FromSocket(const sockaddr_storage& storage) {
    IpAddress address;
    if (storage.ss_family == AF_INET) {
        sockaddr_in in{};
        std::memcpy(&in, &storage, sizeof in);
        std::memcpy(address.bytes.data(), &in.sin_addr, 4);
        return address;
    }
    sockaddr_in6 in6{};
    std::memcpy(&in6, &storage, sizeof in6);
    if (IsMappedV4(in6.sin6_addr.s6_addr)) {
        std::memcpy(address.bytes.data(), in6.sin6_addr.s6_addr + 12, 4);
        return address;
    }
    address.v6 = true;
    std::memcpy(address.bytes.data(), in6.sin6_addr.s6_addr, 16);
    return address;
}

bool IpAddress::IsLoopback() const {
    if (!v6)
        return bytes[0] == 127;
    for (std::size_t i = 0; i < 15; ++i)
        if (bytes[i] != 0)
            return false;
    return bytes[15] == 1;
}

bool IpAddress::IsLoopbackAddress() const {
    return v6 ? IsLoopback() : *this == Loopback();
}

std::string IpAddress::Text() const {
    char text[INET6_ADDRSTRLEN] = {};
    ::inet_ntop(v6 ? AF_INET6 : AF_INET, bytes.data(), text, sizeof text);
    return text;
}

} // namespace remote_net
