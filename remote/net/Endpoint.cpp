// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/net/Endpoint.h"

#include <charconv>

namespace remote_net {

std::optional<Endpoint> Endpoint::Read(std::string_view text) {
    const std::size_t colon = text.rfind(':');
    if (colon == text.npos)
        return std::nullopt;
    std::string_view host = text.substr(0, colon);
    const std::string_view digits = text.substr(colon + 1);
    const bool bracketed = host.size() >= 2 && host.front() == '[' && host.back() == ']';
    if (bracketed)
        host = host.substr(1, host.size() - 2);
    const auto address = IpAddress::Read(host);
    // An IPv6 address needs its brackets, so that its last group is never
    // taken for the port.
    if (!address || (address->v6 != bracketed && host.find(':') != host.npos) ||
        (bracketed && host.find(':') == host.npos))
        return std::nullopt;
    if (digits.empty() || digits.size() > 5 ||
        digits.find_first_not_of("0123456789") != digits.npos)
        return std::nullopt;
    unsigned port = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), port);
    if (port > 65535)
        return std::nullopt;
    return Endpoint{*address, static_cast<std::uint16_t>(port)};
}

std::string Endpoint::Text() const {
    std::string text;
    if (address.v6)
        text.append("[").append(address.Text()).append("]");
    else
        text.append(address.Text());
    return text.append(":").append(std::to_string(port));
}

} // namespace remote_net
