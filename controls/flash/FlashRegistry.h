// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program-wide flash beat: a 32-bit counter advanced at every tick of the
// one TAbFlashTimer, and the list of controls told when their flash bit of it
// changes. Everything here runs on the window thread.

#include "controls/flash/FlashFreq.h"

#include <cstdint>
#include <vector>

class TPersistent;
class TAbFlashTimer;

// The flash notification's message number: the first user message plus 100.
constexpr unsigned CM_FLASH = 1024 + 100;

struct TFlashMessage {
    unsigned Msg = CM_FLASH;
    std::uint32_t WParam = 0; // the flash counter
    std::intptr_t LParam = 0; // the phase, 0 or 1
};

// What a registered control is to the registry: something that takes the
// flash notification synchronously.
class TFlashTarget {
public:
    virtual void FlashNotification(const TFlashMessage& message) = 0;

protected:
    ~TFlashTarget() = default;
};

struct TFlashClient {
    TFlashTarget* Control = nullptr;
    int FlashBit = 0;
    bool LastPhase = false;
};

// Registers the control at the rate's flash bit, or moves its registration
// there. Creates the flash timer at the first registration. Null is ignored.
void AddFlashClient(TFlashTarget* control, TFlashFreq freq);
// Removes the control's registration, if any.
void RemoveFlashClient(TFlashTarget* control);
// The flash timer's tick: advances the counter and notifies every control
// whose phase changed. Exceptions of one control do not stop the others.
void DispatchFlash(TPersistent* sender);

std::uint32_t FlashCounter();
// Sets the counter (used to start a test near the wrap-around).
void SetFlashCounter(std::uint32_t value);
const std::vector<TFlashClient>& FlashClients();
// The registry's own flash timer; null until the first registration.
TAbFlashTimer* RegistryFlashTimer();
// Program end: releases the flash timer and the list. Runs as the first step
// of ShutdownWorkerThreads.
void ReleaseFlashRegistry();
