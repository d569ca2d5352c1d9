// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TAbFlashTimer: the TAbFlash of which a program has exactly one; its ticks
// drive the flash registry. A second live instance says so in a message box
// and stays idle.

#include "controls/flash/AbFlash.h"

#include <cstdint>
#include <functional>
#include <string>

class TAbFlashTimer : public TAbFlash {
public:
    explicit TAbFlashTimer(TComponent* owner = nullptr);
    ~TAbFlashTimer() override;

    std::string ClassName() const override { return "TAbFlashTimer"; }

    // Live instances in the program.
    static std::uint16_t InstanceCount();
};

// The text and caption of the one-per-program message.
inline constexpr const char* kOneFlashTimerText =
    "Only one TAbFlashTimer per Application!\rRemove it...";
inline constexpr const char* kOneFlashTimerCaption = "Error Message";

// Shows the one-per-program message. By default a modal message box with an
// OK button; tests install their own. Returns the previous hook.
using TFlashTimerMessageHook =
    std::function<void(const std::string& text, const std::string& caption)>;
TFlashTimerMessageHook SetFlashTimerMessageHook(TFlashTimerMessageHook hook);
