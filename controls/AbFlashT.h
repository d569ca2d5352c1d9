#pragma once
// The flash timer: the program-wide 16 ms beat that keeps flashing buttons of
// one rate in step, its worker thread and the registry of flashing controls.

#include "controls/AbFlash.h"
#include "controls/AbFlashTimer.h"
#include "controls/AbThread.h"
#include "controls/FlashFreq.h"
#include "controls/FlashRegistry.h"
#include "controls/TimerThread.h"
