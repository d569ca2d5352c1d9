#pragma once
// The real sound output: a PulseAudio client (also served by PipeWire's
// PulseAudio server) on libpulse's threaded main loop. The image is fed to
// one playback stream as 16-bit stereo with the program's own left and right
// level applied as linear gains; the server's and the device's volumes are
// never touched. The stream asks for a short buffer so a restart is heard
// within a few tens of milliseconds.

#include "engine/SoundOutput.h"

#include <chrono>
#include <cstdint>
#include <memory>

class PulseSoundOutput : public SoundOutput {
public:
    // Null when no server answers within `timeout`; never starts a server
    // and prints nothing.
    static std::unique_ptr<PulseSoundOutput>
    Connect(std::chrono::milliseconds timeout = std::chrono::milliseconds(1500));
    ~PulseSoundOutput() override;

    void Play(std::span<const std::uint8_t> image, std::uint32_t flags) override;
    void Stop() override;
    void SetLevel(std::uint32_t device, std::uint32_t level) override;
    std::optional<LevelReading> ReadLevel(std::uint32_t device) override;

    // How often the server ran out of data while playing (a busy machine),
    // since the output was created.
    std::uint64_t UnderflowCount() const;

    // Buffer length the stream asks the server for.
    static constexpr std::chrono::milliseconds kTargetLatency{15};

    struct Impl;

private:
    explicit PulseSoundOutput(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};
