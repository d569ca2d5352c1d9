// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/DefaultSoundOutput.h"

#include "engine/SilentSoundOutput.h"

#include <mutex>
#include <utility>

namespace {
struct DefaultState {
    std::mutex mutex;
    std::shared_ptr<SoundOutput> output;
    SoundOutputFactory factory;
};

DefaultState& State() {
    static DefaultState state;
    return state;
}
} // namespace

std::shared_ptr<SoundOutput> DefaultSoundOutput() {
    auto& state = State();
    std::lock_guard lock(state.mutex);
    if (!state.output) {
        if (state.factory)
            state.output = state.factory();
        if (!state.output)
            state.output = std::make_shared<SilentSoundOutput>();
    }
    return state.output;
}

std::shared_ptr<SoundOutput> SetDefaultSoundOutput(std::shared_ptr<SoundOutput> output) {
    auto& state = State();
    std::lock_guard lock(state.mutex);
    return std::exchange(state.output, std::move(output));
}

SoundOutputFactory SetSoundOutputFactory(SoundOutputFactory factory) {
    auto& state = State();
    std::lock_guard lock(state.mutex);
    return std::exchange(state.factory, std::move(factory));
}
