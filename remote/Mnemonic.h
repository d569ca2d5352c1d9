// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A keyword of the protocol as the command table writes it: capitals for
// its short form, then the rest of its long form ("FREQuency"). A client
// may write either form in any case ("freq", "Frequency"), but nothing in
// between ("FREQU").

#include <string>
#include <string_view>

namespace remote {

class Mnemonic {
public:
    explicit Mnemonic(std::string_view written);

    // `word` is upper case, as the message reader gives it.
    bool Matches(std::string_view word) const { return word == short_ || word == long_; }
    const std::string& ShortForm() const { return short_; }

private:
    std::string short_;
    std::string long_;
};

// The text in upper case (ASCII letters only).
std::string UpperCase(std::string_view text);

} // namespace remote
