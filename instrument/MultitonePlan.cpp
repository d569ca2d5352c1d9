// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/MultitonePlan.h"

#include "engine/LevelWord.h"
#include "engine/multitone/ToneListReader.h"
#include "engine/multitone/TonePlacement.h"

#include <cmath>
#include <new>

namespace instrument {

namespace {

// The tones the choice asks for, or the plan's refusal.
std::vector<MultitoneTone> TonesOf(const MultitoneChoice& choice, MultitonePlan& plan) {
    if (choice.tonesFile.empty()) {
        const int most = choice.linear ? kMostListedTones : kMostTonesPerOctave;
        if (choice.tones > most) {
            plan.refusal = MultitonePlanRefusal::TooManyTones;
            return {};
        }
        std::vector<MultitoneTone> tones =
            choice.linear ? EvenlySpacedTones(choice.f1, choice.f2, choice.tones)
                          : TonesPerOctave(choice.f1, choice.f2, choice.tones);
        if (tones.size() > std::size_t(kMostListedTones)) {
            plan.refusal = MultitonePlanRefusal::TooManyTones;
            return {};
        }
        return tones;
    }
    const SettingsFileText file = ReadSettingsFolderFile(choice.tonesFile);
    if (file.status != SettingsFileText::Status::Read) {
        plan.refusal = MultitonePlanRefusal::FileUnreadable;
        plan.fileStatus = file.status;
        return {};
    }
    ToneListReading reading = ReadToneList(file.text);
    if (!reading.reason.empty()) {
        plan.refusal =
            reading.badLine > 0 ? MultitonePlanRefusal::FileLine : MultitonePlanRefusal::NoTones;
        plan.listLine = reading.badLine;
        plan.listReason = std::move(reading.reason);
    }
    return std::move(reading.tones);
}

// `level` moved by `db` decibels, in its own unit.
WrittenLevel Moved(const WrittenLevel& level, double db) {
    WrittenLevel moved = level;
    moved.number =
        IsInVolts(level.unit) ? level.number * std::pow(10.0, db / 20) : level.number + db;
    return moved;
}

} // namespace

std::uint32_t MultitoneLevelWord(const ChannelLevels& levels, double madeDb) {
    const auto part = [madeDb](const std::optional<double>& db) -> std::uint32_t {
        if (!db)
            return 0;
        return static_cast<std::uint32_t>(
            std::lround(kLevelHalfMax * std::pow(10.0, (*db - madeDb) / 20)));
    };
    return PackLevelWord(part(levels.left), part(levels.right));
}

MultitonePlan PlanMultitone(const MultitoneChoice& choice, int rate,
                            const OutputCalibration& calibration, Channel channel,
                            const std::atomic<bool>* givenUp) {
    MultitonePlan plan;
    const ChannelLevels levels = LevelsFor(calibration, channel, choice.level);
    MultitoneSettings settings;
    settings.tones = TonesOf(choice, plan);
    if (!plan.Playable())
        return plan;
    if (levels.refusal.Refused()) {
        plan.refusal = MultitonePlanRefusal::Level;
        plan.levelRefusal = levels.refusal;
        return plan;
    }
    const double top = Loudest(levels);
    settings.fftLength = choice.fftLength;
    settings.levelDb = top;
    settings.givenUp = givenUp;
    auto made = std::make_shared<Multitone>();
    try {
        *made = BuildMultitone(settings, rate);
    } catch (const std::bad_alloc&) {
        plan.refusal = MultitonePlanRefusal::NoMemory;
        return plan;
    }
    plan.crestFactorDb = made->crestFactorDb;
    plan.firstHertz = made->firstHertz;
    plan.secondHertz = made->secondHertz;
    switch (made->refusal) {
    case MultitoneRefusal::None:
        plan.levelWord = MultitoneLevelWord(levels, top);
        plan.multitone = std::move(made);
        return plan;
    case MultitoneRefusal::NoTones:
        plan.refusal = MultitonePlanRefusal::NoTones;
        return plan;
    case MultitoneRefusal::BadLength:
    case MultitoneRefusal::BadRate:
        plan.refusal = MultitonePlanRefusal::BadLength;
        return plan;
    case MultitoneRefusal::OutOfRange:
        plan.refusal = MultitonePlanRefusal::OutOfRange;
        return plan;
    case MultitoneRefusal::SameBin:
        plan.refusal = MultitonePlanRefusal::SameBin;
        return plan;
    case MultitoneRefusal::Clips:
        break;
    }
    plan.refusal = MultitonePlanRefusal::Clips;
    plan.largestLevel = Moved(choice.level, made->largestLevelDb - top);
    return plan;
}

} // namespace instrument
