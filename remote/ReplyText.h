// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Values as queries answer them, each in a form its command takes back.

#include <cstdint>
#include <string>

namespace remote {

// "1" or "0".
std::string SwitchText(bool on);
// A whole number of thousandths as a decimal: 997123 is "997.123", 1500
// is "1.5", 2000 is "2".
std::string ThousandthsText(std::int64_t thousandths);
// The shortest decimal that reads back as the same double: "-20", "0.1".
std::string RealText(double value);

} // namespace remote
