// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/RetunableTone.h"

#include <algorithm>
#include <new>
#include <system_error>
#include <utility>

namespace {
// A level change ramps over 10 ms: short enough to be heard at once, long
// enough not to click.
constexpr int kRampsPerSecond = 100;
// Exact tables take over within 5 ms: the tables they replace differ from
// them only by a few harmonics near half the rate, so the fade is
// inaudible, and long enough not to click.
constexpr int kTakeoversPerSecond = 200;
// The tables kept for later changes: the frequency playing and the ones
// just before it (a few MB each at the lowest frequencies).
constexpr std::size_t kHeldTables = 3;
} // namespace

RetunableTone::RetunableTone(const StreamedToneSettings& settings, const WaveFormat& format)
    : tone_(settings, format), wave_(settings.wave), rate_(format.SamplesPerSecond()),
      rightFollows_(tone_.Right() && settings.rightFrequency.value == 0),
      rampFrames_(std::size_t(format.SamplesPerSecond() / kRampsPerSecond)),
      takeoverFrames_(std::size_t(format.SamplesPerSecond() / kTakeoversPerSecond)),
      asked_(settings.frequency.value), askedPeak_(settings.peak),
      askedRightPeak_(settings.rightPeak.value_or(settings.peak)), taken_(settings.frequency.value),
      takenTop_(ChannelTone::TopHarmonic(settings.frequency, rate_)), takenPeak_(settings.peak),
      takenRightPeak_(settings.rightPeak.value_or(settings.peak)),
      builds_(std::make_unique<BackgroundJob>()) {
    // The tables the tone starts with serve later changes too (at any lag;
    // a lagging right channel has them where the left one has an exact
    // cycle).
    const auto& taylor =
        tone_.Left().Taylor() || !rightFollows_ ? tone_.Left().Taylor() : tone_.Right()->Taylor();
    if (wave_ != TTGWave::tgSine && taylor)
        Hold(takenTop_, taylor);
    if (wave_ != TTGWave::tgSine && takenTop_ > kQuickTop) {
        try {
            builds_->Post([this] { CatchUp(); });
        } catch (const std::system_error&) {
            // They are built at the first change then.
        }
    }
}

RetunableTone::~RetunableTone() {
    builds_.reset(); // hands nothing over from now on
    delete pending_.exchange(nullptr);
    delete takeover_.exchange(nullptr);
    delete former_;
    FreeRetired();
}

void RetunableTone::Render(std::size_t frames, std::uint8_t* out) {
    TakeRequests();
    const double peak = askedPeak_.load(std::memory_order_relaxed);
    const double rightPeak = askedRightPeak_.load(std::memory_order_relaxed);
    if (peak != takenPeak_ || rightPeak != takenRightPeak_) {
        takenPeak_ = peak;
        takenRightPeak_ = rightPeak;
        tone_.SetPeaks(peak, rightPeak, rampFrames_);
    }
    tone_.Render(frames, out);
}

void RetunableTone::TakeRequests() {
    // Exact tables are handed over only after the request they serve: taken
    // first, they are never ahead of it.
    Retuning* takeover = takeover_.exchange(nullptr, std::memory_order_acquire);
    if (Retuning* retuning = pending_.exchange(nullptr, std::memory_order_acquire)) {
        taken_ = retuning->frequency.value;
        takenTop_ = retuning->top;
        tone_.SetFrequency(retuning->frequency, retuning->left, retuning->right);
        Retire(retuning); // now with the old tables
        // The tables a takeover faded out are read no more.
        if (former_)
            Retire(std::exchange(former_, nullptr));
    } else if (wave_ == TTGWave::tgSine) {
        const std::int64_t frequency = asked_.load(std::memory_order_relaxed);
        if (frequency != taken_) {
            taken_ = frequency;
            tone_.SetFrequency({frequency});
        }
    }
    if (!takeover)
        return;
    if (takeover->top != takenTop_) {
        Retire(takeover); // for a frequency left since
        return;
    }
    tone_.TakeOver(takeover->left, takeover->right, takeoverFrames_);
    if (former_)
        Retire(former_);
    former_ = takeover; // now with the tables faded out
}

bool RetunableTone::Retune(MilliHertz frequency) {
    if (frequency.value == asked_.load(std::memory_order_relaxed))
        return true;
    if (wave_ == TTGWave::tgSine) {
        asked_.store(frequency.value, std::memory_order_relaxed);
        return true;
    }
    bool exact = false;
    std::unique_ptr<Retuning> retuning;
    if (prepared_ && prepared_->frequency == frequency) {
        retuning = std::move(prepared_);
        exact = preparedExact_;
    } else {
        retuning = Make(frequency, exact);
    }
    {
        const std::lock_guard<std::mutex> lock(heldMutex_);
        toBuild_ = exact ? 0 : retuning->top;
    }
    // One the feed has not taken yet is never taken now.
    delete pending_.exchange(retuning.release(), std::memory_order_acq_rel);
    asked_.store(frequency.value, std::memory_order_relaxed);
    try {
        builds_->Post([this] { CatchUp(); });
    } catch (const std::system_error&) {
        // No thread to build them on: the tables that bridge them stay.
    } catch (const std::bad_alloc&) {
    }
    return true;
}

void RetunableTone::PrepareRetune(MilliHertz frequency) {
    if (wave_ == TTGWave::tgSine || frequency.value == asked_.load(std::memory_order_relaxed))
        return;
    if (!prepared_ || prepared_->frequency != frequency)
        prepared_ = Make(frequency, preparedExact_);
}

