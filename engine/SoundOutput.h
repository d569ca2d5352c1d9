#pragma once
// What the tone engine needs of a sound output: play a wave image, stop it,
// and set and read the output level. The engine depends on this interface
// only; the real backend, a silent one and test doubles implement it.

#include "engine/OutputDevice.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

// Play flags, with the values the wave images' play modes are known by.
inline constexpr std::uint32_t SND_SYNC = 0x0000;
inline constexpr std::uint32_t SND_ASYNC = 0x0001;
inline constexpr std::uint32_t SND_MEMORY = 0x0004;
inline constexpr std::uint32_t SND_LOOP = 0x0008;

// A level word: left level in the low 16 bits, right level in the high 16
// bits, each 0 (silent) to 65535 (full), applied as linear gains.
inline constexpr std::uint32_t kFullLevel = 0xFFFFFFFFu;

struct LevelReading {
    std::uint32_t level = 0;
    bool separateChannels = true; // false: the one level is in the low half
};

class SoundOutput {
public:
    virtual ~SoundOutput() = default;

    // Starts the RIFF/WAVE image from its first sample; whatever was playing
    // stops first. With SND_ASYNC or SND_LOOP the call returns at once and
    // the output goes on reading the image (over and over with SND_LOOP)
    // until Stop or the next Play; without them it returns when the sound has
    // ended. An image that is not a playable wave plays nothing.
    virtual void Play(std::span<const std::uint8_t> image, std::uint32_t flags) = 0;

    // Silences whatever plays; harmless when nothing does. When it returns,
    // the output reads no image any more, so the image may be released.
    virtual void Stop() = 0;

    // Sets the level word of the device; it applies to everything played
    // and stays until set again.
    virtual void SetLevel(std::uint32_t device, std::uint32_t level) = 0;

    // The device's current level word, or nothing when it cannot be read.
    virtual std::optional<LevelReading> ReadLevel(std::uint32_t device) = 0;

    // True while the output is told to play but no sound reaches a sound
    // server (none answers, or it went away). Outputs that cannot lose a
    // server never are.
    virtual bool SoundLost() const { return false; }
    // `onChange` gets the new SoundLost() each time it changes, on the
    // output's own thread or inside the call that changed it: it must
    // return quickly, without waiting for another thread and without
    // calling the output. Null stops the calls; once this returns, the
    // previous one is not running and will not be called again.
    virtual void WatchSoundLost(std::function<void(bool lost)> onChange) { (void)onChange; }
    // True once the output can be heard (at once for outputs that need no
    // server), false when no server has answered within `timeout`.
    virtual bool WaitForServer(std::chrono::milliseconds timeout) {
        (void)timeout;
        return true;
    }

    // The sound server's outputs, or nothing when no server answers (or the
    // output has no choice of devices).
    virtual std::optional<std::vector<OutputDevice>> ListDevices() { return std::nullopt; }
    // Plays on the output of that name from the next sound on; empty: the
    // server's default. The device numbers of SetLevel and ReadLevel keep
    // their meaning.
    virtual void ChooseDevice(const std::string& name) { (void)name; }
    // `onNotice` gets one line each time the chosen output went away (the
    // server moved the sound elsewhere) or the sound went back to it, on
    // the output's own thread, under the rules of WatchSoundLost. Null
    // stops the calls.
    virtual void WatchDeviceNotices(std::function<void(const std::string& notice)> onNotice) {
        (void)onNotice;
    }
    // What plays, for mixers to show (e.g. "Синусоида 1000 Гц").
    virtual void DescribeSound(const std::string& mediaName) { (void)mediaName; }
};
