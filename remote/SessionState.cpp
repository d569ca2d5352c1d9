// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/SessionState.h"

#include <utility>

namespace remote {

void SessionState::Report(ScpiError error) {
    const int hundreds = error.code / 100;
    if (hundreds == -1)
        eventStatus |= kCommandError;
    else if (hundreds == -2)
        eventStatus |= kExecutionError;
    else if (hundreds == -4)
        eventStatus |= kQueryError;
    else
        eventStatus |= kDeviceError;
    errors_.Push(std::move(error));
}

} // namespace remote
