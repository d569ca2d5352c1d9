// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the panel's menu chooses beyond the faceplate: the output, the
// sample format and the measurement signal (the instrument's output
// choices). These, and nothing else, are kept between runs; the dials
// always start as the layout sets them.

#include "instrument/InstrumentState.h"

using PanelChoices = instrument::OutputChoices;
