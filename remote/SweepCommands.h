// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sweeps, under [SOURce[1|2]:]: the continuous sweep (SWEep:STATe,
// FREQuency:STARt and :STOP, SWEep:TIME, SWEep:SPACing) and the stepped
// sweep (SWEep:STEPs:...), each with its own start and stop.

#include "remote/CommandTable.h"

namespace remote {

void AddSweepCommands(CommandTable& table);

} // namespace remote
