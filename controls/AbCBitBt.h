// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The coloured bit button and what it is built on: the on/off state machine,
// the face composition and the flash timer.

#include "controls/AbFlashT.h"
#include "controls/button/AbBinGControl.h"
#include "controls/button/AbColBitBtn.h"
#include "controls/button/BinGTypes.h"
#include "controls/button/BtnLayout.h"

// Makes "TAbColBitBtn", "TAbFlash" and "TAbFlashTimer" known to the stored
// layout reader. Safe to call more than once.
void RegisterAbCBitBtnClasses();
