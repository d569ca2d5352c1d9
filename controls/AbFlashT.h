// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The flash timer: the program-wide 16 ms beat that keeps flashing buttons of
// one rate in step, its worker thread and the registry of flashing controls.

#include "controls/AbThread.h"
#include "controls/flash/AbFlash.h"
#include "controls/flash/AbFlashTimer.h"
#include "controls/flash/FlashFreq.h"
#include "controls/flash/FlashRegistry.h"
#include "controls/flash/TimerThread.h"
