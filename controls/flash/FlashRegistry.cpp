// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/flash/FlashRegistry.h"

#include "controls/AbThread.h"
#include "controls/flash/AbFlashTimer.h"

#include <algorithm>

namespace {

struct Registry {
    std::uint32_t counter = 0;
    std::vector<TFlashClient> clients;
    TAbFlashTimer* timer = nullptr;
};

Registry& R() {
    static Registry r;
    return r;
}

constexpr std::size_t kGrowBy = 10;
constexpr std::size_t kMinFreeSlots = 2;

} // namespace

void AddFlashClient(TFlashTarget* control, TFlashFreq freq) {
    if (control == nullptr)
        return;
    Registry& r = R();
    const int bit = FlashBitOf(freq);
    bool found = false;
    for (TFlashClient& c : r.clients)
        if (c.Control == control) {
            c.FlashBit = bit;
            found = true;
        }
    if (!found)
        r.clients.push_back({control, bit, false});
    if (r.clients.capacity() - r.clients.size() < kMinFreeSlots)
        r.clients.reserve(r.clients.size() + kGrowBy);
    if (!r.clients.empty() && r.timer == nullptr && !ApplicationTerminating()) {
        AddTeardownStep(ReleaseFlashRegistry);
        r.timer = new TAbFlashTimer(nullptr);
    }
}

void RemoveFlashClient(TFlashTarget* control) {
    Registry& r = R();
    auto it = std::find_if(r.clients.begin(), r.clients.end(),
                           [&](const TFlashClient& c) { return c.Control == control; });
    if (it != r.clients.end())
        r.clients.erase(it);
    // Otherwise the timer keeps ticking, with an empty list, until the end.
    if (ApplicationTerminating() && r.clients.empty() && r.timer != nullptr)
        delete std::exchange(r.timer, nullptr);
}

void DispatchFlash(TPersistent* sender) {
    (void)sender;
    Registry& r = R();
    ++r.counter; // unsigned: wraps to 0 after 0xFFFFFFFF
    const std::size_t n = r.clients.size();
    for (std::size_t i = 0; i < n; ++i) {
        // A control may add or remove registrations while it handles its
        // notification, so the entry is looked up afresh each time and no
        // reference into the list is held across the call.
        if (ApplicationTerminating() || i >= r.clients.size())
            break;
        try {
            TFlashClient& c = r.clients[i];
            if (c.Control == nullptr)
                continue;
            const bool phase = ((r.counter >> c.FlashBit) & 1u) != 0;
            if (phase == c.LastPhase)
                continue;
            c.LastPhase = phase;
            TFlashTarget* target = c.Control;
            target->FlashNotification({CM_FLASH, r.counter, phase ? 1 : 0});
        } catch (...) {
            // One control's failure must not silence the others.
        }
    }
}

std::uint32_t FlashCounter() {
    return R().counter;
}
void SetFlashCounter(std::uint32_t value) {
    R().counter = value;
}
const std::vector<TFlashClient>& FlashClients() {
    return R().clients;
}
TAbFlashTimer* RegistryFlashTimer() {
    return R().timer;
}

void ReleaseFlashRegistry() {
    Registry& r = R();
    delete std::exchange(r.timer, nullptr);
    r.clients.clear();
    r.clients.shrink_to_fit();
}
