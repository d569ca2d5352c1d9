// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The panel controls' shared pieces in one include: the settings objects,
// the gradient, bevel, text and geometry helpers, and the analog control
// bases built on them.

#include "controls/base/AbPersistent.h"
#include "controls/base/RectHelpers.h"
#include "controls/paint/AbBtnBevel.h"
#include "controls/paint/AbGradSettings.h"
#include "controls/paint/AbOffset.h"
#include "controls/paint/AbSBevel.h"
#include "controls/paint/BevelKinds.h"
#include "controls/paint/ColorSteps.h"
#include "controls/paint/Gradient.h"
#include "controls/paint/GradientStyle.h"
#include "controls/paint/TextLayout.h"
#include "controls/paint/TextPaint.h"

#include "controls/analog/AbAnalogCControl.h"
#include "controls/analog/AbAnalogGControl.h"
#include "controls/analog/MinMax.h"
#include "controls/analog/SectorSettings.h"
#include "controls/analog/SignalSettings.h"
#include "controls/base/AbCustomControl.h"
#include "controls/base/AbGraphicControl.h"
