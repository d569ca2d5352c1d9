// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Program start-up services of the front panel.

// Makes every class the panel's layout names known to the layout reader:
// the standard controls, the dials, buttons and caption labels, and the
// tone generator. Harmless to call more than once.
void RegisterPanelClasses();

// Brings in the panel's resources (layout and pictures) and registers the
// hand cursor the dials show. Needs the application object.
void InitPanelResources();
