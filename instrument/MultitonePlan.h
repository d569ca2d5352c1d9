// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A multitone choice made ready to play on an output, or the reason it
// cannot be: its list of tones (placed, or read from its file), centred on
// the transform's bins at the rate, at its level on the channels that
// sound. Front ends show the crest factor, or the refusal, before it plays.

#include "core/SettingsFolderFile.h"
#include "engine/LevelRefusal.h"
#include "engine/multitone/Multitone.h"
#include "instrument/FineLevels.h"
#include "instrument/InstrumentState.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace instrument {

enum class MultitonePlanRefusal : std::uint8_t {
    None,
    FileUnreadable, // fileStatus says why
    FileLine,       // a line of the list refused: listLine, listReason
    NoTones,        // nothing to play (an empty list, a span with no tone)
    TooManyTones,
    OutOfRange, // firstHertz is off the transform's bins at the rate
    SameBin,    // firstHertz and secondHertz land on one bin
    BadLength,  // the transform length, or the rate, cannot be used
    Level,      // levelRefusal says why
    Clips,      // largestLevel is the largest level that fits
    NoMemory,
};

struct MultitonePlan {
    MultitonePlanRefusal refusal = MultitonePlanRefusal::None;
    SettingsFileText::Status fileStatus = SettingsFileText::Status::Read;
    int listLine = 0;       // FileLine: from 1
    std::string listReason; // FileLine and an empty list: English
    double firstHertz = 0;
    double secondHertz = 0;
    LevelRefusal levelRefusal;
    std::optional<WrittenLevel> largestLevel; // in the unit asked, rounded down
    double crestFactorDb = 0;                 // once the tones are on their bins
    // Playable: the period at the louder channel's level, and each
    // channel's share of it as the outputs' level word.
    std::shared_ptr<const Multitone> multitone;
    std::uint32_t levelWord = 0;

    bool Playable() const { return refusal == MultitonePlanRefusal::None; }
};

// The outputs' level word that gives each channel its share of a multitone
// made at `madeDb`, the louder channel's level (0 for a silent channel).
std::uint32_t MultitoneLevelWord(const ChannelLevels& levels, double madeDb);

// `channel` says which channels sound; `calibration` turns a level in volts
// into samples. Reads the list's file when the choice names one. Throws
// MultitoneGivenUp once `givenUp` is set.
MultitonePlan PlanMultitone(const MultitoneChoice& choice, int rate,
                            const OutputCalibration& calibration, Channel channel,
                            const std::atomic<bool>* givenUp = nullptr);

} // namespace instrument
