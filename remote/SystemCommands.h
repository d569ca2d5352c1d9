// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// SYSTem: the error queue, the protocol's version and the program's end.

#include "remote/CommandTable.h"

namespace remote {

void AddSystemCommands(CommandTable& table);

} // namespace remote
