// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An instrument that keeps the remote settings as they were applied and
// remembers what it was asked: for the protocol's tests and its fuzzer.

#include "remote/ScpiTarget.h"

#include <map>

namespace remote {

class FakeTarget : public ScpiTarget {
public:
    RemoteSettings settings;
    // What Apply answers; a refusal leaves the settings as they were.
    Refusal applyAnswer;
    bool calibrated = false;
    int applied = 0;
    int waits = 0;
    bool shutDown = false;
    std::map<int, RemoteSettings> presets;

    std::string Version() const override { return "0.2.0"; }
    RemoteSettings Current() const override { return settings; }
    Refusal Apply(const RemoteSettings& wanted) override {
        if (!applyAnswer.Refused()) {
            settings = wanted;
            ++applied;
        }
        return applyAnswer;
    }
    Refusal Reset() override {
        settings = RemoteSettings{};
        settings.left.on = settings.right.on = false;
        return {};
    }
    FrequencyRange Frequencies() const override { return FrequencyRange::AtRate(48000); }
    // dBFS is the level written in dBFS; volts are 1 V at 0 dBFS when
    // calibrated.
    std::optional<double> LevelIn(Output output, LevelUnit unit) const override {
        const WrittenLevel& level =
            output == Output::Right ? settings.right.level : settings.left.level;
        if (unit == LevelUnit::DbFs)
            return level.number;
        if (!calibrated)
            return std::nullopt;
        return unit == LevelUnit::Volts ? 1.0 : 0.0;
    }
    Refusal Save(int slot) override {
        presets[slot] = settings;
        return {};
    }
    Refusal Recall(int slot) override {
        if (!presets.contains(slot))
            return {-221, "no such preset"};
        settings = presets[slot];
        return {};
    }
    void WaitUntilQueued() override { ++waits; }
    bool pending = false; // an operation under way
    bool OperationPending() const override { return pending; }
    void Shutdown() override { shutDown = true; }
};

} // namespace remote
