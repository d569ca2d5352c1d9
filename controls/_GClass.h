#pragma once
// The panel controls' shared pieces in one include: the settings objects,
// the gradient, bevel, text and geometry helpers, and the analog control
// bases built on them.

#include "controls/AbBtnBevel.h"
#include "controls/AbGradSettings.h"
#include "controls/AbOffset.h"
#include "controls/AbPersistent.h"
#include "controls/AbSBevel.h"
#include "controls/BevelKinds.h"
#include "controls/ColorSteps.h"
#include "controls/Gradient.h"
#include "controls/GradientStyle.h"
#include "controls/RectHelpers.h"
#include "controls/TextLayout.h"
#include "controls/TextPaint.h"

#include "controls/AbAnalogCControl.h"
#include "controls/AbAnalogGControl.h"
#include "controls/AbCustomControl.h"
#include "controls/AbGraphicControl.h"
#include "controls/MinMax.h"
#include "controls/SectorSettings.h"
#include "controls/SignalSettings.h"
