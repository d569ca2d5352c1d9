// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The real sound output: a PulseAudio client (also served by PipeWire's
// PulseAudio server). It composes the connection (PulseConnection:
// connecting, reconnecting with back-off) and the playback stream
// (PulseStream: feeding, rewriting the queue at a change, draining), and
// reports when sound is lost. One stream carries every sound as stereo, in
// 16 bits or as the 24-bit or float image is (a new one when the rate or
// sample format changes), with the program's own left and right level
// applied as linear gains; the server's and the device's volumes are never
// touched. A new image while one plays, and Stop, are short fades in that
// stream (see CrossfadeMixer). When no server answers, or the server goes
// away, the output keeps what it was told to play and connects again in the
// background; the window thread never waits for it.

#include "engine/SoundOutput.h"
#include "platform/sound/FeedThreadPriority.h"

#include <chrono>
#include <cstdint>
#include <memory>

class PulseSoundOutput : public SoundOutput {
public:
    // Starts connecting in the background and returns at once; null only
    // when libpulse cannot start its thread. Never starts a server and
    // prints nothing.
    static std::unique_ptr<PulseSoundOutput> Start();
    // Start, then wait up to `timeout` for a server; null when none answered.
    static std::unique_ptr<PulseSoundOutput>
    Connect(std::chrono::milliseconds timeout = std::chrono::milliseconds(1500));
    ~PulseSoundOutput() override;

    void Play(std::span<const std::uint8_t> image, std::uint32_t flags) override;
    void PlayTone(std::span<const std::uint8_t> image, std::uint32_t flags,
                  const ToneShape& shape) override;
    bool PlayStream(FrameSource& source) override;
    std::optional<std::uint64_t> StreamFramesHeard() override;
    void ChangeStream(const std::function<void()>& change) override;
    void Stop() override;
    void StopForChange() override;
    void StopAndDrain() override;
    void SetLevel(std::uint32_t device, std::uint32_t level) override;
    std::optional<LevelReading> ReadLevel(std::uint32_t device) override;
    bool SoundLost() const override;
    void WatchSoundLost(std::function<void(SoundLossChange)> onChange) override;
    std::optional<std::vector<OutputDevice>> ListDevices() override;
    std::string FailureReason() const override;
    void ChooseDevice(const std::string& name) override;
    std::optional<OutputVolume> ReadOutputVolume(const std::string& name) override;
    std::optional<int> ReadOutputRate(const std::string& name) override;
    void WatchDeviceNotices(std::function<void(const DeviceNotice& notice)> onNotice) override;
    void DescribeSound(const std::string& mediaName) override;

    // True once a server answers (at once when one already does), false
    // when none has within `timeout`.
    bool WaitForServer(std::chrono::milliseconds timeout) override;

    // How often the server ran out of data while playing (a busy machine),
    // since the output was created.
    std::uint64_t UnderflowCount() const;
    // Connections tried so far, the first included.
    std::uint64_t ConnectionAttempts() const;
    // The queue the stream asks the server for now, in milliseconds: it
    // starts long and grows after an underrun (see QueuePlan).
    int QueueMs() const;
    // The part of that queue the server keeps in the stream's own buffer
    // (the rest is the device's), in milliseconds; 0 before a stream plays.
    int ServerBufferMs() const;
    // The scheduling the thread that feeds the server was given.
    FeedThreadPriority FeedPriority() const;

    struct Impl;

private:
    explicit PulseSoundOutput(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};
