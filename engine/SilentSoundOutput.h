// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The output used when no sound server answers: nothing is heard, nothing is
// reported. It keeps the level word so that reading it back gives what was
// set, as a device would.

#include "engine/SoundOutput.h"

#include <atomic>

class SilentSoundOutput : public SoundOutput {
public:
    void Play(std::span<const std::uint8_t>, std::uint32_t) override {}
    void Stop() override {}
    bool PlayStream(FrameSource&) override { return true; }
    void SetLevel(std::uint32_t, std::uint32_t level) override { level_ = level; }
    std::optional<LevelReading> ReadLevel(std::uint32_t) override {
        return LevelReading{level_.load(), true};
    }

private:
    std::atomic<std::uint32_t> level_{kFullLevel};
};
