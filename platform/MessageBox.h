// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The modal message box with an OK button, and the hook that lets the
// component layer show its design-mode messages in it.

#include "core/DesignMessage.h"

#include <string>

// Shows a modal box and returns when it is closed. The text is UTF-8; a
// carriage return, alone or before a line feed, breaks the line. Callable
// from any thread: the box is shown on the window thread.
void ShowMessageBox(const std::string& text, const std::string& caption, MessageIcon icon);

// Routes ShowDesignMessage to ShowMessageBox.
void InstallDesignMessageBox();
