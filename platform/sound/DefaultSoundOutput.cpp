#include "platform/sound/DefaultSoundOutput.h"

#include "platform/sound/PulseSoundOutput.h"
#include "platform/sound/SilentSoundOutput.h"

#include <mutex>
#include <utility>

namespace {
std::mutex& DefaultMutex() {
    static std::mutex m;
    return m;
}
std::shared_ptr<SoundOutput>& DefaultSlot() {
    static std::shared_ptr<SoundOutput> slot;
    return slot;
}
} // namespace

std::unique_ptr<SoundOutput> CreateSoundOutput() {
    if (auto pulse = PulseSoundOutput::Connect())
        return pulse;
    return std::make_unique<SilentSoundOutput>();
}

std::shared_ptr<SoundOutput> DefaultSoundOutput() {
    std::lock_guard lock(DefaultMutex());
    auto& slot = DefaultSlot();
    if (!slot)
        slot = CreateSoundOutput();
    return slot;
}

std::shared_ptr<SoundOutput> SetDefaultSoundOutput(std::shared_ptr<SoundOutput> output) {
    std::lock_guard lock(DefaultMutex());
    return std::exchange(DefaultSlot(), std::move(output));
}
