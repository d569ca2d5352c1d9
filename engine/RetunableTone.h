// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A streamed tone that another thread retunes while the output plays it:
// a front end asks for a new frequency or peak, and the output's feeding
// thread takes the request at the start of its next Render, continuing the
// phase to the frame and ramping the peak. The request waits in two atomic
// slots, so neither side ever waits for the other and the feed takes no
// lock. Only the sine retunes in place: a shape's new frequency needs new
// tables, which would allocate in the feed, so the caller plays a new tone.

#include "engine/StreamedTone.h"

#include <atomic>
#include <cstddef>
#include <cstdint>

class RetunableTone : public FrameSource {
public:
    // May throw as StreamedTone does.
    RetunableTone(const StreamedToneSettings& settings, const WaveFormat& format);

    const WaveFormat& Format() const override { return tone_.Format(); }
    void Render(std::size_t frames, std::uint8_t* out) override;
    // A request not yet taken is taken at the next Render, from the frame
    // stepped back to.
    std::size_t StepBack(std::size_t frames) override { return tone_.StepBack(frames); }

    // From one controlling thread, at any time. False when the tone cannot
    // take a new frequency in place (see above); nothing is asked then.
    bool Retune(MilliHertz frequency);
    // Whether Retune would take that frequency.
    bool CanRetune(MilliHertz frequency) const {
        return wave_ == TTGWave::tgSine || frequency.value == AskedFrequency().value;
    }
    // The peak (0..1) is reached by a ramp of RampFrames(), on both
    // channels or each on its own.
    void Ramp(double peak) { Ramp(peak, peak); }
    void Ramp(double left, double right);

    MilliHertz AskedFrequency() const { return {asked_.load(std::memory_order_relaxed)}; }
    double AskedPeak() const { return askedPeak_.load(std::memory_order_relaxed); }
    double AskedRightPeak() const { return askedRightPeak_.load(std::memory_order_relaxed); }
    std::size_t RampFrames() const { return rampFrames_; }
    const StreamedTone& Tone() const { return tone_; }

private:
    static_assert(std::atomic<std::int64_t>::is_always_lock_free);
    static_assert(std::atomic<double>::is_always_lock_free);

    StreamedTone tone_;
    TTGWave wave_;
    std::size_t rampFrames_;
    std::atomic<std::int64_t> asked_;
    std::atomic<double> askedPeak_;
    std::atomic<double> askedRightPeak_;
    // The feed's own: what it last took.
    std::int64_t taken_;
    double takenPeak_;
    double takenRightPeak_;
};
