#pragma once
// The caption label: TOvcLabel, its effect settings and how the stored
// layout finds it.

#include "controls/OvcCustomLabel.h"
#include "controls/OvcCustomSettings.h"
#include "controls/OvcLabel.h"
#include "controls/OvcTypes.h"

// Makes "TOvcLabel" known to the stored layout reader. Safe to call more
// than once.
void RegisterOvcLabel();
