// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/Mnemonic.h"

namespace remote {

Mnemonic::Mnemonic(std::string_view written) : long_(UpperCase(written)) {
    std::size_t n = 0;
    while (n < written.size() && !(written[n] >= 'a' && written[n] <= 'z'))
        ++n;
    short_ = written.substr(0, n);
}

std::string UpperCase(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return upper;
}

} // namespace remote
