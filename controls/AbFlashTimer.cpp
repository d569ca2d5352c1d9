#include "controls/AbFlashTimer.h"

#include "controls/FlashRegistry.h"
#include "core/DesignMessage.h"

namespace {
std::uint16_t liveTimers = 0; // window thread only
}

// The count goes up before the TAbFlash part exists, as the rule is about
// instances being built.
TAbFlashTimer::TAbFlashTimer(TComponent* owner) : TAbFlash((++liveTimers, owner)) {
    if (liveTimers == 1)
        SetOnTick([](TPersistent* sender) { DispatchFlash(sender); });
    else
        ShowDesignMessage(kOneFlashTimerText, kOneFlashTimerCaption, MessageIcon::Error);
}

TAbFlashTimer::~TAbFlashTimer() {
    --liveTimers;
}

std::uint16_t TAbFlashTimer::InstanceCount() {
    return liveTimers;
}
