// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How long a command that needs the sound server (play, calibrate) waits for
// one to answer before it says none does.

#include <chrono>

inline constexpr std::chrono::milliseconds kServerWait{1500};
