// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The common commands every instrument of the protocol takes: *IDN?,
// *RST, *CLS, *OPC, *WAI, *SAV, *RCL and the status bytes.

#include "remote/CommandTable.h"

namespace remote {

void AddCommonCommands(CommandTable& table);

} // namespace remote
