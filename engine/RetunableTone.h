// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A streamed tone that another thread retunes while the output plays it:
// a front end asks for a new frequency or peak, and the output's feeding
// thread takes the request at the start of its next Render, continuing the
// phase to the frame and ramping the peak. The request waits in two atomic
// slots, so neither side ever waits for the other and the feed takes no
// lock.
//
// A shape's new frequency needs tables of its top harmonic. Small ones are
// built at once; large ones (the lowest frequencies at the highest rates
// take tens of milliseconds) are built on a thread of their own, so that
// the change is heard as soon as a sine's: meanwhile the new frequency
// plays from tables free of aliases for it, of fewer harmonics (tables
// already held whose top harmonic is lower, kept for a frequency a tenth
// higher, or a short series built once), and the exact tables then take
// over by a short crossfade at the same phase. Tables reach the feed through atomic pointers and
// come back the same way, to be freed off the feed.

#include "engine/BackgroundJob.h"
#include "engine/StreamedTone.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

class RetunableTone : public FrameSource {
public:
    // The top harmonic up to which a shape's tables are built on the
    // caller's thread (about a millisecond); above it they are built in
    // the background, and this many harmonics bridge the build when no
    // table held has more.
    static constexpr int kQuickTop = 8191;

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

    // From one controlling thread, at any time. A shape takes the tables
    // PrepareRetune made for that frequency, or makes them here (may throw
    // std::bad_alloc; nothing is asked then). True: the request was made.
    bool Retune(MilliHertz frequency);
    // Makes a shape's tables for that frequency ahead, on the calling
    // thread, so that Retune then only hands them over (a sine needs
    // none). May throw std::bad_alloc.
    void PrepareRetune(MilliHertz frequency);
    // The peak (0..1) is reached by a ramp of RampFrames(), on both
    // channels or each on its own.
    void Ramp(double peak) { Ramp(peak, peak); }
    void Ramp(double left, double right);

    // Returns once the exact tables asked for are built and handed to the
    // feed (it takes them at its next Render).
    void WaitForExactTables() { builds_->Wait(); }
    // While held, no exact tables are built in the background: the tables
    // that bridge their build go on playing (for measurements).
    void HoldExactTables(bool held) { builds_->Hold(held); }

    MilliHertz AskedFrequency() const { return {asked_.load(std::memory_order_relaxed)}; }
    double AskedPeak() const { return askedPeak_.load(std::memory_order_relaxed); }
    double AskedRightPeak() const { return askedRightPeak_.load(std::memory_order_relaxed); }
    std::size_t RampFrames() const { return rampFrames_; }
    std::size_t TakeoverFrames() const { return takeoverFrames_; }
    const StreamedTone& Tone() const { return tone_; }

private:
    // A shape's new frequency with its tables, handed to the feed, and
    // back with the old tables (a stack of them, pushed by the feed only).
    struct Retuning {
        MilliHertz frequency;
        int top = 0; // the top harmonic the frequency needs
        ChannelTone::Tables left;
        ChannelTone::Tables right;
        Retuning* next = nullptr;
    };
    // A table kept for a later change: exact for that top harmonic, free
    // of aliases for any frequency that needs a higher one.
    struct HeldTable {
        int top = 0;
        std::shared_ptr<const TaylorCycle> taylor;
    };

    // The tables for `frequency`; `exact` tells whether they are the
    // exact ones or bridge their build.
    std::unique_ptr<Retuning> Make(MilliHertz frequency, bool& exact);
    std::shared_ptr<const TaylorCycle> BuiltUpTo(int top);
    // The tables of kQuickTop harmonics, built once.
    std::shared_ptr<const TaylorCycle> QuickTables();
    void Hold(int top, const std::shared_ptr<const TaylorCycle>& taylor);
    // In the background: frees the tables the feed gave back, makes the
    // quick tables ready at low frequencies, and builds the exact tables
    // asked for and hands them over.
    void CatchUp();
    void BuildExactTakeover();
    // Keeps tables of the harmonics below half the rate at a tenth above
    // the frequency asked: free of aliases for a change up by as much.
    void KeepGuard();
    void Retire(Retuning* retuning);
    void FreeRetired();
    void TakeRequests();

    static_assert(std::atomic<Retuning*>::is_always_lock_free);
    static_assert(std::atomic<std::int64_t>::is_always_lock_free);
    static_assert(std::atomic<double>::is_always_lock_free);

    StreamedTone tone_;
    TTGWave wave_;
    int rate_;
    bool rightFollows_; // a right channel of its own that takes the left one's frequency
    std::atomic<Retuning*> pending_{nullptr};
    std::atomic<Retuning*> takeover_{nullptr}; // exact tables for the frequency asked
    std::atomic<Retuning*> retired_{nullptr};
    // The controlling thread's own.
    std::unique_ptr<Retuning> prepared_;
    bool preparedExact_ = false;
    std::size_t rampFrames_;
    std::size_t takeoverFrames_;
    std::atomic<std::int64_t> asked_;
    std::atomic<double> askedPeak_;
    std::atomic<double> askedRightPeak_;
    // The tables kept for later changes, most recent first; the
    // controlling thread and the builds share them.
    std::mutex heldMutex_;
    std::vector<HeldTable> held_;
    int toBuild_ = 0; // the top harmonic of the exact tables to build (0: none)
    std::shared_ptr<const TaylorCycle> quick_;
    HeldTable guard_;
    // The feed's own: what it last took, and the tables a takeover faded
    // out, kept while a step back may still read them.
    std::int64_t taken_;
    int takenTop_;
    double takenPeak_;
    double takenRightPeak_;
    Retuning* former_ = nullptr;
    // Last: it ends (after the build it runs) before anything it uses.
    std::unique_ptr<BackgroundJob> builds_;
};
