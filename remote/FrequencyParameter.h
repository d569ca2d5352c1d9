// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A frequency as commands take it: a number of hertz (or kHz) in steps of
// 1 mHz within the frequencies a tone may have now, or MIN, MAX or DEF.

#include "engine/MilliHertz.h"
#include "remote/CommandContext.h"

#include <string>

namespace remote {

MilliHertz ReadFrequencyParameter(const CommandContext& c);

// A frequency query's answer: the current value, or the limit the query
// asks for ("FREQ? MAX").
std::string FrequencyReply(const CommandContext& c, MilliHertz current);

} // namespace remote
