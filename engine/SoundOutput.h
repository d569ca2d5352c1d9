// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the tone engine needs of a sound output: play a wave image, stop it,
// and set and read the output level. The engine depends on this interface
// only; the real backend, a silent one and test doubles implement it.

#include "engine/DeviceNotice.h"
#include "engine/FrameSource.h"
#include "engine/LevelWord.h"
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

// What a looped image repeats, so that an output can let the next tone enter
// at the phase where the old one is (as a bench generator switches frequency
// without a phase jump).
struct ToneShape {
    // Frames per cycle of an image that is one periodic tone starting at
    // phase zero on its first frame; 0 for anything else (noise, a mix).
    double framesPerCycle = 0;
};

struct LevelReading {
    std::uint32_t level = 0;
    bool separateChannels = true; // false: the one level is in the low half
};

// The volume the sound server applies to one output, per channel, in the
// server's own scale (65536 is 100 %).
struct OutputVolume {
    std::uint32_t left = 0;
    std::uint32_t right = 0;
};

// What a loss watcher is told. `lost` is SoundLost() now: it follows Play
// and Stop too. `server` says whether the server went away or came back
// with this change, once each: "gone" the first time sound is lost since a
// server last answered, "back" when one answers again after that, whether
// anything plays or not. Lines for the user follow `server`, so that Start
// and Stop without a server repeat nothing and never claim the sound is back.
// With `Gone` comes what was refused and why, as the sound server said it
// (its own words, through the sound library), so that the line for the
// user names the cause.
struct SoundLossChange {
    enum class Server { Same, Gone, Back };
    bool lost = false;
    Server server = Server::Same;
    // The server answers but refused or ended the stream (else it does
    // not answer at all).
    bool streamDropped = false;
    std::string reason; // empty: no reason known
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

    // Play, telling what the image repeats. Outputs that cannot continue a
    // tone's phase just play it.
    virtual void PlayTone(std::span<const std::uint8_t> image, std::uint32_t flags,
                          const ToneShape& shape) {
        (void)shape;
        Play(image, flags);
    }
    // Streams `source` as a looped sound, fading in like a looped image:
    // the output pulls its frames as it plays, on its own thread, so the
    // source must take no lock and allocate nothing as it renders, and
    // must outlive the sound (until Stop, StopAndDrain or the next Play or
    // PlayStream returns). Stop and the program's end fade it out as any
    // sound. False when the output cannot stream (nothing plays then).
    virtual bool PlayStream(FrameSource& source) {
        (void)source;
        return false;
    }
    // Runs `change`, which asks the source of the last PlayStream for a
    // change, where the output can have it heard soonest: an output that
    // rewrites its queue takes back what is not yet played and steps the
    // source back to it first (FrameSource::StepBack); others just run it.
    virtual void ChangeStream(const std::function<void()>& change) { change(); }
    // The frames of the source of the last PlayStream heard so far, as the
    // server reports where it plays; nothing when the output cannot tell
    // (yet). A player times what it says of the sound with it.
    virtual std::optional<std::uint64_t> StreamFramesHeard() { return std::nullopt; }
    // Stop, as the first half of a change: a Play follows within moments
    // (after the next image is built), and the output may keep the old sound
    // going from its own copy until then so that the change is heard as one
    // continuous signal. As with Stop, nothing reads the image once it
    // returns; a copy that no Play follows fades out by itself.
    virtual void StopForChange() { Stop(); }
    // Stop, and return once the fade-out and everything queued before it has
    // been heard (or could not be).
    virtual void StopAndDrain() { Stop(); }

    // Sets the output's level word: the gain it applies to everything it
    // plays, until set again. `device` names one of the output's devices
    // (the program uses 0). The real backend applies the level to the
    // samples it sends; it never changes a volume of the sound server or
    // the sound device.
    virtual void SetLevel(std::uint32_t device, std::uint32_t level) = 0;

    // The output's current level word, or nothing when it cannot be read.
    virtual std::optional<LevelReading> ReadLevel(std::uint32_t device) = 0;

    // True while the output is told to play but no sound reaches a sound
    // server (none answers, or it went away). Outputs that cannot lose a
    // server never are.
    virtual bool SoundLost() const { return false; }
    // `onChange` hears of each change of SoundLost(), and of the server
    // going away or answering again, on the output's own thread or inside
    // the call that changed it: it must return quickly, without waiting for
    // another thread and without calling the output. Null stops the calls;
    // once this returns, the previous one is not running and will not be
    // called again.
    virtual void WatchSoundLost(std::function<void(SoundLossChange)> onChange) { (void)onChange; }
    // True once the output can be heard (at once for outputs that need no
    // server), false when no server has answered within `timeout`.
    virtual bool WaitForServer(std::chrono::milliseconds timeout) {
        (void)timeout;
        return true;
    }

    // The sound server's outputs, or nothing when no server answers (or the
    // output has no choice of devices).
    virtual std::optional<std::vector<OutputDevice>> ListDevices() { return std::nullopt; }
    // Why the server last refused something (a connection, a stream, a
    // list of outputs), in its own words; empty when nothing was refused.
    virtual std::string FailureReason() const { return {}; }
    // Plays on the output of that name from the next sound on; empty: the
    // server's default. The device numbers of SetLevel and ReadLevel keep
    // their meaning.
    virtual void ChooseDevice(const std::string& name) { (void)name; }
    // The server's volume of the output of that name (never changed by the
    // program), or nothing when it cannot be read.
    virtual std::optional<OutputVolume> ReadOutputVolume(const std::string& name) {
        (void)name;
        return std::nullopt;
    }
    // The sample rate the server runs the output of that name at (empty:
    // its default output), or nothing when it cannot be read (then
    // FailureReason says why). A sound at another rate is resampled.
    virtual std::optional<int> ReadOutputRate(const std::string& name) {
        (void)name;
        return std::nullopt;
    }
    // `onNotice` is told each time the chosen output went away (the server
    // moved the sound elsewhere) or the sound went back to it, on the
    // output's own thread, under the rules of WatchSoundLost. Null stops
    // the calls.
    virtual void WatchDeviceNotices(std::function<void(const DeviceNotice& notice)> onNotice) {
        (void)onNotice;
    }
    // What plays, for mixers to show (e.g. "Синусоида 1000 Гц").
    virtual void DescribeSound(const std::string& mediaName) { (void)mediaName; }
};
