// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's frame: a fixed client size, a single frame with the
// system menu and the minimise box only, centred on the desktop.

class QWidget;

// Sets the frame and the fixed client size; call before showing.
void MakeFixedMainWindow(QWidget& window, int clientWidth, int clientHeight);
// Moves the window (frame included) to the middle of its screen's free area;
// one larger than that area to its top-left corner.
// The frame is known once the window is shown, so call it right after show().
void CentreOnDesktop(QWidget& window);
