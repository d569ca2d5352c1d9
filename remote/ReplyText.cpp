// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/ReplyText.h"

#include <array>
#include <charconv>

namespace remote {

std::string SwitchText(bool on) {
    return on ? "1" : "0";
}

std::string ThousandthsText(std::int64_t thousandths) {
    std::string text = thousandths < 0 ? "-" : "";
    const std::uint64_t magnitude =
        thousandths < 0 ? 0 - std::uint64_t(thousandths) : std::uint64_t(thousandths);
    text += std::to_string(magnitude / 1000);
    std::string decimals = std::to_string(magnitude % 1000 + 1000).substr(1);
    while (!decimals.empty() && decimals.back() == '0')
        decimals.pop_back();
    if (!decimals.empty())
        text += "." + decimals;
    return text;
}

std::string RealText(double value) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

} // namespace remote
