// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What each output has of its own: OUTPut[1|2][:STATe], and under
// [SOURce[1|2]:] FREQuency and VOLTage (with the client's VOLTage:UNIT).

#include "remote/CommandTable.h"

namespace remote {

void AddChannelCommands(CommandTable& table);

} // namespace remote
