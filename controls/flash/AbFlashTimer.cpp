// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/flash/AbFlashTimer.h"

#include "controls/flash/FlashRegistry.h"
#include "platform/MessageBox.h"

#include <utility>

namespace {
std::uint16_t liveTimers = 0; // window thread only

TFlashTimerMessageHook& MessageHook() {
    static TFlashTimerMessageHook hook = [](const std::string& text, const std::string& caption) {
        ShowMessageBox(text, caption, MessageIcon::Error);
    };
    return hook;
}
} // namespace

TFlashTimerMessageHook SetFlashTimerMessageHook(TFlashTimerMessageHook hook) {
    return std::exchange(MessageHook(), std::move(hook));
}

// The count goes up before the TAbFlash part exists, as the rule is about
// instances being built.
TAbFlashTimer::TAbFlashTimer(TComponent* owner) : TAbFlash((++liveTimers, owner)) {
    if (liveTimers == 1)
        SetOnTick([](TPersistent* sender) { DispatchFlash(sender); });
    else if (MessageHook())
        MessageHook()(kOneFlashTimerText, kOneFlashTimerCaption);
}

TAbFlashTimer::~TAbFlashTimer() {
    --liveTimers;
}

std::uint16_t TAbFlashTimer::InstanceCount() {
    return liveTimers;
}
