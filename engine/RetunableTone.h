// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A streamed tone that another thread retunes while the output plays it:
// a front end asks for a new frequency or peak, and the output's feeding
// thread takes the request at the start of its next Render, continuing the
// phase to the frame and ramping the peak. The request waits in two atomic
// slots, so neither side ever waits for the other and the feed takes no
// lock. A shape's new frequency needs new tables: the front end builds them
// and hands them over through an atomic pointer, and the feed swaps them in
// and hands the old ones back the same way, to be freed by the front end.

#include "engine/StreamedTone.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

class RetunableTone : public FrameSource {
public:
    // May throw as StreamedTone does.
    RetunableTone(const StreamedToneSettings& settings, const WaveFormat& format);

    const WaveFormat& Format() const override { return tone_.Format(); }
    void Render(std::size_t frames, std::uint8_t* out) override;
    // A request not yet taken is taken at the next Render, from the frame
    // stepped back to.
    std::size_t StepBack(std::size_t frames) override { return tone_.StepBack(frames); }

    ~RetunableTone() override;
    RetunableTone(const RetunableTone&) = delete;
    RetunableTone& operator=(const RetunableTone&) = delete;

    // From one controlling thread, at any time. A shape builds its tables
    // here unless PrepareRetune built them for that frequency (may throw
    // std::bad_alloc; nothing is asked then). True: the request was made.
    bool Retune(MilliHertz frequency);
    // Builds a shape's tables for that frequency ahead, on the calling
    // thread, so that Retune then only hands them over (a sine needs
    // none); frees the tables the feed gave back. May throw std::bad_alloc.
    void PrepareRetune(MilliHertz frequency);
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
    // A shape's new frequency with its tables, handed to the feed, and
    // back with the old tables (a stack of them, pushed by the feed only).
    struct Retuning {
        MilliHertz frequency;
        ChannelTone::Tables left;
        ChannelTone::Tables right;
        Retuning* next = nullptr;
    };
    std::unique_ptr<Retuning> Build(MilliHertz frequency) const;
    void Retire(Retuning* retuning);
    void FreeRetired();

    static_assert(std::atomic<Retuning*>::is_always_lock_free);
    static_assert(std::atomic<std::int64_t>::is_always_lock_free);
    static_assert(std::atomic<double>::is_always_lock_free);

    StreamedTone tone_;
    TTGWave wave_;
    int rate_;
    bool rightFollows_; // a right channel of its own that takes the left one's frequency
    std::atomic<Retuning*> pending_{nullptr};
    std::atomic<Retuning*> retired_{nullptr};
    std::unique_ptr<Retuning> prepared_; // the controlling thread's own
    std::size_t rampFrames_;
    std::atomic<std::int64_t> asked_;
    std::atomic<double> askedPeak_;
    std::atomic<double> askedRightPeak_;
    // The feed's own: what it last took.
    std::int64_t taken_;
    double takenPeak_;
    double takenRightPeak_;
};
