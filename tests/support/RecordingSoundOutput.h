// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A test double that records every call: what was played (a copy of the
// image and the flags), stops and level words. Reading the level can be made
// to fail, and the sound can be made to be lost (no server) and found again.
// It plays nothing and returns at once in every mode.

#include "engine/SoundOutput.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

class RecordingSoundOutput : public SoundOutput {
public:
    struct Call {
        enum Kind { Play, Stop, SetLevel, ReadLevel, Stream };
        explicit Call(Kind k) : kind(k) {}
        Kind kind;
        std::uint32_t flags = 0;               // Play
        std::uint32_t level = 0;               // SetLevel
        std::vector<std::uint8_t> image;       // Play: a copy
        const std::uint8_t* address = nullptr; // Play: the image lent
    };

    void Play(std::span<const std::uint8_t> image, std::uint32_t flags) override;
    void Stop() override;
    // Keeps the source (read by nothing) until the next play or stop.
    bool PlayStream(FrameSource& source) override;
    std::optional<std::uint64_t> StreamFramesHeard() override;
    // What the last PlayStream streams until a play or stop; null then.
    FrameSource* Streaming() const;
    // The frames heard of the stream, as a server would tell them.
    void SetStreamFramesHeard(std::optional<std::uint64_t> frames);
    void SetLevel(std::uint32_t device, std::uint32_t level) override;
    std::optional<LevelReading> ReadLevel(std::uint32_t device) override;
    bool SoundLost() const override;
    void WatchSoundLost(std::function<void(SoundLossChange)> onChange) override;

    // As an output whose server went away (true) or came back (false), or,
    // with `byServer` false, that was told to play or stop while none
    // answers: the watcher hears of it from the calling thread.
    void SetSoundLost(bool lost, bool byServer = true);

    // The level word a device would now have (what the last SetLevel set,
    // or the initial one).
    std::uint32_t Level() const;
    void SetInitialLevel(std::uint32_t level, bool separateChannels = true);
    void SetReadFails(bool fails);

    std::vector<Call> Calls() const;
    // Calls as short words ("play 13", "stop", "level 7fff7fff", "read"),
    // which keeps order checks readable.
    std::vector<std::string> Trace() const;
    void Clear();
    int PlayCount() const;
    bool Playing() const; // a looping or asynchronous play not yet stopped

private:
    mutable std::mutex mutex_;
    std::vector<Call> calls_;
    std::uint32_t level_ = kFullLevel;
    bool separate_ = true;
    bool readFails_ = false;
    bool playing_ = false;
    bool lost_ = false;
    FrameSource* streaming_ = nullptr;
    std::optional<std::uint64_t> heard_;
    std::function<void(SoundLossChange)> watcher_;
};
