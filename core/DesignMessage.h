// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Messages that components show only in design mode (a range warning, say).
// The core has no window system: by default a message goes nowhere, and the
// window layer installs a real message box.

#include <functional>
#include <string>

enum class MessageIcon { Information, Warning, Error };

using DesignMessageHook =
    std::function<void(const std::string& text, const std::string& caption, MessageIcon icon)>;

// Installs the hook (an empty one restores the silent default) and returns
// the previous one.
DesignMessageHook SetDesignMessageHook(DesignMessageHook hook);
void ShowDesignMessage(const std::string& text, const std::string& caption, MessageIcon icon);
