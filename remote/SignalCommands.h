// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What both outputs share, under [SOURce[1|2]:]: FUNCtion, PHASe (the
// right output's against the left) and the tone bursts (BURSt).

#include "remote/CommandTable.h"

namespace remote {

void AddSignalCommands(CommandTable& table);

} // namespace remote
