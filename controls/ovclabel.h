// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The caption label: TOvcLabel, its effect settings and how the stored
// layout finds it.

#include "controls/label/OvcCustomLabel.h"
#include "controls/label/OvcCustomSettings.h"
#include "controls/label/OvcLabelComponent.h"
#include "controls/label/OvcTypes.h"

// Makes "TOvcLabel" known to the stored layout reader. Safe to call more
// than once.
void RegisterOvcLabel();
