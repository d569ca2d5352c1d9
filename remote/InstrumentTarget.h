// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The instrument as a remote client drives it: the remote settings mapped
// onto the instrument's own commands, so that every front end (the panel
// among them) sees a remote change through the instrument's observers.
//
// The outputs switched on choose the channel (both, left or right) and
// start the instrument; both off stop it. The instrument sounds one
// frequency and one level on the channels it plays: the settings of an
// output that does not sound are kept here until it does. A sweep asked
// while both outputs are off starts with them.

#include "instrument/Instrument.h"
#include "remote/ScpiTarget.h"

#include <functional>
#include <optional>
#include <string>

namespace remote {

class InstrumentTarget : public ScpiTarget {
public:
    // `shutdown` ends the program (fading out); without one a client cannot.
    InstrumentTarget(instrument::Instrument& instrument, std::string version,
                     std::function<void()> shutdown = nullptr);

    std::string Version() const override { return version_; }
    RemoteSettings Current() const override;
    Refusal Apply(const RemoteSettings& wanted) override;
    Refusal Reset() override;
    FrequencyRange Frequencies() const override;
    std::optional<double> LevelIn(Output output, LevelUnit unit) const override;
    Refusal Save(int slot) override;
    Refusal Recall(int slot) override;
    MilliHertz FrequencyHeard(Output output) const override;
    void WaitUntilQueued() override;
    bool OperationPending() const override;
    void Shutdown() override;

private:
    struct Plan;
    Refusal Check(const RemoteSettings& wanted, Plan& plan) const;
    void Command(const RemoteSettings& wanted, const Plan& plan);
    ChannelSettings Sounding(bool on) const;

    instrument::Instrument& instrument_;
    std::string version_;
    std::function<void()> shutdown_;
    // What the instrument has no place for: an output's settings while it
    // does not sound, the level as it was written, a sweep waiting for an
    // output, and the requests it cannot play yet.
    std::optional<ChannelSettings> keptLeft_;
    std::optional<ChannelSettings> keptRight_;
    std::optional<WrittenLevel> writtenLevel_;
    SweepRequest sweep_;
    BurstRequest burst_;
    StepsRequest steps_;
    // The stepped sweep asked waits for an output to start with: it has not
    // played yet (once played through, or stopped, it is off).
    bool stepsWaiting_ = false;
};

} // namespace remote