std::unique_ptr<RetunableTone::Retuning> RetunableTone::Make(MilliHertz frequency, bool& exact) {
    auto retuning = std::make_unique<Retuning>();
    retuning->frequency = frequency;
    retuning->top = ChannelTone::TopHarmonic(frequency, rate_);
    const int top = retuning->top;
    // The held table of that top is exact; the one of the highest top
    // below it is free of aliases.
    HeldTable below;
    {
        const std::lock_guard<std::mutex> lock(heldMutex_);
        for (const HeldTable& held : held_)
            if (held.top == top) {
                below = held;
                break;
            } else if (held.top < top && held.top > below.top) {
                below = held;
            }
        if (below.top != top && guard_.top < top && guard_.top > below.top)
            below = guard_;
    }
    exact = top <= kQuickTop || below.top == top;
    if (below.top == top)
        retuning->left.taylor = below.taylor;
    else if (exact)
        retuning->left.taylor = BuiltUpTo(top);
    else if (below.top > kQuickTop)
        retuning->left.taylor = below.taylor;
    else
        retuning->left.taylor = QuickTables();
    // The channels' tables are the same at any lag.
    if (rightFollows_)
        retuning->right.taylor = retuning->left.taylor;
    return retuning;
}

std::shared_ptr<const TaylorCycle> RetunableTone::QuickTables() {
    {
        const std::lock_guard<std::mutex> lock(heldMutex_);
        if (quick_)
            return quick_;
    }
    std::shared_ptr<const TaylorCycle> built = ChannelTone::TablesUpTo(wave_, kQuickTop).taylor;
    const std::lock_guard<std::mutex> lock(heldMutex_);
    if (!quick_)
        quick_ = std::move(built);
    return quick_;
}

std::shared_ptr<const TaylorCycle> RetunableTone::BuiltUpTo(int top) {
    std::shared_ptr<const TaylorCycle> taylor = ChannelTone::TablesUpTo(wave_, top).taylor;
    if (taylor)
        Hold(top, taylor);
    return taylor;
}

void RetunableTone::Hold(int top, const std::shared_ptr<const TaylorCycle>& taylor) {
    std::shared_ptr<const TaylorCycle> dropped; // freed outside the lock
    const std::lock_guard<std::mutex> lock(heldMutex_);
    auto gone = std::find_if(held_.begin(), held_.end(),
                             [top](const HeldTable& h) { return h.top == top; });
    if (gone == held_.end() && held_.size() == kHeldTables)
        gone = held_.end() - 1;
    if (gone != held_.end()) {
        dropped = std::move(gone->taylor);
        held_.erase(gone);
    }
    held_.insert(held_.begin(), {top, taylor});
}

void RetunableTone::CatchUp() {
    FreeRetired();
    // The tables that bridge a change up, ready for the next one.
    if (ChannelTone::TopHarmonic({asked_.load(std::memory_order_relaxed)}, rate_) > kQuickTop) {
        try {
            QuickTables();
        } catch (const std::bad_alloc&) {
            // Built at the first change that needs them.
        }
    }
    BuildExactTakeover();
    try {
        KeepGuard();
    } catch (const std::bad_alloc&) {
        // A change up is bridged by the quick tables.
    }
}

void RetunableTone::KeepGuard() {
    const std::int64_t f = asked_.load(std::memory_order_relaxed);
    // Kept while it serves changes up by 5% at least and misses no more
    // than the harmonics above 1 / 1.2 of half the rate.
    const int highest = ChannelTone::TopHarmonic({f + f / 20}, rate_);
    const int lowest = ChannelTone::TopHarmonic({f + f / 5}, rate_);
    const int top = ChannelTone::TopHarmonic({f + f / 10}, rate_);
    if (top <= kQuickTop)
        return;
    {
        const std::lock_guard<std::mutex> lock(heldMutex_);
        if (guard_.top >= lowest && guard_.top <= highest)
            return;
    }
    HeldTable guard{top, ChannelTone::TablesUpTo(wave_, top).taylor};
    const std::lock_guard<std::mutex> lock(heldMutex_);
    std::swap(guard_, guard); // the old one freed outside the lock
}

void RetunableTone::BuildExactTakeover() {
    int top = 0;
    std::unique_ptr<Retuning> retuning(new (std::nothrow) Retuning);
    if (!retuning)
        return;
    {
        const std::lock_guard<std::mutex> lock(heldMutex_);
        top = std::exchange(toBuild_, 0);
        // Built meanwhile for an earlier request of the same top.
        for (const HeldTable& held : held_)
            if (held.top == top)
                retuning->left.taylor = held.taylor;
    }
    if (top == 0)
        return;
    retuning->top = top;
    try {
        if (!retuning->left.taylor)
            retuning->left.taylor = BuiltUpTo(top);
    } catch (const std::bad_alloc&) {
        return; // the tables that bridge them stay
    }
    if (rightFollows_)
        retuning->right.taylor = retuning->left.taylor;
    // For a frequency asked since that needs other tables, the held ones
    // serve a later change.
    if (ChannelTone::TopHarmonic({asked_.load(std::memory_order_relaxed)}, rate_) != top)
        return;
    delete takeover_.exchange(retuning.release(), std::memory_order_acq_rel);
}

void RetunableTone::Retire(Retuning* retuning) {
    Retuning* head = retired_.load(std::memory_order_relaxed);
    do {
        retuning->next = head;
    } while (!retired_.compare_exchange_weak(head, retuning, std::memory_order_release,
                                             std::memory_order_relaxed));
}

void RetunableTone::FreeRetired() {
    Retuning* retuning = retired_.exchange(nullptr, std::memory_order_acquire);
    while (retuning) {
        Retuning* next = retuning->next;
        delete retuning;
        retuning = next;
    }
}

void RetunableTone::Ramp(double left, double right) {
    askedPeak_.store(left, std::memory_order_relaxed);
    askedRightPeak_.store(right, std::memory_order_relaxed);
}
