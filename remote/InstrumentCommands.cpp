// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/ChannelCommands.h"
#include "remote/CommandTable.h"
#include "remote/CommonCommands.h"
#include "remote/SignalCommands.h"
#include "remote/SweepCommands.h"
#include "remote/SystemCommands.h"

namespace remote {

const CommandTable& InstrumentCommands() {
    static const CommandTable table = [] {
        CommandTable t;
        AddCommonCommands(t);
        AddSystemCommands(t);
        AddChannelCommands(t);
        AddSignalCommands(t);
        AddSweepCommands(t);
        return t;
    }();
    return table;
}

} // namespace remote
