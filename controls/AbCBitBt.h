#pragma once
// The coloured bit button and what it is built on: the on/off state machine,
// the face composition and the flash timer.

#include "controls/AbBinGControl.h"
#include "controls/AbColBitBtn.h"
#include "controls/AbFlashT.h"
#include "controls/BinGTypes.h"
#include "controls/BtnLayout.h"

// Makes "TAbColBitBtn", "TAbFlash" and "TAbFlashTimer" known to the stored
// layout reader. Safe to call more than once.
void RegisterAbCBitBtnClasses();
