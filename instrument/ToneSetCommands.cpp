// SPDX-License-Identifier: GPL-3.0-or-later
// The instrument's stepped sweep and multitone: signals the output streams
// from a source (SoundOutput::PlayStream) instead of looping an image. The
// source stays alive until the output reads it no more: until a later
// stream, play or stop has returned.
#include "engine/LevelWord.h"
#include "engine/ToneGen.h"
#include "engine/multitone/Multitone.h"
#include "engine/multitone/MultitoneSource.h"
#include "engine/steps/SteppedSweepSource.h"
#include "instrument/FineLevels.h"
#include "instrument/Instrument.h"
#include "instrument/MultitonePlan.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>

namespace instrument {

namespace {

// How long after the time its queue takes to play a stepped sweep's end
// stops the output without a position that says it was heard.
constexpr double kPlayOutGraceSeconds = 0.25;
// How much faster than its rate a sound card may play.
constexpr double kFastestClock = 1.01;

bool SameFormat(const WaveFormat& a, const WaveFormat& b) {
    return a.SamplesPerSecond() == b.SamplesPerSecond() && a.BytesPerFrame() == b.BytesPerFrame() &&
           a.IsFloat() == b.IsFloat() && a.wide == b.wide;
}

} // namespace

bool Instrument::PlayToneSet() {
    if (!PlaysToneSet())
        return false;
    SoundOutput& output = *generator_.Output();
    const WaveFormat format = generator_.Format();
    if (state_.multitone.chosen) {
        // The multitone is as loud as its own level on the channels that
        // sound; a new rate, channel or calibration may need it made again.
        const ChannelLevels levels =
            LevelsFor(state_.calibration, state_.channel, state_.multitone.level);
        if (!multitone_ || multitone_->rate != format.SamplesPerSecond() ||
            levels.refusal.Refused() || Loudest(levels) != multitone_->levelDb) {
            if (executor_) {
                // Made again away from the commands, and heard once made;
                // nothing plays meanwhile rather than another rate or level
                // than asked. A request on its way replaces it anyway.
                output.Stop();
                toneSetStream_.reset();
                toneSetStreaming_ = false;
                if (!state_.makingMultitone)
                    AskMultitone(
                        state_.multitone, format.SamplesPerSecond(), state_.channel,
                        [this](MultitonePlan& plan) {
                            if (!plan.Playable() || !state_.multitone.chosen)
                                return;
                            multitone_ = std::move(plan.multitone);
                            toneSetStreaming_ = false;
                            if (state_.running)
                                Play();
                        },
                        nullptr);
                return true;
            }
            MultitonePlan plan = MakeMultitonePlan(state_.multitone);
            if (!plan.Playable()) {
                // Nothing plays rather than another level than asked.
                output.Stop();
                toneSetStream_.reset();
                toneSetStreaming_ = false;
                return true;
            }
            multitone_ = std::move(plan.multitone);
            toneSetStreaming_ = false; // a new period
        }
        output.SetLevel(0, MultitoneLevelWord(levels, multitone_->levelDb));
    } else {
        // The panel's amplitude and channel, as for every signal.
        output.SetLevel(0, LevelWordFromPercent(std::uint32_t(generator_.LeftVolume()),
                                                std::uint32_t(generator_.RightVolume())));
    }
    if (toneSetStreaming_ && SameFormat(toneSetStream_->Format(), format))
        return true; // it plays on; only the level was news
    std::unique_ptr<FrameSource> next;
    SteppedSweepSource* steps = nullptr;
    try {
        if (state_.steps.active) {
            auto source = std::make_unique<SteppedSweepSource>(
                BuildStepSchedule(state_.steps.settings, format.SamplesPerSecond()), format, 1.0);
            steps = source.get();
            stepsHeard_ = 0;
            stepsAskedAt_ = clock_();
            next = std::move(source);
        } else {
            next = std::make_unique<MultitoneSource>(*multitone_, format);
        }
    } catch (const std::exception&) {
        return true; // nothing plays: out of memory, or not playable at this rate
    }
    output.DescribeSound(state_.steps.active ? "Ступенчатое качание" : "Мультитон");
    output.PlayStream(*next);
    // The old source is read no more.
    toneSetStream_ = std::move(next);
    steps_ = steps;
    toneSetStreaming_ = true;
    return true;
}

bool Instrument::LeaveToneSets() {
    const bool chosen = PlaysToneSet();
    state_.steps.active = false;
    state_.multitone.chosen = false;
    // The next play replaces the stream; the source stays until then.
    toneSetStreaming_ = false;
    steps_ = nullptr;
    return chosen;
}

void Instrument::EndToneSets() {
    state_.steps.active = false;
    toneSetStreaming_ = false;
    steps_ = nullptr;
    // Only after a stop: the output reads the source no more.
    toneSetStream_.reset();
}

bool Instrument::StartSteps(const SteppedSweepSettings& steps) {
    return Command([this, &steps] {
        if (!Precise() ||
            BuildStepSchedule(steps, generator_.Format().SamplesPerSecond()).refusal !=
                StepRefusal::None)
            return false;
        GiveUpMultitone();
        EndSweep();
        LeaveToneSets();
        // Once the steps end, the plain tone is heard again.
        if (LeaveSineShapes(false))
            PlaySignal(ChosenSignal());
        state_.steps.active = true;
        state_.steps.settings = steps;
        state_.steps.heardStep = -1;
        state_.running = true;
        Play();
        return true;
    });
}

bool Instrument::FollowSteps() {
    if (playOut_) {
        PlayOutSteps();
        return true;
    }
    if (!state_.steps.active || !steps_)
        return false;
    return Command([this] {
        const std::optional<std::uint64_t> told = generator_.Output()->StreamFramesHeard();
        if (!told)
            return true;
        const StepSchedule& schedule = steps_->Schedule();
        // Sound is heard no faster than it plays (with room for the sound
        // card's clock): a server that takes its first queue at once, or
        // reports its position ahead, does not end a step before its time.
        const double now = clock_();
        const double most =
            stepsHeard_ + kFastestClock * schedule.rate * std::max(0.0, now - stepsAskedAt_);
        stepsAskedAt_ = now;
        stepsHeard_ = std::max(stepsHeard_, std::min(double(*told), most));
        const auto heard = std::uint64_t(stepsHeard_);
        if (heard >= schedule.endFrame) {
            // The last step has been heard: the instrument stops. The output
            // plays on what it has queued, silence after the last step, as a
            // stop would take back frames not yet played where the server
            // reports its position ahead of the sound.
            const std::uint64_t queued = std::max(steps_->FramesRendered(), heard);
            playOut_ = StepsPlayOut{queued, clock_() + double(queued - heard) / schedule.rate +
                                                kPlayOutGraceSeconds};
            state_.running = false;
            LeaveToneSets();
            return true;
        }
        int step = -1;
        while (std::size_t(step + 1) < schedule.steps.size() &&
               schedule.steps[std::size_t(step + 1)].startFrame < heard)
            ++step;
        if (step >= 0 && step != state_.steps.heardStep) {
            state_.steps.heardStep = step;
            ShowFrequency(int(std::lround(schedule.steps[std::size_t(step)].hertz)));
        }
        return true;
    });
}

void Instrument::PlayOutSteps() {
    const std::optional<std::uint64_t> heard = generator_.Output()->StreamFramesHeard();
    // Without a position (the stream went) nothing is left to hear.
    if (heard && *heard < playOut_->frames && clock_() < playOut_->until)
        return;
    playOut_.reset();
    generator_.Stop();
    toneSetStream_.reset();
}

MultitonePlan Instrument::MakeMultitonePlan(const MultitoneChoice& multitone) const {
    return PlanMultitone(multitone, generator_.Format().SamplesPerSecond(), state_.calibration,
                         state_.channel);
}

bool Instrument::SelectMultitone(MultitoneChoice multitone, MultitoneOutcome outcome) {
    std::function<void()> then;
    const bool accepted = Command([&] {
        if (!Precise())
            return false;
        multitone.chosen = true;
        if (state_.makingMultitone == multitone) {
            // On its way: whoever asks again hears of it too.
            if (outcome)
                multitoneAfter_ = [first = std::move(multitoneAfter_),
                                   outcome = std::move(outcome)](const MultitonePlan& plan) {
                    if (first)
                        first(plan);
                    outcome(plan);
                };
            return true;
        }
        if (state_.multitone == multitone) {
            GiveUpMultitone();
            if (outcome && multitone_) {
                MultitonePlan playing;
                playing.crestFactorDb = multitone_->crestFactorDb;
                playing.multitone = multitone_;
                then = [outcome = std::move(outcome), playing] { outcome(playing); };
            }
            return true;
        }
        then = AskMultitone(
            multitone, generator_.Format().SamplesPerSecond(), state_.channel,
            [this, multitone](MultitonePlan& plan) {
                if (plan.Playable())
                    PlaceMultitone(multitone, plan);
            },
            [outcome = std::move(outcome)](const MultitonePlan& plan) {
                if (outcome)
                    outcome(plan);
            });
        // Made at once: refused unless it plays now.
        return executor_ || state_.multitone == multitone;
    });
    if (then)
        then();
    return accepted;
}

void Instrument::PlaceMultitone(const MultitoneChoice& choice, MultitonePlan& plan) {
    EndSweep();
    LeaveToneSets();
    LeaveSineShapes(false);
    state_.choices.signal = SignalKind::Tone;
    PlaySignal(ChosenSignal());
    state_.multitone = choice;
    multitone_ = std::move(plan.multitone);
    ShowNoFrequency();
    Heard();
}

std::function<void()> Instrument::AskMultitone(const MultitoneChoice& choice, int rate,
                                               Channel channel,
                                               std::function<void(MultitonePlan&)> made,
                                               std::function<void(const MultitonePlan&)> after) {
    GiveUpMultitone();
    const std::uint64_t request = ++multitoneRequest_;
    auto givenUp = std::make_shared<std::atomic<bool>>(false);
    state_.makingMultitone = choice;
    multitoneGivenUp_ = givenUp;
    multitoneMade_ = std::move(made);
    multitoneAfter_ = std::move(after);
    MultitoneJob job;
    job.make = MultitoneWork(choice, rate, channel, givenUp);
    job.givenUp = givenUp;
    job.take = [this, alive = std::weak_ptr<int>(alive_), request](MultitonePlan plan) {
        if (alive.lock())
            TakeMultitone(request, std::move(plan));
    };
    if (executor_) {
        executor_(std::move(job));
        return nullptr;
    }
    // No one gives it up while it is made here.
    MultitonePlan plan = job.make().value_or(MultitonePlan{});
    return ReceiveMultitone(plan);
}

std::function<std::optional<MultitonePlan>()>
Instrument::MultitoneWork(const MultitoneChoice& choice, int rate, Channel channel,
                          std::shared_ptr<std::atomic<bool>> givenUp) const {
    return [choice, rate, calibration = state_.calibration, channel,
            givenUp]() -> std::optional<MultitonePlan> {
        try {
            return PlanMultitone(choice, rate, calibration, channel, givenUp.get());
        } catch (const MultitoneGivenUp&) {
            return std::nullopt;
        }
    };
}

void Instrument::CheckMultitone(const MultitoneChoice& multitone, MultitoneOutcome shown) {
    if (checkGivenUp_)
        checkGivenUp_->store(true);
    auto givenUp = std::make_shared<std::atomic<bool>>(false);
    checkGivenUp_ = givenUp;
    const std::uint64_t request = ++checkRequest_;
    MultitoneJob job;
    job.make =
        MultitoneWork(multitone, generator_.Format().SamplesPerSecond(), state_.channel, givenUp);
    job.givenUp = givenUp;
    job.take = [this, alive = std::weak_ptr<int>(alive_), request,
                shown = std::move(shown)](MultitonePlan plan) {
        if (!alive.lock() || request != checkRequest_)
            return;
        checkGivenUp_.reset();
        if (shown)
            shown(plan);
    };
    if (executor_)
        executor_(std::move(job));
    else
        job.take(job.make().value_or(MultitonePlan{}));
}

std::function<void()> Instrument::ReceiveMultitone(MultitonePlan& plan) {
    const auto made = std::move(multitoneMade_);
    const auto after = std::move(multitoneAfter_);
    multitoneMade_ = nullptr;
    multitoneAfter_ = nullptr;
    multitoneGivenUp_.reset();
    state_.makingMultitone.reset();
    // As made: the taker may move the period out of `plan`.
    MultitonePlan told = plan;
    if (made)
        made(plan);
    if (!after)
        return nullptr;
    return [after, told = std::move(told)] { after(told); };
}

void Instrument::TakeMultitone(std::uint64_t request, MultitonePlan plan) {
    // A plan asked for before the newest request, or given up, is not played.
    if (request != multitoneRequest_ || !state_.makingMultitone)
        return;
    std::function<void()> then;
    Command([&] {
        then = ReceiveMultitone(plan);
        return true;
    });
    if (then)
        then();
}

void Instrument::GiveUpMultitone() {
    if (multitoneGivenUp_)
        multitoneGivenUp_->store(true);
    multitoneGivenUp_.reset();
    multitoneMade_ = nullptr;
    multitoneAfter_ = nullptr;
    state_.makingMultitone.reset();
}

} // namespace instrument
